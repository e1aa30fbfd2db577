// The platform contracts run against the in-memory fakes.
#include <memory>

#include "contract/file_system_contract.h"
#include "contract/registry_contract.h"
#include "platform/fake/file_system_fake.h"
#include "platform/fake/registry_fake.h"

namespace veltrane {
namespace {

RegistryScratch MakeFakeRegistryScratch() {
  auto registry = std::make_shared<FakeRegistry>();
  registry->AddKey(RegistryRoot::kCurrentUser, "Software\\VeltraneContract");
  RegistryScratch scratch;
  scratch.registry = registry;
  scratch.keyPath = "Software\\VeltraneContract\\Case";
  scratch.writeValue = [registry, path = scratch.keyPath](std::string_view relative, std::string_view name,
                                                          RegistryValueType type, std::string_view data) {
    registry->SetValue(RegistryRoot::kCurrentUser, relative.empty() ? path : path + "\\" + std::string(relative),
                       name, type, data);
    return true;
  };
  return scratch;
}

FileSystemScratch MakeFakeFileSystemScratch() {
  auto files = std::make_shared<FakeFileSystem>();
  files->AddFolder("C:\\Users\\User\\AppData\\Local\\Temp\\VeltraneContract");
  return FileSystemScratch{files, "C:\\Users\\User\\AppData\\Local\\Temp\\VeltraneContract", nullptr};
}

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContractTest,
                         ::testing::Values(RegistryContractFactory{"Fake", MakeFakeRegistryScratch}),
                         RegistryContractName);

INSTANTIATE_TEST_SUITE_P(Fake, FileSystemContractTest,
                         ::testing::Values(FileSystemContractFactory{"Fake", MakeFakeFileSystemScratch}),
                         FileSystemContractName);

}  // namespace
}  // namespace veltrane
