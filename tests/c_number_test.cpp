// Locale-free number parsing.
#include "core/c_number.h"

#include <gtest/gtest.h>

#include <clocale>

namespace tolvane {
namespace {

TEST(CNumber, ParsesAsTheCLocaleDoes) {
  EXPECT_DOUBLE_EQ(c_atof("3540.1234"), 3540.1234);
  EXPECT_DOUBLE_EQ(c_atof("  -12.5e1xyz"), -125.0);
  EXPECT_EQ(c_atof("abc"), 0.0);
  EXPECT_EQ(c_atof(""), 0.0);
  EXPECT_EQ(c_atoi("123456.000"), 123456);
  EXPECT_EQ(c_atoi(" +42,"), 42);
  EXPECT_EQ(c_atoi("-7"), -7);
  EXPECT_EQ(c_atoi("x1"), 0);
}

TEST(CNumber, IgnoresADecimalCommaLocale) {
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
  EXPECT_DOUBLE_EQ(c_atof("5.75"), 5.75);
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace tolvane
