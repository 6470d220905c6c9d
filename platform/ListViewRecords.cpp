#include "platform/ListViewRecords.h"

#include <cstring>

namespace pellmark::platform {

namespace {
template <typename T>
void Put(std::span<std::byte> bytes, std::size_t offset, T value) {
    if (offset + sizeof(T) <= bytes.size()) {
        std::memcpy(bytes.data() + offset, &value, sizeof(T));  // little-endian, as Windows
    }
}

template <typename T>
T Get(std::span<const std::byte> bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) {
        std::memcpy(&value, bytes.data() + offset, sizeof(T));
    }
    return value;
}
}  // namespace

void WriteItemRequest(std::span<std::byte> record, const ItemRecordLayout& layout,
                      std::int32_t item, std::uint64_t textAddress, std::int32_t textMax) {
    Put<std::uint32_t>(record, layout.maskOffset, kListViewItemText | kListViewItemImage);
    Put<std::int32_t>(record, layout.itemOffset, item);
    if (layout.pointerBytes == 8) {
        Put<std::uint64_t>(record, layout.textOffset, textAddress);
    } else {
        Put<std::uint32_t>(record, layout.textOffset, static_cast<std::uint32_t>(textAddress));
    }
    Put<std::int32_t>(record, layout.textMaxOffset, textMax);
}

std::int32_t ReadItemImage(std::span<const std::byte> record, const ItemRecordLayout& layout) {
    return Get<std::int32_t>(record, layout.imageOffset);
}

std::uint64_t ReadItemTextAddress(std::span<const std::byte> record,
                                  const ItemRecordLayout& layout) {
    return layout.pointerBytes == 8 ? Get<std::uint64_t>(record, layout.textOffset)
                                    : Get<std::uint32_t>(record, layout.textOffset);
}

std::int32_t ReadInt32(std::span<const std::byte> bytes, std::size_t offset) {
    return Get<std::int32_t>(bytes, offset);
}

std::optional<TransferBlockPlan> PlanTransferBlock(std::size_t count,
                                                   const ItemRecordLayout& layout,
                                                   std::size_t textSlotSize, std::size_t maxBytes) {
    const std::size_t perItem = layout.size + textSlotSize + kPointRecordSize;
    if (count == 0 || count > maxBytes / perItem) {
        return std::nullopt;
    }
    TransferBlockPlan plan;
    plan.count = count;
    plan.recordSize = layout.size;
    plan.textSlotSize = textSlotSize;
    plan.recordsOffset = 0;
    plan.textsOffset = count * layout.size;
    plan.pointsOffset = plan.textsOffset + count * textSlotSize;
    plan.totalSize = plan.pointsOffset + count * kPointRecordSize;
    return plan;
}

}  // namespace pellmark::platform
