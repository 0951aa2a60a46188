#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "export/Utf16.h"
#include "export/Utf8.h"

namespace vexilo {
namespace {

Utf16String Units(std::initializer_list<unsigned> units) {
  Utf16String text;
  for (const unsigned unit : units) text += static_cast<Utf16Unit>(unit);
  return text;
}

constexpr unsigned kBad = 0xFFFD;

// Every well-formed form maps exactly; each maximal ill-formed part becomes one U+FFFD and the
// exact conversion refuses the whole text.
TEST(Utf16, FromUtf8) {
  struct Case {
    const char* name;
    std::string utf8;
    Utf16String utf16;
    bool wellFormed;
  };
  const std::vector<Case> cases = {
      {"empty", "", Units({}), true},
      {"a zero byte is text", std::string("a\0b", 3), Units({'a', 0, 'b'}), true},
      {"two and three bytes", "\xC3\x9C\xE2\x82\xAC", Units({0xDC, 0x20AC}), true},
      {"the edges of each length", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF",
       Units({0x7F, 0x80, 0x7FF, 0x800, 0xFFFF}), true},
      {"a pair", "\xF0\x9F\x8E\xB2", Units({0xD83C, 0xDFB2}), true},
      {"the first and last pair", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
       Units({0xD800, 0xDC00, 0xDBFF, 0xDFFF}), true},
      {"a byte no text has",
       "a\xFF"
       "b",
       Units({'a', kBad, 'b'}), false},
      {"a stray continuation", "\xE2\x82\xAC\x80", Units({0x20AC, kBad}), false},
      {"overlong, two bytes", "\xC0\xAF", Units({kBad, kBad}), false},
      {"overlong, three bytes", "\xE0\x80\xAF", Units({kBad, kBad, kBad}), false},
      {"an encoded surrogate", "\xED\xA0\x80", Units({kBad, kBad, kBad}), false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", Units({kBad, kBad, kBad, kBad}), false},
      {"cut short at the end", "x\xF0\x9F\x8E", Units({'x', kBad}), false},
      {"cut short by a letter", "\xF0\x9F\x8Ex", Units({kBad, 'x'}), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(ToUtf16(c.utf8) == c.utf16);
    EXPECT_EQ(ToUtf16Exact(c.utf8).has_value(), c.wellFormed);
    if (c.wellFormed) {
      EXPECT_TRUE(ToUtf16Exact(c.utf8) == c.utf16);
    }
  }
}

TEST(Utf16, ToUtf8) {
  struct Case {
    const char* name;
    Utf16String utf16;
    std::string utf8;
    bool wellFormed;
  };
  const std::vector<Case> cases = {
      {"empty", Units({}), "", true},
      {"the edges of each length", Units({0x7F, 0x80, 0x7FF, 0x800, 0xFFFF}),
       "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", true},
      {"a pair", Units({'C', ':', 0xD83C, 0xDFB2}), "C:\xF0\x9F\x8E\xB2", true},
      {"the last pair", Units({0xDBFF, 0xDFFF}), "\xF4\x8F\xBF\xBF", true},
      {"a pair cut short", Units({'a', 0xD83C}), "a\xEF\xBF\xBD", false},
      {"a lone second half", Units({0xDFB2, 'b'}),
       "\xEF\xBF\xBD"
       "b",
       false},
      {"two second halves", Units({0xDC00, 0xDC00}), "\xEF\xBF\xBD\xEF\xBF\xBD", false},
      {"halves swapped", Units({0xDFB2, 0xD83C}), "\xEF\xBF\xBD\xEF\xBF\xBD", false},
      {"halves parted", Units({0xD83C, 'x', 0xDFB2}), "\xEF\xBF\xBDx\xEF\xBF\xBD", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToUtf8(c.utf16), c.utf8);
    EXPECT_EQ(ToUtf8Exact(c.utf16), c.wellFormed ? std::optional(c.utf8) : std::nullopt);
  }
}

// Every code point goes there and back unchanged.
TEST(Utf16, EveryCodePointRoundTrips) {
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    const Utf16String one = Units({unit});
    ASSERT_TRUE(ToUtf16Exact(ToUtf8(one)) == one) << unit;
  }
  for (unsigned high = 0xD800; high <= 0xDBFF; ++high) {
    for (unsigned low = 0xDC00; low <= 0xDFFF; ++low) {
      const Utf16String pair = Units({high, low});
      ASSERT_TRUE(ToUtf16Exact(ToUtf8(pair)) == pair) << high << " " << low;
    }
  }
}

// Utf8CharLength and the conversion share one lead-byte table: what the one measures as a
// character the other converts exactly, and no start of a text it rejects converts.
TEST(Utf16, CharLengthAgreesWithConversion) {
  for (unsigned bytes = 0; bytes < 0x10000; ++bytes) {
    const std::string text{static_cast<char>(bytes >> 8), static_cast<char>(bytes), '\x80', '\x80'};
    const std::size_t length = Utf8CharLength(text);
    for (std::size_t n = std::max<std::size_t>(length, 1); n <= (length ? length : 4); ++n) {
      EXPECT_EQ(ToUtf16Exact(text.substr(0, n)).has_value(), n == length) << std::hex << bytes;
    }
  }
}

}  // namespace
}  // namespace vexilo
