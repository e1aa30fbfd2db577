// A small world for scan tests: the in-memory platform with the standard
// folders of a user "User" on C:, the fake main window, the program's state
// with the tags "searchbar" and "toolbar" and the exclusion "trusted", and
// the context that ties them together.
#pragma once

#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/engine_state.h"
#include "platform/fake/platform_fake.h"
#include "platform/fake/ui_fake.h"

namespace veltrane {

struct ScanFixture {
  ScanFixture() {
    fake.CreateStandardFolders();
    state.definitions.ReplaceTags({"searchbar", "toolbar"});
    state.definitions.ReplaceExclusions({"trusted"});
  }

  // The list1 rows as "caption | location" texts.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (const FakeListView::Row& row : window.list1.Rows()) {
      rows.push_back(row.caption + " | " + (row.subItems.empty() ? "" : row.subItems[0]));
    }
    return rows;
  }

  // The log lines without their leading time ("23:55:48").
  std::vector<std::string> LogTexts() {
    const std::string time = fake.clock.FormatLongTime(fake.clock.Now());
    std::vector<std::string> texts;
    for (const std::string& line : state.scanLog) {
      texts.push_back(line.starts_with(time) ? line.substr(time.size()) : line);
    }
    return texts;
  }

  // Sets abortRequested from the nth pending-messages call on, as a
  // confirmed Abort click would.
  void AbortAtPumpCall(int n) {
    window.pump.SetHook([this, n](int call) {
      if (call >= n) state.abortRequested = true;
    });
  }

  FakePlatform fake;
  FakeMainView window;
  EngineState state;
  AppContext context{fake.platform(), window.view(), state};
};

}  // namespace veltrane
