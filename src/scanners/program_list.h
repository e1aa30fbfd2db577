// ProgramList: the installed programs, sorted by DisplayName ignoring case,
// duplicates (equal names ignoring case) dropped: the first program met
// under a name is kept. Row i of the programs page stands for entry i.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"

namespace veltrane {

// One program's uninstall entry (TMyPUninstall).
struct TMyPUninstall {
  std::string DisplayName;
  std::string DisplayVersion;
  std::string InstallLocation;
  std::string UninstallString;
  std::string Publisher;
  std::string KeyPath;  // base path + "\" + subkey name
  std::string Status;   // "Ok" or "ADW." + tag
  RegistryRoot RootKey = RegistryRoot::kLocalMachine;
  // The registry view the key was read in, so forced uninstall deletes the
  // key it was read from.
  RegistryView View = RegistryView::kDefault;
};

class ProgramList {
 public:
  // Adds in sorted position; returns false (and adds nothing) when a program
  // of the same name, ignoring case, is already listed.
  bool Add(TMyPUninstall program);
  void Clear() { programs_.clear(); }
  int Count() const { return static_cast<int>(programs_.size()); }
  const TMyPUninstall& operator[](int index) const { return programs_[static_cast<size_t>(index)]; }
  auto begin() const { return programs_.begin(); }
  auto end() const { return programs_.end(); }

 private:
  std::vector<TMyPUninstall> programs_;
};

}  // namespace veltrane
