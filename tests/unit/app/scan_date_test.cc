#include "app/scan_date.h"

#include <gtest/gtest.h>

#include "platform/fake/registry_fake.h"

namespace veltrane {
namespace {

constexpr const char* kKey = "Software\\Orlenvik\\Tessaly";

TEST(ScanDateTest, NoneUntilWrittenThenTheStoredText) {
  FakeRegistry registry;
  EXPECT_EQ(ReadScanDate(registry), "None");
  WriteScanDate(registry, "09.12.2026 23:55:48");
  EXPECT_EQ(registry.StringValue(RegistryRoot::kCurrentUser, kKey, "ScanDate"), "09.12.2026 23:55:48");
  EXPECT_EQ(ReadScanDate(registry), "09.12.2026 23:55:48");
}

TEST(ScanDateTest, UnreadableOrUnwritableSettingFallsBackQuietly) {
  FakeRegistry registry;
  registry.AddKey(RegistryRoot::kCurrentUser, kKey);
  EXPECT_EQ(ReadScanDate(registry), "None");  // key without the value
  registry.SetDword(RegistryRoot::kCurrentUser, kKey, "ScanDate", 7);
  EXPECT_EQ(ReadScanDate(registry), "None");  // not a string

  FakeRegistry locked;
  locked.DenyFullAccess(RegistryRoot::kCurrentUser, kKey);
  WriteScanDate(locked, "09.12.2026 23:55:48");
  EXPECT_EQ(ReadScanDate(locked), "None");
}

}  // namespace
}  // namespace veltrane
