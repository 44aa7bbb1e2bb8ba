#include "ui/Utf.h"

#include <gtest/gtest.h>

namespace qlt {
namespace {

TEST(Utf, RoundTripsChineseCaptionsAndAstralCharacters) {
  const std::string caption = "QLTZarnit2.32－QLT科技";
  const std::u16string wide = Utf8ToUtf16(caption);
  EXPECT_EQ(wide, u"QLTZarnit2.32－QLT科技");
  EXPECT_EQ(Utf16ToUtf8(wide), caption);

  const std::string astral = "a\xF0\x9F\x98\x80z";  // U+1F600 needs a surrogate pair
  EXPECT_EQ(Utf8ToUtf16(astral), (std::u16string{u'a', 0xD83D, 0xDE00, u'z'}));
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(astral)), astral);
  EXPECT_EQ(Utf8ToUtf16(""), u"");
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\x80z"), u"a\uFFFDz");                 // stray continuation byte
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");           // overlong '/'
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // a surrogate encoded in UTF-8
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
  EXPECT_EQ(Utf8ToUtf16("ok\xE7\xA7"), u"ok\uFFFD\uFFFD");       // truncated at the end
  EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', 0xD800}), "x\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, u'y'}), "\xEF\xBF\xBDy");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, 0xD800, 0xDC00}), "\xEF\xBF\xBD\xF0\x90\x80\x80");
}

}  // namespace
}  // namespace qlt
