// skinkit: packs, lists and unpacks QLT skin files.
#include <iostream>
#include <string>
#include <vector>

#include "skin/kit/SkinKit.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return qlt::skinkit::RunSkinKit(args, std::cout, std::cerr);
}
