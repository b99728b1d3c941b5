#include "core/model/RecordPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "core/model/Purchase.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr std::size_t kBlockBytes = 40;

// Never destroyed, as the record pools are; every test gives back all it took.
RecordPool& Pool() {
    constinit static RecordPool pool(kBlockBytes, alignof(double));
    return pool;
}

// Blocks filled to their last byte, which AddressSanitizer checks.
std::vector<std::byte*> Take(std::size_t count) {
    std::vector<std::byte*> blocks;
    for (std::size_t i = 0; i < count; ++i) {
        blocks.push_back(static_cast<std::byte*>(Pool().Allocate()));
        std::memset(blocks.back(), static_cast<int>(i), kBlockBytes);
    }
    return blocks;
}

void GiveBack(const std::vector<std::byte*>& blocks) {
    for (std::byte* block : blocks) {
        Pool().Free(block);
    }
}

TEST(RecordPoolTest, BlocksLieSideBySideAndAFreedOneIsReusedFirst) {
    std::vector<std::byte*> blocks = Take(3);
    EXPECT_EQ(blocks[1], blocks[0] + kBlockBytes);
    EXPECT_EQ(blocks[2], blocks[1] + kBlockBytes);
    Pool().Free(blocks[1]);
    blocks[1] = static_cast<std::byte*>(Pool().Allocate());
    EXPECT_EQ(blocks[1], blocks[0] + kBlockBytes);
    GiveBack(blocks);
}

// Closing a portfolio and opening the next: the new records take the same memory, in the
// order of the first ones, however the old ones were freed.
TEST(RecordPoolTest, OnceEveryBlockIsFreeTheyAreHandedOutFromTheStartAgain) {
    const std::vector<std::byte*> first = Take(5000);  // several chunks
    std::vector<std::byte*> shuffled = first;
    std::reverse(shuffled.begin(), shuffled.end());
    std::rotate(shuffled.begin(), shuffled.begin() + 1234, shuffled.end());
    GiveBack(shuffled);
    const std::vector<std::byte*> second = Take(5000);
    EXPECT_EQ(second, first);
    GiveBack(second);
}

TEST(RecordPoolTest, NullIsIgnored) {
    const std::vector<std::byte*> blocks = Take(1);
    Pool().Free(nullptr);
    GiveBack(blocks);
    EXPECT_EQ(Take(1), blocks);  // the one block was the last taken, so the pool started over
    GiveBack(blocks);
}

// Pooled memory must not hide a record used after it was deleted.
TEST(RecordPoolDeathTest, ARecordReadAfterItWasDeletedIsCaught) {
    if (!kAddressSanitizer) {
        GTEST_SKIP() << "only AddressSanitizer sees the read";
    }
    EXPECT_DEATH(
        {
            auto lot = std::make_unique<CPurchase>("ABC", "ABC Corp", 10.0f, 2.0f, 0, 0.0f,
                                                   "Direct Purchase", "");
            CSale& sale = lot->AddSale(1.0f, 3.0f, 0, 0.0f, "", 0);
            const CSale* const dangling = &sale;
            lot.reset();
            volatile float shares = dangling->shares;
            static_cast<void>(shares);
        },
        "use-after-poison");
}

}  // namespace
