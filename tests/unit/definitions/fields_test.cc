#include "definitions/fields.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

struct FieldCase {
  const char* text;
  int index;
  char32_t separator;
  const char* field;
};

TEST(SplitFieldTest, ReturnsOnlyFieldsEndedBySeparator) {
  const FieldCase cases[] = {
      {"12;c:\\foo;PUP.foo;", 0, U';', "12"},
      {"12;c:\\foo;PUP.foo;", 1, U';', "c:\\foo"},
      {"12;c:\\foo;PUP.foo;", 2, U';', "PUP.foo"},
      {"12;c:\\foo;PUP.foo;", 3, U';', ""},
      {"a;b", 1, U';', ""},  // not ended by a separator
      {";;x;", 1, U';', ""},
      {";;x;", 2, U';', "x"},
      {"c:\\program files\\foo bar\\", 2, U'\\', "foo bar"},
      {"xAyaz", 1, U'a', "y"},                          // separator compared ignoring case
      {"caf\xC3\xA9-\xC3\x89t\xC3\xA9-", 2, U'\xE9', "t"},  // and so are Latin-1 separators
      {"a;b;", -1, U';', ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitField(c.text, c.index, c.separator), c.field) << c.text << " #" << c.index;
  }
}

TEST(SplitFieldTest, KeepsNonAsciiFieldBytes) {
  EXPECT_EQ(SplitField("0;c:\\caf\xC3\xA9\\;x;", 1, U';'), "c:\\caf\xC3\xA9\\");
}

TEST(CountSeparatorsTest, CountsSeparatorsIgnoringCase) {
  EXPECT_EQ(CountSeparators("12;c:\\foo;PUP.foo;", U';'), 3);
  EXPECT_EQ(CountSeparators("c:\\a\\b", U'\\'), 2);
  EXPECT_EQ(CountSeparators("", U';'), 0);
  EXPECT_EQ(CountSeparators("aAbA", U'A'), 3);
  EXPECT_EQ(CountSeparators("\xC3\x89\xC3\xA9\xC3\xA8", U'\xE9'), 2);
}

}  // namespace
}  // namespace veltrane
