// The registry contract: cases that every Registry implementation must pass,
// run against the in-memory fake and the Win32 layer alike.
//
// To run them on an implementation, instantiate the suite with one or more
// factories:
//
//   INSTANTIATE_TEST_SUITE_P(Win32, RegistryContractTest,
//                            ::testing::Values(RegistryContractFactory{"Win32", MakeWin32Scratch}),
//                            RegistryContractName);
//
// Each case calls make() once and works only below the scratch key, which
// it deletes again (DeleteKeyTree) before calling cleanup.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/registry.h"

namespace veltrane {

struct RegistryScratch {
  // The implementation under test (owned here, or shared with a no-op deleter).
  std::shared_ptr<Registry> registry;
  // A key path under HKEY_CURRENT_USER that does not exist yet and is unique
  // to this case, such as "Software\\VeltraneContract\\<unique>".
  std::string keyPath;
  // Seeds a value of any type below keyPath (relative path, "" for keyPath
  // itself, created if missing); Registry itself writes REG_SZ only. Data:
  // UTF-8 text for kString and kExpandString, lines each ended by '\0' for
  // kMultiString, raw little-endian bytes for the other types. True on success.
  std::function<bool(std::string_view relativeKey, std::string_view name, RegistryValueType type,
                     std::string_view data)>
      writeValue;
  // Runs after the case; may be empty.
  std::function<void()> cleanup;
};

struct RegistryContractFactory {
  std::string name;  // test-name suffix: letters, digits and '_' only
  std::function<RegistryScratch()> make;
};

inline void PrintTo(const RegistryContractFactory& factory, std::ostream* out) { *out << factory.name; }

inline std::string RegistryContractName(const ::testing::TestParamInfo<RegistryContractFactory>& info) {
  return info.param.name;
}

class RegistryContractTest : public ::testing::TestWithParam<RegistryContractFactory> {
 protected:
  void SetUp() override;
  void TearDown() override;

  Registry& registry() { return *scratch_.registry; }
  // keyPath + "\\" + relative (or keyPath for "").
  std::string Path(std::string_view relative = "") const;

  RegistryScratch scratch_;
};

}  // namespace veltrane
