#include "numeric/spline.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "gtest/gtest.h"
#include "numeric/fatal_error.h"

namespace tarnix {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

// Strictly increasing abscissae with random spacings in [0.2, 1.8] (fixed seed).
std::vector<double> UnevenAbscissae(std::size_t n, unsigned seed) {
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> spacing(0.2, 1.8);
  std::vector<double> x(n);
  x[0] = -3.0;
  for (std::size_t i = 1; i < n; ++i) x[i] = x[i - 1] + spacing(engine);
  return x;
}

double SplineAt(const std::vector<double>& xa, const std::vector<double>& ya, double x) {
  std::vector<double> y2(xa.size());
  spline(xa.data(), ya.data(), static_cast<std::uint32_t>(xa.size()), kNaturalSplineEnd, kNaturalSplineEnd,
         y2.data());
  double y;
  splint(xa.data(), ya.data(), y2.data(), static_cast<std::uint32_t>(xa.size()), x, &y);
  return y;
}

TEST(SplineTest, StraightLineIsReproducedEverywhere) {
  // A line has zero second derivatives, so the natural spline is that line, also beyond both ends.
  for (std::size_t n : {2u, 3u, 17u}) {
    SCOPED_TRACE(n);
    const std::vector<double> xa = UnevenAbscissae(n, 7);
    std::vector<double> ya;
    for (double x : xa) ya.push_back(2.5 - 0.75 * x);
    std::vector<double> grid(40);
    const double x0 = xa.front() - 2.0;
    const double dx = (xa.back() - xa.front() + 4.0) / 39;
    SplineNonEq2Eq(xa.data(), ya.data(), static_cast<std::uint32_t>(n), x0, dx, grid.data(), 40);
    for (std::size_t i = 0; i < grid.size(); ++i) {
      const double x = static_cast<double>(i) * dx + x0;
      // A few roundings of values of order 10.
      EXPECT_NEAR(grid[i], 2.5 - 0.75 * x, 64 * kEps);
    }
  }
}

TEST(SplineTest, KnotsReturnTheirValuesExactly) {
  const std::vector<double> xa = UnevenAbscissae(12, 3);
  std::vector<double> ya;
  for (double x : xa) ya.push_back(std::exp(0.3 * x) * std::cos(x));
  for (std::size_t i = 0; i < xa.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(SplineAt(xa, ya, xa[i]), ya[i]);
  }
}

TEST(SplineTest, NaturalEndsHaveZeroCurvature) {
  const std::vector<double> xa = UnevenAbscissae(9, 5);
  std::vector<double> ya;
  for (double x : xa) ya.push_back(x * x * x);
  std::vector<double> y2(9);
  spline(xa.data(), ya.data(), 9, 1e30, 1e30, y2.data());
  EXPECT_EQ(y2.front(), 0.0);
  EXPECT_EQ(y2.back(), 0.0);
  // The threshold is strict: exactly 9.9e29 is a (huge) end derivative, not the natural condition.
  spline(xa.data(), ya.data(), 9, 9.9e29, std::nextafter(9.9e29, 1e31), y2.data());
  EXPECT_NE(y2.front(), 0.0);
  EXPECT_EQ(y2.back(), 0.0);
}

TEST(SplineTest, ClampedEndsReproduceACubic) {
  // With the true end derivatives, the clamped spline of a cubic is that cubic: checks both clamped
  // branches of the end conditions.
  const auto cubic = [](double x) { return 0.5 * x * x * x - x * x + 2 * x - 1; };
  const auto slope = [](double x) { return 1.5 * x * x - 2 * x + 2; };
  const std::vector<double> xa = UnevenAbscissae(10, 11);
  std::vector<double> ya;
  for (double x : xa) ya.push_back(cubic(x));
  std::vector<double> y2(xa.size());
  spline(xa.data(), ya.data(), 10, slope(xa.front()), slope(xa.back()), y2.data());
  for (double x = xa.front() - 1; x < xa.back() + 1; x += 0.37) {
    SCOPED_TRACE(x);
    double y;
    splint(xa.data(), ya.data(), y2.data(), 10, x, &y);
    EXPECT_NEAR(y, cubic(x), 1e-10 * (1 + std::fabs(cubic(x))));
  }
}

TEST(SplineTest, BeyondTheEndsTheEndCubicContinues) {
  // The cubic through four points inside the last (first) interval must give the value outside it.
  const std::vector<double> xa = UnevenAbscissae(8, 13);
  std::vector<double> ya;
  for (double x : xa) ya.push_back(std::sin(x) + 0.1 * x * x);
  for (bool last : {false, true}) {
    SCOPED_TRACE(last ? "after the last knot" : "before the first knot");
    const double lo = last ? xa[6] : xa[0];
    const double hi = last ? xa[7] : xa[1];
    double px[4], py[4];
    for (int k = 0; k < 4; ++k) {
      px[k] = lo + (hi - lo) * (0.1 + 0.25 * k);
      py[k] = SplineAt(xa, ya, px[k]);
    }
    for (double outside : {0.3, 1.0, 2.5}) {
      const double x = last ? hi + outside : lo - outside;
      double lagrange = 0;
      for (int a = 0; a < 4; ++a) {
        double term = py[a];
        for (int b = 0; b < 4; ++b) {
          if (b != a) term *= (x - px[b]) / (px[a] - px[b]);
        }
        lagrange += term;
      }
      EXPECT_NEAR(SplineAt(xa, ya, x), lagrange, 1e-9);
    }
  }
}

TEST(SplineTest, SmoothFunctionSampledDensely) {
  // sin has zero curvature at 0 and pi, so the natural ends are right and the error is O(h^4).
  const std::size_t n = 200;
  std::vector<double> xa(n), ya(n);
  for (std::size_t i = 0; i < n; ++i) {
    xa[i] = M_PI * (static_cast<double>(i) + 0.3 * std::sin(static_cast<double>(i))) / (n - 1);
    ya[i] = std::sin(xa[i]);
  }
  xa.front() = 0;
  xa.back() = M_PI;
  ya.front() = 0;
  ya.back() = std::sin(M_PI);
  std::vector<double> grid(1000);
  SplineNonEq2Eq(xa.data(), ya.data(), n, 0.0, M_PI / 999, grid.data(), 1000);
  for (std::size_t i = 0; i < grid.size(); ++i) EXPECT_NEAR(grid[i], std::sin(i * M_PI / 999), 2e-8) << i;

  // And back: from 1000 grid values to uneven targets.
  std::vector<double> targets = {0.0, 0.01, 0.5, 1.234, 2.0, 3.1};
  std::vector<double> values(targets.size());
  SplineEq2NonEq(0.0, M_PI / 999, grid.data(), 1000, targets.data(), values.data(), targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) EXPECT_NEAR(values[i], std::sin(targets[i]), 2e-8) << i;
}

// The resampling routines walk from interval to interval instead of bisecting each point afresh; they
// must find exactly the interval the bisection finds, so every value is bit-for-bit splint's.
TEST(SplineTest, ResamplingEqualsPointwiseBisectionBitForBit) {
  const std::vector<double> xa = UnevenAbscissae(50, 17);
  std::vector<double> ya;
  for (double x : xa) ya.push_back(std::cos(1.7 * x) * x);
  std::vector<double> y2(xa.size());
  spline(xa.data(), ya.data(), 50, kNaturalSplineEnd, kNaturalSplineEnd, y2.data());

  // Equidistant targets starting before and ending after the knots, onto knots exactly.
  const double x0 = xa.front() - 3.3;
  const double dx = 0.0173;
  std::vector<double> grid(4000);
  SplineNonEq2Eq(xa.data(), ya.data(), 50, x0, dx, grid.data(), 4000);
  for (std::uint32_t i = 0; i < 4000; ++i) {
    double expected;
    splint(xa.data(), ya.data(), y2.data(), 50, static_cast<double>(i) * dx + x0, &expected);
    ASSERT_EQ(std::memcmp(&grid[i], &expected, sizeof expected), 0) << i;
  }

  // Arbitrary targets: repeated, descending, out of range on both sides, on the grid knots, NaN.
  const double g0 = -2.0, gdx = 0.125;
  const std::uint32_t gn = 60;
  std::vector<double> gx(gn), gy(gn), gy2(gn);
  for (std::uint32_t j = 0; j < gn; ++j) {
    gx[j] = static_cast<double>(j) * gdx + g0;
    gy[j] = std::sin(gx[j]) + 0.01 * j * j;
  }
  spline(gx.data(), gy.data(), gn, kNaturalSplineEnd, kNaturalSplineEnd, gy2.data());
  const std::vector<double> targets = {-5.0,  -2.0, -2.0, -1.9, -1.875, 0.3, 0.3,   0.2,          4.0, 5.375,
                                       5.375, 9.0,  9.0,  -3.0, 1.0,    1.0, 1.125, std::nan(""), 2.0, 100.0};
  std::vector<double> values(targets.size());
  SplineEq2NonEq(g0, gdx, gy.data(), gn, targets.data(), values.data(), targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    double expected;
    splint(gx.data(), gy.data(), gy2.data(), gn, targets[i], &expected);
    EXPECT_EQ(std::memcmp(&values[i], &expected, sizeof expected), 0) << "target " << i;
  }
}

TEST(SplineTest, NoTargetsWritesNothing) {
  const double xa[] = {0, 1, 2};
  const double ya[] = {1, 3, 2};
  double out = -7.0;
  SplineNonEq2Eq(xa, ya, 3, 0.0, 0.5, &out, 0);
  SplineEq2NonEq(0.0, 1.0, ya, 3, xa, &out, 0);
  EXPECT_EQ(out, -7.0);
}

TEST(SplineTest, FailuresEndTheRun) {
  struct Case {
    const char* name;
    std::vector<double> xa;
    double x;
    const char* message;
  };
  const Case cases[] = {
      {"repeated first abscissa, point before it", {1, 1, 2, 3}, 0.5, "Bad xa input to routine splint"},
      {"repeated last abscissa, point beyond it", {1, 2, 3, 3}, 3.5, "Bad xa input to routine splint"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<double> ya = {1, 2, 3, 4};
    std::vector<double> y2(4);
    spline(c.xa.data(), ya.data(), 4, kNaturalSplineEnd, kNaturalSplineEnd, y2.data());
    double y;
    try {
      splint(c.xa.data(), ya.data(), y2.data(), 4, c.x, &y);
      ADD_FAILURE() << "no fatal error";
    } catch (const FatalErrorException& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  // A single source point cannot make a spline; nothing may be read beyond it.
  const double one = 1.0;
  double out;
  EXPECT_THROW(SplineNonEq2Eq(&one, &one, 1, 0.0, 1.0, &out, 1), FatalErrorException);
  EXPECT_THROW(SplineEq2NonEq(0.0, 1.0, &one, 1, &one, &out, 1), FatalErrorException);
  EXPECT_THROW(SplineNonEq2Eq(&one, &one, 0, 0.0, 1.0, &out, 1), FatalErrorException);
}

}  // namespace
}  // namespace tarnix
