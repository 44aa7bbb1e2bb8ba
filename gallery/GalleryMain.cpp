// The skin gallery's entry point: the skin engine first, then the main form with its skin.
#include <windows.h>
#include <shellapi.h>

#include "gallery/FrmGallery.h"
#include "skin/controls/SkinManager.h"
#include "ui/Utf.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  qlt::TheGalleryOptions() = qlt::ReadGalleryArguments(argc, argv);
  LocalFree(argv);
  try {
    qlt::TSkinEngine skinEngine;
    qlt::TApplication application;
    application.SetTitle(u"QLT Skin Gallery");
    // The main form is shown here, before the windows the command line opens over it.
    application.SetShowMainForm(false);
    qlt::RegisterGalleryClasses();
    qlt::TFrm_Gallery* gallery = nullptr;
    application.CreateForm(gallery);
    gallery->Show();
    qlt::OpenGalleryWindows(*gallery, qlt::TheGalleryOptions().open);
    application.Run();
  } catch (const qlt::Exception& e) {
    MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(e.Message().c_str()), L"QLT Skin Gallery", MB_OK | MB_ICONSTOP);
    return 1;
  }
  return 0;
}
