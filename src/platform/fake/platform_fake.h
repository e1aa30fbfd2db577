// FakePlatform: the five in-memory platform services bundled as a Platform.
// Everything starts empty (only drive C: exists); CreateStandardFolders()
// adds the folders that the system information names.
#pragma once

#include "platform/fake/clock_fake.h"
#include "platform/fake/file_system_fake.h"
#include "platform/fake/registry_fake.h"
#include "platform/fake/shell_fake.h"
#include "platform/fake/system_info_fake.h"
#include "platform/platform.h"

namespace veltrane {

class FakePlatform {
 public:
  FakePlatform() = default;
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  Platform& platform() { return platform_; }

  // Creates in files the Windows and system folders, the program's folder
  // and every special and known folder of system.
  void CreateStandardFolders();

  FakeRegistry registry;
  FakeFileSystem files;
  FakeSystemInfo system;
  FakeClock clock;
  FakeShell shell{files};

 private:
  Platform platform_{registry, files, system, clock, shell};
};

}  // namespace veltrane
