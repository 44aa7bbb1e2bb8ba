// QLT's entry point: one copy per session, the application object with its hidden owner window,
// and the main window, which lives in the tray until the program is ended.
#include <windows.h>

#include "app/FrmMain.h"
#include "app/TrayIcon.h"
#include "skin/controls/SkinManager.h"
#include "tools/FrmIPDNS.h"
#include "ui/Forms.h"
#include "ui/SysUtils.h"
#include "ui/Utf.h"

namespace {

// A second start shows the running copy's main window and ends. The first copy may be starting
// itself (its window not there yet), so it is looked for a little while.
void ShowTheRunningCopy() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (qlt::ShowRunningCopy()) return;
    Sleep(100);
  }
}

void ShowStartError(const std::u16string& text) {
  MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(text.c_str()), L"QLTZarnit", MB_OK | MB_ICONSTOP);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  qlt::SingleInstance instance;
  if (!instance.First()) {
    ShowTheRunningCopy();
    return 0;
  }
  try {
    // The skin engine starts before any window exists, so it sees every window of the program.
    qlt::TSkinEngine skinEngine;
    qlt::TApplication application;
    application.SetShowMainForm(false);
    application.SetTitle(u"QLTZarnit");
    qlt::TFrm_Main* Frm_Main = nullptr;
    application.CreateForm(Frm_Main);
    application.CreateForm(qlt::Frm_IPDNS);  // hidden until "切换IP地址"
    application.Run();
  } catch (const qlt::Exception& e) {
    ShowStartError(e.Message());
    return 1;
  } catch (const std::exception& e) {
    ShowStartError(qlt::Utf8ToUtf16(e.what()));
    return 1;
  }
  return 0;
}
