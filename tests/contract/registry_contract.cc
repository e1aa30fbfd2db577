#include "contract/registry_contract.h"

#include <algorithm>
#include <set>
#include <vector>

#include "base/text.h"

namespace veltrane {

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RegistryContractTest);

void RegistryContractTest::SetUp() {
  scratch_ = GetParam().make();
  ASSERT_NE(scratch_.registry, nullptr);
  ASSERT_FALSE(scratch_.keyPath.empty());
}

void RegistryContractTest::TearDown() {
  if (scratch_.registry) scratch_.registry->DeleteKeyTree(RegistryRoot::kCurrentUser, scratch_.keyPath);
  if (scratch_.cleanup) scratch_.cleanup();
}

std::string RegistryContractTest::Path(std::string_view relative) const {
  return relative.empty() ? scratch_.keyPath : scratch_.keyPath + "\\" + std::string(relative);
}

namespace {

constexpr RegistryRoot kHkcu = RegistryRoot::kCurrentUser;

std::set<std::string> AsSet(const std::vector<std::string>& names) { return {names.begin(), names.end()}; }

TEST_P(RegistryContractTest, MissingKeyIsNullWithNotFound) {
  for (const auto access : {RegistryAccess::kRead, RegistryAccess::kFullAccess}) {
    for (const std::string& path : {Path(), Path("Missing\\Deeper")}) {
      PlatformError error = PlatformError::kNone;
      EXPECT_EQ(registry().OpenKey(kHkcu, path, access, RegistryView::kDefault, &error), nullptr) << path;
      EXPECT_EQ(error, PlatformError::kNotFound) << path;
    }
  }
}

TEST_P(RegistryContractTest, CreateKeyMakesEveryLevelAndReopensAnExistingKey) {
  PlatformError error = PlatformError::kOther;
  auto created = registry().CreateKey(kHkcu, Path("One\\Two\\Three"), RegistryView::kDefault, &error);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(error, PlatformError::kNone);
  ASSERT_TRUE(created->WriteString("Kept", "yes"));

  auto again = registry().CreateKey(kHkcu, Path("one\\TWO\\three"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->ReadString("Kept"), "yes");

  auto one = registry().OpenKey(kHkcu, Path("One"), RegistryAccess::kRead);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->SubkeyNames(), std::vector<std::string>{"Two"});

  // The root itself is the empty path.
  auto root = registry().OpenKey(kHkcu, "", RegistryAccess::kRead);
  ASSERT_NE(root, nullptr);
  const std::string top = scratch_.keyPath.substr(0, scratch_.keyPath.find('\\'));
  const auto names = root->SubkeyNames();
  EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&top](const std::string& n) { return EqualsIgnoreCase(n, top); }));
}

TEST_P(RegistryContractTest, StringValuesRoundTripWithAnyName) {
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"Plain", "C:\\Program Files\\Tool\\tool.exe"},
      {"Wert \xC3\xA4\xC3\xB6\xC3\xBC", "\xE2\x82\xAC \xC3\xBC"},   // "Wert äöü" = "€ ü"
      {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE5\x80\xA4"},                // "日本" = "値"
      {"", "the default value"},
      {"Empty", ""},
  };
  {
    auto key = registry().CreateKey(kHkcu, Path("Strings"));
    ASSERT_NE(key, nullptr);
    for (const auto& c : cases) ASSERT_TRUE(key->WriteString(c.name, c.text)) << c.name;
  }
  auto key = registry().OpenKey(kHkcu, Path("Strings"), RegistryAccess::kRead);
  ASSERT_NE(key, nullptr);
  std::set<std::string> expected;
  for (const auto& c : cases) {
    EXPECT_EQ(key->ReadString(c.name), c.text) << c.name;
    EXPECT_EQ(key->ValueType(c.name), RegistryValueType::kString) << c.name;
    expected.insert(c.name);
  }
  // Value order differs between implementations; the set does not.
  EXPECT_EQ(AsSet(key->ValueNames()), expected);
  EXPECT_EQ(key->ReadString("Absent"), std::nullopt);
  EXPECT_EQ(key->ValueType("Absent"), std::nullopt);
}

