#include "numeric/fresnel.h"

#include <cmath>

#include "numeric/complex.h"
#include "numeric/fatal_error.h"
#include "numeric/square.h"

namespace tarnix {
namespace {

constexpr double kTolerance = 6e-8;
constexpr int kMaxSteps = 100;
constexpr double kSmallest = 1e-30;
constexpr double kSwitchPoint = 1.5;  // power series up to here, continued fraction above
constexpr double kHalfPi = 1.5707963267948966;

// Power series of S and C summed together: the k-th term ax^(2k+1) (π/2)^k / k! / (2k+1) goes to S
// for odd k and to C for even k, with signs +, −, −, +, +, … over k = 1, 2, 3, …
void FresnelSeries(double ax, double* s, double* c) {
  const double fact = kHalfPi * ax * ax;
  double sum_s = 0.0;
  double sum_c = ax;
  double sum = sum_s;  // the accumulator the next term enters: S first
  double sign = 1.0;
  double term = ax;
  double n = 3.0;
  bool odd = true;
  int k = 1;
  for (; k <= kMaxSteps; ++k) {
    term *= fact / k;
    sum += sign * term / n;
    const double test = std::fabs(sum) * kTolerance;
    if (odd) {
      sign = -sign;
      sum_s = sum;
      sum = sum_c;
    } else {
      sum_c = sum;
      sum = sum_s;
    }
    if (term < test) break;
    odd = !odd;
    n += 2.0;
  }
  if (k > kMaxSteps) FatalError("series failed in frenel");
  *s = sum_s;
  *c = sum_c;
}

// Modified Lentz evaluation of the continued fraction for erfc of the complex argument
// (1 - i) √π ax / 2, from which C and S follow.
void FresnelContinuedFraction(double ax, double* s, double* c) {
  const Complex one = c_make(1.0, 0.0);
  const double pix2 = kPi * ax * ax;
  Complex b = c_make(1.0, -pix2);
  Complex cc = c_make(1.0 / kSmallest, 0.0);
  Complex d = c_div(one, b);
  Complex h = d;
  int n = -1;
  int k = 2;
  for (; k <= kMaxSteps; ++k) {
    n += 2;
    const double a = static_cast<double>(-(n + 1) * n);
    b = c_add(b, c_make(4.0, 0.0));
    d = c_div(one, c_add(c_scale(a, d), b));
    cc = c_add(b, c_div(c_make(a, 0.0), cc));
    const Complex del = c_mul(cc, d);
    h = c_mul(h, del);
    if (std::fabs(del.re - 1.0) + std::fabs(del.im) < kTolerance) break;
  }
  if (k > kMaxSteps) FatalError("cf failed in frenel");
  h = c_mul(c_make(ax, -ax), h);
  const Complex cs =
      c_mul(c_make(0.5, 0.5), c_sub(one, c_mul(c_make(std::cos(0.5 * pix2), std::sin(0.5 * pix2)), h)));
  *c = cs.re;
  *s = cs.im;
}

}  // namespace

void frenel(double x, double* s, double* c) {
  const double ax = std::fabs(x);
  if (ax < std::sqrt(kSmallest)) {
    *s = 0.0;
    *c = ax;
  } else if (ax <= kSwitchPoint) {
    FresnelSeries(ax, s, c);
  } else {
    FresnelContinuedFraction(ax, s, c);
  }
  if (x < 0.0) {
    *c = -*c;
    *s = -*s;
  }
}

}  // namespace tarnix
