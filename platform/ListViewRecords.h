// The list view's item record (LVITEMW, laid out as LVITEMA: only the text it points at is
// wide) and point as another process lays them out.
// Explorer may run with another pointer size than Pellmark (a 32-bit Pellmark on 64-bit
// Windows), so records for it are built byte by byte in its layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace pellmark::platform {

struct ItemRecordLayout {
    std::size_t size;  // the whole record, group fields included, so no reader runs past it
    std::size_t maskOffset;
    std::size_t itemOffset;
    std::size_t textOffset;
    std::size_t textMaxOffset;
    std::size_t imageOffset;
    std::size_t pointerBytes;
};

// LVITEMW in a 32-bit process: its first 40 bytes are the classic record.
inline constexpr ItemRecordLayout kItemLayout32{60, 0, 4, 20, 24, 28, 4};
// LVITEMW in a 64-bit process: pointers are 8 bytes and 8-aligned.
inline constexpr ItemRecordLayout kItemLayout64{88, 0, 4, 24, 32, 36, 8};

inline constexpr std::uint32_t kListViewItemText = 0x1;   // LVIF_TEXT
inline constexpr std::uint32_t kListViewItemImage = 0x2;  // LVIF_IMAGE
inline constexpr std::size_t kPointRecordSize = 8;        // POINT: two 32-bit values

[[nodiscard]] constexpr const ItemRecordLayout& ItemLayoutFor(bool remoteIs64Bit) noexcept {
    return remoteIs64Bit ? kItemLayout64 : kItemLayout32;
}

// Fills a zeroed record asking for an item's text and image into `textAddress`, a buffer of
// `textMax` characters.
void WriteItemRequest(std::span<std::byte> record, const ItemRecordLayout& layout,
                      std::int32_t item, std::uint64_t textAddress, std::int32_t textMax);
[[nodiscard]] std::int32_t ReadItemImage(std::span<const std::byte> record,
                                         const ItemRecordLayout& layout);
[[nodiscard]] std::uint64_t ReadItemTextAddress(std::span<const std::byte> record,
                                                const ItemRecordLayout& layout);
[[nodiscard]] std::int32_t ReadInt32(std::span<const std::byte> bytes, std::size_t offset);

// One block in the list view's process for a whole read: every item record, then every
// text slot (`textSlotSize` bytes), then every point.
struct TransferBlockPlan {
    std::size_t count = 0;
    std::size_t recordSize = 0;
    std::size_t textSlotSize = 0;
    std::size_t recordsOffset = 0;
    std::size_t textsOffset = 0;
    std::size_t pointsOffset = 0;
    std::size_t totalSize = 0;

    [[nodiscard]] std::size_t RecordAt(std::size_t i) const noexcept {
        return recordsOffset + i * recordSize;
    }
    [[nodiscard]] std::size_t TextAt(std::size_t i) const noexcept {
        return textsOffset + i * textSlotSize;
    }
    [[nodiscard]] std::size_t PointAt(std::size_t i) const noexcept {
        return pointsOffset + i * kPointRecordSize;
    }
};

// Empty when the block would exceed `maxBytes` (a list view that claims absurd counts).
[[nodiscard]] std::optional<TransferBlockPlan> PlanTransferBlock(std::size_t count,
                                                                 const ItemRecordLayout& layout,
                                                                 std::size_t textSlotSize,
                                                                 std::size_t maxBytes);

}  // namespace pellmark::platform
