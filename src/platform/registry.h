// The registry seam. Keys are reached through a root, a path below it
// (no leading backslash, "" is the root itself) and a view.
// Failure contract: nothing here throws. Open/create return nullptr on
// failure (with the reason in *error when given); reads return std::nullopt;
// writes and deletes return false.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

// The roots by their RootCode: the number that found-object lines,
// "RegBase.rgk" and "regk.dat" use. No other root occurs.
enum class RegistryRoot : int {
  kClassesRoot = 0,
  kCurrentUser = 1,
  kLocalMachine = 2,
  kUsers = 3,
  kCurrentConfig = 4,
};

// kDefault: the view of the running process (no flag). k32/k64: the 32-bit
// or 64-bit view (KEY_WOW64_32KEY / KEY_WOW64_64KEY); on 32-bit Windows both
// are the one registry.
enum class RegistryView : int { kDefault = 0, k32 = 32, k64 = 64 };

enum class RegistryAccess { kRead, kFullAccess };

// REG_* type numbers as Windows defines them.
enum class RegistryValueType : uint32_t {
  kNone = 0,
  kString = 1,        // REG_SZ
  kExpandString = 2,  // REG_EXPAND_SZ
  kBinary = 3,
  kDword = 4,
  kMultiString = 7,
  kQword = 11,
};

enum class PlatformError { kNone, kNotFound, kAccessDenied, kOther };

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // All direct subkey / value names in the registry's enumeration order.
  // An enumeration error ends the list (what was read so far is returned).
  virtual std::vector<std::string> SubkeyNames() = 0;
  virtual std::vector<std::string> ValueNames() = 0;
  // The type of a value (any type), or nullopt when it does not exist.
  virtual std::optional<RegistryValueType> ValueType(std::string_view name) = 0;
  // The text of a REG_SZ or REG_EXPAND_SZ value as stored (not expanded,
  // cut at the first NUL); nullopt when missing or of another type.
  virtual std::optional<std::string> ReadString(std::string_view name) = 0;
  // Writes a REG_SZ value; the key must be open with full access.
  virtual bool WriteString(std::string_view name, std::string_view value) = 0;
  virtual bool DeleteValue(std::string_view name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                               RegistryAccess access,
                                               RegistryView view = RegistryView::kDefault,
                                               PlatformError* error = nullptr) = 0;
  // Opens with full access, creating missing levels.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path,
                                                 RegistryView view = RegistryView::kDefault,
                                                 PlatformError* error = nullptr) = 0;
  // Deletes one key that has no subkeys.
  virtual bool DeleteKey(RegistryRoot root, std::string_view path,
                         RegistryView view = RegistryView::kDefault) = 0;
  // Deletes a key with everything below it.
  virtual bool DeleteKeyTree(RegistryRoot root, std::string_view path,
                             RegistryView view = RegistryView::kDefault) = 0;
};

// "HKEY_CURRENT_USER" etc., as written in logs and locations.
std::string_view RootName(RegistryRoot root);
// The predefined handle value (0x80000000 ... 0x80000005).
uint32_t RootHandleValue(RegistryRoot root);
// Code 0..4 to root; nullopt for any other code.
std::optional<RegistryRoot> RootFromCode(int code);
int RootCode(RegistryRoot root);

}  // namespace veltrane
