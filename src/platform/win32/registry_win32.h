// The registry through the wide Reg* calls. Views map to KEY_WOW64_32KEY /
// KEY_WOW64_64KEY; the default view is the running process's own.
#pragma once

#include "platform/registry.h"

namespace veltrane {

class RegistryWin32 final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                       RegistryAccess access,
                                       RegistryView view = RegistryView::kDefault,
                                       PlatformError* error = nullptr) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path,
                                         RegistryView view = RegistryView::kDefault,
                                         PlatformError* error = nullptr) override;
  // An empty path (the root itself) is never deleted.
  bool DeleteKey(RegistryRoot root, std::string_view path,
                 RegistryView view = RegistryView::kDefault) override;
  bool DeleteKeyTree(RegistryRoot root, std::string_view path,
                     RegistryView view = RegistryView::kDefault) override;
};

}  // namespace veltrane
