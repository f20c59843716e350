// Discrete Fourier transform of real arrays of power-of-two length, in place.
//
// Convention: unnormalised, with the POSITIVE exponent in the forward direction,
//
//     F_k = sum_{j=0}^{n-1} a_j exp(+2 pi i j k / n),
//
// so a profile displaced towards larger abscissae by delta carries the factor
// cos(2 pi nu delta) + i sin(2 pi nu delta) at frequency nu. Every transform that is multiplied with
// or divided into a spectrum of this module must follow the same sign.
//
// Packed real spectrum. A real array's spectrum satisfies F_{n-k} = conj(F_k), so F_0 .. F_{n/2}
// carry it all, and F_0 and F_{n/2} are real. The forward transform stores them in the n doubles of
// the input:
//
//     a[0]                 F_0      zero frequency (the sum of the a_j)
//     a[1]                 F_{n/2}  Nyquist frequency (sum of a_j (-1)^j)
//     a[2k], a[2k+1]       Re F_k, Im F_k     for k = 1 .. n/2 - 1
//
// For n = 2 there are no pairs. The inverse is
//
//     a_j = (1/n) [F_0 + (-1)^j F_{n/2} + 2 sum_{k=1}^{n/2-1} Re(F_k exp(-2 pi i j k / n))].
//
// n must be a power of two and at least 2; nothing is checked. No routine allocates memory: the
// twiddle factors come from a trigonometric recurrence with two sine evaluations per butterfly stage.
#ifndef TARNIX_NUMERIC_FFT_H_
#define TARNIX_NUMERIC_FFT_H_

#include <cstdint>

namespace tarnix {

// Replaces the n reals of a by their packed spectrum (no normalisation).
void fft_forward(double* a, std::uint32_t n);

// Replaces a packed spectrum by the real array it came from (the inverse of fft_forward, 1/n included).
void fft_inverse(double* a, std::uint32_t n);

// sign == 1: the forward transform into the packed layout. Any other sign: the inverse without
// normalisation, which yields n/2 times the real array.
void fft_real(double* d, std::uint32_t n, int sign);

// nn complex numbers interleaved as (re, im) in 2*nn doubles are replaced by
// Z_k = sum_j z_j exp(sign 2 pi i j k / nn), unnormalised; sign is +1 or -1.
void fft_complex(double* d, std::uint32_t nn, int sign);

}  // namespace tarnix

#endif  // TARNIX_NUMERIC_FFT_H_
