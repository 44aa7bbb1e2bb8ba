// The platform QLT relies on, as the test session provides it: UTF-16 at the Win32 edge agrees with
// the portable conversion, Wine's virtual desktop with its taskbar is there, and Chinese text has a
// font (the captions of every window would otherwise be boxes in the screenshots). And the owners
// of kernel handles and registry keys close what they hold, once.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/WinTestSupport.h"
#include "ui/Handles.h"
#include "ui/Utf.h"

namespace {

bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(Platform, KernelHandleOwnerClosesOnceAndTakesBothFailureValuesAsNone) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(IsOpen(raw));
  {
    qlt::UniqueKernelHandle owner(raw);
    EXPECT_TRUE(owner);
    qlt::UniqueKernelHandle moved(std::move(owner));
    EXPECT_FALSE(owner);
    EXPECT_EQ(moved.Get(), raw);
    owner = std::move(moved);  // back again: still open, still one owner
    EXPECT_TRUE(IsOpen(raw));
  }
  EXPECT_FALSE(IsOpen(raw)) << "closed when its owner went";

  // CreateFile's failure value is no handle: nothing is closed for it.
  qlt::UniqueKernelHandle missing(CreateFileW(L"C:\\no-such-folder\\no-such-file", GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Get(), nullptr);
  missing.Reset(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(missing);

  HANDLE released = nullptr;
  {
    qlt::UniqueKernelHandle owner(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    released = owner.Release();
  }
  EXPECT_TRUE(IsOpen(released)) << "a released handle is the caller's";
  CloseHandle(released);

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key), ERROR_SUCCESS);
  {
    const qlt::UniqueRegKey owner(key);
    EXPECT_EQ(RegQueryInfoKeyW(owner.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
  }
  EXPECT_NE(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_SUCCESS)
      << "the key was closed";
}

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
