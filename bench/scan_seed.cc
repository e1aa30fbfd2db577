// Writes what the Wine scan benchmark (bench/wine_scan_share.sh) seeds:
//   veltrane_scan_seed reg KEYS VALUES   a registry file (REGEDIT4) of a tree of
//                                        KEYS keys holding VALUES values below
//                                        HKEY_CURRENT_USER\Software\VeltraneScanBench
//   veltrane_scan_seed tags COUNT        COUNT tags of 8 to 12 letters, one a line
//   veltrane_scan_seed exclusions        the exclusions, one a line
// The names and data come from the generators the whole-scan benchmark uses.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/text.h"
#include "support/sample_names.h"

namespace veltrane {
namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER\\Software\\VeltraneScanBench";
constexpr size_t kDeepest = 8;

// A registry file quotes names and data, escaping "\" and '"'.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

int WriteRegistry(size_t keyCount, size_t valueCount) {
  samples::Random random(2024);
  std::vector<std::string> paths = {""};
  std::vector<size_t> depths = {0};
  std::unordered_set<std::string> seen;
  while (paths.size() <= keyCount) {
    size_t parent = samples::Pick(random, paths.size());
    if (depths[parent] >= kDeepest) parent = 0;
    const std::string name = samples::KeyName(random);
    if (name.empty()) continue;
    std::string path = paths[parent].empty() ? name : paths[parent] + "\\" + name;
    if (!seen.insert(ToLower(path)).second) continue;
    paths.push_back(std::move(path));
    depths.push_back(depths[parent] + 1);
  }
  // Values spread over the keys at random, each name once in its key.
  std::vector<std::vector<std::pair<std::string, std::string>>> values(paths.size());
  std::unordered_set<std::string> valueNames;
  for (size_t made = 0; made < valueCount;) {
    const size_t key = samples::Pick(random, paths.size());
    const std::string name = samples::ValueName(random);
    if (name.empty() || !valueNames.insert(std::to_string(key) + "\x01" + ToLower(name)).second) continue;
    values[key].emplace_back(name, samples::ValueData(random));
    ++made;
  }
  std::printf("REGEDIT4\r\n");
  for (size_t k = 0; k < paths.size(); ++k) {
    std::printf("\r\n[%s%s%s]\r\n", kRoot, paths[k].empty() ? "" : "\\", paths[k].c_str());
    for (const auto& [name, data] : values[k]) std::printf("%s=%s\r\n", Quoted(name).c_str(), Quoted(data).c_str());
  }
  return 0;
}

}  // namespace
}  // namespace veltrane

int main(int argc, char** argv) {
  using namespace veltrane;
  const std::string_view what = argc > 1 ? argv[1] : "";
  if (what == "reg" && argc == 4) return WriteRegistry(std::strtoull(argv[2], nullptr, 10), std::strtoull(argv[3], nullptr, 10));
  if (what == "tags" && argc == 3) {
    samples::Random random(5000);
    for (const auto& tag : samples::Tags(random, std::strtoull(argv[2], nullptr, 10), 8)) std::printf("%s\r\n", tag.c_str());
    return 0;
  }
  if (what == "exclusions" && argc == 2) {
    for (const auto& exclusion : samples::Exclusions()) std::printf("%s\r\n", exclusion.c_str());
    return 0;
  }
  std::fprintf(stderr, "usage: veltrane_scan_seed reg KEYS VALUES | tags COUNT | exclusions\n");
  return 2;
}
