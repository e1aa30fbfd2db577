#include "app/scan_run.h"

#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/constants.h"
#include "scanners/registry_scan.h"
#include "unit/scanners/scan_fixture.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kLogPath = "C:\\Users\\User\\AppData\\Roaming\\Orlenvik\\Veltrane\\Settings\\log.txt";
constexpr const char* kAbortQuestion = "Do you wish to end current scan process?";

class ScanRunTest : public ::testing::Test, protected ScanFixture {
 protected:
  ScanRunTest() {
    fake.registry.SetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                            "ProgramFilesDir", "C:\\Program Files");
  }

  // Confirms an Abort through the Scan button at the first pending-messages
  // call at which when() holds, as the user would while the scan runs.
  void AbortWhen(std::function<bool()> when) {
    window.pump.SetHook([this, when](int) {
      if (aborted_ || !when()) return;
      aborted_ = true;
      window.messageBox.QueueAnswer(MessageBoxAnswer::kYes);
      EXPECT_TRUE(ScanButtonClick(context).ok());
    });
  }

  std::vector<std::string> Boxes() { return window.messageBox.Texts(); }

  bool aborted_ = false;
};

TEST_F(ScanRunTest, AScanWithoutFindsWritesTheHeaderAndReportsACleanSystem) {
  ASSERT_TRUE(ScanButtonClick(context).ok());

  EXPECT_THAT(state.scanLog.Lines(),
              ElementsAre("Veltrane (19.6.2015) log.", "Generated at: 09.12.2026 on 23:55:48",
                          "Microsoft Windows 7 x64 Edition", "", "23:55:48: Scanning please wait...",
                          "23:55:48: 0 object(s) found on your computer!", "23:55:48: Your system is clean!"));
  ASSERT_EQ(window.messageBox.Boxes().size(), 1u);
  const FakeMessageBox::Shown& box = window.messageBox.Boxes()[0];
  EXPECT_EQ(box.text, "Your system is clean!");
  EXPECT_EQ(box.caption, kApplicationTitle);
  EXPECT_EQ(box.icon, MessageBoxIcon::kInformation);

  EXPECT_EQ(fake.registry.StringValue(RegistryRoot::kCurrentUser, "Software\\Orlenvik\\Tessaly", "ScanDate"),
            "09.12.2026 23:55:48");
  EXPECT_EQ(window.label17.Text(), "09.12.2026 23:55:48");
  EXPECT_EQ(fake.files.ReadText(kLogPath), state.scanLog.Text());
  EXPECT_TRUE(fake.files.ReadText(kLogPath).ends_with("clean!\r\n"));
  EXPECT_THAT(fake.shell.OpenedDocuments(), ElementsAre(kLogPath));

  EXPECT_FALSE(window.button2.IsEnabled());
  EXPECT_EQ(window.button1.Caption(), "Scan");
  EXPECT_EQ(window.sb1.Text(), kApplicationTitle);
  EXPECT_FALSE(state.scanRunning);
  EXPECT_FALSE(state.scanActive);
}

TEST_F(ScanRunTest, TheHeaderKeepsAnEmptyLineForAnUnknownSystem) {
  fake.system.SetVersion(std::nullopt);

  ASSERT_TRUE(ScanButtonClick(context).ok());

  ASSERT_GE(state.scanLog.Count(), 5);
  EXPECT_EQ(state.scanLog[2], "");
  EXPECT_EQ(state.scanLog[3], "");
  EXPECT_EQ(state.scanLog[4], "23:55:48: Scanning please wait...");
}

