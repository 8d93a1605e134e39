#include <gtest/gtest.h>

#include <clocale>

// The app runs under Qt, which adopts the user's locale at start; the tests do the
// same so that any code leaning on the process locale shows up under de_DE.UTF-8.
int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
