#include <cmath>

#include "deconvolution/run_context.h"
#include "numeric/complex.h"
#include "numeric/fft.h"
#include "numeric/square.h"

namespace tarnix {
namespace {

// Quotient of one spectral term by the instrument's. Where the instrument passes less than one
// percent of a frequency, dividing would multiply the rounding and interpolation error there by more
// than a hundred (near the zeros of a slit transform, without bound), so that frequency is given up:
// the deconvoluted spectrum is set to zero there. Every other term is the plain quotient.
bool Passes(double modulus) { return modulus >= kMinInstrumentModulus; }

}  // namespace

void RunContext::DeconvoluteFourier(int /*step*/, std::uint32_t grid_length) {
  const std::uint32_t n = grid_length;
  double* y = y0i.data();
  double* s = s0.data();
  double* g = ft_Instrum.data();

  // Deconvolution of the intensity. Elements 0 and 1 are the real zero-frequency and Nyquist terms.
  fft_forward(y, n);
  y[0] = Passes(std::fabs(g[0])) ? y[0] / g[0] : 0.0;
  y[1] = Passes(std::fabs(g[1])) ? y[1] / g[1] : 0.0;
  for (std::uint32_t k = 1; k < n / 2; ++k) {
    double* pair = y + 2 * k;
    if (Passes(std::sqrt(square(g[2 * k]) + square(g[2 * k + 1])))) {
      c_div_into(&pair[0], &pair[1], pair[0], pair[1], g[2 * k], g[2 * k + 1]);
    } else {
      pair[0] = 0.0;
      pair[1] = 0.0;
    }
  }
  fft_inverse(y, n);

  // Propagation of the errors: the weights 1/s^2 correlated with the squared instrument kernel h^2,
  // v[j] = sum_m h[m]^2 w[(j + m) mod N], and s_out = 1/sqrt|v|. This destroys ft_Instrum, so it must
  // come after the intensity.
  fft_inverse(g, n);
  for (std::uint32_t m = 0; m < n; ++m) g[m] = square(g[m]);
  fft_forward(g, n);
  for (std::uint32_t j = 0; j < n; ++j) s[j] = s[j] == 0 ? 0 : 1 / square(s[j]);
  fft_forward(s, n);
  s[0] = s[0] * g[0];
  s[1] = s[1] * g[1];
  for (std::uint32_t k = 1; k < n / 2; ++k) {
    // W times conj(G): a correlation, not a convolution.
    c_mul_into(&s[2 * k], &s[2 * k + 1], s[2 * k], s[2 * k + 1], g[2 * k], -g[2 * k + 1]);
  }
  fft_inverse(s, n);
  for (std::uint32_t j = 0; j < n; ++j) {
    const double v = s[j];
    s[j] = v == 0 ? 0 : 1 / std::sqrt(std::fabs(v));
  }
}

}  // namespace tarnix
