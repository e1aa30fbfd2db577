#include "platform/win32/registry_win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/windows_win32.h"
#include "platform/win32/wide_text_win32.h"
#include "win32/scratch_win32.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;


constexpr RegistryRoot kHkcu = RegistryRoot::kCurrentUser;

// Writes a value the way other programs may leave it: any type, any bytes.
void SetRaw(const std::string& keyPath, const wchar_t* name, DWORD type, const void* data,
            DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(keyPath).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  RegCloseKey(key);
}

class RegistryWin32Test : public ::testing::Test {
 protected:
  RegistryWin32 registry_;
  ScratchKey scratch_;
};

TEST_F(RegistryWin32Test, CreateKeyMakesEveryMissingLevel) {
  PlatformError error = PlatformError::kOther;
  ASSERT_NE(registry_.CreateKey(kHkcu, scratch_ / "a\\b\\c", RegistryView::kDefault, &error), nullptr);
  EXPECT_EQ(error, PlatformError::kNone);
  EXPECT_NE(registry_.OpenKey(kHkcu, scratch_ / "a\\b\\c", RegistryAccess::kRead), nullptr);
  // Creating an existing key opens it.
  EXPECT_NE(registry_.CreateKey(kHkcu, scratch_ / "a"), nullptr);
}

TEST_F(RegistryWin32Test, OpenMissingKeyReportsNotFound) {
  PlatformError error = PlatformError::kNone;
  EXPECT_EQ(registry_.OpenKey(kHkcu, scratch_ / "missing", RegistryAccess::kRead,
                              RegistryView::kDefault, &error),
            nullptr);
  EXPECT_EQ(error, PlatformError::kNotFound);
}

TEST_F(RegistryWin32Test, EmptyPathOpensTheRootItself) {
  auto root = registry_.OpenKey(kHkcu, "", RegistryAccess::kRead);
  ASSERT_NE(root, nullptr);
  EXPECT_THAT(root->SubkeyNames(), ::testing::Contains("Software"));
}

TEST_F(RegistryWin32Test, StringsRoundTripWhateverTheirSize) {
  auto key = registry_.CreateKey(kHkcu, scratch_.Path());
  ASSERT_NE(key, nullptr);
  const struct {
    std::string name;
    std::string value;
  } cases[] = {
      {"empty", ""},
      {"plain", "C:\\Program Files\\Foo\\foo.exe"},
      {"umlaut \xC3\xBC\xE2\x82\xAC", "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"},
      {"large", std::string(40000, 'x') + "end"},
      {"", "the default value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(key->WriteString(c.name, c.value));
    EXPECT_EQ(key->ValueType(c.name), RegistryValueType::kString);
    EXPECT_EQ(key->ReadString(c.name), c.value);
  }
  // A second handle reads what the first wrote.
  auto reader = registry_.OpenKey(kHkcu, scratch_.Path(), RegistryAccess::kRead);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->ReadString("large"), cases[3].value);
}

TEST_F(RegistryWin32Test, ReadStringTakesStoredBytesSafely) {
  const std::wstring expand = L"%SystemRoot%\\system32\\run.exe";
  SetRaw(scratch_.Path(), L"expand", REG_EXPAND_SZ, expand.c_str(),
         static_cast<DWORD>((expand.size() + 1) * sizeof(wchar_t)));
  // Stored without its terminating NUL, and with an odd last byte.
  const std::wstring bare = L"no terminator";
  SetRaw(scratch_.Path(), L"bare", REG_SZ, bare.data(), static_cast<DWORD>(bare.size() * sizeof(wchar_t)));
  SetRaw(scratch_.Path(), L"odd", REG_SZ, bare.data(), static_cast<DWORD>(bare.size() * sizeof(wchar_t) + 1));
  const wchar_t embedded[] = L"before\0after";
  SetRaw(scratch_.Path(), L"embedded", REG_SZ, embedded, sizeof(embedded));
  SetRaw(scratch_.Path(), L"zero bytes", REG_SZ, L"", 0);
  const DWORD number = 7;
  SetRaw(scratch_.Path(), L"number", REG_DWORD, &number, sizeof(number));

  auto key = registry_.OpenKey(kHkcu, scratch_.Path(), RegistryAccess::kRead);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("expand"), "%SystemRoot%\\system32\\run.exe");
  EXPECT_EQ(key->ValueType("expand"), RegistryValueType::kExpandString);
  EXPECT_EQ(key->ReadString("bare"), "no terminator");
  EXPECT_EQ(key->ReadString("odd"), "no terminator");
  EXPECT_EQ(key->ReadString("embedded"), "before");
  EXPECT_EQ(key->ReadString("zero bytes"), "");
  EXPECT_EQ(key->ReadString("number"), std::nullopt);
  EXPECT_EQ(key->ValueType("number"), RegistryValueType::kDword);
  EXPECT_EQ(key->ReadString("missing"), std::nullopt);
  EXPECT_EQ(key->ValueType("missing"), std::nullopt);
}

