// The platform QLT relies on, as the test session provides it: UTF-16 at the Win32 edge agrees with
// the portable conversion, Wine's virtual desktop with its taskbar is there, and Chinese text has a
// font (the captions of every window would otherwise be boxes in the screenshots).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/WinTestSupport.h"
#include "ui/Utf.h"

namespace {

TEST(Platform, PortableUtf16MatchesWindowsConversion) {
  for (const std::string text : {"QLTZarnit2.32－QLT科技", "一个小时了,请注意您的眼睛,休息一会！", "",
                                 "plain ascii", "\xF0\x9F\x98\x80"}) {
    const std::u16string portable = qlt::Utf8ToUtf16(text);
    EXPECT_EQ(std::wstring(portable.begin(), portable.end()), qlt::test::Utf8ToWide(text)) << text;
  }
}

TEST(Platform, VirtualDesktopHasTaskbar) {
  EXPECT_NE(FindWindowW(L"Shell_TrayWnd", nullptr), nullptr);
  RECT desktop{};
  ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
  EXPECT_EQ(desktop.right - desktop.left, 1024);
  EXPECT_EQ(desktop.bottom - desktop.top, 768);
}

TEST(Platform, ChineseFontIsReplacedByAnInstalledCjkFont) {
  HDC dc = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfCharSet = GB2312_CHARSET;
  wcscpy(lf.lfFaceName, L"宋体");
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  // A font that really has the glyph maps it to a glyph index other than the default (0xFFFF).
  WORD glyph = 0;
  EXPECT_EQ(GetGlyphIndicesW(dc, L"科", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS), 1u);
  EXPECT_NE(glyph, 0xFFFF);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
}

}  // namespace
