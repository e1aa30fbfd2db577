// The main window's controls as the console front-end has them: lists and
// labels in memory, the status line and message boxes on standard error.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <utility>

#include "app/main_view.h"
#include "cli/console_controls.h"
#include "cli/console_list_view.h"
#include "cli/console_message_box.h"
#include "cli/console_message_pump.h"
#include "cli/console_output.h"
#include "cli/console_status_line.h"

namespace veltrane {

struct ConsoleView {
  ConsoleView(ConsoleOutput& out, std::atomic<bool>& interrupted, std::function<int64_t()> milliseconds)
      : sb1(out, std::move(milliseconds)), messageBox(out), pump(interrupted) {}
  ConsoleView(const ConsoleView&) = delete;
  ConsoleView& operator=(const ConsoleView&) = delete;

  ConsoleListView list1;
  ConsoleLabel label2;
  ConsoleLabel label6;
  ConsoleLabel label7;
  ConsoleLabel label17;
  ConsoleButton button1;
  ConsoleButton button2;
  ConsoleStatusLine sb1;
  ConsoleListView programsLV;
  ConsoleLabel label84;
  ConsoleListView badoList;
  ConsoleLabel label70;
  ConsoleMessageBox messageBox;
  ConsoleMessagePump pump;

  MainView view{list1, label2, label6, label7, label17, button1, button2, sb1,
                programsLV, label84, badoList, label70, messageBox, pump};
};

}  // namespace veltrane