TEST_F(ScanRunTest, TheScannersRunInTheirOrderAndTheDriveRootIsNotEntered) {
  // A 32-bit process on 64-bit Windows.
  fake.registry.SetDefaultView(RegistryView::k32);
  fake.registry.SetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion",
                          "ProgramFilesDir", "C:\\Program Files");
  fake.files.AddFolder("C:\\Program Files\\SearchBarA");
  fake.files.AddFolder("C:\\Users\\User\\SearchBarB");
  fake.files.AddFolder("C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\SearchBarC");
  fake.files.AddFolder("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\SearchBarD");
  fake.files.AddFolder("C:\\SearchBarE");
  fake.files.AddFolder("C:\\Data\\SearchBarDeep");
  fake.registry.SetString(RegistryRoot::kCurrentUser, "Software\\Run", "f", "toolbar.exe");
  fake.registry.SetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "g",
                          "toolbar.exe");
  fake.registry.SetString(RegistryRoot::kLocalMachine,
                          "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", "h", "toolbar.exe");

  ASSERT_TRUE(ScanButtonClick(context).ok());

  const std::string startMenu = "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarA | C:\\Program Files\\SearchBarA",
                                  // the user Start Menu lies in the profile: found by both walks
                                  "PUP.SearchBarC | " + startMenu + "\\Programs\\SearchBarC",
                                  "PUP.SearchBarB | C:\\Users\\User\\SearchBarB",
                                  "PUP.SearchBarC | " + startMenu + "\\Programs\\SearchBarC",
                                  "PUP.SearchBarD | C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\SearchBarD",
                                  "PUP.SearchBarE | C:\\SearchBarE",
                                  "PUP.toolbar | HKEY_CURRENT_USER\\Software\\Run\\f",
                                  "PUP.toolbar | HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\g",
                                  "PUP.toolbar | HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\"
                                  "CurrentVersion\\Run\\h"));
  EXPECT_EQ(state.foundFolders.Count(), 6);
  ASSERT_EQ(state.foundList.Count(), 3);
  EXPECT_EQ(RecordRegistryView(state.foundList[0]), RegistryView::kDefault);
  EXPECT_EQ(RecordRegistryView(state.foundList[1]), RegistryView::k64);
  EXPECT_EQ(RecordRegistryView(state.foundList[2]), RegistryView::k32);
  EXPECT_EQ(state.foundCount, 9);
}

TEST_F(ScanRunTest, NoToTheOfferEnablesUninstallAndSavesAndOpensTheLog) {
  fake.files.AddFolder("C:\\Program Files\\SearchBarX");
  window.messageBox.QueueAnswer(MessageBoxAnswer::kNo);

  ASSERT_TRUE(ScanButtonClick(context).ok());

  ASSERT_EQ(window.messageBox.Boxes().size(), 1u);
  const FakeMessageBox::Shown& offer = window.messageBox.Boxes()[0];
  EXPECT_EQ(offer.text, "You have 1 object(s) located on your computer, do you wish to Uninstall them now?");
  EXPECT_EQ(offer.caption, kApplicationTitle);
  EXPECT_EQ(offer.buttons, MessageBoxButtons::kYesNo);
  EXPECT_EQ(offer.icon, MessageBoxIcon::kQuestion);
  EXPECT_EQ(state.scanLog.Lines().back(), "23:55:48: 1 object(s) found on your computer!");
  EXPECT_TRUE(window.button2.IsEnabled());
  EXPECT_THAT(fake.shell.OpenedDocuments(), ElementsAre(kLogPath));
  EXPECT_EQ(fake.files.ReadText(kLogPath), state.scanLog.Text());
  EXPECT_FALSE(state.scanRunning);
}

TEST_F(ScanRunTest, YesToTheOfferLeavesSavingAndOpeningTheLogToTheClean) {
  fake.files.AddFolder("C:\\Program Files\\SearchBarX");
  window.messageBox.QueueAnswer(MessageBoxAnswer::kYes);

  ASSERT_TRUE(ScanButtonClick(context).ok());

  EXPECT_THAT(fake.shell.OpenedDocuments(), ElementsAre(kLogPath));
  EXPECT_EQ(fake.files.ReadText(kLogPath), state.scanLog.Text());
  EXPECT_EQ(window.button1.Caption(), "Scan");
  EXPECT_FALSE(state.scanRunning);
}

