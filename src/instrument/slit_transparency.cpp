#include "instrument/slit_transparency.h"

#include <cmath>

#include "numeric/square.h"

namespace tarnix {
namespace {

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

void ft_slit(double* re, double* im, double f, double w) {
  if (w == 0.0 || f == 0.0) {
    *re = 1.0;
    *im = 0.0;
    return;
  }
  const double v = w * f * kPi;
  *re = std::sin(v) / v;
  *im = 0.0;
}

void ft_transparency(double* re, double* im, double f, double mu) {
  if (mu == 0.0 || f == 0.0) {
    *re = 1.0;
    *im = 0.0;
    return;
  }
  const double v = mu * f * kTwoPi;
  *re = 1 / (1 + v * v);
  *im = -v / (1 + v * v);
}

}  // namespace tarnix
