#include "instrument/spectral_axial.h"

#include <cmath>

#include "numeric/square.h"

namespace tarnix {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kMinusTwoPi = -6.283185307179586;

// The principal square root of 1 / (1 - i u) for the axial-divergence parameter a (degrees), with its
// imaginary part as a magnitude: real sqrt((sqrt(m) + 1) / 2m), imaginary sqrt((sqrt(m) - 1) / 2m),
// m = 1 + u^2.
void AxialRoot(double f, double a, double* re, double* im_magnitude) {
  const double c = square(a * kPi / 180) / 16.0;
  const double beta = c / std::log(2.0);
  const double u = beta * f * kTwoPi;
  const double m = square(u) + 1;
  *re = std::sqrt((std::sqrt(m) + 1) / (2 * m));
  *im_magnitude = std::sqrt((std::sqrt(m) - 1) / (2 * m));
}

bool IsUnity(double* re, double* im, double leading, double f) {
  if (leading == 0.0 || f == 0.0) {
    *re = 1.0;
    *im = 0.0;
    return true;
  }
  return false;
}

}  // namespace

void ft_lorentz(double* re, double* im, double f, double w) {
  if (IsUnity(re, im, w, f)) return;
  *re = std::exp(w * f * kMinusTwoPi);
  *im = 0.0;
}

void ft_doublet(double* re, double* im, double f, double r, double s, double w2) {
  if (IsUnity(re, im, r, f)) return;
  const double e = std::exp(f * w2 * kMinusTwoPi) * r;
  const double phi = s * f * kTwoPi;
  *re = std::cos(phi) * e + (1 - r);
  *im = std::sin(phi) * e;
}

void ft_axial_higher(double* re, double* im, double f, double a) {
  if (IsUnity(re, im, a, f)) return;
  AxialRoot(f, a, re, im);
}

void ft_axial_lower(double* re, double* im, double f, double a) {
  if (IsUnity(re, im, a, f)) return;
  AxialRoot(f, a, re, im);
  *im = -*im;
}

}  // namespace tarnix
