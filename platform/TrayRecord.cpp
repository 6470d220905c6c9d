#include "platform/TrayRecord.h"

#include <algorithm>
#include <cstring>

namespace pellmark::platform {

namespace {
void Put(TrayRecord88& record, std::size_t offset, std::uint32_t value) noexcept {
    std::memcpy(record.data() + offset, &value, sizeof value);  // little-endian, as Windows
}
}  // namespace

TrayRecord88 BuildTrayRecord88(std::uint32_t window, std::uint32_t callbackMessage,
                               std::uint32_t icon, std::string_view ansiTip) noexcept {
    TrayRecord88 record{};
    Put(record, 0, static_cast<std::uint32_t>(kTrayRecordSize));
    Put(record, 4, window);
    Put(record, 8, kTrayIconId);
    Put(record, 12, kTrayFlags);
    Put(record, 16, callbackMessage);
    Put(record, 20, icon);
    std::fill(record.begin() + kTrayTipOffset, record.end(), std::byte{' '});
    const std::size_t kept = std::min(ansiTip.size(), kTrayTipBytes - 1);
    std::memcpy(record.data() + kTrayTipOffset, ansiTip.data(), kept);
    record[kTrayTipOffset + kept] = std::byte{0};
    return record;
}

}  // namespace pellmark::platform
