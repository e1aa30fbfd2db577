#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/console_list_view.h"
#include "cli/console_message_box.h"
#include "cli/console_output.h"
#include "cli/console_status_line.h"

namespace veltrane {
namespace {

class CapturedOutput : public ConsoleOutput {
 public:
  void Out(std::string_view text) override { out += text; }
  void Err(std::string_view text) override { err += text; }
  std::string out;
  std::string err;
};

TEST(ConsoleListViewTest, RowsAreOneLineOfTabSeparatedColumnsEach) {
  ConsoleListView list;
  const int first = list.AddRow("PUP.Foo");
  list.SetSubItem(first, 1, "Publisher\twith tab");
  list.SetSubItem(first, 3, "ADW.foo");  // sub-item 2 never set
  const int second = list.AddRow("Name with\r\nbreak");
  EXPECT_EQ(second, 1);

  EXPECT_EQ(list.RowsAsText(4),
            "PUP.Foo\tPublisher with tab\t\tADW.foo\n"
            "Name with  break\t\t\t\n");
}

TEST(ConsoleListViewTest, IndexesThatNameNoRowAreHarmless) {
  ConsoleListView list;
  list.AddRow("only");
  for (int row : {-1, 1, 100}) {
    list.SetCaption(row, "x");
    list.SetSubItem(row, 1, "x");
    list.SetChecked(row, true);
    EXPECT_EQ(list.Caption(row), "");
    EXPECT_EQ(list.SubItem(row, 1), "");
    EXPECT_FALSE(list.IsChecked(row));
    EXPECT_EQ(list.SubItemCount(row), 0);
  }
  list.SetSubItem(0, 0, "not a sub-item");
  EXPECT_EQ(list.SubItemCount(0), 0);
  EXPECT_EQ(list.SubItem(0, 5), "");
  EXPECT_EQ(list.RowsAsText(2), "only\t\n");
}

TEST(ConsoleStatusLineTest, PrintsChangesAtMostOncePerIntervalAndKeepsTheTitleQuiet) {
  CapturedOutput output;
  int64_t now = 1000;
  ConsoleStatusLine status(output, [&now] { return now; }, 500);

  status.SetText("Initializing...");
  status.SetText("Scanning...");  // same moment: held back
  now += 499;
  status.SetText("Checking C:\\a");  // still inside the interval
  now += 1;
  status.SetText("Checking C:\\b");
  now += 600;
  status.SetText("Checking C:\\b");  // unchanged text is not repeated
  status.SetText("Veltrane\xE2\x84\xA2");  // the resting text
  now += 600;
  status.SetText("Checking Registry ");

  EXPECT_EQ(output.err, "Initializing...\nChecking C:\\b\nChecking Registry \n");
  EXPECT_EQ(status.Text(), "Checking Registry ");
  EXPECT_EQ(output.out, "");
}

TEST(ConsoleMessageBoxTest, AnswersQuestionsAsToldAndPrintsEveryBox) {
  CapturedOutput output;
  ConsoleMessageBox box(output);

  EXPECT_EQ(box.Show("Remove them?", "Title", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion),
            MessageBoxAnswer::kNo);
  box.SetQuestionAnswer(MessageBoxAnswer::kYes);
  EXPECT_EQ(box.Show("Remove them?", "Title", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion),
            MessageBoxAnswer::kYes);
  box.SetQuestionAnswer(MessageBoxAnswer::kNo);
  box.AnswerNextQuestion(MessageBoxAnswer::kYes);
  // An OK box doesn't use up the one-shot answer.
  EXPECT_EQ(box.Show("Note", "Title", MessageBoxButtons::kOk, MessageBoxIcon::kInformation),
            MessageBoxAnswer::kOk);
  EXPECT_EQ(box.Show("End the scan?", "Tessaly", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion),
            MessageBoxAnswer::kYes);
  EXPECT_EQ(box.Show("End the scan?", "Tessaly", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion),
            MessageBoxAnswer::kNo);

  EXPECT_EQ(output.err,
            "Title: Remove them? [No]\n"
            "Title: Remove them? [Yes]\n"
            "Title: Note [OK]\n"
            "Tessaly: End the scan? [Yes]\n"
            "Tessaly: End the scan? [No]\n");
  EXPECT_TRUE(box.WasShown("Note"));
  EXPECT_FALSE(box.WasShown("Not"));
  EXPECT_EQ(box.History().size(), 5u);
}

TEST(CommandLineTest, ParsesCommandsAndOptions) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
    ConsoleCommand command;
    bool offline;
  };
  const Case cases[] = {
      {{"scan"}, true, ConsoleCommand::kScan, false},
      {{"clean", "--offline"}, true, ConsoleCommand::kClean, true},
      {{"--offline", "programs"}, true, ConsoleCommand::kPrograms, true},
      {{"addons"}, true, ConsoleCommand::kAddons, false},
      {{}, true, ConsoleCommand::kHelp, false},
      {{"scan", "--help"}, true, ConsoleCommand::kHelp, false},
      {{"Scan"}, false, ConsoleCommand::kHelp, false},
      {{"scan", "clean"}, false, ConsoleCommand::kHelp, false},
      {{"scan", "--ofline"}, false, ConsoleCommand::kHelp, false},
  };
  for (const Case& c : cases) {
    const Result<CommandLine> parsed = ParseCommandLine(c.args);
    std::string joined;
    for (const std::string& arg : c.args) joined += arg + " ";
    ASSERT_EQ(parsed.ok(), c.ok) << joined;
    if (!c.ok) {
      EXPECT_FALSE(parsed.error().empty());
      continue;
    }
    EXPECT_EQ(parsed->command, c.command) << joined;
    EXPECT_EQ(parsed->offline, c.offline) << joined;
  }
}

}  // namespace
}  // namespace veltrane