TEST_P(RegistryContractTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  auto key = registry().CreateKey(kHkcu, Path("MixedCase"));
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->WriteString("ValueName", "first"));
  ASSERT_TRUE(key->WriteString("VALUENAME", "second"));
  EXPECT_EQ(key->ValueNames(), std::vector<std::string>{"ValueName"});
  EXPECT_EQ(key->ReadString("valuename"), "second");

  EXPECT_NE(registry().OpenKey(kHkcu, Path("mixedCASE"), RegistryAccess::kRead), nullptr);
  auto parent = registry().OpenKey(kHkcu, Path(), RegistryAccess::kRead);
  ASSERT_NE(parent, nullptr);
  EXPECT_EQ(parent->SubkeyNames(), std::vector<std::string>{"MixedCase"});
}

TEST_P(RegistryContractTest, SubkeysEnumerateSortedIgnoringCase) {
  for (const char* name : {"b", "Delta", "C", "a"}) ASSERT_NE(registry().CreateKey(kHkcu, Path(name)), nullptr);
  auto key = registry().OpenKey(kHkcu, Path(), RegistryAccess::kRead);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->SubkeyNames(), (std::vector<std::string>{"a", "b", "C", "Delta"}));
}

TEST_P(RegistryContractTest, LongestNamesAndLongDataSurviveEnumerationAndReading) {
  const std::string keyName(255, 'k');  // the longest key name the registry takes
  const std::string valueName(2000, 'v');
  const std::string data(100000, 'd');
  auto key = registry().CreateKey(kHkcu, Path(keyName));
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->WriteString(valueName, data));
  ASSERT_TRUE(key->WriteString("Short", "s"));

  auto parent = registry().OpenKey(kHkcu, Path(), RegistryAccess::kRead);
  ASSERT_NE(parent, nullptr);
  EXPECT_EQ(parent->SubkeyNames(), std::vector<std::string>{keyName});
  auto reopened = registry().OpenKey(kHkcu, Path(keyName), RegistryAccess::kRead);
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(AsSet(reopened->ValueNames()), (std::set<std::string>{valueName, "Short"}));
  EXPECT_EQ(reopened->ReadString(valueName), data);
  EXPECT_EQ(reopened->ReadString("Short"), "s");
}

TEST_P(RegistryContractTest, EveryValueTypeIsReportedAndOnlyStringsAreRead) {
  ASSERT_TRUE(scratch_.writeValue);
  struct Case {
    const char* name;
    RegistryValueType type;
    std::string data;
    std::optional<std::string> text;  // what ReadString gives
  };
  const Case cases[] = {
      {"Cut", RegistryValueType::kString, std::string("abc\0def", 7), "abc"},
      {"Expand", RegistryValueType::kExpandString, "%SystemRoot%\\system32\\x.exe", "%SystemRoot%\\system32\\x.exe"},
      {"Dword", RegistryValueType::kDword, std::string("\x01\x00\x00\x00", 4), std::nullopt},
      {"Qword", RegistryValueType::kQword, std::string(8, '\x02'), std::nullopt},
      {"Multi", RegistryValueType::kMultiString, std::string("one\0two\0", 8), std::nullopt},
      {"Binary", RegistryValueType::kBinary, std::string("\x00\xff\x10", 3), std::nullopt},
  };
  for (const auto& c : cases) ASSERT_TRUE(scratch_.writeValue("Typed", c.name, c.type, c.data)) << c.name;
  auto key = registry().OpenKey(kHkcu, Path("Typed"), RegistryAccess::kRead);
  ASSERT_NE(key, nullptr);
  for (const auto& c : cases) {
    EXPECT_EQ(key->ValueType(c.name), c.type) << c.name;
    EXPECT_EQ(key->ReadString(c.name), c.text) << c.name;
  }
}

TEST_P(RegistryContractTest, ReadOnlyKeyCannotWriteOrDeleteValues) {
  ASSERT_NE(registry().CreateKey(kHkcu, Path("Locked")), nullptr);
  ASSERT_TRUE(registry().CreateKey(kHkcu, Path("Locked"))->WriteString("Name", "data"));
  auto key = registry().OpenKey(kHkcu, Path("Locked"), RegistryAccess::kRead);
  ASSERT_NE(key, nullptr);
  EXPECT_FALSE(key->WriteString("Name", "changed"));
  EXPECT_FALSE(key->WriteString("New", "value"));
  EXPECT_FALSE(key->DeleteValue("Name"));
  EXPECT_EQ(key->ReadString("Name"), "data");
  EXPECT_EQ(key->ValueType("New"), std::nullopt);
}

