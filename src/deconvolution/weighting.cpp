#include <cmath>

#include "deconvolution/run_context.h"
#include "numeric/square.h"

namespace tarnix {
namespace {

// Polarization constant of the Lorentz-polarization factor.
constexpr double kPolarization = 0.799466;

}  // namespace

double LorentzPolarization(double angle) {
  const double t = angle * kPi / 180;
  const double numerator = 1 + kPolarization * square(std::cos(t));
  // sin 2theta times sin theta, not sin^2 theta.
  const double denominator = std::sin(t) * std::sin(t / 2) * (1 + kPolarization);
  return numerator / denominator;
}

double RunContext::LocalSpacing(std::uint32_t i) const {
  const std::vector<double>& xt = grid.xt;
  const std::uint32_t n = pattern.count;
  // The first and last data points take the one-sided difference to their only measured neighbour; the
  // last point does not look at the extension node beyond it.
  if (i == 0 || i == n + 1) return xt[1] - xt[0];
  if (i == n - 1) return xt[n - 1] - xt[n - 2];
  if (i == n) return (xt[n + 1] - xt[n - 1]) * 0.5;
  return (xt[i + 1] - xt[i - 1]) / 2;
}

void RunContext::ScaleErrorDensity() {
  // An error per point becomes an error per grid step: a point that stands for a wider stretch of the
  // abscissa than one grid step is worth more than one grid value.
  for (std::uint32_t i = 0; i < pattern.count + 2; ++i) {
    pattern.sigma[i] = std::sqrt(LocalSpacing(i) / grid.grid_step) * pattern.sigma[i];
  }
}

void RunContext::UnscaleErrorDensity() {
  for (std::uint32_t i = 0; i < pattern.count; ++i) {
    pattern.sigma[i] = pattern.sigma[i] / std::sqrt(LocalSpacing(i) / grid.grid_step);
  }
}

void RunContext::WeightPattern(int step) {
  const std::uint32_t n = pattern.count;
  std::vector<double>& y = pattern.intensity;
  std::vector<double>& s = pattern.sigma;
  for (std::uint32_t i = 0; i < n; ++i) {
    const double j = WidthConversionFactor(step, pattern.angle[i]);
    const double l = LorentzPolarization(pattern.angle[i]);
    y[i] = y[i] * j;
    y[i] = y[i] / l;
    s[i] = s[i] * j;
    s[i] = s[i] / l;
  }
  // The extension slots again, now from the weighted values and before the density scaling.
  y[n] = (y[n - 1] + y[0]) * 0.5;
  y[n + 1] = y[0];
  s[n] = (s[n - 1] + s[0]) * 0.5;
  s[n + 1] = s[0];
  ScaleErrorDensity();
}

void RunContext::UnweightPattern(int step) {
  UnscaleErrorDensity();
  std::vector<double>& y = pattern.intensity;
  std::vector<double>& s = pattern.sigma;
  for (std::uint32_t i = 0; i < pattern.count; ++i) {
    const double j = WidthConversionFactor(step, pattern.angle[i]);
    const double l = LorentzPolarization(pattern.angle[i]);
    y[i] = y[i] / j;
    y[i] = l * y[i];
    s[i] = s[i] / j;
    s[i] = l * s[i];
  }
}

}  // namespace tarnix