TEST_F(RegistryWin32Test, EnumeratesLongAndNonAsciiNames) {
  auto key = registry_.CreateKey(kHkcu, scratch_.Path());
  ASSERT_NE(key, nullptr);
  const std::string longName(16383, 'v');
  const std::string wideName = "\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD";
  ASSERT_TRUE(key->WriteString(longName, "1"));
  ASSERT_TRUE(key->WriteString(wideName, "2"));
  ASSERT_TRUE(key->WriteString("", "3"));
  ASSERT_NE(registry_.CreateKey(kHkcu, scratch_ / wideName), nullptr);
  ASSERT_NE(registry_.CreateKey(kHkcu, scratch_ / std::string(255, 'k')), nullptr);

  EXPECT_THAT(key->ValueNames(), UnorderedElementsAre(longName, wideName, ""));
  EXPECT_THAT(key->SubkeyNames(), UnorderedElementsAre(wideName, std::string(255, 'k')));
  auto empty = registry_.CreateKey(kHkcu, scratch_ / "empty");
  ASSERT_NE(empty, nullptr);
  EXPECT_THAT(empty->ValueNames(), ElementsAre());
  EXPECT_THAT(empty->SubkeyNames(), ElementsAre());
}

TEST_F(RegistryWin32Test, ReadOnlyKeyRefusesChanges) {
  ASSERT_TRUE(registry_.CreateKey(kHkcu, scratch_.Path())->WriteString("v", "old"));
  auto key = registry_.OpenKey(kHkcu, scratch_.Path(), RegistryAccess::kRead);
  ASSERT_NE(key, nullptr);
  EXPECT_FALSE(key->WriteString("v", "new"));
  EXPECT_FALSE(key->DeleteValue("v"));
  EXPECT_EQ(key->ReadString("v"), "old");
}

TEST_F(RegistryWin32Test, DeleteValue) {
  auto key = registry_.CreateKey(kHkcu, scratch_.Path());
  ASSERT_TRUE(key->WriteString("v", "1"));
  EXPECT_TRUE(key->DeleteValue("v"));
  EXPECT_EQ(key->ValueType("v"), std::nullopt);
  EXPECT_FALSE(key->DeleteValue("v"));
}

TEST_F(RegistryWin32Test, DeleteKeyTakesOnlyLeaves) {
  ASSERT_NE(registry_.CreateKey(kHkcu, scratch_ / "parent\\child"), nullptr);
  EXPECT_FALSE(registry_.DeleteKey(kHkcu, scratch_ / "parent"));
  EXPECT_NE(registry_.OpenKey(kHkcu, scratch_ / "parent\\child", RegistryAccess::kRead), nullptr);
  EXPECT_TRUE(registry_.DeleteKey(kHkcu, scratch_ / "parent\\child"));
  EXPECT_TRUE(registry_.DeleteKey(kHkcu, scratch_ / "parent"));
  EXPECT_EQ(registry_.OpenKey(kHkcu, scratch_ / "parent", RegistryAccess::kRead), nullptr);
  EXPECT_FALSE(registry_.DeleteKey(kHkcu, scratch_ / "parent"));
}

TEST_F(RegistryWin32Test, DeleteKeyTreeTakesEverythingBelow) {
  ASSERT_TRUE(registry_.CreateKey(kHkcu, scratch_ / "tree\\a\\b")->WriteString("v", "1"));
  ASSERT_TRUE(registry_.CreateKey(kHkcu, scratch_ / "tree")->WriteString("w", "2"));
  ASSERT_NE(registry_.CreateKey(kHkcu, scratch_ / "sibling"), nullptr);
  EXPECT_TRUE(registry_.DeleteKeyTree(kHkcu, scratch_ / "tree"));
  EXPECT_EQ(registry_.OpenKey(kHkcu, scratch_ / "tree", RegistryAccess::kRead), nullptr);
  EXPECT_NE(registry_.OpenKey(kHkcu, scratch_ / "sibling", RegistryAccess::kRead), nullptr);
  EXPECT_FALSE(registry_.DeleteKeyTree(kHkcu, scratch_ / "tree"));
}

