#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "copy/PspNames.h"
#include "platform/Names.h"
#include "summary/ThumbnailNames.h"

namespace velmora {
namespace {

// Wildcards match as Windows does, in any letter case; only positions 1 to the last named one have
// a PSP name, a thumbnail's their own (the names: the help page's test).
TEST(NameRules, WildcardsPspNamesAndThumbnailNames) {
    for (const auto& [name, pattern, matches] :
         {std::tuple{"clip.mp4", "*.MP4", true}, std::tuple{".MP4", "*.MP4", true},
          std::tuple{"a.MP4.MP4", "*.MP4", true}, std::tuple{"clipMP4", "*.MP4", false},
          std::tuple{"x.MP4.THM", "*.MP4", false}, std::tuple{"", "?", false},
          std::tuple{"MAQ12301.THM", "MAQ?????.*", true},
          std::tuple{"MAQ1230.THM", "MAQ?????.*", false}}) {
        EXPECT_EQ(matchesWildcard(name, pattern), matches) << name << " " << pattern;
    }
    EXPECT_EQ(pspVideoName(456, kLastNamedPosition + 1), std::nullopt);
    EXPECT_EQ(pspVideoName(456, 0), std::nullopt);
    // A copy's thumbnail is named by the first eight characters of its video's name.
    std::set<std::string> thumbnails;
    for (int position = 1; position <= kLastNamedPosition; ++position) {
        ASSERT_TRUE(thumbnails.insert(pspThumbnailName(*pspVideoName(900, position))).second)
            << position;
    }
    // The source side swaps the extension, the PSP side keeps eight characters.
    for (const auto& [video, source, psp] :
         {std::tuple{"a.b.mp4", "a.b.THM", "a.b.mp4.THM"},
          std::tuple{"holiday.MP4", "holiday.THM", "holiday..THM"},
          std::tuple{"üüberlong.MP4", "üüberlong.THM", "üüberlon.THM"}}) {  // characters, not bytes
        EXPECT_EQ(sourceThumbnailName(video), source);
        EXPECT_EQ(pspThumbnailName(video), psp);
    }
}

// The help page's names are the code's: each row of its table, which runs from two digits to
// letters and to the last named position, and the limit it gives.
TEST(NameRules, TheHelpPageNamesCopiesAsTheCodeDoes) {
    std::ifstream in(VELMORA_HELP_PAGE);
    const std::string page(std::istreambuf_iterator<char>(in), {});
    const std::regex row(R"(<td>(\d+)</td><td><code>(MAQ(\d{3})\w\w\.MP4)</code>)");
    std::vector<int> positions;
    for (std::sregex_iterator it(page.begin(), page.end(), row), end; it != end; ++it) {
        positions.push_back(std::stoi((*it)[1]));
        EXPECT_EQ(pspVideoName(std::stoi((*it)[3]), positions.back()), (*it)[2].str());
    }
    EXPECT_EQ(positions, (std::vector{3, 99, 100, 105, 135, 136, kLastNamedPosition}));
    EXPECT_NE(page.find("first " + std::to_string(kLastNamedPosition) + " videos"), page.npos);
}

}  // namespace
}  // namespace velmora
