#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "core/copy/CopyFixture.h"
#include "platform/posix/LoopStick.h"

namespace velmora {
namespace {

using Strings = std::vector<std::string>;

// A copy run of three selected videos a, b and c, prefix 246, onto a small stick of its own;
// each test breaks the run in its own way. The system's reason reaches the user.
class CopyFaults : public test::CopyTest {
  protected:
    void SetUp() override {
        if (!volume.ready()) {
            GTEST_SKIP() << "No stand-in stick: mounting a loop device needs root.";
        }
    }
    void runCopy(MainForm& form, const std::string& reason) {
        platform.drawNext(test::drawFor(246));
        platform.answer(mb::kAnswerYes);
        form.raise("btnCopy", EventKind::Click);
        ASSERT_EQ(platform.questions.size(), 2u);
        EXPECT_NE(platform.questions[1].text.find(reason), std::string::npos);
    }
    test::LoopStick volume{stick, 5};  // 3.3 MiB free
};

TEST_F(CopyFaults, AStickThatFillsUpMidCopyKeepsTheEarlierCopiesAndNoPartialFile) {
    for (const char* name : {"a.MP4", "b.MP4", "c.MP4"}) {
        source.write(name, std::string(3 * test::kMegabyte / 2, name[0]));
    }
    MainForm form(platform);
    showStick(form);
    select(form, {0, 1, 2});
    runCopy(form, "No space left on device");
    EXPECT_EQ(stickFiles(), (Strings{"MAQ24601.MP4", "MAQ24602.MP4"}));
    EXPECT_TRUE(copiedIntact("MAQ24602.MP4", "b.MP4"));
    EXPECT_EQ(selected(form), std::vector<int>{2});
    EXPECT_EQ(listed(form.listPSP), (Strings{"MAQ24601.MP4", "MAQ24602.MP4"}));
}

TEST_F(CopyFaults, AReadOnlyStickGetsNothingAndKeepsTheSelection) {
    addVideo("a.MP4");
    MainForm form(platform);
    showStick(form);
    ASSERT_TRUE(volume.makeReadOnly());
    select(form, {0});
    runCopy(form, "Read-only file system");
    EXPECT_TRUE(stickFiles().empty());
    EXPECT_EQ(selected(form), std::vector<int>{0});
}

}  // namespace
}  // namespace velmora
