#include <cmath>
#include <random>
#include <vector>

#include "deconvolution/run_context.h"
#include "gtest/gtest.h"
#include "numeric/fft.h"

namespace tarnix {
namespace {

constexpr std::uint32_t kN = 64;

std::vector<double> Random(std::uint32_t n, unsigned seed, double lo, double hi) {
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> value(lo, hi);
  std::vector<double> v(n);
  for (double& x : v) x = value(engine);
  return v;
}

// A stage context whose instrument is the real-space kernel h (packed by the forward transform).
RunContext Stage(const std::vector<double>& y, const std::vector<double>& s, const std::vector<double>& h) {
  RunContext run;
  run.y0i = y;
  run.s0 = s;
  run.ft_Instrum = h;
  fft_forward(run.ft_Instrum.data(), static_cast<std::uint32_t>(h.size()));
  return run;
}

std::vector<double> Impulse(std::uint32_t at) {
  std::vector<double> h(kN, 0.0);
  h[at] = 1.0;
  return h;
}

// A smooth, well-conditioned kernel: 0.5 at 0, 0.2 one step either side, 0.1 two steps after.
std::vector<double> SmoothKernel() {
  std::vector<double> h(kN, 0.0);
  h[0] = 0.5;
  h[1] = 0.2;
  h[kN - 1] = 0.2;
  h[2] = 0.1;
  return h;
}

TEST(FourierDivisionTest, IdentityKernel) {
  const std::vector<double> y = Random(kN, 1, -5, 50);
  std::vector<double> s = Random(kN, 2, 0.5, 3);
  for (std::uint32_t j = 0; j < kN; j += 2) s[j] = -s[j];  // the sign of an error is lost
  RunContext run = Stage(y, s, Impulse(0));
  run.DeconvoluteFourier(1, kN);
  for (std::uint32_t j = 0; j < kN; ++j) {
    EXPECT_NEAR(run.y0i[j], y[j], 1e-12) << j;
    EXPECT_NEAR(run.s0[j], std::fabs(s[j]), 1e-12) << j;
  }
}

TEST(FourierDivisionTest, KernelShiftedByOneStepShowsTheDirection) {
  const std::vector<double> y = Random(kN, 3, 0, 10);
  const std::vector<double> s = Random(kN, 4, 1, 2);
  RunContext run = Stage(y, s, Impulse(1));
  run.DeconvoluteFourier(1, kN);
  for (std::uint32_t j = 0; j < kN; ++j) {
    EXPECT_NEAR(run.y0i[j], y[(j + 1) % kN], 1e-12) << j;
    EXPECT_NEAR(run.s0[j], s[(j + 1) % kN], 1e-12) << j;
  }
}

// Against direct sums: the result convolved with h gives the input back, and the error is
// 1/sqrt(sum_m h[m]^2 w[(j + m) mod N]) with w = 1/s^2 (0 where s = 0).
TEST(FourierDivisionTest, GeneralKernelAgainstDirectSums) {
  const std::vector<double> h = SmoothKernel();
  const std::vector<double> y = Random(kN, 5, 0, 100);
  std::vector<double> s = Random(kN, 6, 0.5, 4);
  s[9] = 0.0;  // an error of exactly 0 contributes no weight
  RunContext run = Stage(y, s, h);
  run.DeconvoluteFourier(3, kN);
  for (std::uint32_t j = 0; j < kN; ++j) {
    double convolved = 0;
    double correlation = 0;
    for (std::uint32_t m = 0; m < kN; ++m) {
      convolved += h[m] * run.y0i[(j + kN - m) % kN];
      const double sj = s[(j + m) % kN];
      correlation += h[m] * h[m] * (sj == 0 ? 0 : 1 / (sj * sj));
    }
    EXPECT_NEAR(convolved, y[j], 1e-10) << j;
    EXPECT_NEAR(run.s0[j], 1 / std::sqrt(correlation), 1e-10) << j;
  }
}

TEST(FourierDivisionTest, ConservesTheSumAndHandlesConstantAndZeroErrors) {
  const std::vector<double> h = SmoothKernel();
  const std::vector<double> y = Random(kN, 7, 0, 100);
  RunContext run = Stage(y, std::vector<double>(kN, -2.5), h);
  run.DeconvoluteFourier(2, kN);
  double before = 0, after = 0, h2 = 0;
  for (std::uint32_t j = 0; j < kN; ++j) {
    before += y[j];
    after += run.y0i[j];
    h2 += h[j] * h[j];
  }
  EXPECT_NEAR(after, before, 1e-11 * before);
  for (std::uint32_t j = 0; j < kN; ++j) EXPECT_NEAR(run.s0[j], 2.5 / std::sqrt(h2), 1e-12) << j;

  RunContext zero = Stage(y, std::vector<double>(kN, 0.0), h);
  zero.DeconvoluteFourier(2, kN);
  for (std::uint32_t j = 0; j < kN; ++j) EXPECT_EQ(zero.s0[j], 0.0) << j;
}

TEST(FourierDivisionTest, TwoPointGrid) {
  RunContext run;
  run.y0i = {3.0, 1.0};
  run.s0 = {1.0, 2.0};
  run.ft_Instrum = {1.0, 0.5};  // h = {0.75, 0.25}
  run.DeconvoluteFourier(5, 2);
  // Spectrum {4, 2} divided by {1, 0.5} is {4, 4}: the array {4, 0}.
  EXPECT_NEAR(run.y0i[0], 4.0, 1e-15);
  EXPECT_NEAR(run.y0i[1], 0.0, 1e-15);
  // v[0] = 0.5625 * 1 + 0.0625 * 0.25, v[1] = 0.5625 * 0.25 + 0.0625 * 1.
  EXPECT_NEAR(run.s0[0], 1 / std::sqrt(0.578125), 1e-15);
  EXPECT_NEAR(run.s0[1], 1 / std::sqrt(0.203125), 1e-15);
}

// A frequency that the instrument passes with a modulus below 1e-2 is not divided by: the result has
// nothing at that frequency. At or above 1e-2 the quotient is the plain one.
TEST(FourierDivisionTest, FrequenciesTheInstrumentBarelyPassesAreDropped) {
  const std::vector<double> y = Random(kN, 8, 0, 100);
  std::vector<double> spectrum = y;
  fft_forward(spectrum.data(), kN);
  struct Case {
    const char* name;
    std::uint32_t element;  // the element of ft_Instrum that is changed (and, for a pair, the next)
    double re, im;
    bool divided;
  };
  const Case cases[] = {
      {"pair below", 6, 0.006, -0.0079, false},  // modulus 0.00992
      {"pair above", 6, -0.0071, 0.0071, true},  // modulus 0.01004
      {"exact zero", 6, 0.0, 0.0, false},
      {"Nyquist term below", 1, -0.0099, 0.0, false},
      {"Nyquist term above", 1, -0.0101, 0.0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunContext run;
    run.y0i = y;
    run.s0.assign(kN, 1.0);
    run.ft_Instrum.assign(kN, 0.0);
    run.ft_Instrum[0] = 1.0;
    run.ft_Instrum[1] = 1.0;
    for (std::uint32_t k = 1; k < kN / 2; ++k) run.ft_Instrum[2 * k] = 1.0;
    run.ft_Instrum[c.element] = c.re;
    if (c.element > 1) run.ft_Instrum[c.element + 1] = c.im;
    run.DeconvoluteFourier(5, kN);
    std::vector<double> result = run.y0i;
    fft_forward(result.data(), kN);
    for (std::uint32_t i = 0; i < kN; ++i) {
      const bool changed = i == c.element || (c.element > 1 && i == c.element + 1);
      if (!changed) {
        EXPECT_NEAR(result[i], spectrum[i], 1e-9) << i;
      }
    }
    if (c.element == 1) {
      EXPECT_NEAR(result[1], c.divided ? spectrum[1] / c.re : 0.0, 1e-7);
    } else {
      const double den = c.re * c.re + c.im * c.im;
      const double re = c.divided ? (spectrum[6] * c.re + spectrum[7] * c.im) / den : 0.0;
      const double im = c.divided ? (spectrum[7] * c.re - spectrum[6] * c.im) / den : 0.0;
      EXPECT_NEAR(result[6], re, 1e-7 * (1 + std::fabs(re)));
      EXPECT_NEAR(result[7], im, 1e-7 * (1 + std::fabs(im)));
    }
  }
}

}  // namespace
}  // namespace tarnix
