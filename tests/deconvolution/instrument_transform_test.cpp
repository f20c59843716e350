#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "datafiles/instrument_file.h"
#include "deconvolution/run_context.h"
#include "gtest/gtest.h"
#include "instrument/slit_transparency.h"

namespace tarnix {
namespace {

class InstrumentTransformTest : public testing::Test {
 protected:
  void SetUp() override {
    console_ = std::tmpfile();
    run_.console = console_;
    SetAngles({20.0, 50.0, 120.0});
  }
  void TearDown() override { std::fclose(console_); }

  void SetAngles(const std::vector<double>& angles) {
    run_.pattern.count = static_cast<std::uint32_t>(angles.size());
    run_.pattern.angle = angles;
    run_.pattern.angle.resize(angles.size() + 2, 0.0);
  }

  std::string Console() {
    std::rewind(console_);
    std::string text;
    for (int c; (c = std::fgetc(console_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

  RunContext run_;
  std::FILE* console_ = nullptr;
};

TEST_F(InstrumentTransformTest, PackedOrderForEightPoints) {
  run_.instrument.penetration_ratio = 0.002;
  run_.grid.freq_step = 37.5;
  run_.BuildInstrumentTransform(3, 8);
  const auto h = [](double f) {
    double re, im;
    ft_transparency(&re, &im, f, 0.002);
    return std::vector<double>{re, im};
  };
  const std::vector<double> expected = {1.0,        h(4 * 37.5)[0], h(37.5)[0],  h(37.5)[1],
                                        h(75.0)[0], h(75.0)[1],     h(112.5)[0], h(112.5)[1]};
  EXPECT_EQ(run_.ft_Instrum, expected);
}

TEST_F(InstrumentTransformTest, TransparencyWidth) {
  const double mu = 0.002;
  run_.instrument.penetration_ratio = mu;
  run_.grid.freq_step = 10.0;
  run_.BuildInstrumentTransform(3, 64);
  // The Gaussian-equivalent width from |H(f_max)|^2 = 1 / (1 + (2 pi mu f_max)^2), f_max = 31 steps,
  // converted with d(2theta)/d(2 ln tan theta) = sin(2theta) 90 / pi.
  const double f_max = 31 * 10.0;
  const double w =
      std::sqrt(std::log(1 + std::pow(2 * M_PI * mu * f_max, 2)) / (2 * std::pow(M_PI * f_max, 2)));
  EXPECT_NEAR(run_.specific_width_low, std::sin(20 * M_PI / 180) * 90 / M_PI * w, 1e-12);
  EXPECT_NEAR(run_.specific_width_mid, 90 / M_PI * w, 1e-12);  // 90 degrees lies inside the data
  EXPECT_NEAR(run_.specific_width_high, std::sin(120 * M_PI / 180) * 90 / M_PI * w, 1e-12);
  EXPECT_EQ(run_.max_specific_width, run_.specific_width_mid);
}

TEST_F(InstrumentTransformTest, SpectralWidthDependsOnTheGrid) {
  const double w = 1e-4;
  run_.instrument.kalpha1_width = w;  // fraction and axial divergence 0: the Lorentzian alone
  run_.grid.freq_step = 25.0;
  run_.BuildInstrumentTransform(1, 128);
  const double f_max = 63 * 25.0;
  const double width = std::sqrt(2 * w / (M_PI * f_max));
  EXPECT_NEAR(run_.specific_width_low, std::tan(10 * M_PI / 180) * 360 / M_PI * width, 1e-12);
}

TEST_F(InstrumentTransformTest, SlitWidthsArePrintedAndAccumulate) {
  run_.instrument.gonio_radius = 185.0;
  run_.instrument.receiving_slit_width = 0.2;
  ComputeDerivedParameters(run_.instrument);
  run_.grid.freq_step = 0.00987548828125;
  run_.BuildInstrumentTransform(5, 8192);
  for (std::uint32_t k = 1; k < 4096; ++k) ASSERT_EQ(run_.ft_Instrum[2 * k + 1], 0.0) << k;
  // The slit width as the FWHM of a Gaussian: sqrt(0.0619414^2 / (4 ln 2)) = 0.0371996.
  const double expected = run_.instrument.receiving_slit_width_deg / std::sqrt(4 * std::log(2.0));
  EXPECT_NEAR(run_.specific_width_low, expected, 1e-15);
  EXPECT_EQ(Console(), "specific widths = 0.037200 0.037200 0.037200 0.037200\n");
  run_.BuildInstrumentTransform(5, 8192);  // a second stage adds in quadrature
  EXPECT_NEAR(run_.specific_width_high, std::sqrt(2.0) * expected, 1e-15);
}

TEST_F(InstrumentTransformTest, MiddleWidthAngle) {
  struct Case {
    const char* name;
    std::vector<double> angles;
    int equal_to;  // 0: the middle width equals the low one, 2: the high one, -1: neither
  };
  const Case cases[] = {
      {"data from 100 to 150: at the first angle", {100, 120, 150}, 0},
      {"data from 10 to 80: at the last angle", {10, 40, 80}, 2},
      {"data from 20 to 120: at 90", {20, 70, 120}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunContext run;
    run.console = console_;
    run.pattern.count = 3;
    run.pattern.angle = c.angles;
    run.instrument.penetration_ratio = 0.001;
    run.grid.freq_step = 10.0;
    run.BuildInstrumentTransform(3, 16);
    if (c.equal_to == 0) {
      EXPECT_EQ(run.specific_width_mid, run.specific_width_low);
    } else if (c.equal_to == 2) {
      EXPECT_EQ(run.specific_width_mid, run.specific_width_high);
    } else {
      EXPECT_GT(run.specific_width_mid, run.specific_width_low);
      EXPECT_GT(run.specific_width_mid, run.specific_width_high);  // sin(2theta) peaks at 90
    }
  }
}

TEST_F(InstrumentTransformTest, LargestWidthRule) {
  struct Case {
    double low, mid, high, expected;
  };
  // The high width is compared only when the middle one exceeds the low one.
  const Case cases[] = {{3, 2, 5, 3}, {3, 4, 5, 5}, {3, 4, 2, 4}, {3, 3, 5, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.low << " " << c.mid << " " << c.high);
    run_.specific_width_low = c.low;
    run_.specific_width_mid = c.mid;
    run_.specific_width_high = c.high;
    run_.grid.freq_step = 1.0;
    run_.BuildInstrumentTransform(5, 8);  // both slit widths 0: the widths do not change
    EXPECT_EQ(run_.max_specific_width, c.expected);
  }
}

TEST_F(InstrumentTransformTest, WidthConversionFactorIsTheReciprocalSlopeOfTheScale) {
  InstrumentParameters& p = run_.instrument;
  p.equatorial_angle = 1.0;
  p.gonio_radius = 185.0;
  p.sample_width = 20.0;
  ComputeDerivedParameters(p);
  EXPECT_NEAR(run_.WidthConversionFactor(1, 90), 114.5916, 1e-4);
  EXPECT_NEAR(run_.WidthConversionFactor(2, 90), 114.5916, 1e-4);
  EXPECT_NEAR(run_.WidthConversionFactor(3, 90), 28.6479, 1e-4);
  EXPECT_NEAR(run_.WidthConversionFactor(4, 90), 114.5916, 1e-4);  // above the critical angle 18.58
  EXPECT_EQ(run_.WidthConversionFactor(5, 90), 1.0);
  for (int step = 1; step <= 5; ++step) {
    for (double angle : {12.0, 18.0, 19.5, 45.0, 90.0, 133.0, 170.0}) {
      SCOPED_TRACE(testing::Message() << "stage " << step << " at " << angle);
      const double d = 1e-5;
      const double slope =
          (run_.TransformAbscissa(step, angle + d) - run_.TransformAbscissa(step, angle - d)) / (2 * d);
      EXPECT_NEAR(run_.WidthConversionFactor(step, angle) * slope, 1.0, 1e-7);
    }
  }
}

}  // namespace
}  // namespace tarnix
