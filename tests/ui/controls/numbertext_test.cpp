// The text forms of the number field: what reads as a number and how values
// are written with fixed decimals.
#include "controls/numbertext.h"

#include <gtest/gtest.h>

namespace tsy {
namespace {

TEST(NumberText, Formats) {
  struct Case {
    long double Value;
    int Digits;
    const char* Text;
  } cases[] = {
      {1.5L, 2, "1.50"},
      {0, 2, "0.00"},
      {-0.001L, 2, "0.00"},  // no "-0.00"
      {2.5L, 0, "3"},         // halves away from zero, not to even
      {-2.5L, 0, "-3"},
      {0.125L, 2, "0.13"},
      {9.999L, 2, "10.00"},
      {1.9999L, 2, "2.00"},
      {-32768, 0, "-32768"},
      {4294967295.0L, 0, "4294967295"},
      {0.1L, 4, "0.1000"},
      {123.456L, 1, "123.5"},
      {5, 25, "5.000000000000000000"},  // decimals are held to 18
      {5, -3, "5"},
      // 18 significant digits at most: the rest is rounded off and padded.
      {123456789.123456789L, 18, "123456789.123456789000000000"},
      {9223372036854775807.0L, 0, "9.22337203685477581E18"},
      {-9223372036854775808.0L, 0, "-9.22337203685477581E18"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumberText(c.Value, c.Digits), c.Text) << static_cast<double>(c.Value) << " with " << c.Digits;
  }
}

TEST(NumberText, Reads) {
  struct Case {
    const char* Text;
    std::optional<long double> Value;
  } cases[] = {
      {"1.5", 1.5L},     {" -2 ", -2.0L},  {"+3", 3.0L},      {".5", 0.5L},       {"5.", 5.0L},
      {"1e3", 1000.0L},  {"-1.5E-1", -0.15L}, {"007", 7.0L},
      {"", {}},          {"-", {}},        {"+", {}},         {".", {}},          {"-.", {}},
      {"abc", {}},       {"1.2.3", {}},    {"--1", {}},       {"1-", {}},         {"1e", {}},
      {"1e+", {}},       {"12 3", {}},     {"1,5", {}},       {"1e99999", {}},    {"0x10", {}},
      {"inf", {}},       {"nan", {}},
  };
  for (const auto& c : cases) {
    const auto value = ParseNumberText(c.Text);
    ASSERT_EQ(value.has_value(), c.Value.has_value()) << '"' << c.Text << '"';
    if (value) {
      EXPECT_NEAR(static_cast<double>(*value), static_cast<double>(*c.Value), 1e-15) << c.Text;
    }
  }
}

TEST(NumberText, WrittenTextReadsBack) {
  for (long double v : {0.0L, 1.25L, -7.5L, 65535.0L, -9223372036854775808.0L, 1e20L})
    for (int digits : {0, 2, 4}) {
      const auto back = ParseNumberText(FormatNumberText(v, digits));
      ASSERT_TRUE(back) << FormatNumberText(v, digits);
    }
}

}  // namespace
}  // namespace tsy
