#include "platform/fake/platform_fake.h"

namespace veltrane {

void FakePlatform::CreateStandardFolders() {
  files.AddFolder(system.WindowsFolder());
  files.AddFolder(system.SystemFolder());
  const std::string module = system.ModuleFilePath();
  files.AddFolder(module.substr(0, module.find_last_of('\\')));
  for (const auto& [csidl, path] : system.SpecialFolders()) files.AddFolder(path);
  const std::string downloads = system.KnownFolder("Downloads");
  if (!downloads.empty()) files.AddFolder(downloads);
}

}  // namespace veltrane
