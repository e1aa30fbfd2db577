// The one setting: "ScanDate" in HKCU "Software\Orlenvik\Tessaly", the start
// stamp of the latest scan (short date, one blank, long time).
#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace veltrane {

inline constexpr const char* kSettingsKey = "Software\\Orlenvik\\Tessaly";
inline constexpr const char* kScanDateValue = "ScanDate";

// Creates the key when missing and writes the text as a string value. A key
// that cannot be opened or a failed write is not reported.
void WriteScanDate(Registry& registry, std::string_view text);

// The stored stamp, or "None" when the key, the value or its text is
// missing.
std::string ReadScanDate(Registry& registry);

}  // namespace veltrane
