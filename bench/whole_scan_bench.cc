// A whole scan (the Scan button's run: uninstall entries, shortcuts, the five
// folder roots, the three registry trees, add-ons) over the in-memory
// platform, on a synthetic machine of 140,000 folders and 700,000 registry
// keys holding 1.2 million values, five times: with nothing to match, with
// exclusions that never match, with the exclusions, with the exclusions and
// 5,000 tags that never match, and with the exclusions and the 5,000 tags.
// The differences give the matcher's share of the scan, and apart from it
// the cost of handling what the tags find.
//
// Run: build/host/bin/veltrane_whole_scan_bench

#include <benchmark/benchmark.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/app_context.h"
#include "app/engine_state.h"
#include "app/scan_run.h"
#include "base/text.h"
#include "platform/fake/platform_fake.h"
#include "platform/fake/ui_fake.h"
#include "support/sample_names.h"

namespace veltrane {
namespace {

constexpr size_t kFolders = 140000;
constexpr size_t kKeys = 700000;
constexpr size_t kValues = 1200000;
constexpr size_t kTags = 5000;
constexpr size_t kDeepest = 8;  // levels below a scan root
// Tags of 8 to 12 letters keep the machine nearly clean, as a real one is
// (a few hundred hits): shorter made-up tags are found loosely in a good
// share of all names (6 letters: 14,000 hits), and the handling of each hit
// (record, row, log line) would then outweigh the matching in the figure.
constexpr size_t kShortestTag = 8;

struct Machine {
  FakePlatform fake;
  size_t folders = 0;
  size_t keys = 0;
  size_t values = 0;
  size_t strings = 0;
};

// Grows a random tree of `count` new nodes below root: each new node hangs
// below a node picked at random (the root's own level when that one is
// already at the deepest level). Returns the nodes' paths, root first.
template <class NewName, class Create>
std::vector<std::string> GrowTree(samples::Random& random, const std::string& root, size_t count,
                                  NewName&& newName, Create&& create) {
  std::vector<std::string> paths = {root};
  std::vector<size_t> depths = {0};
  std::unordered_set<std::string> seen;
  while (paths.size() <= count) {
    size_t parent = samples::Pick(random, paths.size());
    if (depths[parent] >= kDeepest) parent = 0;
    const std::string name = newName(random);
    if (name.empty()) continue;
    std::string path = paths[parent].empty() ? name : paths[parent] + "\\" + name;
    if (!seen.insert(ToLower(path)).second) continue;
    create(path);
    paths.push_back(std::move(path));
    depths.push_back(depths[parent] + 1);
  }
  return paths;
}

Machine& TheMachine() {
  static Machine* machine = [] {
    auto* built = new Machine();
    FakePlatform& fake = built->fake;
    fake.CreateStandardFolders();
    samples::Random random(2024);

    // Folders: Program Files, the profile (AppData above all), both Start menus.
    const std::pair<const char*, size_t> folderRoots[] = {
        {"C:\\Program Files", 42000},
        {"C:\\Users\\User\\AppData\\Local", 52000},
        {"C:\\Users\\User\\AppData\\Roaming", 30000},
        {"C:\\Users\\User\\Documents", 10000},
        {"C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs", 2000},
        {"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs", 4000},
    };
    for (const auto& [root, count] : folderRoots) {
      fake.files.AddFolder(root);
      built->folders += GrowTree(random, root, count, samples::FolderName,
                                 [&](const std::string& path) { fake.files.AddFolder(path); }).size() - 1;
    }

    // Keys and values: the current user's tree and the two machine trees
    // that the scan walks.
    const char* const kMachineTree = "Software\\Microsoft\\Windows\\CurrentVersion";
    const char* const kMachineTree32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion";
    fake.registry.SetString(RegistryRoot::kLocalMachine, kMachineTree, "ProgramFilesDir", "C:\\Program Files");
    struct KeyTree {
      RegistryRoot root;
      const char* path;
      size_t count;
    };
    const KeyTree keyTrees[] = {
        {RegistryRoot::kCurrentUser, "", 300000},
        {RegistryRoot::kLocalMachine, kMachineTree, 280000},
        {RegistryRoot::kLocalMachine, kMachineTree32, 120000},
    };
    std::vector<std::pair<RegistryRoot, std::string>> keys;
    for (const KeyTree& tree : keyTrees) {
      if (*tree.path) fake.registry.AddKey(tree.root, tree.path);
      for (std::string& path : GrowTree(random, tree.path, tree.count, samples::KeyName,
                                        [&](const std::string& p) { fake.registry.AddKey(tree.root, p); })) {
        keys.emplace_back(tree.root, std::move(path));
      }
    }
    built->keys = keys.size() - std::size(keyTrees);

    std::unordered_set<std::string> valueNames;
    while (built->values < kValues) {
      const auto& [root, path] = keys[samples::Pick(random, keys.size())];
      const std::string name = samples::ValueName(random);
      if (!valueNames.insert(std::to_string(static_cast<int>(root)) + path + "\x01" + ToLower(name)).second) continue;
      if (samples::Chance(random, 0.7)) {
        fake.registry.SetString(root, path, name, samples::ValueData(random));
        ++built->strings;
      } else {
        fake.registry.SetDword(root, path, name, static_cast<uint32_t>(samples::Pick(random, 1u << 20)));
      }
      ++built->values;
    }
    return built;
  }();
  return *machine;
}

struct ScanResult {
  std::vector<double> milliseconds;  // CPU time of each round's scan
  int checked = 0;
  int found = 0;
  double Fastest() const { return *std::min_element(milliseconds.begin(), milliseconds.end()); }
};

// What the scan is given to match.
enum class Lists {
  kNone,               // no tags, no exclusions: the whole walk, nothing matched
  kSpoiledExclusions,  // exclusions that never match: the whole walk, exclusions tested
  kExclusions,         // the exclusions: the walk they leave, no tags
  kSpoiledTags,        // the exclusions and tags that never match: the same search, no hit
  kExclusionsAndTags,  // the exclusions and 5,000 tags: a real scan
};
constexpr std::pair<const char*, Lists> kRuns[] = {
    {"nothing to match", Lists::kNone},
    {"exclusions that never match", Lists::kSpoiledExclusions},
    {"exclusions only", Lists::kExclusions},
    {"exclusions, tags never found", Lists::kSpoiledTags},
    {"exclusions and 5000 tags", Lists::kExclusionsAndTags},
};
std::map<Lists, ScanResult> results;

// A list with a character no name holds appended to each entry: exclusions
// that cost as many tests and skip no subtree, or tags (of eight letters
// and more) that cost the same search and are never found.
std::vector<std::string> Spoiled(std::vector<std::string> list) {
  for (std::string& entry : list) entry += '\x7f';
  return list;
}

// One engine and window for each run, set up before any scan is timed.
struct Run {
  FakeMainView window;
  EngineState engine;
};

std::unique_ptr<Run> PrepareRun(Lists lists) {
  auto run = std::make_unique<Run>();
  for (FakeLabel* label : {&run->window.label2, &run->window.label6, &run->window.label7, &run->window.label17,
                           &run->window.sb1}) {
    label->KeepHistory(false);  // a real label keeps no history either
  }
  Definitions& definitions = run->engine.definitions;
  samples::Random random(kTags);
  const std::vector<std::string> tags = samples::Tags(random, kTags, kShortestTag);
  switch (lists) {
    case Lists::kNone: break;
    case Lists::kSpoiledExclusions: definitions.ReplaceExclusions(Spoiled(samples::Exclusions())); break;
    case Lists::kExclusions: definitions.ReplaceExclusions(samples::Exclusions()); break;
    case Lists::kSpoiledTags:
      definitions.ReplaceExclusions(samples::Exclusions());
      definitions.ReplaceTags(Spoiled(tags));
      break;
    case Lists::kExclusionsAndTags:
      definitions.ReplaceExclusions(samples::Exclusions());
      definitions.ReplaceTags(tags);
      break;
  }
  return run;
}

// Each iteration is one round: one scan of every run in turn, so that a slow
// spell of the machine or the heap's history weighs on all runs of the round
// alike. Every other round takes the runs in the reverse order: a scan is
// measurably faster or slower after some kinds of scan than after others
// (the exclusions' cost came out about 85 ms with the scan without lists
// always right after the real scan, and about 45 ms with the scan with the
// spoiled exclusions there), and no run should always follow the same one.
void Rounds(benchmark::State& state) {
  Machine& machine = TheMachine();
  std::map<Lists, std::unique_ptr<Run>> runs;
  for (const auto& [name, lists] : kRuns) runs[lists] = PrepareRun(lists);
  bool reversed = false;
  for (auto _ : state) {
    std::vector<Lists> order;
    for (const auto& [name, lists] : kRuns) order.push_back(lists);
    if (reversed) std::reverse(order.begin(), order.end());
    reversed = !reversed;
    for (const Lists lists : order) {
      Run& run = *runs[lists];
      AppContext context{machine.fake.platform(), run.window.view(), run.engine};
      const std::clock_t started = std::clock();
      const Status status = RunScan(context);
      const double milliseconds = 1e3 * static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
      if (!status.ok()) state.SkipWithError(status.error().c_str());
      ScanResult& result = results[lists];
      result.milliseconds.push_back(milliseconds);
      result.checked = run.engine.checkedCount;
      result.found = run.engine.foundCount;
    }
  }
}

}  // namespace
}  // namespace veltrane

