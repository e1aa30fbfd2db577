// The controls of the main window that the logic reads and writes, as ports.
// The Win32 window, the console front-end and the test fakes each fill it.
// Members keep the controls' design names.
#pragma once

#include "platform/ui.h"

namespace veltrane {

struct MainView {
  // Scan page
  ListViewPort& list1;      // found objects: "Object(s)", "Location"; check boxes
  LabelPort& label2;        // "Checked Object(s):" count
  LabelPort& label6;        // "Object(s) Found:" count
  LabelPort& label7;        // scan state text ("Done", "Cleaning...")
  LabelPort& label17;       // "Latest Scan:" stamp
  ButtonPort& button1;      // Scan / Abort
  ButtonPort& button2;      // Uninstall
  LabelPort& sb1;           // status line

  // Uninstaller page
  ListViewPort& programsLV;  // "Objects", "Publisher", "Version", "Status"
  LabelPort& label84;        // "Programs And Features (n)"

  // Add-ons page
  ListViewPort& badoList;  // "Objects", "Host", "Date", "Status"; check boxes
  LabelPort& label70;      // "Browser Add-ons (n)"

  MessageBoxPort& messageBox;
  MessagePump& pump;
};

}  // namespace veltrane
