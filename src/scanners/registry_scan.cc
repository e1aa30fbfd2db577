#include "scanners/registry_scan.h"

#include <memory>
#include <string>
#include <vector>

#include "app/scan_log.h"

namespace veltrane {
namespace {

class RegistryWalk {
 public:
  RegistryWalk(AppContext& context, RegistryRoot root, RegistryView view)
      : context_(context), state_(context.state), view_(context.view), root_(root),
        registryView_(view) {}

  void Walk(const std::string& path) {
    statusText_.assign("Checking Registry ").append(path);
    view_.sb1.SetText(statusText_);
    std::unique_ptr<RegistryKey> key =
        context_.platform.registry.OpenKey(root_, path, RegistryAccess::kRead, registryView_);
    if (!key) return;
    // Both lists are taken before anything is examined.
    const std::vector<std::string> subkeys = key->SubkeyNames();
    const std::vector<std::string> values = key->ValueNames();
    if (state_.definitions.IsExcluded(path)) return;

    for (const std::string& valueName : values) {
      if (state_.abortRequested) break;
      CountChecked();
      view_.pump.ProcessPendingMessages();
      const std::optional<RegistryValueType> type = key->ValueType(valueName);
      if (type != RegistryValueType::kString && type != RegistryValueType::kExpandString) continue;
      const TagMatchRecord nameHit = state_.definitions.MatchTagWithExtension(valueName);
      if (!nameHit.empty()) {
        Record(nameHit.tag, "[r]" + KeyPrefix(path) + valueName,
               LocationPrefix(path) + "->" + valueName,
               RootText() + "\\" + path + "\\" + valueName);
      }
      const std::optional<std::string> data = key->ReadString(valueName);
      if (!data) continue;
      const TagMatchRecord dataHit = state_.definitions.MatchTagWithExtension(*data);
      if (!dataHit.empty()) {
        Record(dataHit.tag, "[rv]" + KeyPrefix(path) + valueName + "->" + *data,
               LocationPrefix(path) + "->" + valueName + "->" + *data,
               RootText() + "\\" + path + "\\" + valueName);
      }
    }

    for (const std::string& subkey : subkeys) {
      if (state_.abortRequested) break;
      view_.pump.ProcessPendingMessages();
      CountChecked();
      const std::string subkeyPath = path.empty() ? subkey : path + "\\" + subkey;
      const TagMatchRecord hit = state_.definitions.MatchTagWithExtension(subkey);
      if (!hit.empty()) {
        Record(hit.tag, "[rk]" + std::to_string(RootCode(root_)) + "," + subkeyPath,
               RootText() + "->" + subkeyPath, RootText() + "\\" + subkeyPath);
      }
      Walk(subkeyPath);
    }
  }

 private:
  std::string RootText() const { return std::string(RootName(root_)); }
  // "code,keyPath->" of a value record.
  std::string KeyPrefix(const std::string& path) const {
    return std::to_string(RootCode(root_)) + "," + path + "->";
  }
  // "rootName\keyPath" of a value log line.
  std::string LocationPrefix(const std::string& path) const { return RootText() + "\\" + path; }

  void CountChecked() {
    ++state_.checkedCount;
    view_.label2.SetText(std::to_string(state_.checkedCount));
  }

  // objectText: field 1 of the record; logText: the object as the log names it.
  void Record(const std::string& tag, const std::string& objectText, const std::string& logText,
              const std::string& location) {
    ++state_.foundCount;
    view_.label6.SetText(std::to_string(state_.foundCount));
    const std::string name = "PUP." + tag;
    const int row = view_.list1.RowCount();
    state_.foundList.Add(std::to_string(row) + ";" + objectText + ";" + name + ";" +
                         std::string(RegistryViewField(registryView_)) + ";;;");
    state_.scanLog.Add(LogTime(context_.platform) + ": Infected registry key (" + name + ") " +
                       logText + " -> No action taken.");
    view_.list1.BeginUpdate();
    view_.list1.AddRow(name);
    view_.list1.SetSubItem(row, 1, location);
    view_.list1.SetChecked(row, true);
    view_.list1.EndUpdate();
  }

  AppContext& context_;
  EngineState& state_;
  MainView& view_;
  RegistryRoot root_;
  RegistryView registryView_;
  std::string statusText_;  // one buffer for the status line of every key
};

}  // namespace

void ScanRegistryTree(AppContext& context, RegistryRoot root, std::string_view path,
                      RegistryView view) {
  RegistryWalk(context, root, view).Walk(std::string(path));
}

std::string_view RegistryViewField(RegistryView view) {
  switch (view) {
    case RegistryView::k32: return "32";
    case RegistryView::k64: return "64";
    case RegistryView::kDefault: break;
  }
  return "";
}

RegistryView RecordRegistryView(std::string_view record) {
  // Read from the end: paths and texts are not escaped and may hold ";".
  constexpr std::string_view kTail = ";;;";
  if (record.size() < kTail.size() || record.substr(record.size() - kTail.size()) != kTail) {
    return RegistryView::kDefault;
  }
  record.remove_suffix(kTail.size());
  const size_t separator = record.rfind(';');
  if (separator == std::string_view::npos) return RegistryView::kDefault;
  const std::string_view field = record.substr(separator + 1);
  if (field == "32") return RegistryView::k32;
  if (field == "64") return RegistryView::k64;
  return RegistryView::kDefault;
}

}  // namespace veltrane
