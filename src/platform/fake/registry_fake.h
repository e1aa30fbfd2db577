// FakeRegistry: an in-memory registry for tests.
//
// One key tree per root. Key and value names compare case-insensitively and
// keep the case they were created with. Subkeys enumerate in the order
// Windows uses (sorted ignoring case), values in the order they were first
// set, as the real registry does.
//
// Views: a path of HKEY_LOCAL_MACHINE under "SOFTWARE" opened in the 32-bit
// view reaches "SOFTWARE\Wow6432Node\..." (a path already under Wow6432Node
// is left alone); kDefault is the process's own view, by default k64 (a
// 64-bit process). SetSingleView(true) models 32-bit Windows, where both
// views are the one registry. Other roots are never redirected.
//
// Handles: a key opened for reading cannot write or delete values (as with
// KEY_READ). A handle whose key was deleted meanwhile reads nothing and
// writes nothing.
//
// The test setters (AddKey, SetString, ...) and inspectors (KeyExists,
// StringValue, ...) work on the stored paths directly: no view redirection
// and no injected faults.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace veltrane {

class FakeRegistry : public Registry {
 public:
  struct Node;

  FakeRegistry();
  ~FakeRegistry() override;
  FakeRegistry(const FakeRegistry&) = delete;
  FakeRegistry& operator=(const FakeRegistry&) = delete;

