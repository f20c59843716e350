#include "numeric/complex.h"

#include <cmath>
#include <limits>

#include "gtest/gtest.h"

namespace tarnix {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

TEST(ComplexTest, ValueRoutines) {
  const Complex a = c_make(1, 2);
  const Complex b = c_make(3, 4);
  const Complex sum = c_add(a, b);
  const Complex difference = c_sub(a, b);
  const Complex product = c_mul(a, b);
  const Complex scaled = c_scale(-2, a);
  EXPECT_EQ(sum.re, 4);
  EXPECT_EQ(sum.im, 6);
  EXPECT_EQ(difference.re, -2);
  EXPECT_EQ(difference.im, -2);
  EXPECT_EQ(product.re, -5);  // (1 + 2i)(3 + 4i) = 3 - 8 + (6 + 4)i
  EXPECT_EQ(product.im, 10);
  EXPECT_EQ(scaled.re, -2);
  EXPECT_EQ(scaled.im, -4);
}

// Quotients worked by hand, (a conj b) / |b|^2; each divisor steers c_div into one of its branches.
TEST(ComplexTest, DivisionOnBothBranches) {
  struct Case {
    const char* name;
    Complex a, b, expected;
  };
  const Case cases[] = {
      {"real part larger", {1, 2}, {4, 3}, {0.4, 0.2}},
      {"imaginary part larger", {1, 2}, {3, 4}, {0.44, 0.08}},
      {"equal magnitudes take the first branch", {1, 2}, {1, 1}, {1.5, 0.5}},
      {"purely imaginary divisor", {3, 4}, {0, 2}, {2, -1.5}},
      {"negative parts", {-2, 5}, {-1, -3}, {-1.3, -1.1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Complex q = c_div(c.a, c.b);
    // A handful of roundings per part.
    EXPECT_NEAR(q.re, c.expected.re, 4 * kEps * std::fabs(c.expected.re) + 1e-300);
    EXPECT_NEAR(q.im, c.expected.im, 4 * kEps * std::fabs(c.expected.im) + 1e-300);
    double re, im;
    c_div_into(&re, &im, c.a.re, c.a.im, c.b.re, c.b.im);
    EXPECT_NEAR(re, c.expected.re, 4 * kEps * std::fabs(c.expected.re) + 1e-300);
    EXPECT_NEAR(im, c.expected.im, 4 * kEps * std::fabs(c.expected.im) + 1e-300);
  }
}

TEST(ComplexTest, PurelyImaginaryDivisorIsExact) {
  const Complex q = c_div(c_make(3, 4), c_make(0, 2));
  EXPECT_EQ(q.re, 2.0);
  EXPECT_EQ(q.im, -1.5);
}

TEST(ComplexTest, SplitRoutinesMayWriteOverTheirFirstOperand) {
  double pair[2] = {1.5, -2.25};
  double re, im;
  c_mul_into(&re, &im, pair[0], pair[1], 0.5, 3.0);
  c_mul_into(&pair[0], &pair[1], pair[0], pair[1], 0.5, 3.0);
  EXPECT_EQ(pair[0], re);
  EXPECT_EQ(pair[1], im);
  EXPECT_EQ(re, 1.5 * 0.5 + 2.25 * 3.0);
  EXPECT_EQ(im, 1.5 * 3.0 - 2.25 * 0.5);

  double quotient[2] = {1.5, -2.25};
  c_div_into(&re, &im, quotient[0], quotient[1], 0.5, 3.0);
  c_div_into(&quotient[0], &quotient[1], quotient[0], quotient[1], 0.5, 3.0);
  EXPECT_EQ(quotient[0], re);
  EXPECT_EQ(quotient[1], im);
}

TEST(ComplexTest, SquaredModulusOverflowsOnlyInTheSplitDivision) {
  // |divisor|^2 = 2e400 overflows to infinity in c_div_into; c_div never forms it.
  const Complex q = c_div(c_make(1e200, 0), c_make(1e200, 1e200));
  EXPECT_NEAR(q.re, 0.5, 4 * kEps);
  EXPECT_NEAR(q.im, -0.5, 4 * kEps);
  double re, im;
  c_div_into(&re, &im, 1e200, 0, 1e200, 1e200);
  EXPECT_FALSE(std::fabs(re - 0.5) < 0.1);
  EXPECT_FALSE(std::fabs(im + 0.5) < 0.1);
}

TEST(ComplexTest, ZeroDivisorGivesNotANumber) {
  const Complex q = c_div(c_make(1, 1), c_make(0, 0));
  EXPECT_TRUE(std::isnan(q.re));
  EXPECT_TRUE(std::isnan(q.im));
  double re, im;
  c_div_into(&re, &im, 1, 1, 0, 0);
  EXPECT_TRUE(std::isnan(re));
  EXPECT_TRUE(std::isnan(im));
}

}  // namespace
}  // namespace tarnix
