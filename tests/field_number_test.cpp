// The fast field numbers agree with c_atof and c_atoi bit for bit.
#include "core/field_number.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/c_number.h"

namespace tolvane {
namespace {

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(FieldNumber, AgreesWithCAtofAndCAtoi) {
  const char* samples[] = {"3540.1234",
                           "13945.6789",
                           "-0",
                           "-0.0",
                           "+5",
                           ".5",
                           "5.",
                           ".",
                           "",
                           "-",
                           "+",
                           "0x1A",
                           "0X1p3",
                           "1e5",
                           "1.5E-3",
                           "2e",
                           "inf",
                           "-infinity",
                           "nan",
                           "NAN(1)",
                           " 12.5",
                           "\t7",
                           "0.1",
                           "0.7",
                           "123456789012345",
                           "1234567890123456",
                           "12345678901234567890",
                           "0.0000000000000000000001",
                           "0.00000000000000000000001",
                           "00000000000000000000000012.5",
                           "9007199254740993",
                           "1.2.3",
                           "12,34",
                           "12*34",
                           "12$GPRMC",
                           "12\r\n",
                           "235959.999",
                           "070108",
                           "-070108",
                           "999999999999999999",
                           "9999999999999999999",
                           "2147483648",
                           "-2147483649",
                           "4294967297",
                           "1.7976931348623157e308",
                           "1e400",
                           "4.9e-324",
                           "0.30000000000000004",
                           "12a",
                           "12.5x",
                           "-.0e0"};
  for (const char* text : samples) {
    EXPECT_TRUE(same_bits(field_atof(text), c_atof(text))) << text;
    EXPECT_EQ(field_atoi(text), c_atoi(text)) << text;
  }
}

TEST(FieldNumber, AgreesOnRandomDecimals) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    if (random() % 4 == 0) text += "-+"[random() % 2];
    const int whole = static_cast<int>(random() % 12);
    const int fraction = static_cast<int>(random() % 25);
    for (int d = 0; d < whole; ++d) text += static_cast<char>('0' + random() % 10);
    if (random() % 3) text += '.';
    for (int d = 0; d < fraction; ++d) text += static_cast<char>('0' + random() % 10);
    text += ",*"[random() % 2];
    ASSERT_TRUE(same_bits(field_atof(text.c_str()), c_atof(text.c_str()))) << text;
    ASSERT_EQ(field_atoi(text.c_str()), c_atoi(text.c_str())) << text;
  }
}

}  // namespace
}  // namespace tolvane
