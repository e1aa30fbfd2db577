// Ports to the window's controls. The window is a humble view: it owns the
// controls and forwards events; logic talks to these ports only.
// Row and column indexes are 0-based; sub-item 1 is the second column.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

class ListViewPort {
 public:
  virtual ~ListViewPort() = default;
  virtual void Clear() = 0;
  virtual int RowCount() = 0;
  // Adds a row at the end; returns its index.
  virtual int AddRow(std::string_view caption) = 0;
  virtual std::string Caption(int row) = 0;
  virtual void SetCaption(int row, std::string_view caption) = 0;
  // Sub-item 1.. of a row; "" when the row has no such sub-item.
  virtual std::string SubItem(int row, int subItem) = 0;
  // Sets sub-item 1..; a row has as many sub-items as were set.
  virtual void SetSubItem(int row, int subItem, std::string_view text) = 0;
  virtual int SubItemCount(int row) = 0;
  virtual bool IsChecked(int row) = 0;
  virtual void SetChecked(int row, bool checked) = 0;
  virtual std::vector<int> SelectedRows() = 0;
  // Bracket a batch of changes: no repaint in between.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

class LabelPort {
 public:
  virtual ~LabelPort() = default;
  virtual void SetText(std::string_view text) = 0;
  virtual std::string Text() = 0;
};

class ButtonPort {
 public:
  virtual ~ButtonPort() = default;
  virtual void SetCaption(std::string_view caption) = 0;
  virtual std::string Caption() = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool IsEnabled() = 0;
};

enum class MessageBoxButtons { kOk, kYesNo };
enum class MessageBoxIcon { kNone, kInformation, kQuestion, kWarning, kError };
enum class MessageBoxAnswer { kOk, kYes, kNo };

// Modal message boxes without an owner window.
class MessageBoxPort {
 public:
  virtual ~MessageBoxPort() = default;
  virtual MessageBoxAnswer Show(std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons, MessageBoxIcon icon) = 0;
};

// Lets pending window messages run (the long loops call it once per item;
// it is how an Abort click reaches a running scan).
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void ProcessPendingMessages() = 0;
};

}  // namespace veltrane