TEST_P(RegistryContractTest, DeleteValueRemovesOnlyThatValue) {
  auto key = registry().CreateKey(kHkcu, Path("Values"));
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->WriteString("Gone", "1"));
  ASSERT_TRUE(key->WriteString("Stays", "2"));
  EXPECT_TRUE(key->DeleteValue("GONE"));
  EXPECT_FALSE(key->DeleteValue("Gone"));
  EXPECT_FALSE(key->DeleteValue("NeverThere"));
  EXPECT_EQ(key->ValueNames(), std::vector<std::string>{"Stays"});
}

TEST_P(RegistryContractTest, DeleteKeyRemovesOnlyKeysWithoutSubkeys) {
  ASSERT_NE(registry().CreateKey(kHkcu, Path("Parent\\Child")), nullptr);
  EXPECT_FALSE(registry().DeleteKey(kHkcu, Path("Parent")));
  EXPECT_NE(registry().OpenKey(kHkcu, Path("Parent\\Child"), RegistryAccess::kRead), nullptr);
  EXPECT_TRUE(registry().DeleteKey(kHkcu, Path("Parent\\Child")));
  EXPECT_TRUE(registry().DeleteKey(kHkcu, Path("Parent")));
  EXPECT_FALSE(registry().DeleteKey(kHkcu, Path("Parent")));
  EXPECT_EQ(registry().OpenKey(kHkcu, Path("Parent"), RegistryAccess::kRead), nullptr);
}

TEST_P(RegistryContractTest, DeleteKeyTreeRemovesEverythingBelowAndNothingBeside) {
  ASSERT_TRUE(registry().CreateKey(kHkcu, Path("Tree"))->WriteString("Top", "1"));
  ASSERT_TRUE(registry().CreateKey(kHkcu, Path("Tree\\A\\Deep"))->WriteString("", "2"));
  ASSERT_NE(registry().CreateKey(kHkcu, Path("Tree\\B")), nullptr);
  ASSERT_TRUE(registry().CreateKey(kHkcu, Path("Sibling"))->WriteString("Kept", "3"));

  EXPECT_TRUE(registry().DeleteKeyTree(kHkcu, Path("tree")));
  PlatformError error = PlatformError::kNone;
  EXPECT_EQ(registry().OpenKey(kHkcu, Path("Tree"), RegistryAccess::kRead, RegistryView::kDefault, &error), nullptr);
  EXPECT_EQ(error, PlatformError::kNotFound);
  auto sibling = registry().OpenKey(kHkcu, Path("Sibling"), RegistryAccess::kRead);
  ASSERT_NE(sibling, nullptr);
  EXPECT_EQ(sibling->ReadString("Kept"), "3");
  EXPECT_FALSE(registry().DeleteKeyTree(kHkcu, Path("Tree")));
}

TEST_P(RegistryContractTest, OpenHandleOfADeletedKeyReadsAndWritesNothing) {
  ASSERT_NE(registry().CreateKey(kHkcu, Path("Doomed\\Sub")), nullptr);
  auto key = registry().OpenKey(kHkcu, Path("Doomed"), RegistryAccess::kFullAccess);
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->WriteString("Value", "x"));
  ASSERT_TRUE(registry().DeleteKeyTree(kHkcu, Path("Doomed")));
  EXPECT_TRUE(key->SubkeyNames().empty());
  EXPECT_TRUE(key->ValueNames().empty());
  EXPECT_EQ(key->ReadString("Value"), std::nullopt);
  EXPECT_FALSE(key->WriteString("Value", "y"));
}

TEST_P(RegistryContractTest, CurrentUserIsTheSameInEveryView) {
  ASSERT_TRUE(registry().CreateKey(kHkcu, Path("Viewless"), RegistryView::kDefault)->WriteString("V", "1"));
  for (const auto view : {RegistryView::k32, RegistryView::k64}) {
    auto key = registry().OpenKey(kHkcu, Path("Viewless"), RegistryAccess::kRead, view);
    ASSERT_NE(key, nullptr) << static_cast<int>(view);
    EXPECT_EQ(key->ReadString("V"), "1");
  }
  EXPECT_TRUE(registry().DeleteKeyTree(kHkcu, Path("Viewless"), RegistryView::k32));
}

}  // namespace
}  // namespace veltrane
