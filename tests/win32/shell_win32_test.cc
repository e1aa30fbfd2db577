#include "platform/win32/shell_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/win32/windows_win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/com_apartment_win32.h"
#include "platform/win32/com_ptr_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/wide_text_win32.h"
#include "win32/scratch_win32.h"

namespace veltrane {
namespace {

// Saves a shell link to target at linkPath, the way the shell itself does.
bool CreateShortcut(const std::string& linkPath, const std::string& target) {
  const ComApartment apartment;
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.ReceiveVoid()))) {
    return false;
  }
  if (FAILED(link->SetPath(ToWide(target).c_str()))) return false;
  const ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  return file && SUCCEEDED(file->Save(ToWide(linkPath).c_str(), TRUE));
}

// Runs on a thread of its own, so that the thread's COM state is known.
template <typename Body>
void OnFreshThread(Body body) {
  std::thread thread(body);
  thread.join();
}

class ShellWin32Test : public ::testing::Test {
 protected:
  ShellWin32 shell_;
  FileSystemWin32 files_;
  ScratchFolder scratch_;
};

TEST_F(ShellWin32Test, ResolveShortcutGivesTheTargetWhateverTheThreadsComState) {
  const std::string folder = scratch_ / "Programm \xC3\xA4\xC3\xB6\xC3\xBC \xE6\x97\xA5\xE6\x9C\xAC";
  const std::string target = folder + "\\App.exe";
  ASSERT_TRUE(files_.CreateDirectory(folder));
  ASSERT_TRUE(files_.WriteFile(target, "MZ"));
  const std::string link = scratch_ / "App \xE2\x82\xAC.lnk";
  ASSERT_TRUE(CreateShortcut(link, target));

  OnFreshThread([&] { EXPECT_EQ(shell_.ResolveShortcut(link), target) << "no COM"; });
  OnFreshThread([&] {
    const ComApartment singleThreaded(COINIT_APARTMENTTHREADED);
    EXPECT_EQ(shell_.ResolveShortcut(link), target) << "single-threaded apartment";
  });
  OnFreshThread([&] {
    const ComApartment multiThreaded(COINIT_MULTITHREADED);
    EXPECT_EQ(shell_.ResolveShortcut(link), target) << "multithreaded apartment";
    // The call left the thread's apartment as it was.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
  });
}

TEST_F(ShellWin32Test, ResolveShortcutKeepsAMovedTargetsPath) {
  const std::string target = scratch_ / "Moved\\Tool.exe";
  ASSERT_TRUE(files_.CreateDirectory(scratch_ / "Moved"));
  ASSERT_TRUE(files_.WriteFile(target, "MZ"));
  ASSERT_TRUE(CreateShortcut(scratch_ / "tool.lnk", target));
  ASSERT_TRUE(files_.DeleteFile(target));
  EXPECT_EQ(shell_.ResolveShortcut(scratch_ / "tool.lnk"), target);
}

TEST_F(ShellWin32Test, ResolveShortcutOfWhatIsNoShortcutIsEmpty) {
  ASSERT_TRUE(files_.WriteFile(scratch_ / "text.lnk", "not a shell link at all"));
  ASSERT_TRUE(files_.WriteFile(scratch_ / "empty.lnk", ""));
  EXPECT_EQ(shell_.ResolveShortcut(scratch_ / "text.lnk"), "");
  EXPECT_EQ(shell_.ResolveShortcut(scratch_ / "empty.lnk"), "");
  EXPECT_EQ(shell_.ResolveShortcut(scratch_ / "missing.lnk"), "");
  EXPECT_EQ(shell_.ResolveShortcut(scratch_.Path()), "");
  EXPECT_EQ(shell_.ResolveShortcut(""), "");
}

TEST_F(ShellWin32Test, RecycleToBinTakesAWholeFolder) {
  const std::string folder = scratch_ / "Unwanted \xC3\xA9";
  ASSERT_TRUE(files_.CreateDirectory(folder));
  ASSERT_TRUE(files_.CreateDirectory(folder + "\\sub"));
  ASSERT_TRUE(files_.WriteFile(folder + "\\sub\\a.exe", "MZ"));
  ASSERT_TRUE(files_.WriteFile(scratch_ / "neighbour", "stays"));
  EXPECT_TRUE(shell_.RecycleToBin(folder));
  EXPECT_FALSE(files_.DirectoryExists(folder));
  EXPECT_TRUE(files_.FileExists(scratch_ / "neighbour"));
}

TEST_F(ShellWin32Test, RecycleToBinOfAPatternLeavesTheFolder) {
  const std::string folder = scratch_ / "Contents";
  ASSERT_TRUE(files_.CreateDirectory(folder));
  ASSERT_TRUE(files_.CreateDirectory(folder + "\\sub"));
  ASSERT_TRUE(files_.WriteFile(folder + "\\a.txt", "a"));
  EXPECT_TRUE(shell_.RecycleToBin(folder + "\\*.*"));
  EXPECT_TRUE(files_.DirectoryExists(folder));
  EXPECT_FALSE(files_.FileExists(folder + "\\a.txt"));
  EXPECT_FALSE(files_.DirectoryExists(folder + "\\sub"));
}

TEST_F(ShellWin32Test, RecycleToBinOfNothingFails) {
  EXPECT_FALSE(shell_.RecycleToBin(scratch_ / "missing"));
  EXPECT_FALSE(shell_.RecycleToBin(""));
}

TEST_F(ShellWin32Test, OpenDocumentOfAMissingFileFails) {
  EXPECT_FALSE(shell_.OpenDocument(scratch_ / "missing.txt"));
  EXPECT_FALSE(shell_.OpenDocument(""));
}

}  // namespace
}  // namespace veltrane
