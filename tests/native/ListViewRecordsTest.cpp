#include "platform/ListViewRecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace pellmark::platform {
namespace {

TEST(ListViewRecords, RequestsAreLaidOutForThePointerSizeOfTheListViewsProcess) {
    for (const bool is64 : {false, true}) {
        const ItemRecordLayout& layout = ItemLayoutFor(is64);
        std::vector<std::byte> record(layout.size);
        WriteItemRequest(record, layout, 7, 0x12345678ABull, 40);

        EXPECT_EQ(ReadInt32(record, 0), 3) << "mask: text and image";
        EXPECT_EQ(ReadInt32(record, 4), 7) << "item";
        EXPECT_EQ(ReadInt32(record, is64 ? 32 : 24), 40) << "text buffer size";
        if (is64) {
            EXPECT_EQ(ReadItemTextAddress(record, layout), 0x12345678ABull);
            EXPECT_EQ(ReadInt32(record, 20), 0) << "padding before the pointer stays zero";
        } else {
            EXPECT_EQ(ReadItemTextAddress(record, layout), 0x345678ABull) << "a 32-bit pointer";
        }
        EXPECT_EQ(ReadItemImage(record, layout), 0);
        const std::int32_t image = 42;
        std::memcpy(record.data() + (is64 ? 36 : 28), &image, sizeof image);
        EXPECT_EQ(ReadItemImage(record, layout), 42);
    }
    // The first 40 bytes of the 32-bit record are the classic LVITEMA.
    EXPECT_GE(kItemLayout32.size, 40u);
    EXPECT_EQ(kItemLayout32.imageOffset, 28u);
}

TEST(ListViewRecords, ShortBuffersAreNeverOverrun) {
    std::vector<std::byte> tooShort(10);
    WriteItemRequest(tooShort, kItemLayout64, 1, 0xFFFF, 40);
    EXPECT_EQ(ReadInt32(tooShort, 4), 1);
    EXPECT_EQ(ReadItemImage(tooShort, kItemLayout64), 0);
    EXPECT_EQ(ReadItemTextAddress(tooShort, kItemLayout64), 0u);
}

TEST(ListViewRecords, OneBlockHoldsRecordsThenTextsThenPoints) {
    const auto plan = PlanTransferBlock(3, kItemLayout64, 40, 1 << 20);
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->RecordAt(0), 0u);
    EXPECT_EQ(plan->RecordAt(2), 176u);
    EXPECT_EQ(plan->TextAt(0), 264u);
    EXPECT_EQ(plan->TextAt(1), 304u);
    EXPECT_EQ(plan->PointAt(0), 384u);
    EXPECT_EQ(plan->PointAt(2), 400u);
    EXPECT_EQ(plan->totalSize, 408u);

    EXPECT_TRUE(PlanTransferBlock(3, kItemLayout64, 40, 408).has_value());  // just fits
    EXPECT_FALSE(PlanTransferBlock(3, kItemLayout64, 40, 407).has_value());
    EXPECT_FALSE(PlanTransferBlock(0, kItemLayout32, 40, 1 << 20).has_value());
    EXPECT_FALSE(PlanTransferBlock(100000, kItemLayout32, 40, 1 << 20).has_value());
    EXPECT_FALSE(PlanTransferBlock(SIZE_MAX / 2, kItemLayout64, 40, SIZE_MAX).has_value());
}

}  // namespace
}  // namespace pellmark::platform
