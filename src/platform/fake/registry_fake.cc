#include "platform/fake/registry_fake.h"

#include <algorithm>

#include "base/text.h"
#include "platform/fake/fake_names.h"

namespace veltrane {

struct FakeRegistry::Node {
  struct Value {
    std::string name;
    RegistryValueType type = RegistryValueType::kNone;
    std::string data;
  };

  std::string name;
  std::vector<std::shared_ptr<Node>> subkeys;  // in enumeration order
  std::vector<Value> values;                    // in insertion order
  bool deleted = false;

  // The subkey's slot in subkeys, or nullptr: no reference count is touched.
  const std::shared_ptr<Node>* FindSubkey(std::string_view subkeyName) const {
    auto it = std::lower_bound(subkeys.begin(), subkeys.end(), subkeyName,
                               [](const std::shared_ptr<Node>& node, std::string_view n) {
                                 return fake::NameLess(node->name, n);
                               });
    if (it != subkeys.end() && fake::CompareAsWindowsSorts((*it)->name, subkeyName) == 0) return &*it;
    return nullptr;
  }

  std::shared_ptr<Node> Subkey(std::string_view subkeyName) const {
    const std::shared_ptr<Node>* slot = FindSubkey(subkeyName);
    return slot ? *slot : nullptr;
  }

  std::shared_ptr<Node> AddSubkey(std::string_view subkeyName) {
    auto node = std::make_shared<Node>();
    node->name = std::string(subkeyName);
    auto it = std::lower_bound(subkeys.begin(), subkeys.end(), subkeyName,
                               [](const std::shared_ptr<Node>& n, std::string_view k) {
                                 return fake::NameLess(n->name, k);
                               });
    subkeys.insert(it, node);
    return node;
  }

  void RemoveSubkey(const Node* child) {
    std::erase_if(subkeys, [child](const std::shared_ptr<Node>& n) { return n.get() == child; });
  }

  Value* FindValue(std::string_view valueName) {
    for (auto& value : values) {
      if (EqualsIgnoreCase(value.name, valueName)) return &value;
    }
    return nullptr;
  }

  void SetValue(std::string_view valueName, RegistryValueType type, std::string_view data) {
    if (Value* value = FindValue(valueName)) {
      value->type = type;
      value->data = std::string(data);
      return;
    }
    values.push_back(Value{std::string(valueName), type, std::string(data)});
  }

  void MarkDeleted() {
    deleted = true;
    for (auto& subkey : subkeys) subkey->MarkDeleted();
  }
};

namespace {

bool IsStringType(RegistryValueType type) {
  return type == RegistryValueType::kString || type == RegistryValueType::kExpandString;
}

std::string JoinPath(const std::vector<std::string_view>& parts, size_t count) {
  std::string path;
  for (size_t i = 0; i < count && i < parts.size(); ++i) {
    if (i > 0) path += '\\';
    path += parts[i];
  }
  return path;
}

// The named value of a key's node; nullptr when the key or the value is missing.
const FakeRegistry::Node::Value* ValueOf(const std::shared_ptr<FakeRegistry::Node>& node, std::string_view name) {
  return node == nullptr ? nullptr : node->FindValue(name);
}

std::string ChildPath(const std::string& parent, std::string_view name) {
  return parent.empty() ? std::string(name) : parent + "\\" + std::string(name);
}

}  // namespace

// One open key. It keeps its node alive, so a key deleted while open reads
// as empty instead of dangling.
class FakeRegistryKey : public RegistryKey {
 public:
  FakeRegistryKey(FakeRegistry* registry, RegistryRoot root, std::string storedPath,
                  std::shared_ptr<FakeRegistry::Node> node, RegistryAccess access)
      : registry_(registry), root_(root), storedPath_(std::move(storedPath)), node_(std::move(node)),
        access_(access) {}

