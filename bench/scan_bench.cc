// The folder and registry walks over in-memory trees of a few thousand
// items with a few dozen tags: time per walk and items per second. The
// status line keeps no history here, as the real one doesn't.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/engine_state.h"
#include "platform/fake/platform_fake.h"
#include "platform/fake/ui_fake.h"
#include "scanners/folder_scan.h"
#include "scanners/protected_folders.h"
#include "scanners/registry_scan.h"

namespace veltrane {
namespace {

std::vector<std::string> Tags() {
  std::vector<std::string> tags;
  for (const char* stem : {"amonetize", "asktoolbar", "babylon", "conduit", "crossrider", "delta",
                           "installcore", "mindspark", "mywebsearch", "opencandy", "searchbar",
                           "sweetim", "toolbar", "wajam", "webssearches", "yontoo"}) {
    tags.emplace_back(stem);
    tags.push_back(std::string(stem) + "x");
    tags.push_back(std::string(stem) + "lp");
  }
  return tags;
}

struct World {
  explicit World(int width) {
    window.sb1.KeepHistory(false);
    window.label2.KeepHistory(false);
    state.definitions.ReplaceTags(Tags());
    state.definitions.ReplaceExclusions({"microsoft"});
    for (int i = 0; i < width; ++i) {
      for (int j = 0; j < width; ++j) {
        const std::string folder =
            "C:\\Program Files\\Vendor " + std::to_string(i) + "\\Component " + std::to_string(j);
        fake.files.AddFile(folder + "\\app.exe");
        const std::string key = "Software\\Vendor " + std::to_string(i) + "\\Component " + std::to_string(j);
        fake.registry.SetString(RegistryRoot::kCurrentUser, key, "Path", "C:\\Program Files\\" + key + ".exe");
        fake.registry.SetString(RegistryRoot::kCurrentUser, key, "Name", "Component " + std::to_string(j));
        fake.registry.SetDword(RegistryRoot::kCurrentUser, key, "Flags", 1);
      }
    }
  }

  void Reset() {
    state.checkedCount = 0;
    state.foundCount = 0;
    window.list1.Clear();
  }

  FakePlatform fake;
  FakeMainView window;
  EngineState state;
  AppContext context{fake.platform(), window.view(), state};
};

void BM_FolderWalk(benchmark::State& benchState) {
  World world(static_cast<int>(benchState.range(0)));
  const ProtectedFolders protectedFolders = ProtectedFolders::Collect(world.fake.system, world.fake.registry);
  for (auto _ : benchState) {
    world.Reset();
    ScanFolder(world.context, protectedFolders, "C:\\Program Files", true);
  }
  benchState.counters["folders"] = world.state.checkedCount;
  benchState.counters["folders/s"] =
      benchmark::Counter(world.state.checkedCount, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FolderWalk)->Arg(20)->Arg(60)->Unit(benchmark::kMillisecond);

void BM_RegistryWalk(benchmark::State& benchState) {
  World world(static_cast<int>(benchState.range(0)));
  for (auto _ : benchState) {
    world.Reset();
    ScanRegistryTree(world.context, RegistryRoot::kCurrentUser, "");
  }
  benchState.counters["items"] = world.state.checkedCount;
  benchState.counters["items/s"] =
      benchmark::Counter(world.state.checkedCount, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RegistryWalk)->Arg(20)->Arg(60)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane

BENCHMARK_MAIN();
