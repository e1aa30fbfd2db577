#include "definitions/definitions.h"

#include <optional>

#include "base/text.h"
#include "definitions/fast_matcher.h"

namespace veltrane {
namespace {

// The lines of a definition file, or the error that Load reports.
Result<std::vector<std::string>> ReadDefinitionFile(FileSystem& files, const std::string& path) {
  std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes) return Error{"Cannot open file " + path};
  return SplitLines(BytesToUtf8(*bytes));
}

}  // namespace

Definitions::Definitions() { Rebuild(); }
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

// The index follows the lists: built at construction (empty lists) and
// again whenever a load or a download replaces one of them.
void Definitions::Rebuild() { fast_ = FastMatcher::Build(tags_, exclusions_); }

bool Definitions::IsExcluded(std::string_view text) const { return fast_->IsExcluded(text); }

bool Definitions::IsExcludedAfterClean(std::string_view text, size_t cleanLength) const {
  return fast_->IsExcludedAfterClean(text, cleanLength);
}

std::string Definitions::MatchTag(std::string_view text) const { return fast_->MatchTag(text); }

TagMatchRecord Definitions::MatchTagWithExtension(std::string_view text) const {
  return fast_->MatchTagWithExtension(text);
}

bool Definitions::HoldsListedExtension(std::string_view text) const { return fast_->HoldsListedExtension(text); }

std::string Definitions::MatchFolderPath(std::string_view path) const { return fast_->MatchFolderPath(path); }

std::string Definitions::MatchFolderPathOfClean(std::string_view path) const {
  return fast_->MatchFolderPathOfClean(path);
}

}  // namespace veltrane