TEST_F(ScanRunTest, AnAbortedScanWithFindsKeepsThemForUninstall) {
  fake.files.AddFolder("C:\\Program Files\\SearchBarX");
  fake.registry.SetString(RegistryRoot::kCurrentUser, "Software\\Run", "f", "toolbar.exe");
  AbortWhen([this] { return state.foundCount > 0; });

  ASSERT_TRUE(ScanButtonClick(context).ok());

  EXPECT_THAT(Boxes(), ElementsAre(kAbortQuestion, "Scan Process Aborted!",
                                   "Click on Uninstall button to remove located object(s)!"));
  EXPECT_EQ(window.messageBox.Boxes()[0].caption, "Tessaly");
  const std::vector<std::string> log = LogTexts();
  EXPECT_THAT(std::vector<std::string>(log.end() - 2, log.end()),
              ElementsAre(": 1  object(s) found on your computer!", ": Scan Process Aborted!"));
  EXPECT_EQ(state.foundCount, 1);  // the registry walk never ran
  EXPECT_TRUE(window.button2.IsEnabled());
  EXPECT_EQ(window.label7.Text(), "Done");
  EXPECT_THAT(fake.shell.OpenedDocuments(), ElementsAre(kLogPath));
}

TEST_F(ScanRunTest, AnAbortedScanWithoutFindsAlsoReportsACleanSystem) {
  AbortWhen([] { return true; });

  ASSERT_TRUE(ScanButtonClick(context).ok());

  EXPECT_THAT(Boxes(), ElementsAre(kAbortQuestion, "Scan Process Aborted!", "Your system is clean!"));
  const std::vector<std::string> log = LogTexts();
  EXPECT_THAT(std::vector<std::string>(log.end() - 2, log.end()),
              ElementsAre(": Scan Process Aborted!", ": Your system is clean!"));
  EXPECT_FALSE(window.button2.IsEnabled());
  EXPECT_THAT(fake.shell.OpenedDocuments(), ElementsAre(kLogPath));
}

TEST_F(ScanRunTest, NoToTheAbortQuestionChangesNothing) {
  window.pump.SetHook([this](int call) {
    if (call == 1) {
      EXPECT_TRUE(ScanButtonClick(context).ok());  // answered No by default
    }
  });

  ASSERT_TRUE(ScanButtonClick(context).ok());

  EXPECT_THAT(Boxes(), ElementsAre(kAbortQuestion, "Your system is clean!"));
  EXPECT_FALSE(state.abortRequested);
}

TEST_F(ScanRunTest, AScanClickIsRefusedWhileAnAbortedScanUnwinds) {
  window.pump.SetHook([this](int call) {
    if (call != 1) return;
    window.messageBox.QueueAnswer(MessageBoxAnswer::kYes);
    EXPECT_TRUE(ScanButtonClick(context).ok());  // confirms the abort
    EXPECT_EQ(window.button1.Caption(), "Scan");
    EXPECT_TRUE(ScanButtonClick(context).ok());  // refused: no question, no new scan
  });

  ASSERT_TRUE(ScanButtonClick(context).ok());

  EXPECT_THAT(Boxes(), ElementsAre(kAbortQuestion, "Scan Process Aborted!", "Your system is clean!"));
  EXPECT_TRUE(state.abortRequested);
  EXPECT_EQ(state.scanLog.Count(), 7);  // one header, one outcome
  EXPECT_THAT(fake.shell.OpenedDocuments(), ElementsAre(kLogPath));
  EXPECT_FALSE(state.scanActive);

  window.pump.SetHook(nullptr);
  ASSERT_TRUE(ScanButtonClick(context).ok());  // once it has returned, a scan starts again
  EXPECT_FALSE(state.abortRequested);
  EXPECT_EQ(fake.shell.OpenedDocuments().size(), 2u);
}

TEST_F(ScanRunTest, AScanClickIsRefusedWhileACleanRuns) {
  state.cleanRunning = true;

  ASSERT_TRUE(ScanButtonClick(context).ok());

  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_THAT(state.scanLog.Lines(), IsEmpty());
  EXPECT_FALSE(state.scanRunning);
  EXPECT_EQ(window.button1.Caption(), "");
}

TEST_F(ScanRunTest, AFailureToSaveTheLogIsReturnedAndTheWindowComesToRest) {
  fake.files.FailWrites(kLogPath);

  const Status status = ScanButtonClick(context);

  EXPECT_FALSE(status.ok());
  EXPECT_THAT(status.error(), ::testing::HasSubstr("log.txt"));
  EXPECT_THAT(fake.shell.OpenedDocuments(), IsEmpty());
  EXPECT_EQ(window.button1.Caption(), "Scan");
  EXPECT_FALSE(state.scanRunning);
  EXPECT_FALSE(state.scanActive);
}

}  // namespace
}  // namespace veltrane
