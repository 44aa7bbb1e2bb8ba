// The skin data layer on Windows: skin images become GDI bitmaps with the right pixels and no
// leaked handles, and the skin kit handles folder names in any language.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "skin/data/BmpCodec.h"
#include "skin/data/ImageDib.h"
#include "skin/kit/SkinKit.h"
#include "tests/native/SkinTestData.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Handles.h"

namespace qlt {
namespace {

using namespace std::chrono_literals;

TEST(ImageDib, PaintsThePixelsOfTheImageAtEveryRowPadding) {
  for (int width = 1; width <= 5; ++width) {
    const Bitmap24 image = testdata::MakePicture(width, 3, 7);
    DibSection dib = CreateDib(image);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.Width(), width);
    EXPECT_EQ(dib.Height(), 3);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib.Handle());
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < width; ++x) {
        const Bgr p = image.At(x, y);
        EXPECT_EQ(GetPixel(dc, x, y), RGB(p.r, p.g, p.b)) << width << ": " << x << "," << y;
      }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(ReadBitmap(dib.Handle()), image);
  }
}

TEST(ImageDib, ReadsBackABitmapThatGdiDrewOn) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 6, 4);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH face = CreateSolidBrush(RGB(145, 146, 159));
  RECT all{0, 0, 6, 4};
  FillRect(dc, &all, face);
  SetPixel(dc, 5, 3, RGB(255, 0, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(face);
  const Bitmap24 image = ReadBitmap(bitmap);
  DeleteObject(bitmap);
  ASSERT_EQ(image.Width(), 6);
  ASSERT_EQ(image.Height(), 4);
  EXPECT_EQ(image.At(0, 0), RgbPixel(145, 146, 159));
  EXPECT_EQ(image.At(5, 3), kSkinTransparent);
  EXPECT_TRUE(ReadBitmap(nullptr).Empty());
}

TEST(ImageDib, OwnsItsBitmapAndDeletesItOnce) {
  EXPECT_FALSE(CreateDib(Bitmap24()));
  DibSection first = CreateDib(testdata::MakePicture(4, 4, 7));
  const HBITMAP handle = first.Handle();
  ASSERT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
  DibSection second = std::move(first);
  EXPECT_FALSE(first);
  EXPECT_EQ(second.Handle(), handle);
  second = CreateDib(testdata::MakePicture(2, 2, 7));  // the first bitmap is deleted here
  EXPECT_EQ(GetObjectType(handle), 0u);
  const HBITMAP released = second.Release();
  EXPECT_FALSE(second);
  EXPECT_EQ(GetObjectType(released), static_cast<DWORD>(OBJ_BITMAP));
  DeleteObject(released);

  HBITMAP scoped = nullptr;
  {
    DibSection dib = CreateDib(testdata::MakePicture(32, 32, 7));
    scoped = dib.Handle();
    ASSERT_EQ(GetObjectType(scoped), static_cast<DWORD>(OBJ_BITMAP));
  }
  EXPECT_EQ(GetObjectType(scoped), 0u);  // deleted with its owner
}

TEST(SkinKitOnWindows, PacksAndUnpacksFoldersWithChineseNames) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / fs::path(u8"QLT皮肤测试");
  fs::remove_all(root);
  fs::create_directories(root / u8"我的皮肤");
  std::string error;
  ASSERT_TRUE(
      skinkit::WriteFileBytes(root / u8"我的皮肤" / "top.bmp", EncodeBmp(testdata::MakePicture(7, 5, 7)), error));
  const std::string ini = "[Personality]\r\nTop=top.bmp\r\n";
  ASSERT_TRUE(skinkit::WriteFileBytes(root / u8"我的皮肤" / "skin.ini", Bytes(ini.begin(), ini.end()), error));

  std::ostringstream out, err;
  const std::string folder = skinkit::PathToUtf8(root / u8"我的皮肤");
  const std::string skin = skinkit::PathToUtf8(root / u8"皮肤.skn");
  ASSERT_EQ(skinkit::RunSkinKit({"pack", folder, skin}, out, err), 0) << err.str();
  ASSERT_EQ(skinkit::RunSkinKit({"unpack", skin, skinkit::PathToUtf8(root / u8"解开")}, out, err), 0) << err.str();
  Bytes top;
  ASSERT_TRUE(skinkit::ReadFileBytes(root / u8"解开" / "top.bmp", top, error)) << error;
  EXPECT_EQ(DecodeBmp(top), testdata::MakePicture(7, 5, 7));
  fs::remove_all(root);
}

// Runs a command line to its end and returns its exit code (or -1 when it hangs).
int RunToEnd(const std::wstring& commandLine) {
  test::RunningProgram program(commandLine);
  return program.WaitForExit(60s) ? static_cast<int>(program.ExitCode().value_or(-1)) : -1;
}

TEST(SkinKitOnWindows, TheCommandTakesChineseFolderNamesFromItsCommandLine) {
  test::ScratchDir dir(L"skinkit-exe");
  const std::string ini = "[Personality]\r\nTop=top.bmp\r\n";
  CreateDirectoryW(dir.File(L"皮肤").c_str(), nullptr);
  const Bytes top = EncodeBmp(testdata::MakePicture(9, 4, 7));
  dir.Write(L"皮肤\\top.bmp", std::string(top.begin(), top.end()));
  dir.Write(L"皮肤\\skin.ini", ini);
  // The build puts skinkit.exe in skin\kit, two folders above this test's tests\win.
  const std::wstring kit = L"\"" + test::TestProgramDirectory() + L"..\\..\\skin\\kit\\skinkit.exe\"";
  EXPECT_EQ(RunToEnd(kit + L" pack \"" + dir.File(L"皮肤") + L"\" \"" + dir.File(L"新.skn") + L"\""), 0);
  ASSERT_TRUE(dir.Exists(L"新.skn"));
  EXPECT_EQ(RunToEnd(kit + L" unpack \"" + dir.File(L"新.skn") + L"\" \"" + dir.File(L"出") + L"\""), 0);
  const std::string unpacked = dir.Read(L"出\\top.bmp");
  EXPECT_EQ(DecodeBmp(Bytes(unpacked.begin(), unpacked.end())), testdata::MakePicture(9, 4, 7));
  EXPECT_EQ(RunToEnd(kit + L" list \"" + dir.File(L"没有.skn") + L"\""), 1);
  EXPECT_EQ(RunToEnd(kit), 2);
}

}  // namespace
}  // namespace qlt
