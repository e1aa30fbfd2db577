#include "definitions/definitions.h"

#include <optional>

#include "base/text.h"
#include "definitions/reference_matcher.h"

// The fast matcher is built beside this file; until its header exists the
// pointer stays null and every operation goes through the reference rules.
#if __has_include("definitions/fast_matcher.h")
#include "definitions/fast_matcher.h"
#else
namespace veltrane {
class FastMatcher {};
}  // namespace veltrane
#endif

namespace veltrane {
namespace {

// The lines of a definition file, or the error that Load reports.
Result<std::vector<std::string>> ReadDefinitionFile(FileSystem& files, const std::string& path) {
  std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes) return Error{"Cannot open file " + path};
  return SplitLines(BytesToUtf8(*bytes));
}

}  // namespace

Definitions::Definitions() = default;
Definitions::~Definitions() = default;

Status Definitions::Load(FileSystem& files, std::string_view settingsFolder) {
  auto tags = ReadDefinitionFile(files, std::string(settingsFolder) + "maltag.dat");
  if (!tags) return Error{tags.error()};
  ReplaceTags(*tags);
  auto exclusions = ReadDefinitionFile(files, std::string(settingsFolder) + "maltagEx.dat");
  if (!exclusions) return Error{exclusions.error()};
  ReplaceExclusions(*exclusions);
  return Status::Ok();
}

void Definitions::ReplaceTags(const std::vector<std::string>& lines) {
  tags_.Assign(lines);
  Rebuild();
}

void Definitions::ReplaceExclusions(const std::vector<std::string>& lines) {
  exclusions_.Assign(lines);
  Rebuild();
}

void Definitions::Rebuild() {}

bool Definitions::IsExcluded(std::string_view text) const { return reference::IsExcluded(exclusions_, text); }

std::string Definitions::MatchTag(std::string_view text) const {
  return reference::MatchTag(tags_, exclusions_, text);
}

TagMatchRecord Definitions::MatchTagWithExtension(std::string_view text) const {
  return reference::MatchTagWithExtension(tags_, exclusions_, text);
}

std::string Definitions::MatchFolderPath(std::string_view path) const {
  return reference::MatchFolderPath(tags_, exclusions_, path);
}

}  // namespace veltrane
