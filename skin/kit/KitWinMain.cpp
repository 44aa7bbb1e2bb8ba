// skinkit.exe: the Windows entry point takes the command line in UTF-16, so that folder and file
// names in any language reach the kit intact (as UTF-8).
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "skin/kit/SkinKit.h"
#include "ui/Utf.h"

int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg(argv[i]);
    args.push_back(qlt::Utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
  }
  return qlt::skinkit::RunSkinKit(args, std::cout, std::cerr);
}
