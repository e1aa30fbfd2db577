#include "scanners/program_list.h"

#include <algorithm>
#include <utility>

#include "base/text.h"

namespace veltrane {

bool ProgramList::Add(TMyPUninstall program) {
  auto it = std::lower_bound(programs_.begin(), programs_.end(), program.DisplayName,
                             [](const TMyPUninstall& listed, const std::string& name) {
                               return CompareIgnoreCase(listed.DisplayName, name) < 0;
                             });
  if (it != programs_.end() && CompareIgnoreCase(it->DisplayName, program.DisplayName) == 0) return false;
  programs_.insert(it, std::move(program));
  return true;
}

}  // namespace veltrane
