#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "core/copy/CopyFixture.h"
#include "platform/posix/MountedTmpfs.h"

namespace velmora {
namespace {

using Strings = std::vector<std::string>;

// A copy run of three selected videos a, b and c onto a stick of real files, with prefix
// 246; each test breaks the run in its own way.
class CopyFaults : public test::CopyTest {
  protected:
    void startRun(MainForm& form) {
        platform.drawNext(test::drawFor(246));
        platform.answer(mb::kAnswerYes);
        form.raise("btnCopy", EventKind::Click);
    }
    // The system's reason reached the user, after the question.
    void expectToldWhy(const std::string& reason) const {
        ASSERT_EQ(platform.questions.size(), 2u);
        EXPECT_NE(platform.questions[1].text.find(reason), std::string::npos)
            << platform.questions[1].text;
    }
};

// The stick is a small tmpfs of its own, which only root may mount.
class CopyFaultsOnTmpfs : public CopyFaults {
  protected:
    void SetUp() override {
        if (!volume.error().empty()) {
            GTEST_SKIP() << "No stand-in stick: a tmpfs could not be mounted (" << volume.error()
                         << "); run the tests as root to fill a real volume.";
        }
    }
    test::MountedTmpfs volume{stick, "4m"};
};

TEST_F(CopyFaultsOnTmpfs, AStickThatFillsUpMidCopyKeepsTheEarlierCopiesAndNoPartialFile) {
    const auto half = test::kMegabyte / 2;
    for (const char* name : {"a.MP4", "b.MP4", "c.MP4"}) {
        source.write(name, std::string(3 * half, name[0]));
    }
    MainForm form(platform);
    showStick(form);
    select(form, {0, 1, 2});
    startRun(form);

    EXPECT_EQ(stickFiles(), (Strings{"MAQ24601.MP4", "MAQ24602.MP4"}));
    EXPECT_TRUE(copiedIntact("MAQ24601.MP4", "a.MP4"));
    EXPECT_TRUE(copiedIntact("MAQ24602.MP4", "b.MP4"));
    EXPECT_EQ(selected(form), std::vector<int>{2});
    EXPECT_EQ(form.sizeSource.Caption(), "1");
    EXPECT_EQ(listed(form.listPSP), (Strings{"MAQ24601.MP4", "MAQ24602.MP4"}));
    expectToldWhy("No space left on device");
}

TEST_F(CopyFaultsOnTmpfs, AReadOnlyStickGetsNothingAndKeepsTheSelection) {
    addVideo("a.MP4");
    addVideo("b.MP4");
    MainForm form(platform);
    showStick(form);
    ASSERT_TRUE(volume.makeReadOnly());
    select(form, {0, 1});
    startRun(form);

    EXPECT_TRUE(stickFiles().empty());
    EXPECT_EQ(selected(form), (std::vector<int>{0, 1}));
    EXPECT_EQ(form.sizeSource.Caption(), "2");
    expectToldWhy("Read-only file system");
}

TEST_F(CopyFaults, AReadOnlyVideoFolderGetsNothingAndKeepsTheSelection) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders; the read-only stick covers root";
    }
    addVideo("a.MP4");
    MainForm form(platform);
    showStick(form);
    chmod(onStick("").c_str(), 0555);
    select(form, {0});
    startRun(form);

    EXPECT_TRUE(stickFiles().empty());
    EXPECT_EQ(selected(form), std::vector<int>{0});
    expectToldWhy("Permission denied");
}

TEST_F(CopyFaults, ASourceVideoRemovedAfterItWasSelectedStopsTheRunThere) {
    addVideo("a.MP4");
    addVideo("b.MP4");
    addVideo("c.MP4");
    MainForm form(platform);
    showStick(form);
    select(form, {0, 1, 2});
    std::filesystem::remove(source.at("b.MP4"));
    startRun(form);

    EXPECT_EQ(stickFiles(), Strings{"MAQ24601.MP4"});
    EXPECT_TRUE(copiedIntact("MAQ24601.MP4", "a.MP4"));
    EXPECT_EQ(selected(form), (std::vector<int>{1, 2}));
    EXPECT_EQ(form.sizeSource.Caption(), "1");
    expectToldWhy("No such file or directory");
}

}  // namespace
}  // namespace velmora
