#include "controls/FileList.h"

#include <gtest/gtest.h>

#include "platform/PlatformError.h"
#include "support/StickFixture.h"

namespace velmora {
namespace {

class FileListTest : public test::StickTest {
  protected:
    FileListTest() { list.setPath(home.path()); }
    FileList list{{}, platform, "*.MP4"};
};

TEST_F(FileListTest, ListsVisibleVideoFilesOfAnyCaseSortedWithoutRegardToCase) {
    for (const char* name : {"b.mp4", "A.MP4", "c.Mp4", "notes.txt", "d.MP4.THM", ".hidden.MP4"}) {
        home.write(name);
    }
    home.makeFolder("folder.MP4");
    list.Refresh();
    EXPECT_EQ(listed(list), (std::vector<std::string>{"A.MP4", "b.mp4", "c.Mp4"}));
}

TEST_F(FileListTest, RefreshKeepsTheSelectionByNameAndANewPathLosesIt) {
    home.write("a.MP4");
    home.write("b.MP4");
    home.write("sub/c.MP4");
    list.Refresh();
    list.setSelected(1, true);
    list.setListIndex(1);
    home.write("0.MP4");  // shifts b.MP4 to position 2
    list.Refresh();
    EXPECT_EQ(selected(list), std::vector<int>{2});
    EXPECT_EQ(list.FileName(), "b.MP4");
    home.remove("b.MP4");
    list.Refresh();
    EXPECT_EQ(list.FileName(), "");

    list.setListIndex(0);
    list.setSelected(0, true);
    list.setPath(home.at("sub"));
    EXPECT_EQ(listed(list), std::vector<std::string>{"c.MP4"});
    EXPECT_TRUE(selected(list).empty());
    EXPECT_EQ(list.FileName(), "");
}

TEST_F(FileListTest, AFolderThatCantBeReadKeepsTheFormerContents) {
    home.write("a.MP4");
    list.Refresh();
    EXPECT_THROW(list.setPath(home.at("missing")), PlatformError);
    EXPECT_EQ(list.Path(), home.path());
    EXPECT_EQ(list.ListCount(), 1);
}

}  // namespace
}  // namespace velmora
