// Tag matching: the reference rules against the fast matcher on tag lists of
// 300, 5,000 and 30,000 real-looking tags, over the names a scan hands over
// (folder paths, registry key and value names, string data and command
// lines of 1 to 260 characters), plus large values of 4 to 32 KB for the fast
// matcher alone (the reference needs minutes for one of them).
//
// Run: build/host/bin/veltrane_matcher_bench
// Prints Google Benchmark's table, then a summary (CPU time): nanoseconds per
// text for the reference and the fast matcher on the scanners' operations
// (MatchFolderPath for paths, MatchTagWithExtension for the rest) and their
// ratio; the fast MatchTag on every text (the tag search, which
// MatchTagWithExtension skips where no extension occurs); the fast matcher
// per large value; the index's build time and memory; the share of texts in
// which a tag is found. Its last line is "matcher speedup at 5000 tags: <ratio>x".

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "definitions/fast_matcher.h"
#include "definitions/reference_matcher.h"
#include "support/sample_names.h"

namespace veltrane {
namespace {

constexpr int kTagCounts[] = {300, 5000, 30000};
constexpr size_t kCorpusSize = 500;
constexpr size_t kLargeValues = 16;
constexpr size_t kLongestText = 260;

struct Text {
  std::string value;
  bool folderPath;  // matched with MatchFolderPath, else MatchTagWithExtension
};

struct Setup {
  StringList tags{true, true};
  StringList exclusions{true, true};
  std::unique_ptr<FastMatcher> fast;
};

const std::vector<Text>& Corpus() {
  static const std::vector<Text> corpus = [] {
    samples::Random random(7);
    std::vector<Text> texts;
    while (texts.size() < kCorpusSize) {
      Text text;
      switch (texts.size() % 4) {
        case 0:
          text = {samples::FolderPath(random), true};
          break;
        case 1:
          text = {samples::KeyName(random), false};
          break;
        case 2:
          text = {samples::ValueName(random), false};
          break;
        default:
          text = {samples::ValueData(random), false};
      }
      if (text.value.empty()) continue;
      if (text.value.size() > kLongestText) text.value.resize(kLongestText);
      texts.push_back(text);
    }
    return texts;
  }();
  return corpus;
}

const std::vector<std::string>& LargeValues() {
  static const std::vector<std::string> values = [] {
    samples::Random random(11);
    std::vector<std::string> large;
    for (size_t i = 0; i < kLargeValues; ++i) large.push_back(samples::LargeValue(random));
    return large;
  }();
  return values;
}

const Setup& SetupFor(int tagCount) {
  static std::map<int, Setup> setups;
  Setup& setup = setups[tagCount];
  if (!setup.fast) {
    samples::Random random(static_cast<uint64_t>(tagCount));
    setup.tags.Assign(samples::Tags(random, static_cast<size_t>(tagCount)));
    setup.exclusions.Assign(samples::Exclusions());
    setup.fast = FastMatcher::Build(setup.tags, setup.exclusions);
  }
  return setup;
}

void PerText(benchmark::State& state, size_t texts) {
  state.counters["per_text"] =
      benchmark::Counter(static_cast<double>(texts), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void Reference(benchmark::State& state, int tagCount) {
  const Setup& setup = SetupFor(tagCount);
  for (auto _ : state) {
    for (const Text& text : Corpus()) {
      if (text.folderPath) {
        benchmark::DoNotOptimize(reference::MatchFolderPath(setup.tags, setup.exclusions, text.value));
      } else {
        benchmark::DoNotOptimize(reference::MatchTagWithExtension(setup.tags, setup.exclusions, text.value));
      }
    }
  }
  PerText(state, Corpus().size());
}

void Fast(benchmark::State& state, int tagCount) {
  const Setup& setup = SetupFor(tagCount);
  for (auto _ : state) {
    for (const Text& text : Corpus()) {
      if (text.folderPath) {
        benchmark::DoNotOptimize(setup.fast->MatchFolderPath(text.value));
      } else {
        benchmark::DoNotOptimize(setup.fast->MatchTagWithExtension(text.value));
      }
    }
  }
  PerText(state, Corpus().size());
}

// MatchTag on every text: the tag search itself, which MatchTagWithExtension
// skips for a text without an extension.
void FastSearch(benchmark::State& state, int tagCount) {
  const Setup& setup = SetupFor(tagCount);
  for (auto _ : state) {
    for (const Text& text : Corpus()) benchmark::DoNotOptimize(setup.fast->MatchTag(text.value));
  }
  PerText(state, Corpus().size());
}

void FastLarge(benchmark::State& state, int tagCount) {
  const Setup& setup = SetupFor(tagCount);
  for (auto _ : state) {
    for (const std::string& value : LargeValues()) benchmark::DoNotOptimize(setup.fast->MatchTagWithExtension(value));
  }
  PerText(state, LargeValues().size());
}

void Build(benchmark::State& state, int tagCount) {
  const Setup& setup = SetupFor(tagCount);
  for (auto _ : state) benchmark::DoNotOptimize(FastMatcher::Build(setup.tags, setup.exclusions));
}

// Keeps the CPU time per text (or per build) of every run for the summary.
class Collector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto counter = run.counters.find("per_text");
      seconds_[run.benchmark_name()] = counter != run.counters.end()
                                           ? counter->second.value
                                           : run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }
  // Seconds per text (or per build), or 0 when the run was filtered out.
  double Seconds(const std::string& name) const {
    const auto found = seconds_.find(name);
    return found == seconds_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> seconds_;
};

// Share of the texts in which some tag is found (before the extension test).
double HitShare(int tagCount) {
  const FastMatcher& fast = *SetupFor(tagCount).fast;
  size_t hits = 0;
  for (const Text& text : Corpus()) hits += fast.MatchTag(text.value).empty() ? 0 : 1;
  return 100.0 * static_cast<double>(hits) / static_cast<double>(Corpus().size());
}

std::string Name(const char* kind, int tagCount) { return std::string(kind) + "/" + std::to_string(tagCount); }

}  // namespace
}  // namespace veltrane

int main(int argc, char** argv) {
  using namespace veltrane;
  for (int tagCount : kTagCounts) {
    benchmark::RegisterBenchmark(Name("reference", tagCount).c_str(), Reference, tagCount)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(Name("fast", tagCount).c_str(), Fast, tagCount)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(Name("fast_search", tagCount).c_str(), FastSearch, tagCount)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(Name("fast_large", tagCount).c_str(), FastLarge, tagCount)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(Name("build", tagCount).c_str(), Build, tagCount)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  size_t corpusBytes = 0;
  for (const Text& text : Corpus()) corpusBytes += text.value.size();
  std::printf("\n%zu texts of 1-%zu characters (mean %zu), %zu large values of 4-32 KB; CPU time\n", Corpus().size(),
              kLongestText, corpusBytes / Corpus().size(), LargeValues().size());
  std::printf("%7s %17s %13s %10s %16s %19s %10s %11s %7s\n", "tags", "reference ns/text", "fast ns/text", "speedup",
              "search ns/text", "fast ns/large value", "build ms", "memory KB", "hits");
  double speedupAt5000 = 0;
  for (int tagCount : kTagCounts) {
    const double reference = collector.Seconds(Name("reference", tagCount)) * 1e9;
    const double fast = collector.Seconds(Name("fast", tagCount)) * 1e9;
    const double speedup = fast > 0 ? reference / fast : 0;
    if (tagCount == 5000) speedupAt5000 = speedup;
    std::printf("%7d %17.0f %13.0f %9.0fx %16.0f %19.0f %10.2f %11.0f %6.1f%%\n", tagCount, reference, fast, speedup,
                collector.Seconds(Name("fast_search", tagCount)) * 1e9,
                collector.Seconds(Name("fast_large", tagCount)) * 1e9, collector.Seconds(Name("build", tagCount)) * 1e3,
                static_cast<double>(SetupFor(tagCount).fast->MemoryBytes()) / 1024, HitShare(tagCount));
  }
  std::printf("matcher speedup at 5000 tags: %.0fx\n", speedupAt5000);
  return 0;
}