  // Registry
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, RegistryAccess access,
                                       RegistryView view = RegistryView::kDefault,
                                       PlatformError* error = nullptr) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path,
                                         RegistryView view = RegistryView::kDefault,
                                         PlatformError* error = nullptr) override;
  bool DeleteKey(RegistryRoot root, std::string_view path, RegistryView view = RegistryView::kDefault) override;
  bool DeleteKeyTree(RegistryRoot root, std::string_view path,
                     RegistryView view = RegistryView::kDefault) override;

  // --- Views ---
  // The view that kDefault stands for: k64 (64-bit process, the default) or
  // k32 (32-bit process on 64-bit Windows).
  void SetDefaultView(RegistryView view) { defaultView_ = view; }
  // 32-bit Windows: no redirection in any view.
  void SetSingleView(bool single) { singleView_ = single; }
  // The stored path that root\path reaches in a view ("SOFTWARE\x" in k32
  // gives "SOFTWARE\Wow6432Node\x").
  std::string RedirectedPath(RegistryRoot root, std::string_view path, RegistryView view) const;

  // --- Test setters: create missing key levels, replace an existing value's
  // data and type (its name keeps its first spelling) ---
  void AddKey(RegistryRoot root, std::string_view path);
  void SetString(RegistryRoot root, std::string_view path, std::string_view name, std::string_view text);
  void SetExpandString(RegistryRoot root, std::string_view path, std::string_view name, std::string_view text);
  void SetDword(RegistryRoot root, std::string_view path, std::string_view name, uint32_t value);
  void SetMultiString(RegistryRoot root, std::string_view path, std::string_view name,
                      const std::vector<std::string>& lines);
  // Any type with raw data. For kString, kExpandString and kMultiString the
  // data is UTF-8 text (a multi-string's lines each ended by '\0'); for the
  // other types the bytes as the registry holds them (a DWORD little-endian).
  void SetValue(RegistryRoot root, std::string_view path, std::string_view name, RegistryValueType type,
                std::string_view data);
  // Removes a key tree or a value without any fault checks; false if missing.
  bool RemoveKey(RegistryRoot root, std::string_view path);
  bool RemoveValue(RegistryRoot root, std::string_view path, std::string_view name);

  // --- Test inspectors ---
  bool KeyExists(RegistryRoot root, std::string_view path) const;
  bool ValueExists(RegistryRoot root, std::string_view path, std::string_view name) const;
  std::optional<RegistryValueType> TypeOf(RegistryRoot root, std::string_view path, std::string_view name) const;
  // The stored data of a value (text for the string types, as SetValue).
  std::optional<std::string> ValueData(RegistryRoot root, std::string_view path, std::string_view name) const;
  // The text of a REG_SZ / REG_EXPAND_SZ value; nullopt otherwise.
  std::optional<std::string> StringValue(RegistryRoot root, std::string_view path, std::string_view name) const;
  std::vector<std::string> Subkeys(RegistryRoot root, std::string_view path) const;
  std::vector<std::string> Values(RegistryRoot root, std::string_view path) const;

  // --- Fault injection (by stored path, so they also hold for keys that do
  // not exist yet; they stay until cleared) ---
  // Opening for reading works; opening or creating with full access fails
  // with kAccessDenied, and so does deleting the key.
  void DenyFullAccess(RegistryRoot root, std::string_view path);
  // Every open of the key fails with kAccessDenied; it is still enumerated
  // by its parent.
  void DenyAllAccess(RegistryRoot root, std::string_view path);
  // DeleteValue of this value fails (the value stays).
  void FailValueDelete(RegistryRoot root, std::string_view path, std::string_view name);
  // DeleteKey / DeleteKeyTree fails at this key: a tree delete removes what
  // lies below it (depth first, as the real one does) and then fails.
  void FailKeyDelete(RegistryRoot root, std::string_view path);
  // Enumerating subkeys (or values) of the key ends with an error after
  // count names.
  void FailSubkeyEnumerationAfter(RegistryRoot root, std::string_view path, size_t count);
  void FailValueEnumerationAfter(RegistryRoot root, std::string_view path, size_t count);
  // The key disappears (with its tree) just before the next attempt to open
  // it, so a walk lists it but cannot open it.
  void VanishOnOpen(RegistryRoot root, std::string_view path);
  // Runs before every OpenKey / CreateKey with the stored path about to be
  // opened; may change the registry.
  void SetOpenHook(std::function<void(RegistryRoot root, const std::string& path)> hook) {
    openHook_ = std::move(hook);
  }
  void ClearFaults();

  // Number of OpenKey / CreateKey calls that produced a key.
  int OpenCount() const { return openCount_; }

 private:
  using FaultKey = std::pair<int, std::string>;  // root code, folded stored path

  Node* Root(RegistryRoot root) const;
  std::shared_ptr<Node> Find(RegistryRoot root, std::string_view storedPath) const;
  Node* FindOrCreate(RegistryRoot root, std::string_view storedPath);
  static FaultKey MakeFaultKey(RegistryRoot root, std::string_view storedPath);
  bool Has(const std::set<FaultKey>& faults, RegistryRoot root, std::string_view storedPath) const;
  void RunOpenHooks(RegistryRoot root, const std::string& storedPath);
  // Deletes the subtree of node (whose stored path is storedPath); false if
  // a part of it could not be deleted.
  bool DeleteTree(RegistryRoot root, Node* parent, Node* node, const std::string& storedPath);
  std::unique_ptr<RegistryKey> MakeKey(RegistryRoot root, const std::string& storedPath,
                                       std::shared_ptr<Node> node, RegistryAccess access);

  std::map<int, std::shared_ptr<Node>> roots_;
  RegistryView defaultView_ = RegistryView::k64;
  bool singleView_ = false;
  std::set<FaultKey> denyFullAccess_;
  std::set<FaultKey> denyAllAccess_;
  std::set<FaultKey> failKeyDelete_;
  std::set<FaultKey> vanishOnOpen_;
  std::set<std::pair<FaultKey, std::string>> failValueDelete_;
  std::map<FaultKey, size_t> subkeyEnumerationLimit_;
  std::map<FaultKey, size_t> valueEnumerationLimit_;
  std::function<void(RegistryRoot, const std::string&)> openHook_;
  int openCount_ = 0;

  friend class FakeRegistryKey;
};

}  // namespace veltrane
