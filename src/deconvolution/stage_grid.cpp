#include <cmath>
#include <cstdio>

#include "deconvolution/run_context.h"
#include "numeric/arrays.h"
#include "numeric/fatal_error.h"
#include "numeric/square.h"

namespace tarnix {

double RunContext::TransformAbscissa(int step, double angle) const {
  const double theta = angle * kPi / 360;  // half the diffraction angle, radians
  switch (step) {
    case 1:  // the spectral scale: a relative wavelength difference is a constant shift of ln sin(theta)
      return std::log(std::sin(theta));
    case 2:
      return -std::log(std::cos(theta));
    case 3:
      return 2 * std::log(std::tan(theta));
    case 4: {
      // Flat specimen: below the critical angle the beam stays on the sample, above it the irradiated
      // length is the sample width; the two branches meet there with equal value and slope.
      const double f = instrument.flat_ratio;
      const double b = f * f;
      if (angle <= instrument.critical_angle) return b * std::log(std::tan(theta));
      return -std::log(std::cos(theta)) + 0.5 * (1 - b) * std::log(1 - b) + b * std::log(f);
    }
    default:
      return angle;
  }
}

double RunContext::ExtensionWidth(int step) const {
  const InstrumentParameters& p = instrument;
  switch (step) {
    case 1:
      return 32 * std::fabs(p.kalpha2_extra_width + p.kalpha1_width) + 10 * std::fabs(p.kalpha2_shift);
    case 2:
      return 20 * square(p.axial_divergence * kPi / 360);
    case 3:
      return 20 * std::fabs(p.penetration_ratio);
    case 4:
      return 20 * square(p.equatorial_angle * kPi / 360);
    default:
      return 20 * std::fabs(p.receiving_slit_width_deg) + 20 * std::fabs(p.source_width_deg);
  }
}

void RunContext::MakeStageGrid(int step) {
  const std::uint32_t n = pattern.count;
  std::vector<double>& xt = grid.xt;
  AllocateArray(xt, std::size_t{n} + 2, "Could not allocate memory for the transformed abscissae xt");
  const double ext = ExtensionWidth(step);
  for (std::uint32_t i = 0; i < n; ++i) xt[i] = TransformAbscissa(step, pattern.angle[i]);
  CheckTransformedAbscissae(step);

  // Beyond the last point the pattern runs to the mean of its last and first values half an extension
  // width later and ends one extension width later at its first value, so the periodic grid closes.
  xt[n] = ext * 0.5 + xt[n - 1];
  xt[n + 1] = xt[n - 1] + ext;
  // The spline through the extension nodes needs them strictly beyond the last point: this refuses an
  // extension width that is zero, negative, not a number, infinite, or too small to survive rounding.
  if (!(xt[n] > xt[n - 1] && xt[n + 1] > xt[n])) ExtensionWidthError(step, ext);
  for (std::vector<double>* values : {&pattern.intensity, &pattern.sigma}) {
    std::vector<double>& v = *values;
    v[n] = (v[n - 1] + v[0]) * 0.5;
    v[n + 1] = v[0];
  }

  // The grid step must not exceed the smallest spacing of the data points.
  double h = xt[1] - xt[0];
  std::uint32_t closest = 1;
  for (std::uint32_t i = 2; i < n; ++i) {
    if (xt[i] - xt[i - 1] < h) {
      h = xt[i] - xt[i - 1];
      closest = i;
    }
  }
  const double span = xt[n - 1] - xt[0];
  const double needed = std::ceil((span + ext) / h);
  CheckGridLength(step, needed, h, closest, ext);
  const std::uint32_t n0 = static_cast<std::uint32_t>(needed);
  // The smallest power of two not below n0.
  const double k = std::ceil(std::log(static_cast<double>(n0)) / std::log(2.0));
  const double length = std::pow(2, k);
  CheckGridLength(step, length, h, closest, ext);
  grid.grid_length = static_cast<std::uint32_t>(length);
  const double N = static_cast<double>(grid.grid_length);
  grid.grid_data_points = static_cast<std::uint32_t>(std::floor(N * span / (span + ext)));
  CheckGridCoverage(step);
  grid.grid_start = xt[0];
  grid.grid_step = span / static_cast<double>(grid.grid_data_points - 1);
  grid.freq_step = 1 / (N * grid.grid_step);

  std::fprintf(console, "Step %d: %d points, including %d zeropadding\n", step,
               static_cast<int>(grid.grid_length),
               static_cast<int>(grid.grid_length - grid.grid_data_points));
}

}  // namespace tarnix
