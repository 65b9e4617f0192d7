#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "ReadBack.h"

namespace velmora::read_back {
namespace {

// Reads from bytes held in memory, as a file of that content would give them.
ReadAt readerOf(const std::string& bytes) {
    return [&bytes](std::uint64_t offset, std::span<std::byte> into) {
        const std::string_view rest = std::string_view(bytes).substr(
            std::min<std::size_t>(offset, bytes.size()), into.size());
        std::memcpy(into.data(), rest.data(), rest.size());
        return rest.size();
    };
}

TEST(ReadBackTest, SmallFilesAreReadWholeAndVideosBySamplesThatNoLostSixtyFourthEscapes) {
    EXPECT_TRUE(stretchesToReadBack(0, 7).empty());
    EXPECT_EQ(stretchesToReadBack(9000, 7), (std::vector<Stretch>{{0, 9000}}));
    for (const std::uint64_t size : {(1u << 20) + 1u, 3'000'017u, 64u << 20, 4'000'000'123u}) {
        for (const std::uint64_t draw : {0u, 12'345u, 99'999'999u}) {
            const std::vector<Stretch> stretches = stretchesToReadBack(size, draw);
            SCOPED_TRACE(std::to_string(size) + " bytes, draw " + std::to_string(draw));
            ASSERT_FALSE(stretches.empty());
            EXPECT_EQ(stretches.front().offset, 0u);
            EXPECT_EQ(stretches.back().offset + stretches.back().length, size);
            std::uint64_t readUpTo = 0;  // no run of bytes unread longer than size / 64
            for (const Stretch& stretch : stretches) {
                EXPECT_EQ(stretch.offset % kAlignment, 0u);
                EXPECT_TRUE(readUpTo == 0 || stretch.offset > readUpTo);
                EXPECT_LE(stretch.offset - readUpTo, size / 64);
                readUpTo = stretch.offset + stretch.length;
            }
        }
    }
    EXPECT_NE(stretchesToReadBack(64u << 20, 1), stretchesToReadBack(64u << 20, 500'000));
    // The copy must give back the source's bytes in every stretch.
    std::string source(3'000'000, '\0');
    std::ranges::generate(source,
                          [i = 0u]() mutable { return static_cast<char>(i++ * 131 % 251); });
    const std::vector<Stretch> stretches = stretchesToReadBack(source.size(), 4242);
    EXPECT_EQ(compareStretches(stretches, readerOf(source), readerOf(source)), Comparison::Same);
    std::string changed = source;
    changed[stretches.back().offset + stretches.back().length - 1] ^= 1;
    const std::string shorter = source.substr(0, source.size() - 1);
    for (const std::string& copy : {changed, shorter}) {
        EXPECT_EQ(compareStretches(stretches, readerOf(source), readerOf(copy)),
                  Comparison::Differs);
    }
    int reads = 0;  // asked before each megabyte read
    EXPECT_EQ(compareStretches({{0, source.size()}}, readerOf(source), readerOf(source),
                               [&reads] { return ++reads < 2; }),
              Comparison::Cancelled);
}

}  // namespace
}  // namespace velmora::read_back
