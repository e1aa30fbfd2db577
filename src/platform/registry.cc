#include "platform/registry.h"

namespace veltrane {

std::string_view RootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegistryRoot::kCurrentUser: return "HKEY_CURRENT_USER";
    case RegistryRoot::kLocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::kUsers: return "HKEY_USERS";
    case RegistryRoot::kCurrentConfig: return "HKEY_CURRENT_CONFIG";
  }
  return "";
}

uint32_t RootHandleValue(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot: return 0x80000000u;
    case RegistryRoot::kCurrentUser: return 0x80000001u;
    case RegistryRoot::kLocalMachine: return 0x80000002u;
    case RegistryRoot::kUsers: return 0x80000003u;
    case RegistryRoot::kCurrentConfig: return 0x80000005u;
  }
  return 0;
}

std::optional<RegistryRoot> RootFromCode(int code) {
  if (code < 0 || code > 4) return std::nullopt;
  return static_cast<RegistryRoot>(code);
}

int RootCode(RegistryRoot root) { return static_cast<int>(root); }

}  // namespace veltrane
