// The file-system contract: cases that every FileSystem implementation must
// pass, run against the in-memory fake and the Win32 layer alike.
//
// To run them on an implementation, instantiate the suite with one or more
// factories:
//
//   INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContractTest,
//                            ::testing::Values(FileSystemContractFactory{"Win32", MakeWin32Scratch}),
//                            FileSystemContractName);
//
// Each case calls make() once and works only inside the scratch folder;
// cleanup must remove the folder with everything the case left in it.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace veltrane {

struct FileSystemScratch {
  // The implementation under test (owned here, or shared with a no-op deleter).
  std::shared_ptr<FileSystem> files;
  // An existing, empty folder unique to this case, a full path without a
  // trailing backslash (for example under %TEMP%).
  std::string folder;
  // Runs after the case; removes the scratch folder. May be empty.
  std::function<void()> cleanup;
};

struct FileSystemContractFactory {
  std::string name;  // test-name suffix: letters, digits and '_' only
  std::function<FileSystemScratch()> make;
};

inline void PrintTo(const FileSystemContractFactory& factory, std::ostream* out) { *out << factory.name; }

inline std::string FileSystemContractName(const ::testing::TestParamInfo<FileSystemContractFactory>& info) {
  return info.param.name;
}

class FileSystemContractTest : public ::testing::TestWithParam<FileSystemContractFactory> {
 protected:
  void SetUp() override;
  void TearDown() override;

  FileSystem& files() { return *scratch_.files; }
  // folder + "\\" + relative (or the folder itself for "").
  std::string Path(std::string_view relative = "") const;

  FileSystemScratch scratch_;
};

}  // namespace veltrane
