#include "scanners/registry_scan.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/scan_log.h"

namespace veltrane {
namespace {

// The texts to match wait in a short queue and are matched in batches, in
// the walk's order, so the records come out as if each were matched on the
// spot. Searched back to back, the texts find the tag index still in the
// processor's caches; one text now and then, between the walk's reads of
// keys, finds it pushed out and costs about twice as much. Only texts that
// hold a listed extension can match, and only those are kept.
//
// A batch of 1,024 texts is a few milliseconds of the in-memory walk and a
// small part of a second of a real registry's: the records and the window's
// list lag the walk by no more. A batch also ends when its texts fill a
// megabyte, so that a registry full of long values costs no more memory.
class PendingMatches {
 public:
  static constexpr size_t kBatch = 1024;
  static constexpr size_t kBatchBytes = size_t{1} << 20;

  enum class Kind : uint8_t { kValueName, kValueData, kSubkey };
  struct Match {
    Kind kind;
    // Pieces of the arena: the key's path (the subkey's whole path for
    // kSubkey), the value's name, and the text to match.
    size_t pathAt, pathLength;
    size_t nameAt, nameLength;
    size_t textAt, textLength;
  };

  // A piece of text kept until the next Clear: its place in the arena.
  std::pair<size_t, size_t> Keep(std::string_view text) {
    const size_t at = arena_.size();
    arena_.append(text);
    return {at, text.size()};
  }
  std::string_view Piece(size_t at, size_t length) const { return std::string_view(arena_).substr(at, length); }

  void Add(const Match& match) { matches_.push_back(match); }
  bool Full() const { return matches_.size() >= kBatch || arena_.size() >= kBatchBytes; }
  const std::vector<Match>& Matches() const { return matches_; }
  // Counts the batches, so that a walk can tell its kept path is gone.
  uint64_t Generation() const { return generation_; }
  void Clear() {
    matches_.clear();
    arena_.clear();
    ++generation_;
  }

 private:
  std::vector<Match> matches_;
  std::string arena_;
  uint64_t generation_ = 0;
};

class RegistryWalk {
 public:
  RegistryWalk(AppContext& context, RegistryRoot root, RegistryView view)
      : context_(context), state_(context.state), view_(context.view), root_(root),
        registryView_(view) {}

  // Matches what waits, in order, and records the hits.
  void Flush() {
    for (const PendingMatches::Match& match : pending_.Matches()) {
      const std::string_view text = pending_.Piece(match.textAt, match.textLength);
      const TagMatchRecord hit = state_.definitions.MatchTagWithExtension(text);
      if (hit.empty()) continue;
      const std::string path(pending_.Piece(match.pathAt, match.pathLength));
      const std::string valueName(pending_.Piece(match.nameAt, match.nameLength));
      switch (match.kind) {
        case PendingMatches::Kind::kValueName:
          Record(hit.tag, "[r]" + KeyPrefix(path) + valueName, LocationPrefix(path) + "->" + valueName,
                 RootText() + "\\" + path + "\\" + valueName);
          break;
        case PendingMatches::Kind::kValueData:
          Record(hit.tag, "[rv]" + KeyPrefix(path) + valueName + "->" + std::string(text),
                 LocationPrefix(path) + "->" + valueName + "->" + std::string(text),
                 RootText() + "\\" + path + "\\" + valueName);
          break;
        case PendingMatches::Kind::kSubkey:
          Record(hit.tag, "[rk]" + std::to_string(RootCode(root_)) + "," + path, RootText() + "->" + path,
                 RootText() + "\\" + path);
          break;
      }
    }
    pending_.Clear();
  }

  // cleanLength: the length of the parent's path, which was found not
  // excluded (npos for the tree's own key): only what follows it is new.
  void Walk(const std::string& path, size_t cleanLength = std::string::npos) {
    statusText_.assign("Checking Registry ").append(path);
    view_.sb1.SetText(statusText_);
    std::unique_ptr<RegistryKey> key =
        context_.platform.registry.OpenKey(root_, path, RegistryAccess::kRead, registryView_);
    if (!key) return;
    // Both lists are taken before anything is examined.
    const std::vector<std::string> subkeys = key->SubkeyNames();
    const std::vector<std::string> values = key->ValueNames();
    const Definitions& definitions = state_.definitions;
    if (cleanLength == std::string::npos ? definitions.IsExcluded(path)
                                         : definitions.IsExcludedAfterClean(path, cleanLength)) {
      return;
    }

    // The key's path is kept once for all its values that wait.
    std::pair<size_t, size_t> keptPath;
    uint64_t keptPathGeneration = ~uint64_t{0};
    auto keepValue = [&](PendingMatches::Kind kind, std::string_view valueName, std::string_view text) {
      if (keptPathGeneration != pending_.Generation()) {
        keptPath = pending_.Keep(path);
        keptPathGeneration = pending_.Generation();
      }
      const auto name = pending_.Keep(valueName);
      const auto kept = kind == PendingMatches::Kind::kValueName ? name : pending_.Keep(text);
      pending_.Add({kind, keptPath.first, keptPath.second, name.first, name.second, kept.first, kept.second});
      if (pending_.Full()) Flush();
    };

    for (const std::string& valueName : values) {
      if (state_.abortRequested) break;
      CountChecked();
      view_.pump.ProcessPendingMessages();
      const std::optional<RegistryValueType> type = key->ValueType(valueName);
      if (type != RegistryValueType::kString && type != RegistryValueType::kExpandString) continue;
      if (state_.definitions.HoldsListedExtension(valueName)) {
        keepValue(PendingMatches::Kind::kValueName, valueName, valueName);
      }
      const std::optional<std::string> data = key->ReadString(valueName);
      if (!data) continue;
      if (state_.definitions.HoldsListedExtension(*data)) keepValue(PendingMatches::Kind::kValueData, valueName, *data);
    }

    for (const std::string& subkey : subkeys) {
      if (state_.abortRequested) break;
      view_.pump.ProcessPendingMessages();
      CountChecked();
      const std::string subkeyPath = path.empty() ? subkey : path + "\\" + subkey;
      if (state_.definitions.HoldsListedExtension(subkey)) {
        const auto kept = pending_.Keep(subkeyPath);
        const auto name = pending_.Keep(subkey);
        pending_.Add({PendingMatches::Kind::kSubkey, kept.first, kept.second, 0, 0, name.first, name.second});
        if (pending_.Full()) Flush();
      }
      Walk(subkeyPath, path.size());
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
  PendingMatches pending_;
};

}  // namespace

void ScanRegistryTree(AppContext& context, RegistryRoot root, std::string_view path,
                      RegistryView view) {
  RegistryWalk walk(context, root, view);
  walk.Walk(std::string(path));
  // What the walk saw before it ended (or was stopped) is matched and
  // recorded as it would have been on the spot.
  walk.Flush();
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
