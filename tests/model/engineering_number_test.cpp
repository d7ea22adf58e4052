#include "model/engineering_number.h"

#include <gtest/gtest.h>

namespace {

using wolterix::model::isValidNumber;
using wolterix::model::NumberRule;
using wolterix::model::Parameter;
using wolterix::model::parseNumber;

struct NumberCase {
  const char* text;
  bool zeroAllowed;
  bool negativeAllowed;
  bool valid;
  double value;  // checked only for valid texts
};

void PrintTo(const NumberCase& c, std::ostream* os) {
  *os << '"' << c.text << "\" zero=" << c.zeroAllowed << " negative=" << c.negativeAllowed;
}

class NumberValidity : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberValidity, AcceptsAndParses) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(isValidNumber(c.text, c.zeroAllowed, c.negativeAllowed), c.valid) << c.text;
  if (c.valid) {
    const auto value = parseNumber(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberValidity,
    ::testing::Values(
        // scale letters, milli versus mega
        NumberCase{"10k", false, false, true, 1e4}, NumberCase{"4,7u", false, false, true, 4.7e-6},
        NumberCase{"2M", false, false, true, 2e6}, NumberCase{"3m", false, false, true, 3e-3},
        NumberCase{"1p", false, false, true, 1e-12}, NumberCase{"1n", false, false, true, 1e-9},
        NumberCase{"1G", false, false, true, 1e9}, NumberCase{"1T", false, false, true, 1e12},
        NumberCase{"1,5k", false, false, true, 1500}, NumberCase{"100", false, false, true, 100},
        NumberCase{",5", false, false, true, 0.5}, NumberCase{"5,", false, false, true, 5},
        NumberCase{"-2,5", false, true, true, -2.5}, NumberCase{"-,5k", false, true, true, -500},
        // forms that are never numbers
        NumberCase{"", true, true, false, 0}, NumberCase{"1.5k", true, true, false, 0},
        NumberCase{"k", true, true, false, 0}, NumberCase{"1,2,3", true, true, false, 0},
        NumberCase{"1,2,", true, true, false, 0}, NumberCase{"5-", true, true, false, 0},
        NumberCase{"3x", true, true, false, 0}, NumberCase{"3K", true, true, false, 0},
        NumberCase{"1e3", true, true, false, 0}, NumberCase{"+5", true, true, false, 0},
        NumberCase{" 5", true, true, false, 0}, NumberCase{"5 ", true, true, false, 0},
        NumberCase{"1-2", true, true, false, 0}, NumberCase{"--1", true, true, false, 0},
        NumberCase{"?", true, true, false, 0},
        // texts without a digit are not numbers either
        NumberCase{",", true, true, false, 0}, NumberCase{",k", true, true, false, 0},
        NumberCase{"-k", true, true, false, 0}, NumberCase{"-", true, true, false, 0},
        NumberCase{"-,", true, true, false, 0},
        // the two switches
        NumberCase{"-5", false, false, false, 0}, NumberCase{"-5", true, false, false, 0},
        NumberCase{"-5", false, true, true, -5}, NumberCase{"0", false, false, false, 0},
        NumberCase{"0", true, false, true, 0}, NumberCase{"0,0", false, true, false, 0},
        NumberCase{"0m", false, false, false, 0}, NumberCase{"0m", true, false, true, 0},
        NumberCase{"-0", true, true, true, 0},
        // length: 19 characters are converted, 20 are refused
        NumberCase{"1234567890123456789", false, false, true, 1234567890123456789.0},
        NumberCase{"12345678901234567890", true, true, false, 0}));

TEST(Parameter, KeepsTextAndValueTogether) {
  Parameter p("?");
  EXPECT_EQ(p.text(), "?");
  EXPECT_FALSE(p.hasValue());

  EXPECT_TRUE(p.set("10k", NumberRule{false, false}));
  EXPECT_EQ(p.text(), "10k");
  EXPECT_DOUBLE_EQ(p.value(), 1e4);

  // An invalid text changes neither the text nor the value.
  EXPECT_FALSE(p.set("0", NumberRule{false, false}));
  EXPECT_FALSE(p.set("1.5", NumberRule{true, true}));
  EXPECT_EQ(p.text(), "10k");
  EXPECT_DOUBLE_EQ(p.value(), 1e4);

  Parameter preset("100");
  EXPECT_TRUE(preset.hasValue());
  EXPECT_DOUBLE_EQ(preset.value(), 100);
}

}  // namespace