int main(int argc, char** argv) {
  using namespace veltrane;
#ifdef __GLIBC__
  // glibc's fast bins keep freed small blocks aside and sweep them up at the
  // next large allocation. How much there is to sweep depends on the heap's
  // history: a few hundred records kept by the scan with hits made each of
  // its large allocations slower, and moved that scan by about 200 ms, the
  // scan with exclusions by about 90 ms, more than the costs measured here.
  // Without fast bins freed blocks are merged at once, and the figures hold.
  mallopt(M_MXFAST, 0);
#endif
  constexpr int kRounds = 10;  // five in each order
  benchmark::RegisterBenchmark("scan/rounds_of_five_scans", Rounds)->Unit(benchmark::kMillisecond)->Iterations(kRounds);
  benchmark::Initialize(&argc, argv);
  const Machine& machine = TheMachine();
  std::printf("synthetic machine: %zu folders, %zu keys, %zu values (%zu strings)\n", machine.folders, machine.keys,
              machine.values, machine.strings);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (results.size() != std::size(kRuns)) return 0;  // a filtered run: no share to print

  std::printf("\nCPU time of one scan (the fastest of %d)\n", kRounds);
  for (const auto& [name, lists] : kRuns) {
    const ScanResult& result = results[lists];
    std::printf("  %-28s %6.0f ms  %d objects checked, %d found\n", name, result.Fastest(), result.checked,
                result.found);
  }
  // Each cost is the median over the rounds of the difference between two
  // scans of the same round. The exclusions skip subtrees, so a scan with
  // them walks less than one without: the search's cost is taken between
  // two runs that walk the same keys and folders, and the exclusions' cost
  // between the two that walk everything (an upper bound: the real scan
  // tests fewer names).
  auto inRound = [](Lists lists, size_t round) { return results[lists].milliseconds[round]; };
  auto search = [&](size_t round) { return inRound(Lists::kSpoiledTags, round) - inRound(Lists::kExclusions, round); };
  auto exclusions = [&](size_t round) {
    return inRound(Lists::kSpoiledExclusions, round) - inRound(Lists::kNone, round);
  };
  auto hits = [&](size_t round) {
    return inRound(Lists::kExclusionsAndTags, round) - inRound(Lists::kSpoiledTags, round);
  };
  // The share is worked out in each round, against that round's real scan:
  // this machine has slow spells that stretch a whole round, and they cancel
  // out of a ratio taken within the round.
  auto share = [&](size_t round) {
    return 100.0 * (search(round) + exclusions(round)) / inRound(Lists::kExclusionsAndTags, round);
  };
  auto median = [](auto&& perRound) {
    std::vector<double> values;
    for (size_t round = 0; round < results[Lists::kNone].milliseconds.size(); ++round) {
      values.push_back(perRound(round));
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  std::printf("tag search: %.0f ms; exclusions: %.0f ms (medians over the rounds)\n", median(search),
              median(exclusions));
  std::printf("handling the %d objects found (records, rows, log lines): %.0f ms\n",
              results[Lists::kExclusionsAndTags].found, median(hits));
  std::printf("matcher share of the scan in each round:");
  for (size_t round = 0; round < results[Lists::kNone].milliseconds.size(); ++round) {
    std::printf(" %.1f%%", share(round));
  }
  std::printf("\nmatcher share of the scan: %.1f%% (median)\n", median(share));
  return 0;
}
