// Names of files that Windows-1252 cannot spell, kept whole through the program's texts.
#include <gtest/gtest.h>

#include <string>

#include "encoding.hpp"

namespace {

using platform::escaped_from_utf16;
using platform::escapes_shown;
using platform::utf16_from_escaped;

// Each name, its program text and what messages show of it.
TEST(EscapedNames, TextsAndDisplayOfNames) {
  struct Case {
    std::u16string name;
    std::string text, shown;
  };
  // The escapes' byte 0x81 is written "\201", in octal, which stops before the digits that follow.
  const Case cases[] = {
      {u"\u00C9tape \u20AC?.fpl", "\xC9tape \x80?.fpl", "\xC9tape \x80?.fpl"},
      {u"\u0141\u00F3d\u017A.fpl", "\2010141\363d\201017A.fpl", "?\363d?.fpl"},
      {u"\u822A\u7DDA", "\201822A\2017DDA", "??"},
      // The C1 controls, the undefined bytes' characters among them, are no Windows-1252.
      {u"a\u00810041\u0090", "a\20100810041\2010090", "a?0041?"},
      // A character beyond the first plane is two units and one "?"; a lone unit is kept too.
      {u"\U0001D11E\xDC00x\xD800", "\201D834\201DD1E\201DC00x\201D800", "??x?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(escaped_from_utf16(c.name), c.text);
    EXPECT_EQ(utf16_from_escaped(c.text), c.name);
    EXPECT_EQ(escapes_shown(c.text), c.shown);
  }
}

// Bytes that only look like the start of an escape are Windows-1252 characters.
TEST(EscapedNames, IncompleteEscapesAreOrdinaryBytes) {
  for (const std::string text : {"\201", "\20112", "\20100e9", "\20112G4", "x\201"}) {
    EXPECT_EQ(escapes_shown(text), text);
    const std::u16string name = utf16_from_escaped(text);
    EXPECT_EQ(name.size(), text.size()) << text;
    EXPECT_NE(name.find(u'\u0081'), std::u16string::npos) << text;
  }
}

}  // namespace
