#include "platform/fake/shell_fake.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

using Names = std::vector<std::string>;

class FakeShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFile("C:\\Program Files\\Bad\\bad.exe", "x");
    files.AddFile("C:\\Program Files\\Bad\\Data\\z.dat", "z");
    files.AddFile("C:\\Program Files\\Bad\\readme.txt", "r");
  }

  FakeFileSystem files;
  FakeShell shell{files};
};

TEST_F(FakeShellTest, RecyclingContentsLeavesTheFolderThenTheFolderGoes) {
  EXPECT_TRUE(shell.RecycleToBin("C:\\program files\\bad\\*.*"));
  EXPECT_EQ(files.Names("C:\\Program Files\\Bad"), Names{});
  EXPECT_EQ(shell.RecycledPaths(), (Names{"C:\\Program Files\\Bad\\bad.exe", "C:\\Program Files\\Bad\\Data",
                                          "C:\\Program Files\\Bad\\readme.txt"}));
  // An empty folder's contents go without complaint; then the folder itself.
  EXPECT_TRUE(shell.RecycleToBin("C:\\Program Files\\Bad\\*.*"));
  EXPECT_TRUE(shell.RecycleToBin("C:\\Program Files\\Bad"));
  EXPECT_FALSE(files.Exists("C:\\Program Files\\Bad"));
}

TEST_F(FakeShellTest, LockedFileFailsTheWholeRecycleAndMovesNothing) {
  files.Lock("C:\\Program Files\\Bad\\Data\\z.dat");
  EXPECT_FALSE(shell.RecycleToBin("C:\\Program Files\\Bad\\*.*"));
  EXPECT_FALSE(shell.RecycleToBin("C:\\Program Files\\Bad"));
  EXPECT_EQ(files.Names("C:\\Program Files\\Bad"), (Names{"bad.exe", "Data", "readme.txt"}));
  EXPECT_TRUE(shell.RecycledPaths().empty());
  EXPECT_EQ(shell.RecycleCalls().size(), 2u);
}

TEST_F(FakeShellTest, NothingToRecycleIsAFailure) {
  EXPECT_FALSE(shell.RecycleToBin("C:\\Missing\\*.*"));
  EXPECT_FALSE(shell.RecycleToBin("C:\\Missing"));
  EXPECT_FALSE(shell.RecycleToBin(""));
  shell.FailRecycling(true);
  EXPECT_FALSE(shell.RecycleToBin("C:\\Program Files\\Bad"));
  EXPECT_TRUE(files.Exists("C:\\Program Files\\Bad"));
}

TEST_F(FakeShellTest, ShortcutsResolveWhileTheLinkFileExists) {
  shell.AddShortcut("C:\\Users\\User\\Desktop\\Bad.lnk", "C:\\Program Files\\Bad\\bad.exe");
  shell.AddBrokenShortcut("C:\\Users\\User\\Desktop\\Broken.lnk");
  EXPECT_EQ(shell.ResolveShortcut("c:\\users\\user\\desktop\\bad.LNK"), "C:\\Program Files\\Bad\\bad.exe");
  EXPECT_EQ(shell.ResolveShortcut("C:\\Users\\User\\Desktop\\Broken.lnk"), "");
  EXPECT_TRUE(files.FileExists("C:\\Users\\User\\Desktop\\Broken.lnk"));
  EXPECT_EQ(shell.ResolveShortcut("C:\\Users\\User\\Desktop\\Other.lnk"), "");
  ASSERT_TRUE(files.DeleteFile("C:\\Users\\User\\Desktop\\Bad.lnk"));
  EXPECT_EQ(shell.ResolveShortcut("C:\\Users\\User\\Desktop\\Bad.lnk"), "");
}

}  // namespace
}  // namespace veltrane
