#include "framework/TextConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(IntegerText, DecimalsWithBlanksAroundAndAnOptionalSignAreRead) {
  EXPECT_EQ(ParseInteger(" 42 "), 42);
  EXPECT_EQ(ParseInteger("\t-5\t"), -5);
  EXPECT_EQ(ParseInteger("0"), 0);
  EXPECT_EQ(ParseInteger("00"), 0);
  EXPECT_EQ(ParseInteger("007"), 7);
  EXPECT_EQ(ParseInteger("+5"), 5);
}

TEST(IntegerText, EmptyTextTrailingJunkAndSignedZeroAreRefused) {
  for (const char* text : {"", "   ", "4x", "x4", "4 2", "- 5", "-0", "+0", "-", "4.0", "1e3"}) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(IntegerText, ValuesBeyondThirtyTwoBitsSaturate) {
  EXPECT_EQ(ParseInteger("2147483647"), kMax);
  EXPECT_EQ(ParseInteger("2147483648"), kMax);
  EXPECT_EQ(ParseInteger("-2147483649"), kMin);
  EXPECT_EQ(ParseInteger("99999999999999999999999999"), kMax);
  EXPECT_EQ(ParseInteger("-99999999999999999999999999"), kMin);
}

TEST(IntegerText, OnlyTheFirstThirtyOneCharactersCount) {
  const std::string fiveThenBlanks = "5" + std::string(30, ' ');
  EXPECT_EQ(ParseInteger(fiveThenBlanks + "x"), 5) << "the 32nd character is ignored";
  EXPECT_EQ(ParseInteger(fiveThenBlanks.substr(0, 30) + "x"), std::nullopt) << "the 31st character counts";
  EXPECT_EQ(ParseInteger(std::string(31, ' ') + "7"), std::nullopt) << "nothing but blanks is read";
}

TEST(IntegerText, FormatsAsSignedDecimal) {
  EXPECT_EQ(FormatInteger(-5), "-5");
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(kMin), "-2147483648");
}

TEST(RealText, PlainDecimalNumbersAreAccepted) {
  EXPECT_EQ(ParseReal("0"), 0.0f);
  EXPECT_EQ(ParseReal("0.0"), 0.0f);
  EXPECT_EQ(ParseReal(".5"), 0.5f);
  EXPECT_EQ(ParseReal("2."), 2.0f);
  EXPECT_EQ(ParseReal(" 3 "), 3.0f);
  EXPECT_EQ(ParseReal("\t2.5\t"), 2.5f);
  EXPECT_EQ(ParseReal("-2.5"), -2.5f);
  EXPECT_EQ(ParseReal("+2.5"), 2.5f);
  EXPECT_EQ(ParseReal("1e3"), 1000.0f);
  EXPECT_EQ(ParseReal("25E-1"), 2.5f);
  EXPECT_EQ(ParseReal("2.50"), 2.5f);
  EXPECT_EQ(ParseReal("0." + std::string(400, '0') + "1"), 0.0f) << "a leading '0' lets the result be 0";
}

TEST(RealText, EmptyTextZeroWithoutALeadingDigitCommasAndLettersAreRefused) {
  for (const char* text : {"", "  ", ".0", "-0", "-0.0", "+0", "2,5", "abc", "2.5x", "2 5", "1e-400", ".", "1e",
                           "1e+", "2.5.1", "--2", "\n2", "2\n"}) {
    EXPECT_EQ(ParseReal(text), std::nullopt) << '"' << text << '"';
  }
}

// What each platform's C library reads beyond plain decimals is no number.
TEST(RealText, HexadecimalInfinityAndNanAreRefused) {
  for (const char* text : {"0x2", "0X1p3", "0x", "inf", "-INF", "infinity", "nan", "NaN(1)"}) {
    EXPECT_EQ(ParseReal(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(RealText, ValuesBeyondTheFloatRangeBecomeInfinite) {
  EXPECT_EQ(ParseReal("1e300"), kInfinity);
  EXPECT_EQ(ParseReal("-1e300"), -kInfinity);
  EXPECT_EQ(ParseReal("1e400"), kInfinity) << "beyond a double too";
  EXPECT_EQ(ParseReal("-1" + std::string(400, '0')), -kInfinity);
  EXPECT_EQ(ParseReal("3.4e38"), 3.4e38f) << "the largest floats stay finite";
}

TEST(RealText, FormatsWithSixSignificantDigitsInTheShorterForm) {
  EXPECT_EQ(FormatReal(2.5f), "2.5");
  EXPECT_EQ(FormatReal(0.0f), "0");
  EXPECT_EQ(FormatReal(0.1f), "0.1");
  EXPECT_EQ(FormatReal(123456.0f), "123456");
  EXPECT_EQ(FormatReal(1234567.0f), "1.23457e+06");
  EXPECT_EQ(FormatReal(0.0001f), "0.0001");
  EXPECT_EQ(FormatReal(0.00001f), "1e-05");
  EXPECT_EQ(FormatReal(-4.75f), "-4.75");
}

// A load must never write a text that the next save refuses, or a window that
// saves on a timer would refuse without end.
TEST(RealText, EveryFormattedValueIsAcceptedBack) {
  for (float value : {0.0f, -0.0f, 1e-30f, -1e-30f, 1e-45f, 5.0f, -3.4e38f, kInfinity, -kInfinity}) {
    EXPECT_TRUE(ParseReal(FormatReal(value)).has_value()) << FormatReal(value);
  }
  EXPECT_EQ(ParseReal(FormatReal(-kInfinity)), -kInfinity);
}

TEST(TooLongText, TheMessageCarriesTheLimit) {
  EXPECT_EQ(TooLongMessage(25), "Please enter no more than 25 characters.");
}

}  // namespace
