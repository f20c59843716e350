#include "numeric/spline.h"

#include <vector>

#include "numeric/arrays.h"
#include "numeric/fatal_error.h"

namespace tarnix {
namespace {

constexpr double kNaturalEndThreshold = 9.9e29;

void RequireTwoPoints(std::uint32_t n, const char* routine) {
  if (n < 2) {
    FatalErrorFormat("%s was given %u point(s); a cubic spline needs at least two.", routine,
                     static_cast<unsigned>(n));
  }
}

// splint's bisection: the interval [lo, lo + 1] (counted from 0) that brackets x. A point equal to a
// knot falls into the interval that begins there; points beyond either end fall into the end interval.
std::uint32_t Bisect(const double* xa, std::uint32_t n, double x) {
  std::uint32_t lo = 0;
  std::uint32_t hi = n - 1;
  while (hi - lo > 1) {
    const std::uint32_t k = (hi + lo) >> 1;
    if (xa[k] > x) {
      hi = k;
    } else {
      lo = k;
    }
  }
  return lo;
}

// The spline's cubic on the interval [lo, lo + 1], evaluated at x.
double EvaluateInterval(const double* xa, const double* ya, const double* y2, std::uint32_t lo, double x) {
  const std::uint32_t hi = lo + 1;
  const double h = xa[hi] - xa[lo];
  if (h == 0.0) FatalError("Bad xa input to routine splint");
  const double a = (xa[hi] - x) / h;
  const double b = (x - xa[lo]) / h;
  return ((a * a * a - a) * y2[lo] + (b * b * b - b) * y2[hi]) * (h * h) / 6.0 + a * ya[lo] + b * ya[hi];
}

// Locates a sequence of points in the knots, finding for each exactly the interval that Bisect would
// find. While the points ascend it walks on from the previous interval, which makes a sweep over
// sorted points linear in their number instead of one bisection each; any other point (one below
// its predecessor, or not a number) is bisected afresh. For non-decreasing knots both searches
// return the last knot not above x, limited to [0, n - 2].
class IntervalSweep {
 public:
  IntervalSweep(const double* xa, std::uint32_t n) : xa_(xa), last_(n - 2) {}

  std::uint32_t Locate(double x) {
    if (started_ && x >= previous_x_) {
      while (lo_ < last_ && xa_[lo_ + 1] <= x) ++lo_;
    } else {
      lo_ = Bisect(xa_, last_ + 2, x);
    }
    started_ = true;
    previous_x_ = x;
    return lo_;
  }

 private:
  const double* xa_;
  std::uint32_t last_;
  std::uint32_t lo_ = 0;
  double previous_x_ = 0.0;
  bool started_ = false;
};

}  // namespace

void spline(const double* xa, const double* ya, std::uint32_t n, double yp1, double ypn, double* y2) {
  RequireTwoPoints(n, "spline");
  std::vector<double> u;
  AllocateArray(u, n, "Could not allocate memory in spline() ");

  // Forward sweep of the tridiagonal system for the second derivatives.
  if (yp1 > kNaturalEndThreshold) {
    y2[0] = 0.0;
    u[0] = 0.0;
  } else {
    y2[0] = -0.5;
    u[0] = (3.0 / (xa[1] - xa[0])) * ((ya[1] - ya[0]) / (xa[1] - xa[0]) - yp1);
  }
  for (std::uint32_t i = 1; i + 1 < n; ++i) {
    const double s = (xa[i] - xa[i - 1]) / (xa[i + 1] - xa[i - 1]);
    const double p = s * y2[i - 1] + 2.0;
    y2[i] = (s - 1.0) / p;
    u[i] = (ya[i + 1] - ya[i]) / (xa[i + 1] - xa[i]) - (ya[i] - ya[i - 1]) / (xa[i] - xa[i - 1]);
    u[i] = (6.0 * u[i] / (xa[i + 1] - xa[i - 1]) - s * u[i - 1]) / p;
  }
  double q = 0.0;
  double r = 0.0;
  if (!(ypn > kNaturalEndThreshold)) {
    q = 0.5;
    r = (3.0 / (xa[n - 1] - xa[n - 2])) * (ypn - (ya[n - 1] - ya[n - 2]) / (xa[n - 1] - xa[n - 2]));
  }
  // Back-substitution.
  y2[n - 1] = (r - q * u[n - 2]) / (q * y2[n - 2] + 1.0);
  for (std::uint32_t k = n - 1; k-- > 0;) y2[k] = y2[k] * y2[k + 1] + u[k];
}

void splint(const double* xa, const double* ya, const double* y2, std::uint32_t n, double x, double* y) {
  RequireTwoPoints(n, "splint");
  *y = EvaluateInterval(xa, ya, y2, Bisect(xa, n, x), x);
}

void SplineNonEq2Eq(const double* xa, const double* ya, std::uint32_t n, double x0, double dx, double* out,
                    std::uint32_t m) {
  RequireTwoPoints(n, "SplineNonEq2Eq");
  std::vector<double> y2;
  AllocateArray(y2, n, "Error in memory allocation of y2 in SplineNonEq2Eq().");
  spline(xa, ya, n, kNaturalSplineEnd, kNaturalSplineEnd, y2.data());
  IntervalSweep sweep(xa, n);
  for (std::uint32_t i = 0; i < m; ++i) {
    const double x = static_cast<double>(i) * dx + x0;
    out[i] = EvaluateInterval(xa, ya, y2.data(), sweep.Locate(x), x);
  }
}

void SplineEq2NonEq(double x0, double dx, const double* ya, std::uint32_t n, const double* target,
                    double* out, std::uint32_t m) {
  RequireTwoPoints(n, "SplineEq2NonEq");
  std::vector<double> xs;
  AllocateArray(xs, n, "Error in memory allocation of xS in SplineEq2NonEq().");
  std::vector<double> y2;
  AllocateArray(y2, n, "Error in memory allocation of y2 in SplineEq2NonEq().");
  for (std::uint32_t j = 0; j < n; ++j) xs[j] = static_cast<double>(j) * dx + x0;
  spline(xs.data(), ya, n, kNaturalSplineEnd, kNaturalSplineEnd, y2.data());
  IntervalSweep sweep(xs.data(), n);
  for (std::uint32_t i = 0; i < m; ++i) {
    out[i] = EvaluateInterval(xs.data(), ya, y2.data(), sweep.Locate(target[i]), target[i]);
  }
}

}  // namespace tarnix
