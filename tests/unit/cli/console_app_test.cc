#include "cli/console_app.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "cli/command_line.h"
#include "cli/console_output.h"
#include "platform/fake/platform_fake.h"

namespace veltrane {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class CapturedOutput : public ConsoleOutput {
 public:
  void Out(std::string_view text) override { out += text; }
  void Err(std::string_view text) override { err += text; }
  std::string out;
  std::string err;
};

constexpr const char* kSettings = "C:\\Users\\User\\AppData\\Roaming\\Orlenvik\\Veltrane\\Settings\\";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A machine with the program installed beside its shipped tag files and a
// settings folder that doesn't exist yet (a first start).
class ConsoleAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_.CreateStandardFolders();
    const std::string module = fake_.system.ModuleFilePath();
    programFolder_ = module.substr(0, module.find_last_of('\\') + 1);
    fake_.files.AddFile(programFolder_ + "maltag.dat", "conduit\r\nwajam\r\n");
    fake_.files.AddFile(programFolder_ + "maltagEx.dat", "microsoft\r\n");
    fake_.files.AddFolder("C:\\Program Files\\Notepad++");
    fake_.registry.SetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                             "ProgramFilesDir", "C:\\Program Files");
  }

  int Run(ConsoleCommand command) {
    ConsoleEnvironment environment{fake_.platform(), output_, interrupted_, [this] { return now_ += 1000; }};
    return RunConsoleCommand(CommandLine{command, true}, environment);
  }

  FakePlatform fake_;
  CapturedOutput output_;
  std::atomic<bool> interrupted_{false};
  int64_t now_ = 0;
  std::string programFolder_;
};

TEST_F(ConsoleAppTest, ScanOfACleanMachinePrintsTheSavedLogAndExitsZero) {
  EXPECT_EQ(Run(ConsoleCommand::kScan), kExitClean);

  // The first start copied the shipped tag files.
  EXPECT_EQ(fake_.files.ReadText(std::string(kSettings) + "maltag.dat"), "conduit\r\nwajam\r\n");
  // Standard output is the saved log, with plain line feeds.
  EXPECT_THAT(output_.out, StartsWith("Veltrane (19.6.2015) log.\nGenerated at: "));
  EXPECT_THAT(output_.out, EndsWith(": Your system is clean!\n"));
  EXPECT_THAT(output_.out, Not(HasSubstr("\r")));
  std::string saved = fake_.files.ReadText(std::string(kSettings) + "log.txt");
  EXPECT_THAT(saved, HasSubstr("\r\n"));
  // The box and the log's path go to standard error; no viewer is started.
  EXPECT_THAT(output_.err, HasSubstr("Veltrane\xE2\x84\xA2: Your system is clean! [OK]\n"));
  EXPECT_THAT(output_.err, HasSubstr(std::string("Log: ") + kSettings + "log.txt\n"));
  EXPECT_TRUE(fake_.shell.OpenedDocuments().empty());
}

TEST_F(ConsoleAppTest, ScanThatFindsObjectsAnswersNoAndExitsOne) {
  fake_.files.AddFile("C:\\Program Files\\Conduit\\Toolbar.exe", "MZ");

  EXPECT_EQ(Run(ConsoleCommand::kScan), kExitFound);

  EXPECT_THAT(output_.out, HasSubstr(": Malware Object (PUP.Conduit) C:\\Program Files\\Conduit -> No action taken.\n"));
  EXPECT_THAT(output_.out, HasSubstr(": 1 object(s) found on your computer!\n"));
  EXPECT_THAT(output_.err, HasSubstr("do you wish to Uninstall them now? [No]\n"));
  EXPECT_TRUE(fake_.files.Exists("C:\\Program Files\\Conduit\\Toolbar.exe"));
}

TEST_F(ConsoleAppTest, CleanAnswersYesAndExitsOneWhenAnObjectStays) {
  fake_.files.AddFile("C:\\Program Files\\Conduit\\Toolbar.exe", "MZ");
  fake_.files.Lock("C:\\Program Files\\Conduit\\Toolbar.exe");  // in use: the folder can't go

  EXPECT_EQ(Run(ConsoleCommand::kClean), kExitFound);

  EXPECT_THAT(output_.err, HasSubstr("do you wish to Uninstall them now? [Yes]\n"));
  EXPECT_THAT(output_.out, HasSubstr(": Cleaning please wait...\n"));
  EXPECT_THAT(output_.out, HasSubstr("C:\\Program Files\\Conduit--> Err\n"));
}

