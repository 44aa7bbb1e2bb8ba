// Entry point of the framework's Windows tests: the application object lives for the whole run,
// and every wait of the tests' helpers handles messages through it.
#include <gtest/gtest.h>

#include "tests/win/WinTestSupport.h"
#include "ui/Forms.h"

int main(int argc, char** argv) {
  qlt::TApplication application;
  application.SetTitle(u"QLT framework tests");
  qlt::test::SetMessagePump([&application] { application.ProcessMessages(); });
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  qlt::test::SetMessagePump(nullptr);
  return result;
}
