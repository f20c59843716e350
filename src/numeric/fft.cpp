#include "numeric/fft.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace tarnix {
namespace {

// The butterfly formulas count array elements from 1; d(i) is element i, the array's first double
// being element 1.
class OneBased {
 public:
  explicit OneBased(double* data) : data_(data) {}
  double& operator()(std::size_t i) const { return data_[i - 1]; }

 private:
  double* data_;
};

// Advances the twiddle factor w = wr + i wi by one step of angle theta, w <- w + w (wpr + i wpi),
// where wpr = -2 sin^2(theta/2) and wpi = sin(theta). The cosine is never evaluated: the small wpr
// keeps the recurrence accurate where 1 - cos(theta) would cancel.
inline void AdvanceTwiddle(double& wr, double& wi, double wpr, double wpi) {
  const double t = wr;
  wr = t * wpr - wi * wpi + wr;
  wi = wi * wpr + t * wpi + wi;
}

}  // namespace

void fft_complex(double* data, std::uint32_t nn, int sign) {
  const OneBased d(data);
  const std::size_t n = std::size_t{nn} << 1;

  // Bit-reversal permutation of the complex numbers.
  std::size_t j = 1;
  for (std::size_t i = 1; i < n; i += 2) {
    if (j > i) {
      std::swap(d(j), d(i));
      std::swap(d(j + 1), d(i + 1));
    }
    std::size_t m = n >> 1;
    while (m >= 2 && j > m) {
      j -= m;
      m >>= 1;
    }
    j += m;
  }

  // Danielson-Lanczos butterflies. The constant is 2 pi to fifteen significant digits, exactly as
  // written: results are reproducible to the last bit only with this value.
  std::size_t mmax = 2;
  while (n > mmax) {
    const std::size_t istep = mmax << 1;
    const double theta = sign * (6.28318530717959 / static_cast<double>(mmax));
    const double half = std::sin(0.5 * theta);
    const double wpr = -2.0 * half * half;
    const double wpi = std::sin(theta);
    // Block by block: each block of istep elements is finished before the next is touched, which keeps
    // the butterflies in cache. Every block runs the same twiddle recurrence from 1, so each butterfly
    // sees exactly the factor it would see in a sweep over all blocks per factor, and the butterflies
    // of one stage touch disjoint elements, so their order does not matter.
    for (std::size_t start = 1; start <= n; start += istep) {
      double wr = 1.0;
      double wi = 0.0;
      for (std::size_t m = 1; m < mmax; m += 2) {
        const std::size_t i = start + m - 1;
        const std::size_t k = i + mmax;
        const double kr = d(k), ki = d(k + 1), ir = d(i), ii = d(i + 1);
        const double tr = wr * kr - wi * ki;
        const double ti = wr * ki + wi * kr;
        d(k) = ir - tr;
        d(k + 1) = ii - ti;
        d(i) = ir + tr;
        d(i + 1) = ii + ti;
        AdvanceTwiddle(wr, wi, wpr, wpi);
      }
    }
    mmax = istep;
  }
}

void fft_real(double* data, std::uint32_t n, int sign) {
  const OneBased d(data);
  const double c1 = 0.5;
  double c2;
  double theta = 3.141592653589793 / static_cast<double>(n >> 1);
  if (sign == 1) {
    c2 = -0.5;
    fft_complex(data, n >> 1, 1);
  } else {
    c2 = 0.5;
    theta = -theta;
  }
  const double half = std::sin(0.5 * theta);
  const double wpr = -2.0 * half * half;
  const double wpi = std::sin(theta);
  double wr = 1.0 + wpr;
  double wi = wpi;

  // Separate the transforms of the even and odd elements, pairing frequency k with n/2 - k; the pair
  // at k = n/4 is its own partner and stays as the complex transform left it.
  const std::size_t quarter = n >> 2;
  for (std::size_t i = 2; i <= quarter; ++i) {
    const std::size_t i1 = i + i - 1;
    const std::size_t i2 = i1 + 1;
    const std::size_t i3 = std::size_t{n} + 3 - i2;
    const std::size_t i4 = i3 + 1;
    const double a1 = d(i1), a2 = d(i2), a3 = d(i3), a4 = d(i4);
    const double h1r = c1 * (a1 + a3);
    const double h1i = c1 * (a2 - a4);
    const double h2r = -c2 * (a2 + a4);
    const double h2i = c2 * (a1 - a3);
    d(i1) = h1r + wr * h2r - wi * h2i;
    d(i2) = h1i + wr * h2i + wi * h2r;
    d(i3) = h1r - wr * h2r + wi * h2i;
    d(i4) = -h1i + wr * h2i + wi * h2r;
    AdvanceTwiddle(wr, wi, wpr, wpi);
  }

  const double t = d(1);
  if (sign == 1) {
    // Zero-frequency and Nyquist terms, packed into the first two elements.
    d(1) = t + d(2);
    d(2) = t - d(2);
  } else {
    d(1) = c1 * (t + d(2));
    d(2) = c1 * (t - d(2));
    fft_complex(data, n >> 1, -1);
  }
}

void fft_forward(double* a, std::uint32_t n) { fft_real(a, n, 1); }

void fft_inverse(double* a, std::uint32_t n) {
  fft_real(a, n, -1);
  const double length = static_cast<double>(n);
  for (std::uint32_t i = 0; i < n; ++i) a[i] = a[i] * 2.0 / length;
}

}  // namespace tarnix