TEST_F(ConsoleAppTest, CleanWithNothingFoundExitsZeroWithoutAnOffer) {
  EXPECT_EQ(Run(ConsoleCommand::kClean), kExitClean);
  EXPECT_THAT(output_.err, Not(HasSubstr("Uninstall them now?")));
}

TEST_F(ConsoleAppTest, CtrlCDuringTheScanIsAConfirmedAbort) {
  interrupted_ = true;  // taken by the scan's first pump

  EXPECT_EQ(Run(ConsoleCommand::kScan), kExitError);  // nothing found, but the walk didn't finish

  EXPECT_FALSE(interrupted_);
  EXPECT_THAT(output_.err, HasSubstr("Tessaly: Do you wish to end current scan process? [Yes]\n"));
  EXPECT_THAT(output_.err, HasSubstr("Scan Process Aborted! [OK]\n"));
  EXPECT_THAT(output_.out, HasSubstr(": Scan Process Aborted!\n"));
}

TEST_F(ConsoleAppTest, StartWithoutDefinitionsFailsBeforeScanning) {
  fake_.files.Remove(programFolder_ + "maltag.dat");

  EXPECT_EQ(Run(ConsoleCommand::kScan), kExitError);

  EXPECT_EQ(output_.out, "");
  EXPECT_THAT(output_.err, HasSubstr("maltag.dat"));
  EXPECT_FALSE(fake_.files.Exists(std::string(kSettings) + "log.txt"));
}

TEST_F(ConsoleAppTest, ALogThatCannotBeSavedIsAnError) {
  fake_.files.FailWrites(std::string(kSettings) + "log.txt");

  EXPECT_EQ(Run(ConsoleCommand::kScan), kExitError);

  EXPECT_EQ(output_.out, "");
  EXPECT_THAT(output_.err, Not(HasSubstr("Log: ")));
}

TEST_F(ConsoleAppTest, ProgramsPrintsTheRowsInColumnOrderThenTheTitle) {
  fake_.registry.SetString(RegistryRoot::kLocalMachine, std::string(kUninstall) + "\\SP", "DisplayName",
                           "Search Protect by Conduit");
  fake_.registry.SetString(RegistryRoot::kLocalMachine, std::string(kUninstall) + "\\SP", "Publisher",
                           "Client Connect LTD");
  fake_.registry.SetString(RegistryRoot::kLocalMachine, std::string(kUninstall) + "\\SP", "DisplayVersion",
                           "2.16");
  fake_.registry.SetString(RegistryRoot::kLocalMachine, std::string(kUninstall) + "\\NP", "DisplayName",
                           "Notepad++");

  EXPECT_EQ(Run(ConsoleCommand::kPrograms), kExitClean);

  EXPECT_EQ(output_.out,
            "Notepad++\t\t\tOk\n"
            "Search Protect by Conduit\tClient Connect LTD\t2.16\tADW.conduit\n"
            "Programs And Features (2)\n");
}

TEST_F(ConsoleAppTest, AddonsPrintsTheRowsInColumnOrderThenTheTitle) {
  fake_.files.AddFile(
      "C:\\Users\\User\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\Extensions\\abc\\1.0_0\\manifest.json",
      "{\r\n \"name\": \"Deals Finder\",\r\n \"update_url\": \"http://deals.example/update.xml\"\r\n}\r\n");
  fake_.registry.SetString(RegistryRoot::kCurrentUser,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Local AppData",
                           "C:\\Users\\User\\AppData\\Local");

  EXPECT_EQ(Run(ConsoleCommand::kAddons), kExitClean);

  EXPECT_THAT(output_.out, StartsWith("Deals Finder\tChrome\t"));
  EXPECT_THAT(output_.out, EndsWith("\tRiskware\nBrowser Add-ons (1)\n"));
}

}  // namespace
}  // namespace veltrane