TEST_F(RegistryWin32Test, NeverDeletesARoot) {
  EXPECT_FALSE(registry_.DeleteKeyTree(kHkcu, ""));
  EXPECT_FALSE(registry_.DeleteKey(kHkcu, ""));
  EXPECT_NE(registry_.OpenKey(kHkcu, "Software", RegistryAccess::kRead), nullptr);
}

TEST_F(RegistryWin32Test, NamesWithANulAreRefused) {
  auto key = registry_.CreateKey(kHkcu, scratch_.Path());
  ASSERT_TRUE(key->WriteString("v", "1"));
  const std::string withNul("v\0tail", 6);
  EXPECT_FALSE(key->WriteString(withNul, "2"));
  EXPECT_FALSE(key->DeleteValue(withNul));
  EXPECT_EQ(key->ReadString("v"), "1");
  EXPECT_EQ(registry_.CreateKey(kHkcu, scratch_.Path() + std::string("\0x", 2)), nullptr);
  EXPECT_FALSE(registry_.DeleteKeyTree(kHkcu, scratch_.Path() + std::string("\0x", 2)));
}

// Under HKLM\Software a 32-bit program and a 64-bit one see different keys;
// the views reach each of them from either kind of program.
class RegistryViewWin32Test : public ::testing::Test {
 protected:
  void TearDown() override {
    for (RegistryView view : {RegistryView::k32, RegistryView::k64}) {
      registry_.DeleteKeyTree(RegistryRoot::kLocalMachine, path_, view);
    }
  }
  RegistryWin32 registry_;
  const std::string path_ = "Software\\VeltraneViewTest-" + UniqueSuffix();
};

TEST_F(RegistryViewWin32Test, ThirtyTwoAndSixtyFourBitViewsAreApartUnderSoftware) {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  if (info.wProcessorArchitecture != PROCESSOR_ARCHITECTURE_AMD64) {
    GTEST_SKIP() << "one registry view only";
  }
  auto key32 = registry_.CreateKey(RegistryRoot::kLocalMachine, path_, RegistryView::k32);
  if (key32 == nullptr) GTEST_SKIP() << "HKLM is not writable here";
  ASSERT_TRUE(key32->WriteString("view", "32"));
  auto key64 = registry_.CreateKey(RegistryRoot::kLocalMachine, path_, RegistryView::k64);
  ASSERT_NE(key64, nullptr);
  ASSERT_TRUE(key64->WriteString("view", "64"));

  EXPECT_EQ(registry_.OpenKey(RegistryRoot::kLocalMachine, path_, RegistryAccess::kRead,
                              RegistryView::k32)->ReadString("view"),
            "32");
  EXPECT_EQ(registry_.OpenKey(RegistryRoot::kLocalMachine, path_, RegistryAccess::kRead,
                              RegistryView::k64)->ReadString("view"),
            "64");
  // The 32-bit view's keys are where 64-bit programs see them.
  const std::string redirected = "Software\\Wow6432Node" + path_.substr(std::string("Software").size());
  auto seen = registry_.OpenKey(RegistryRoot::kLocalMachine, redirected, RegistryAccess::kRead,
                                RegistryView::k64);
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(seen->ReadString("view"), "32");

  // Deleting in one view leaves the other.
  EXPECT_TRUE(registry_.DeleteKeyTree(RegistryRoot::kLocalMachine, path_, RegistryView::k32));
  EXPECT_EQ(registry_.OpenKey(RegistryRoot::kLocalMachine, path_, RegistryAccess::kRead,
                              RegistryView::k32),
            nullptr);
  EXPECT_NE(registry_.OpenKey(RegistryRoot::kLocalMachine, path_, RegistryAccess::kRead,
                              RegistryView::k64),
            nullptr);
  EXPECT_TRUE(registry_.DeleteKey(RegistryRoot::kLocalMachine, path_, RegistryView::k64));
}

}  // namespace
}  // namespace veltrane