  std::vector<std::string> SubkeyNames() override {
    std::vector<std::string> names;
    if (node_->deleted) return names;
    names.reserve(node_->subkeys.size());
    for (const auto& subkey : node_->subkeys) names.push_back(subkey->name);
    Truncate(names, registry_->subkeyEnumerationLimit_);
    return names;
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    if (node_->deleted) return names;
    names.reserve(node_->values.size());
    for (const auto& value : node_->values) names.push_back(value.name);
    Truncate(names, registry_->valueEnumerationLimit_);
    return names;
  }

  std::optional<RegistryValueType> ValueType(std::string_view name) override {
    if (node_->deleted) return std::nullopt;
    const auto* value = node_->FindValue(name);
    if (value == nullptr) return std::nullopt;
    return value->type;
  }

  std::optional<std::string> ReadString(std::string_view name) override {
    if (node_->deleted) return std::nullopt;
    const auto* value = node_->FindValue(name);
    if (value == nullptr || !IsStringType(value->type)) return std::nullopt;
    return value->data.substr(0, value->data.find('\0'));
  }

  bool WriteString(std::string_view name, std::string_view value) override {
    if (node_->deleted || access_ != RegistryAccess::kFullAccess) return false;
    node_->SetValue(name, RegistryValueType::kString, value);
    return true;
  }

  bool DeleteValue(std::string_view name) override {
    if (node_->deleted || access_ != RegistryAccess::kFullAccess) return false;
    auto* value = node_->FindValue(name);
    if (value == nullptr) return false;
    const auto& failing = registry_->failValueDelete_;
    if (!failing.empty() &&
        failing.contains(std::make_pair(FakeRegistry::MakeFaultKey(root_, storedPath_), ToLower(value->name)))) {
      return false;
    }
    node_->values.erase(node_->values.begin() + (value - node_->values.data()));
    return true;
  }

 private:
  void Truncate(std::vector<std::string>& names,
                const std::map<FakeRegistry::FaultKey, size_t>& limits) const {
    if (limits.empty()) return;
    auto it = limits.find(FakeRegistry::MakeFaultKey(root_, storedPath_));
    if (it != limits.end() && names.size() > it->second) names.resize(it->second);
  }

