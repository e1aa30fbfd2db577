#include "platform/fake/ui_fake.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

TEST(FakeMessageBoxTest, OkBoxesLeaveTheScriptedAnswersToQuestions) {
  FakeMessageBox box;
  box.QueueAnswer(MessageBoxAnswer::kYes);
  EXPECT_EQ(box.Show("Done", "Veltrane", MessageBoxButtons::kOk, MessageBoxIcon::kInformation),
            MessageBoxAnswer::kOk);
  EXPECT_EQ(box.Show("Remove?", "Veltrane", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion),
            MessageBoxAnswer::kYes);
  EXPECT_EQ(box.Show("Again?", "Tessaly", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion),
            MessageBoxAnswer::kNo);
  box.SetDefaultAnswer(MessageBoxAnswer::kYes);
  EXPECT_EQ(box.Show("Once more?", "Tessaly", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion),
            MessageBoxAnswer::kYes);

  ASSERT_EQ(box.Boxes().size(), 4u);
  EXPECT_EQ(box.Boxes()[2].caption, "Tessaly");
  EXPECT_EQ(box.Boxes()[2].answer, MessageBoxAnswer::kNo);
  EXPECT_EQ(box.Texts(), (std::vector<std::string>{"Done", "Remove?", "Again?", "Once more?"}));
}

TEST(FakeListViewTest, TracksUpdateBracketsAndWrongRows) {
  FakeListView list;
  list.BeginUpdate();
  const int row = list.AddRow("PUP.bar");
  list.SetSubItem(row, 2, "second");
  list.SetChecked(row, true);
  list.EndUpdate();
  list.AddRow("outside");

  EXPECT_EQ(list.SubItemCount(row), 2);
  EXPECT_EQ(list.SubItem(row, 1), "");
  EXPECT_EQ(list.SubItem(row, 2), "second");
  EXPECT_TRUE(list.IsChecked(row));
  EXPECT_EQ(list.RowsAddedOutsideUpdate(), 1);
  EXPECT_EQ(list.UpdateDepth(), 0);

  EXPECT_EQ(list.BadIndexCalls(), 0);
  list.SetCaption(5, "nowhere");
  EXPECT_EQ(list.Caption(-1), "");
  EXPECT_EQ(list.BadIndexCalls(), 2);
  list.EndUpdate();
  EXPECT_EQ(list.UnmatchedEndUpdates(), 1);
}

TEST(FakeMessagePumpTest, HookSeesEachCallNumber) {
  FakeMainView view;
  view.pump.SetHook([&view](int call) {
    if (call == 3) view.button1.SetCaption("Scan");
  });
  for (int i = 0; i < 5; ++i) view.view().pump.ProcessPendingMessages();
  EXPECT_EQ(view.pump.Calls(), 5);
  EXPECT_EQ(view.button1.Caption(), "Scan");
  view.view().sb1.SetText("Checking C:\\x");
  EXPECT_EQ(view.sb1.History(), std::vector<std::string>{"Checking C:\\x"});
}

}  // namespace
}  // namespace veltrane
