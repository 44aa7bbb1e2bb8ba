// Entry point of the framework's Windows tests: the application object lives for the whole run.
#include <gtest/gtest.h>

#include "ui/Forms.h"

int main(int argc, char** argv) {
  qlt::TApplication application;
  application.SetTitle(u"QLT framework tests");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
