#include "platform/fake/registry_fake.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

constexpr RegistryRoot kHklm = RegistryRoot::kLocalMachine;
constexpr RegistryRoot kHkcu = RegistryRoot::kCurrentUser;

TEST(FakeRegistryTest, ThirtyTwoBitViewOfMachineSoftwareIsRedirected) {
  struct Case {
    RegistryRoot root;
    const char* path;
    RegistryView view;
    RegistryView defaultView;
    bool singleView;
    const char* stored;
  };
  const Case cases[] = {
      {kHklm, "SOFTWARE\\Vendor", RegistryView::k32, RegistryView::k64, false, "SOFTWARE\\Wow6432Node\\Vendor"},
      {kHklm, "software", RegistryView::k32, RegistryView::k64, false, "software\\Wow6432Node"},
      {kHklm, "SOFTWARE\\wow6432node\\Vendor", RegistryView::k32, RegistryView::k64, false,
       "SOFTWARE\\wow6432node\\Vendor"},
      {kHklm, "SOFTWARE\\Vendor", RegistryView::k64, RegistryView::k32, false, "SOFTWARE\\Vendor"},
      {kHklm, "SOFTWARE\\Vendor", RegistryView::kDefault, RegistryView::k64, false, "SOFTWARE\\Vendor"},
      {kHklm, "SOFTWARE\\Vendor", RegistryView::kDefault, RegistryView::k32, false, "SOFTWARE\\Wow6432Node\\Vendor"},
      {kHklm, "SOFTWARE\\Vendor", RegistryView::k32, RegistryView::k32, true, "SOFTWARE\\Vendor"},
      {kHklm, "SYSTEM\\CurrentControlSet", RegistryView::k32, RegistryView::k64, false, "SYSTEM\\CurrentControlSet"},
      {kHkcu, "Software\\Vendor", RegistryView::k32, RegistryView::k64, false, "Software\\Vendor"},
  };
  for (const auto& c : cases) {
    FakeRegistry registry;
    registry.SetDefaultView(c.defaultView);
    registry.SetSingleView(c.singleView);
    EXPECT_EQ(registry.RedirectedPath(c.root, c.path, c.view), c.stored) << c.path;
  }
}

TEST(FakeRegistryTest, OpenCreateAndDeleteGoThroughTheView) {
  FakeRegistry registry;
  registry.SetString(kHklm, "SOFTWARE\\Vendor", "Bits", "64");
  registry.SetString(kHklm, "SOFTWARE\\Wow6432Node\\Vendor", "Bits", "32");

  EXPECT_EQ(registry.OpenKey(kHklm, "Software\\Vendor", RegistryAccess::kRead, RegistryView::k32)->ReadString("Bits"),
            "32");
  EXPECT_EQ(registry.OpenKey(kHklm, "Software\\Vendor", RegistryAccess::kRead)->ReadString("Bits"), "64");

  ASSERT_NE(registry.CreateKey(kHklm, "SOFTWARE\\New", RegistryView::k32), nullptr);
  EXPECT_TRUE(registry.KeyExists(kHklm, "SOFTWARE\\Wow6432Node\\New"));
  EXPECT_FALSE(registry.KeyExists(kHklm, "SOFTWARE\\New"));

  EXPECT_TRUE(registry.DeleteKeyTree(kHklm, "SOFTWARE\\Vendor", RegistryView::k32));
  EXPECT_FALSE(registry.KeyExists(kHklm, "SOFTWARE\\Wow6432Node\\Vendor"));
  EXPECT_TRUE(registry.KeyExists(kHklm, "SOFTWARE\\Vendor"));
}

