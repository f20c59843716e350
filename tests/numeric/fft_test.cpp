#include "numeric/fft.h"

#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "gtest/gtest.h"

namespace tarnix {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

std::vector<double> RandomArray(std::uint32_t n, unsigned seed) {
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  std::vector<double> a(n);
  for (double& x : a) x = value(engine);
  return a;
}

// Direct O(n^2) DFT with the positive exponent, in long double.
std::vector<std::complex<long double>> DirectDft(const std::vector<std::complex<long double>>& z, int sign) {
  const std::size_t n = z.size();
  std::vector<std::complex<long double>> out(n);
  const long double pi = 3.141592653589793238462643383279502884L;
  for (std::size_t k = 0; k < n; ++k) {
    std::complex<long double> sum = 0;
    for (std::size_t j = 0; j < n; ++j) {
      const long double phase = sign * 2 * pi * static_cast<long double>((j * k) % n) / n;
      sum += z[j] * std::complex<long double>(std::cos(phase), std::sin(phase));
    }
    out[k] = sum;
  }
  return out;
}

// Rounding grows about as log2(n) per element for values of order 1 summed n times; the recurrence
// for the twiddle factors adds a little more. 8 eps sqrt(n) log2(n) bounds what we see with margin.
double Tolerance(std::uint32_t n) { return 8 * kEps * std::sqrt(n) * std::log2(2.0 * n); }

TEST(FftTest, ForwardMatchesDirectDftInThePackedLayout) {
  for (std::uint32_t n = 2; n <= 1024; n *= 2) {
    SCOPED_TRACE(n);
    std::vector<double> a = RandomArray(n, n);
    std::vector<std::complex<long double>> z(a.begin(), a.end());
    const auto expected = DirectDft(z, +1);
    fft_forward(a.data(), n);
    EXPECT_NEAR(a[0], static_cast<double>(expected[0].real()), Tolerance(n));
    EXPECT_NEAR(a[1], static_cast<double>(expected[n / 2].real()), Tolerance(n));
    for (std::uint32_t k = 1; k < n / 2; ++k) {
      EXPECT_NEAR(a[2 * k], static_cast<double>(expected[k].real()), Tolerance(n)) << "k=" << k;
      EXPECT_NEAR(a[2 * k + 1], static_cast<double>(expected[k].imag()), Tolerance(n)) << "k=" << k;
    }
  }
}

TEST(FftTest, ComplexTransformMatchesDirectDftBothSigns) {
  for (std::uint32_t nn : {1u, 2u, 8u, 64u, 512u}) {
    for (int sign : {+1, -1}) {
      SCOPED_TRACE(testing::Message() << "nn=" << nn << " sign=" << sign);
      std::vector<double> d = RandomArray(2 * nn, 100 + nn);
      std::vector<std::complex<long double>> z(nn);
      for (std::uint32_t j = 0; j < nn; ++j) z[j] = {d[2 * j], d[2 * j + 1]};
      const auto expected = DirectDft(z, sign);
      fft_complex(d.data(), nn, sign);
      for (std::uint32_t k = 0; k < nn; ++k) {
        EXPECT_NEAR(d[2 * k], static_cast<double>(expected[k].real()), Tolerance(2 * nn));
        EXPECT_NEAR(d[2 * k + 1], static_cast<double>(expected[k].imag()), Tolerance(2 * nn));
      }
    }
  }
}

TEST(FftTest, SmallLengthsWorkedByHand) {
  double two[] = {3.0, 5.0};
  fft_forward(two, 2);
  EXPECT_EQ(two[0], 8.0);
  EXPECT_EQ(two[1], -2.0);
  fft_inverse(two, 2);
  EXPECT_EQ(two[0], 3.0);
  EXPECT_EQ(two[1], 5.0);

  double four[] = {1.0, 2.0, 4.0, 8.0};
  fft_forward(four, 4);
  EXPECT_NEAR(four[0], 15.0, 4 * kEps * 15);
  EXPECT_NEAR(four[1], 1.0 - 2.0 + 4.0 - 8.0, 4 * kEps * 15);
  EXPECT_NEAR(four[2], 1.0 - 4.0, 4 * kEps * 15);  // F_1 = (a0 - a2) + i (a1 - a3)
  EXPECT_NEAR(four[3], 2.0 - 8.0, 4 * kEps * 15);
}

TEST(FftTest, ImpulsesAndConstants) {
  const std::uint32_t n = 64;
  std::vector<double> a(n, 0.0);
  a[0] = 1.0;
  fft_forward(a.data(), n);
  for (std::uint32_t i = 0; i < n; ++i)
    EXPECT_NEAR(a[i], i == 0 || i == 1 || i % 2 == 0 ? 1.0 : 0.0, 8 * kEps) << i;

  // An impulse one place on shows the sign of the exponent: pair k is exp(+2 pi i k / n).
  std::fill(a.begin(), a.end(), 0.0);
  a[1] = 1.0;
  fft_forward(a.data(), n);
  EXPECT_NEAR(a[0], 1.0, 8 * kEps);
  EXPECT_NEAR(a[1], -1.0, 8 * kEps);
  for (std::uint32_t k = 1; k < n / 2; ++k) {
    EXPECT_NEAR(a[2 * k], std::cos(2 * M_PI * k / n), 32 * kEps) << k;
    EXPECT_NEAR(a[2 * k + 1], std::sin(2 * M_PI * k / n), 32 * kEps) << k;
  }

  std::fill(a.begin(), a.end(), 2.5);
  fft_forward(a.data(), n);
  EXPECT_NEAR(a[0], n * 2.5, 8 * kEps * n * 2.5);
  for (std::uint32_t i = 1; i < n; ++i) EXPECT_NEAR(a[i], 0.0, 8 * kEps * n * 2.5) << i;
}

TEST(FftTest, InverseUndoesForward) {
  for (std::uint32_t n : {2u, 4u, 16u, 256u, 4096u, 65536u}) {
    SCOPED_TRACE(n);
    const std::vector<double> original = RandomArray(n, 7 * n);
    std::vector<double> a = original;
    fft_forward(a.data(), n);
    fft_inverse(a.data(), n);
    for (std::uint32_t i = 0; i < n; ++i) ASSERT_NEAR(a[i], original[i], Tolerance(n)) << i;

    // The unnormalised inverse gives n/2 times the array.
    a = original;
    fft_forward(a.data(), n);
    fft_real(a.data(), n, -1);
    for (std::uint32_t i = 0; i < n; ++i) ASSERT_NEAR(a[i], original[i] * n / 2, Tolerance(n) * n / 2) << i;
  }
}

// The butterflies stage by stage as the textbook loop orders them: one twiddle factor at a time,
// sweeping over every block for that factor. The program finishes each block before the next and
// restarts the recurrence in every block; it must reach exactly the same bits.
void SweepOrderComplexTransform(double* data, std::uint32_t nn, int sign) {
  double* d = data - 1;  // elements counted from 1
  const std::size_t n = std::size_t{nn} << 1;
  std::size_t j = 1;
  for (std::size_t i = 1; i < n; i += 2) {
    if (j > i) {
      std::swap(d[j], d[i]);
      std::swap(d[j + 1], d[i + 1]);
    }
    std::size_t m = n >> 1;
    while (m >= 2 && j > m) {
      j -= m;
      m >>= 1;
    }
    j += m;
  }
  for (std::size_t mmax = 2; n > mmax; mmax <<= 1) {
    const std::size_t istep = mmax << 1;
    const double theta = sign * (6.28318530717959 / static_cast<double>(mmax));
    const double wtemp = std::sin(0.5 * theta);
    const double wpr = -2.0 * wtemp * wtemp;
    const double wpi = std::sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (std::size_t m = 1; m < mmax; m += 2) {
      for (std::size_t i = m; i <= n; i += istep) {
        const std::size_t k = i + mmax;
        const double tr = wr * d[k] - wi * d[k + 1];
        const double ti = wr * d[k + 1] + wi * d[k];
        d[k] = d[i] - tr;
        d[k + 1] = d[i + 1] - ti;
        d[i] = d[i] + tr;
        d[i + 1] = d[i + 1] + ti;
      }
      const double t = wr;
      wr = t * wpr - wi * wpi + wr;
      wi = wi * wpr + t * wpi + wi;
    }
  }
}

TEST(FftTest, BlockedButterfliesGiveTheSweepOrderBitForBit) {
  for (std::uint32_t nn : {1u, 2u, 8u, 64u, 1024u, 16384u}) {
    for (int sign : {1, -1}) {
      SCOPED_TRACE(testing::Message() << "nn=" << nn << " sign=" << sign);
      std::vector<double> program = RandomArray(2 * nn, nn + 3);
      std::vector<double> reference = program;
      fft_complex(program.data(), nn, sign);
      SweepOrderComplexTransform(reference.data(), nn, sign);
      for (std::size_t i = 0; i < program.size(); ++i) ASSERT_EQ(program[i], reference[i]) << i;
    }
  }
}

}  // namespace
}  // namespace tarnix
