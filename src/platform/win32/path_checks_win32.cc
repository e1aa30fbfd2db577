#include "platform/win32/path_checks_win32.h"

#include <algorithm>

namespace veltrane {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool IsFullPathBelowRoot(std::string_view path) {
  if (path.find('\0') != std::string_view::npos) return false;
  std::string_view rest;
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
    rest = path.substr(3);
  } else if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // Past server and share; "\\?\" and "\\.\" forms have no server.
    const size_t server = path.find_first_of("\\/", 2);
    if (server == std::string_view::npos || server == 2) return false;
    const std::string_view serverName = path.substr(2, server - 2);
    if (serverName == "?" || serverName == ".") return false;
    const size_t share = path.find_first_of("\\/", server + 1);
    if (share == std::string_view::npos || share == server + 1) return false;
    rest = path.substr(share + 1);
  } else {
    return false;
  }
  bool namesItem = false;
  while (!rest.empty()) {
    const size_t end = std::min(rest.find_first_of("\\/"), rest.size());
    const std::string_view step = rest.substr(0, end);
    if (step == "." || step == "..") return false;
    if (step.find_first_not_of("*?.") != std::string_view::npos) namesItem = true;
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return namesItem;
}

}  // namespace veltrane
