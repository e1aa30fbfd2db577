#include "scanners/shortcuts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/fake/platform_fake.h"
#include "platform/fake/ui_fake.h"

namespace veltrane {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kDesktop = "C:\\Users\\User\\Desktop";
const std::string kCommonDesktop = "C:\\Users\\Public\\Desktop";
const std::string kStartMenu = "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
const std::string kCommonStartMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
const std::string kLinksFile = "C:\\Program Files (x86)\\Veltrane\\links.txt";
const std::string kAppExe = "C:\\Program Files\\Shiny App\\ShinyApp.exe";
const std::string kAppExeLower = "c:\\program files\\shiny app\\shinyapp.exe";

// A walk that follows a junction loop would run until the path overflows;
// this ends it early as a test failure.
void StopEndlessWalk(int call) {
  if (call > 10000) throw std::runtime_error("the walk does not end: it entered a junction loop");
}

class ShortcutsTest : public ::testing::Test {
 protected:
  ShortcutsTest() {
    fake.CreateStandardFolders();
    window.pump.SetHook(StopEndlessWalk);
  }

  FakePlatform fake;
  FakeMainView window;
  EngineState state;
  AppContext context{fake.platform(), window.view(), state};
};

TEST_F(ShortcutsTest, MapHoldsEveryShortcutOfTheFourFolders) {
  fake.shell.AddShortcut(kDesktop + "\\Shiny App.lnk", kAppExe);
  fake.shell.AddShortcut(kCommonStartMenu + "\\Programs\\Shiny\\Shiny App.lnk", kAppExe);
  fake.shell.AddShortcut(kCommonDesktop + "\\Tool.ln", "C:\\Tools\\Tool.exe");
  fake.shell.AddShortcut(kStartMenu + "\\Programs\\Short.L", "C:\\Tools\\Short.exe");
  fake.shell.AddShortcut(kStartMenu + "\\Programs\\Long.lnkx", "C:\\Tools\\Long.exe");
  fake.shell.AddShortcut(kStartMenu + "\\Programs\\.hidden\\Secret.lnk", "C:\\Tools\\Secret.exe");
  fake.shell.AddBrokenShortcut(kDesktop + "\\Broken.lnk");
  fake.files.AddFile(kDesktop + "\\notes.txt", "x");

  EXPECT_TRUE(BuildShortcutMap(context));

  EXPECT_THAT(state.shortcutMap.Lines(),
              ElementsAre("=;;" + kDesktop + "\\Broken.lnk;",
                          "shinyapp.exe=;" + kAppExeLower + ";" + kCommonStartMenu + "\\Programs\\Shiny\\Shiny App.lnk;",
                          "shinyapp.exe=;" + kAppExeLower + ";" + kDesktop + "\\Shiny App.lnk;",
                          "short.exe=;c:\\tools\\short.exe;" + kStartMenu + "\\Programs\\Short.L;",
                          "tool.exe=;c:\\tools\\tool.exe;" + kCommonDesktop + "\\Tool.ln;"));
  EXPECT_EQ(fake.files.ReadText(kLinksFile), state.shortcutMap.Text());
  EXPECT_THAT(window.sb1.History(), Contains("Checking " + kDesktop + "\\notes.txt"));
}

TEST_F(ShortcutsTest, ShortcutWalkDoesNotEnterJunctions) {
  fake.shell.AddShortcut(kStartMenu + "\\Programs\\App.lnk", kAppExe);
  fake.files.AddJunction(kStartMenu + "\\Programs\\Loop", kStartMenu);
  fake.shell.AddShortcut("C:\\Elsewhere\\Other.lnk", "C:\\Tools\\Other.exe");
  fake.files.AddJunction(kDesktop + "\\Linked", "C:\\Elsewhere");

  BuildShortcutMap(context);

  EXPECT_THAT(state.shortcutMap.Lines(),
              ElementsAre("shinyapp.exe=;" + kAppExeLower + ";" + kStartMenu + "\\Programs\\App.lnk;"));
}

TEST_F(ShortcutsTest, FolderWithoutPathIsSkippedNotTheDriveRoot) {
  fake.system.SetSpecialFolder(csidl::kDesktop, "");
  fake.shell.AddShortcut("C:\\Root.lnk", kAppExe);
  fake.shell.AddShortcut(kStartMenu + "\\App.lnk", kAppExe);

  BuildShortcutMap(context);

  EXPECT_THAT(state.shortcutMap.Lines(),
              ElementsAre("shinyapp.exe=;" + kAppExeLower + ";" + kStartMenu + "\\App.lnk;"));
}

// Removal reads the shortcut's path from the line's fields: a ";" in either
// path would shift them.
TEST_F(ShortcutsTest, PathsWithFieldSeparatorsAreLeftOut) {
  fake.shell.AddShortcut(kDesktop + "\\Report;v2.lnk", kAppExe);
  fake.shell.AddShortcut(kDesktop + "\\Odd.lnk", "C:\\Odd;Folder\\Odd.exe");
  fake.shell.AddShortcut(kDesktop + "\\App.lnk", kAppExe);

  BuildShortcutMap(context);

  EXPECT_THAT(state.shortcutMap.Lines(), ElementsAre("shinyapp.exe=;" + kAppExeLower + ";" + kDesktop + "\\App.lnk;"));
}

TEST_F(ShortcutsTest, MapIsCompleteWhenLinksFileCannotBeWritten) {
  fake.shell.AddShortcut(kDesktop + "\\App.lnk", kAppExe);
  fake.files.FailWrites(kLinksFile);

  EXPECT_FALSE(BuildShortcutMap(context));

  EXPECT_EQ(state.shortcutMap.Count(), 1);
}

TEST_F(ShortcutsTest, AbortStopsTheWalksButTheMapIsStillSaved) {
  fake.shell.AddShortcut(kDesktop + "\\App.lnk", kAppExe);
  fake.shell.AddShortcut(kDesktop + "\\Later.lnk", "C:\\Tools\\Later.exe");
  fake.shell.AddShortcut(kStartMenu + "\\Programs\\Tool.lnk", "C:\\Tools\\Tool.exe");
  fake.files.AddFile(kLinksFile, "stale");
  // Abort is clicked just as the walk comes to the second shortcut: that
  // entry is still handled, nothing after it.
  window.pump.SetHook([&](int call) {
    StopEndlessWalk(call);
    if (window.sb1.Text() == "Checking " + kDesktop + "\\App.lnk") state.abortRequested = true;
  });

  EXPECT_TRUE(BuildShortcutMap(context));

  EXPECT_THAT(state.shortcutMap.Lines(),
              ElementsAre("later.exe=;c:\\tools\\later.exe;" + kDesktop + "\\Later.lnk;",
                          "shinyapp.exe=;" + kAppExeLower + ";" + kDesktop + "\\App.lnk;"));
  EXPECT_EQ(fake.files.ReadText(kLinksFile), state.shortcutMap.Text());
}

}  // namespace
}  // namespace veltrane
