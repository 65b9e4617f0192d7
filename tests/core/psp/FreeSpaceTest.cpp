#include "psp/FreeSpace.h"

#include <gtest/gtest.h>

#include "support/ScriptedPlatform.h"

namespace velmora {
namespace {

std::string figureFor(std::uint64_t bytes) {
    test::ScriptedPlatform platform;
    platform.setFreeBytes("e:\\", bytes);
    return freeSpaceFigure(platform, "e:\\");
}

TEST(FreeSpace, CountsWholeMegabytesWithTheFractionDropped) {
    EXPECT_EQ(figureFor(0), "0");
    EXPECT_EQ(figureFor(1048575), "0");
    EXPECT_EQ(figureFor(1048576), "1");
    EXPECT_EQ(figureFor(1572864), "1");
    EXPECT_EQ(figureFor(2097151), "1");
}

TEST(FreeSpace, ShowsLargeDrivesInPlainDigits) {
    EXPECT_EQ(figureFor(32768ull * 1048576), "32768");              // past a 16-bit figure
    EXPECT_EQ(figureFor(4ull * 1024 * 1024 * 1048576), "4194304");  // a 4 TiB drive
    EXPECT_EQ(figureFor(UINT64_MAX), "17592186044415");
}

}  // namespace
}  // namespace velmora
