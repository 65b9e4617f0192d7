#include "controls/FileList.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/PlatformError.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora {
namespace {

class FileListTest : public ::testing::Test {
  protected:
    FileList makeList() {
        ControlDescription description;
        description.name = "listSource";
        description.kind = ControlKind::FileList;
        return FileList(description, platform, "*.MP4");
    }
    std::vector<std::string> names(const FileList& list) {
        std::vector<std::string> all;
        for (int i = 0; i < list.ListCount(); ++i) {
            all.push_back(list.List(i));
        }
        return all;
    }

    test::ScriptedPlatform platform;
    test::TempFolder folder;
};

TEST_F(FileListTest, ListsVideosOfAnyCaseSortedWithoutRegardToCase) {
    for (const char* name : {"b.mp4", "A.MP4", "c.Mp4", "notes.txt", "d.MP4.THM", ".hidden.MP4"}) {
        folder.write(name);
    }
    folder.makeFolder("folder.MP4");
    FileList list = makeList();
    list.setPath(folder.path());
    EXPECT_EQ(names(list), (std::vector<std::string>{"A.MP4", "b.mp4", "c.Mp4"}));
    EXPECT_EQ(list.Path(), folder.path());
    EXPECT_EQ(list.FileName(), "");
}

TEST_F(FileListTest, NewPathLosesTheSelectionAndRefreshKeepsIt) {
    folder.write("a.MP4");
    folder.write("b.MP4");
    folder.write("sub/c.MP4");
    FileList list = makeList();
    list.setPath(folder.path());
    list.setSelected(1, true);
    list.setListIndex(1);

    folder.write("0.MP4");  // shifts b.MP4 to position 2
    list.Refresh();
    ASSERT_EQ(list.ListCount(), 3);
    EXPECT_FALSE(list.Selected(1));
    EXPECT_TRUE(list.Selected(2));
    EXPECT_EQ(list.FileName(), "b.MP4");

    list.setPath(folder.at("sub"));
    EXPECT_EQ(names(list), (std::vector<std::string>{"c.MP4"}));
    EXPECT_FALSE(list.Selected(0));
    EXPECT_EQ(list.FileName(), "");
}

TEST_F(FileListTest, RefreshForgetsTheCurrentNameWhenItsFileIsGone) {
    folder.write("a.MP4");
    FileList list = makeList();
    list.setPath(folder.path());
    list.setListIndex(0);
    std::filesystem::remove(folder.at("a.MP4"));
    list.Refresh();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.FileName(), "");
}

TEST_F(FileListTest, UnreadableFolderKeepsTheFormerContents) {
    folder.write("a.MP4");
    FileList list = makeList();
    list.setPath(folder.path());
    EXPECT_THROW(list.setPath(folder.at("missing")), PlatformError);
    EXPECT_EQ(list.Path(), folder.path());
    EXPECT_EQ(list.ListCount(), 1);
}

TEST_F(FileListTest, TellsItsViewsWhatChanged) {
    folder.write("a.MP4");
    FileList list = makeList();
    int itemChanges = 0;
    std::vector<int> selectionChanges;
    list.itemsChanged.connect([&] { ++itemChanges; });
    list.selectionChanged.connect([&](int i) { selectionChanges.push_back(i); });
    list.setPath(folder.path());
    list.setSelected(0, true);
    list.setSelected(0, true);  // no change, no signal
    list.setSelected(0, false);
    EXPECT_EQ(itemChanges, 1);
    EXPECT_EQ(selectionChanges, (std::vector<int>{0, 0}));
}

}  // namespace
}  // namespace velmora