  FakeRegistry* registry_;
  RegistryRoot root_;
  std::string storedPath_;
  std::shared_ptr<FakeRegistry::Node> node_;
  RegistryAccess access_;
};

FakeRegistry::FakeRegistry() {
  for (int code = 0; code <= 4; ++code) roots_[code] = std::make_shared<Node>();
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Node* FakeRegistry::Root(RegistryRoot root) const {
  auto it = roots_.find(RootCode(root));
  return it == roots_.end() ? nullptr : it->second.get();
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Find(RegistryRoot root, std::string_view storedPath) const {
  auto it = roots_.find(RootCode(root));
  if (it == roots_.end()) return nullptr;
  // Walked with plain pointers: the walk of a whole tree opens every key.
  const std::shared_ptr<Node>* slot = &it->second;
  size_t start = 0;
  for (size_t i = 0; i <= storedPath.size(); ++i) {
    if (i < storedPath.size() && storedPath[i] != '\\') continue;
    if (i > start) {
      slot = (*slot)->FindSubkey(storedPath.substr(start, i - start));
      if (slot == nullptr) return nullptr;
    }
    start = i + 1;
  }
  return *slot;
}

FakeRegistry::Node* FakeRegistry::FindOrCreate(RegistryRoot root, std::string_view storedPath) {
  Node* node = Root(root);
  for (const auto& part : fake::SplitPath(storedPath)) {
    auto child = node->Subkey(part);
    node = child ? child.get() : node->AddSubkey(part).get();
  }
  return node;
}

FakeRegistry::FaultKey FakeRegistry::MakeFaultKey(RegistryRoot root, std::string_view storedPath) {
  return {RootCode(root), ToLower(JoinPath(fake::SplitPath(storedPath), SIZE_MAX))};
}

bool FakeRegistry::Has(const std::set<FaultKey>& faults, RegistryRoot root, std::string_view storedPath) const {
  return !faults.empty() && faults.contains(MakeFaultKey(root, storedPath));
}

std::string FakeRegistry::RedirectedPath(RegistryRoot root, std::string_view path, RegistryView view) const {
  const RegistryView effective = view == RegistryView::kDefault ? defaultView_ : view;
  const bool mayRedirect = !singleView_ && root == RegistryRoot::kLocalMachine && effective == RegistryView::k32;
  const bool tidy = path.empty() || (path.front() != '\\' && path.back() != '\\' && path.find("\\\\") == path.npos);
  if (!mayRedirect && tidy) return std::string(path);  // the common case: stored as given
  const auto parts = fake::SplitPath(path);
  const bool redirect = mayRedirect && !parts.empty() && EqualsIgnoreCase(parts[0], "SOFTWARE") &&
                        !(parts.size() > 1 && EqualsIgnoreCase(parts[1], "Wow6432Node"));
  if (!redirect) return JoinPath(parts, parts.size());
  std::string result = std::string(parts[0]) + "\\Wow6432Node";
  for (size_t i = 1; i < parts.size(); ++i) result.append(1, '\\').append(parts[i]);
  return result;
}

void FakeRegistry::RunOpenHooks(RegistryRoot root, const std::string& storedPath) {
  auto vanish = vanishOnOpen_.empty() ? vanishOnOpen_.end() : vanishOnOpen_.find(MakeFaultKey(root, storedPath));
  if (vanish != vanishOnOpen_.end()) {
    vanishOnOpen_.erase(vanish);
    RemoveKey(root, storedPath);
  }
  if (openHook_) openHook_(root, storedPath);
}

std::unique_ptr<RegistryKey> FakeRegistry::MakeKey(RegistryRoot root, const std::string& storedPath,
                                                   std::shared_ptr<Node> node, RegistryAccess access) {
  ++openCount_;
  return std::make_unique<FakeRegistryKey>(this, root, storedPath, std::move(node), access);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKey(RegistryRoot root, std::string_view path,
                                                   RegistryAccess access, RegistryView view,
                                                   PlatformError* error) {
  auto fail = [error](PlatformError reason) -> std::unique_ptr<RegistryKey> {
    if (error != nullptr) *error = reason;
    return nullptr;
  };
  if (Root(root) == nullptr || StartsWith(path, "\\")) return fail(PlatformError::kOther);
  const std::string stored = RedirectedPath(root, path, view);
  RunOpenHooks(root, stored);
  auto node = Find(root, stored);
  if (node == nullptr) return fail(PlatformError::kNotFound);
  if (Has(denyAllAccess_, root, stored)) return fail(PlatformError::kAccessDenied);
  if (access == RegistryAccess::kFullAccess && Has(denyFullAccess_, root, stored)) {
    return fail(PlatformError::kAccessDenied);
  }
  if (error != nullptr) *error = PlatformError::kNone;
  return MakeKey(root, stored, node, access);
}

std::unique_ptr<RegistryKey> FakeRegistry::CreateKey(RegistryRoot root, std::string_view path, RegistryView view,
                                                     PlatformError* error) {
  auto fail = [error](PlatformError reason) -> std::unique_ptr<RegistryKey> {
    if (error != nullptr) *error = reason;
    return nullptr;
  };
  if (Root(root) == nullptr || StartsWith(path, "\\")) return fail(PlatformError::kOther);
  const std::string stored = RedirectedPath(root, path, view);
  RunOpenHooks(root, stored);
  const auto parts = fake::SplitPath(stored);
  std::shared_ptr<Node> node = roots_[RootCode(root)];
  for (size_t level = 0; level < parts.size(); ++level) {
    auto child = node->Subkey(parts[level]);
    if (!child) {
      // A new level needs create rights on its parent.
      const std::string parentPath = JoinPath(parts, level);
      if (level > 0 && (Has(denyAllAccess_, root, parentPath) || Has(denyFullAccess_, root, parentPath))) {
        return fail(PlatformError::kAccessDenied);
      }
      child = node->AddSubkey(parts[level]);
    }
    node = child;
  }
  if (Has(denyAllAccess_, root, stored) || Has(denyFullAccess_, root, stored)) {
    return fail(PlatformError::kAccessDenied);
  }
  if (error != nullptr) *error = PlatformError::kNone;
  return MakeKey(root, stored, node, RegistryAccess::kFullAccess);
}

bool FakeRegistry::DeleteKey(RegistryRoot root, std::string_view path, RegistryView view) {
  if (Root(root) == nullptr || StartsWith(path, "\\")) return false;
  const std::string stored = RedirectedPath(root, path, view);
  const auto parts = fake::SplitPath(stored);
  if (parts.empty()) return false;
  auto node = Find(root, stored);
  if (node == nullptr || !node->subkeys.empty()) return false;
  if (Has(denyAllAccess_, root, stored) || Has(denyFullAccess_, root, stored) ||
      Has(failKeyDelete_, root, stored)) {
    return false;
  }
  node->MarkDeleted();
  Find(root, JoinPath(parts, parts.size() - 1))->RemoveSubkey(node.get());
  return true;
}

bool FakeRegistry::DeleteKeyTree(RegistryRoot root, std::string_view path, RegistryView view) {
  if (Root(root) == nullptr || StartsWith(path, "\\")) return false;
  const std::string stored = RedirectedPath(root, path, view);
  const auto parts = fake::SplitPath(stored);
  if (parts.empty()) return false;
  auto node = Find(root, stored);
  if (node == nullptr) return false;
  return DeleteTree(root, Find(root, JoinPath(parts, parts.size() - 1)).get(), node.get(), stored);
}

bool FakeRegistry::DeleteTree(RegistryRoot root, Node* parent, Node* node, const std::string& storedPath) {
  if (Has(denyAllAccess_, root, storedPath)) return false;  // cannot even be opened
  bool ok = true;
  // Last enumerated first; copy since children remove themselves.
  const auto children = node->subkeys;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (!DeleteTree(root, node, it->get(), ChildPath(storedPath, (*it)->name))) ok = false;
  }
  if (!ok || Has(denyFullAccess_, root, storedPath) || Has(failKeyDelete_, root, storedPath)) return false;
  node->MarkDeleted();
  parent->RemoveSubkey(node);
  return true;
}

// --- Test setters ---

void FakeRegistry::AddKey(RegistryRoot root, std::string_view path) { FindOrCreate(root, path); }

void FakeRegistry::SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                            RegistryValueType type, std::string_view data) {
  FindOrCreate(root, path)->SetValue(name, type, data);
}

void FakeRegistry::SetString(RegistryRoot root, std::string_view path, std::string_view name,
                             std::string_view text) {
  SetValue(root, path, name, RegistryValueType::kString, text);
}

void FakeRegistry::SetExpandString(RegistryRoot root, std::string_view path, std::string_view name,
                                   std::string_view text) {
  SetValue(root, path, name, RegistryValueType::kExpandString, text);
}

void FakeRegistry::SetDword(RegistryRoot root, std::string_view path, std::string_view name, uint32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
  SetValue(root, path, name, RegistryValueType::kDword, bytes);
}

void FakeRegistry::SetMultiString(RegistryRoot root, std::string_view path, std::string_view name,
                                  const std::vector<std::string>& lines) {
  std::string data;
  for (const auto& line : lines) {
    data += line;
    data += '\0';
  }
  SetValue(root, path, name, RegistryValueType::kMultiString, data);
}

bool FakeRegistry::RemoveKey(RegistryRoot root, std::string_view path) {
  const auto parts = fake::SplitPath(path);
  if (parts.empty()) return false;
  auto node = Find(root, path);
  if (node == nullptr) return false;
  node->MarkDeleted();
  Find(root, JoinPath(parts, parts.size() - 1))->RemoveSubkey(node.get());
  return true;
}

bool FakeRegistry::RemoveValue(RegistryRoot root, std::string_view path, std::string_view name) {
  auto node = Find(root, path);
  if (node == nullptr) return false;
  return std::erase_if(node->values, [name](const Node::Value& v) { return EqualsIgnoreCase(v.name, name); }) > 0;
}

// --- Test inspectors ---

bool FakeRegistry::KeyExists(RegistryRoot root, std::string_view path) const { return Find(root, path) != nullptr; }

bool FakeRegistry::ValueExists(RegistryRoot root, std::string_view path, std::string_view name) const {
  return TypeOf(root, path, name).has_value();
}

std::optional<RegistryValueType> FakeRegistry::TypeOf(RegistryRoot root, std::string_view path,
                                                      std::string_view name) const {
  const auto* value = ValueOf(Find(root, path), name);
  return value == nullptr ? std::nullopt : std::optional(value->type);
}

std::optional<std::string> FakeRegistry::ValueData(RegistryRoot root, std::string_view path,
                                                   std::string_view name) const {
  const auto* value = ValueOf(Find(root, path), name);
  return value == nullptr ? std::nullopt : std::optional(value->data);
}

std::optional<std::string> FakeRegistry::StringValue(RegistryRoot root, std::string_view path,
                                                     std::string_view name) const {
  const auto* value = ValueOf(Find(root, path), name);
  if (value == nullptr || !IsStringType(value->type)) return std::nullopt;
  return value->data.substr(0, value->data.find('\0'));
}

std::vector<std::string> FakeRegistry::Subkeys(RegistryRoot root, std::string_view path) const {
  std::vector<std::string> names;
  if (auto node = Find(root, path)) {
    for (const auto& subkey : node->subkeys) names.push_back(subkey->name);
  }
  return names;
}

std::vector<std::string> FakeRegistry::Values(RegistryRoot root, std::string_view path) const {
  std::vector<std::string> names;
  if (auto node = Find(root, path)) {
    for (const auto& value : node->values) names.push_back(value.name);
  }
  return names;
}

// --- Fault injection ---

void FakeRegistry::DenyFullAccess(RegistryRoot root, std::string_view path) {
  denyFullAccess_.insert(MakeFaultKey(root, path));
}

void FakeRegistry::DenyAllAccess(RegistryRoot root, std::string_view path) {
  denyAllAccess_.insert(MakeFaultKey(root, path));
}

void FakeRegistry::FailValueDelete(RegistryRoot root, std::string_view path, std::string_view name) {
  failValueDelete_.insert({MakeFaultKey(root, path), ToLower(name)});
}

void FakeRegistry::FailKeyDelete(RegistryRoot root, std::string_view path) {
  failKeyDelete_.insert(MakeFaultKey(root, path));
}

void FakeRegistry::FailSubkeyEnumerationAfter(RegistryRoot root, std::string_view path, size_t count) {
  subkeyEnumerationLimit_[MakeFaultKey(root, path)] = count;
}

void FakeRegistry::FailValueEnumerationAfter(RegistryRoot root, std::string_view path, size_t count) {
  valueEnumerationLimit_[MakeFaultKey(root, path)] = count;
}

void FakeRegistry::VanishOnOpen(RegistryRoot root, std::string_view path) {
  vanishOnOpen_.insert(MakeFaultKey(root, path));
}

void FakeRegistry::ClearFaults() {
  denyFullAccess_.clear();
  denyAllAccess_.clear();
  failKeyDelete_.clear();
  vanishOnOpen_.clear();
  failValueDelete_.clear();
  subkeyEnumerationLimit_.clear();
  valueEnumerationLimit_.clear();
  openHook_ = nullptr;
}

}  // namespace veltrane
