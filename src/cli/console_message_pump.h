// The console's message pump. The long loops call it once per item; here it
// is where a Ctrl+C, noted by the signal handler on its own thread as a flag,
// reaches the user-interface thread and becomes a confirmed Abort.
#pragma once

#include <atomic>
#include <functional>
#include <utility>

#include "platform/ui.h"

namespace veltrane {

class ConsoleMessagePump : public MessagePump {
 public:
  explicit ConsoleMessagePump(std::atomic<bool>& interrupted) : interrupted_(interrupted) {}

  // Runs on the pump's thread for each Ctrl+C taken from the flag.
  void SetInterruptHandler(std::function<void()> handler) { onInterrupt_ = std::move(handler); }

  void ProcessPendingMessages() override {
    if (interrupted_.exchange(false) && onInterrupt_) onInterrupt_();
  }

 private:
  std::atomic<bool>& interrupted_;
  std::function<void()> onInterrupt_;
};

}  // namespace veltrane
