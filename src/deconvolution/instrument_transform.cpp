#include <cmath>
#include <cstdio>

#include "deconvolution/run_context.h"
#include "instrument/flat_specimen.h"
#include "instrument/slit_transparency.h"
#include "instrument/spectral_axial.h"
#include "numeric/arrays.h"
#include "numeric/complex.h"
#include "numeric/square.h"

namespace tarnix {

double RunContext::WidthConversionFactor(int step, double angle) const {
  // The reciprocal slope of the stage's scale: d(2theta in degrees) / d(transformed abscissa).
  const double theta = angle * kPi / 360;
  switch (step) {
    case 1:
      return std::tan(theta) * 114.59155902616465;
    case 2:
      return 114.59155902616465 / std::tan(theta);
    case 3:
      return std::sin(angle * kPi / 180) * 90 / kPi;
    case 4:
      if (instrument.critical_angle >= angle) {
        return std::sin(angle * kPi / 180) * 57.29577951308232 / square(instrument.flat_ratio);
      }
      return 114.59155902616465 / std::tan(theta);
    default:
      return 1.0;
  }
}

void RunContext::InstrumentTransformAt(int step, double f, double* re, double* im) const {
  const InstrumentParameters& p = instrument;
  double q_re;
  double q_im;
  switch (step) {
    case 1:
      ft_lorentz(re, im, f, p.kalpha1_width);
      ft_doublet(&q_re, &q_im, f, p.kalpha2_fraction, p.kalpha2_shift, p.kalpha2_extra_width);
      c_mul_into(re, im, *re, *im, q_re, q_im);
      ft_axial_higher(&q_re, &q_im, f, p.axial_divergence);
      c_mul_into(re, im, *re, *im, q_re, q_im);
      break;
    case 2:
      ft_axial_lower(re, im, f, p.axial_divergence);
      break;
    case 3:
      ft_transparency(re, im, f, p.penetration_ratio);
      break;
    case 4:
      ft_flat_specimen(re, im, f, p.equatorial_angle);
      break;
    default:
      ft_slit(re, im, f, p.source_width_deg);
      ft_slit(&q_re, &q_im, f, p.receiving_slit_width_deg);
      c_mul_into(re, im, *re, *im, q_re, q_im);
      break;
  }
}

void RunContext::BuildInstrumentTransform(int step, std::uint32_t grid_length) {
  AllocateArray(ft_Instrum, grid_length, "Could not allocate memories for ft_Instrum");
  const std::uint32_t half = grid_length / 2;
  // Packed layout: pair k holds frequency k for 0 < k < N/2; the real parts of frequency 0 and of the
  // Nyquist frequency N/2 share elements 0 and 1, and their imaginary parts are dropped.
  for (std::uint32_t k = 0; k <= half; ++k) {
    const double f = static_cast<double>(k) * grid.freq_step;
    double re;
    double im;
    InstrumentTransformAt(step, f, &re, &im);
    if (k == 0) {
      ft_Instrum[0] = re;
    } else if (k == half) {
      ft_Instrum[1] = re;
    } else {
      ft_Instrum[2 * k] = re;
      ft_Instrum[2 * k + 1] = im;
    }
  }
  AccumulateSpecificWidths(step, grid_length);
}

void RunContext::AccumulateSpecificWidths(int step, std::uint32_t grid_length) {
  const std::uint32_t n = pattern.count;
  const double first = pattern.angle[0];
  const double last = pattern.angle[n - 1];
  // The middle width is taken at 90 degrees, or at the end of the data nearer to it.
  const double middle = first > 90 ? first : last < 90 ? last : 90.0;
  if (step == 5) {
    // The slit widths taken as full widths at half maximum of Gaussians, W^2 = FWHM^2 / (4 ln 2), on a
    // scale that is degrees 2-theta itself.
    const double v = (square(instrument.receiving_slit_width_deg) + square(instrument.source_width_deg)) /
                     4.0 / std::log(2.0);
    specific_width_low = std::sqrt(square(specific_width_low) + v);
    specific_width_mid = std::sqrt(square(specific_width_mid) + v);
    specific_width_high = std::sqrt(square(specific_width_high) + v);
  } else {
    // The Gaussian exp(-(x/W)^2) whose transform exp(-(pi W f)^2) has the instrument transform's modulus
    // at the highest stored frequency.
    const double f_max = static_cast<double>(grid_length / 2 - 1) * grid.freq_step;
    const double w2 = -std::log(square(ft_Instrum[grid_length - 2]) + square(ft_Instrum[grid_length - 1])) /
                      (2 * square(kPi * f_max));
    specific_width_low =
        std::sqrt(square(specific_width_low) + square(WidthConversionFactor(step, first)) * w2);
    specific_width_mid =
        std::sqrt(square(specific_width_mid) + square(WidthConversionFactor(step, middle)) * w2);
    specific_width_high =
        std::sqrt(square(specific_width_high) + square(WidthConversionFactor(step, last)) * w2);
  }
  // Only when the middle width exceeds the low one is the high one compared.
  max_specific_width = specific_width_low;
  if (specific_width_mid > max_specific_width) {
    max_specific_width = specific_width_mid;
    if (specific_width_high > max_specific_width) max_specific_width = specific_width_high;
  }
  std::fprintf(console, "specific widths = %f %f %f %f\n", specific_width_low, specific_width_mid,
               specific_width_high, max_specific_width);
}

}  // namespace tarnix