TEST(FakeRegistryTest, KeyThatDeniesFullAccessOpensOnlyForReading) {
  FakeRegistry registry;
  registry.SetString(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "C:\\Program Files");
  registry.DenyFullAccess(kHklm, "software\\microsoft\\windows\\currentversion");

  auto read = registry.OpenKey(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", RegistryAccess::kRead);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->ReadString("ProgramFilesDir"), "C:\\Program Files");

  PlatformError error = PlatformError::kNone;
  EXPECT_EQ(registry.OpenKey(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", RegistryAccess::kFullAccess,
                             RegistryView::kDefault, &error),
            nullptr);
  EXPECT_EQ(error, PlatformError::kAccessDenied);
  error = PlatformError::kNone;
  EXPECT_EQ(registry.CreateKey(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", RegistryView::kDefault, &error),
            nullptr);
  EXPECT_EQ(error, PlatformError::kAccessDenied);
  error = PlatformError::kNone;
  EXPECT_EQ(registry.CreateKey(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Child", RegistryView::kDefault,
                               &error),
            nullptr);
  EXPECT_EQ(error, PlatformError::kAccessDenied);
  EXPECT_FALSE(registry.DeleteKeyTree(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"));
  EXPECT_TRUE(registry.KeyExists(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"));
}

TEST(FakeRegistryTest, KeyThatDeniesAllAccessIsListedButCannotBeOpened) {
  FakeRegistry registry;
  registry.AddKey(kHkcu, "Top\\Denied\\Below");
  registry.AddKey(kHkcu, "Top\\Open");
  registry.DenyAllAccess(kHkcu, "Top\\Denied");

  EXPECT_EQ(registry.OpenKey(kHkcu, "Top", RegistryAccess::kRead)->SubkeyNames(),
            (std::vector<std::string>{"Denied", "Open"}));
  PlatformError error = PlatformError::kNone;
  EXPECT_EQ(registry.OpenKey(kHkcu, "Top\\Denied", RegistryAccess::kRead, RegistryView::kDefault, &error), nullptr);
  EXPECT_EQ(error, PlatformError::kAccessDenied);

  // A tree delete removes what it can reach and reports the failure.
  EXPECT_FALSE(registry.DeleteKeyTree(kHkcu, "Top"));
  EXPECT_EQ(registry.Subkeys(kHkcu, "Top"), std::vector<std::string>{"Denied"});
  EXPECT_TRUE(registry.KeyExists(kHkcu, "Top\\Denied\\Below"));
}

TEST(FakeRegistryTest, FailingKeyDeleteStopsTheTreeDeleteAboveIt) {
  FakeRegistry registry;
  registry.AddKey(kHkcu, "Top\\A\\Stuck\\Inner");
  registry.AddKey(kHkcu, "Top\\B");
  registry.FailKeyDelete(kHkcu, "Top\\A\\Stuck");

  EXPECT_FALSE(registry.DeleteKeyTree(kHkcu, "Top"));
  EXPECT_TRUE(registry.KeyExists(kHkcu, "Top\\A\\Stuck"));
  EXPECT_FALSE(registry.KeyExists(kHkcu, "Top\\A\\Stuck\\Inner"));
  EXPECT_FALSE(registry.KeyExists(kHkcu, "Top\\B"));
  EXPECT_FALSE(registry.DeleteKey(kHkcu, "Top\\A\\Stuck"));
}

TEST(FakeRegistryTest, FailingValueDeleteKeepsTheValue) {
  FakeRegistry registry;
  registry.SetString(kHkcu, "Run", "Stuck", "a.exe");
  registry.SetString(kHkcu, "Run", "Free", "b.exe");
  registry.FailValueDelete(kHkcu, "Run", "stuck");
  auto key = registry.OpenKey(kHkcu, "Run", RegistryAccess::kFullAccess);
  ASSERT_NE(key, nullptr);
  EXPECT_FALSE(key->DeleteValue("Stuck"));
  EXPECT_TRUE(key->DeleteValue("Free"));
  EXPECT_EQ(registry.Values(kHkcu, "Run"), std::vector<std::string>{"Stuck"});
}

TEST(FakeRegistryTest, KeyCanVanishBetweenEnumerationAndOpen) {
  FakeRegistry registry;
  registry.AddKey(kHkcu, "Top\\Gone");
  registry.AddKey(kHkcu, "Top\\Stays");
  registry.VanishOnOpen(kHkcu, "Top\\Gone");

  auto top = registry.OpenKey(kHkcu, "Top", RegistryAccess::kRead);
  EXPECT_EQ(top->SubkeyNames(), (std::vector<std::string>{"Gone", "Stays"}));
  PlatformError error = PlatformError::kNone;
  EXPECT_EQ(registry.OpenKey(kHkcu, "Top\\Gone", RegistryAccess::kRead, RegistryView::kDefault, &error), nullptr);
  EXPECT_EQ(error, PlatformError::kNotFound);
  EXPECT_EQ(top->SubkeyNames(), std::vector<std::string>{"Stays"});
}

TEST(FakeRegistryTest, EnumerationErrorEndsTheListEarly) {
  FakeRegistry registry;
  for (const char* name : {"a", "b", "c"}) {
    registry.AddKey(kHkcu, std::string("Top\\") + name);
    registry.SetString(kHkcu, "Top", name, "x");
  }
  registry.FailSubkeyEnumerationAfter(kHkcu, "Top", 2);
  registry.FailValueEnumerationAfter(kHkcu, "Top", 1);
  auto top = registry.OpenKey(kHkcu, "Top", RegistryAccess::kRead);
  EXPECT_EQ(top->SubkeyNames(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(top->ValueNames(), std::vector<std::string>{"a"});
}

TEST(FakeRegistryTest, EnumerationOrderIsThatOfWindows) {
  FakeRegistry registry;
  for (const char* name : {"zz", "_under", "abc", "Zed"}) {
    registry.AddKey(kHkcu, std::string("Order\\") + name);
    registry.SetString(kHkcu, "Order", name, "");
  }
  auto key = registry.OpenKey(kHkcu, "Order", RegistryAccess::kRead);
  // Subkeys sorted after upper-casing ('_' after the letters); values as set.
  EXPECT_EQ(key->SubkeyNames(), (std::vector<std::string>{"abc", "Zed", "zz", "_under"}));
  EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"zz", "_under", "abc", "Zed"}));
}

TEST(FakeRegistryTest, PathWithLeadingBackslashIsRefused) {
  FakeRegistry registry;
  registry.AddKey(kHkcu, "Software");
  PlatformError error = PlatformError::kNone;
  EXPECT_EQ(registry.OpenKey(kHkcu, "\\Software", RegistryAccess::kRead, RegistryView::kDefault, &error), nullptr);
  EXPECT_EQ(error, PlatformError::kOther);
  EXPECT_FALSE(registry.DeleteKeyTree(kHkcu, "\\Software"));
  EXPECT_FALSE(registry.DeleteKeyTree(kHkcu, ""));
  EXPECT_TRUE(registry.KeyExists(kHkcu, "Software"));
}

}  // namespace
}  // namespace veltrane
