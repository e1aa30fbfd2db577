#include "app/scan_date.h"

namespace veltrane {

void WriteScanDate(Registry& registry, std::string_view text) {
  auto key = registry.CreateKey(RegistryRoot::kCurrentUser, kSettingsKey);
  if (key) key->WriteString(kScanDateValue, text);
}

std::string ReadScanDate(Registry& registry) {
  auto key = registry.OpenKey(RegistryRoot::kCurrentUser, kSettingsKey, RegistryAccess::kRead);
  if (!key) return "None";
  return key->ReadString(kScanDateValue).value_or("None");
}

}  // namespace veltrane
