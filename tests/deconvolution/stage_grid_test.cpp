#include <cmath>
#include <cstdio>
#include <string>

#include "datafiles/instrument_file.h"
#include "deconvolution/run_context.h"
#include "gtest/gtest.h"

namespace tarnix {
namespace {

// A run over 5001 points from 20 to 120 degrees in steps of 0.02, with the default instrument.
class StageGridTest : public testing::Test {
 protected:
  void SetUp() override {
    console_ = std::tmpfile();
    run_.console = console_;
    SetPattern(5001, 20.0, 0.02);
    InstrumentParameters& p = run_.instrument;
    p.kalpha2_fraction = 0.5;
    p.kalpha2_shift = 0.00248;
    p.kalpha2_extra_width = 6e-05;
    p.axial_divergence = 2.5;
    p.equatorial_angle = 1.0;
    p.gonio_radius = 185.0;
    p.sample_width = 20.0;
    ComputeDerivedParameters(p);
  }
  void TearDown() override { std::fclose(console_); }

  void SetPattern(std::uint32_t n, double first, double step) {
    Pattern& pattern = run_.pattern;
    pattern.count = n;
    pattern.angle.assign(n + 2, 0.0);
    pattern.intensity.assign(n + 2, 0.0);
    pattern.sigma.assign(n + 2, 0.0);
    for (std::uint32_t i = 0; i < n; ++i) {
      pattern.angle[i] = first + step * i;
      pattern.intensity[i] = 100 + i % 7;
      pattern.sigma[i] = 10 + i % 3;
    }
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

TEST_F(StageGridTest, SlitStageGridForFiveThousandPoints) {
  run_.instrument.receiving_slit_width = 0.2;
  ComputeDerivedParameters(run_.instrument);
  EXPECT_NEAR(run_.ExtensionWidth(5), 20 * 0.2 / 185 * 180 / M_PI, 1e-12);  // 1.238828
  run_.MakeStageGrid(5);
  EXPECT_EQ(run_.grid.grid_length, 8192u);       // ceil(101.238828 / 0.02) = 5062 -> 8192
  EXPECT_EQ(run_.grid.grid_data_points, 8091u);  // floor(8192 * 100 / 101.238828)
  EXPECT_NEAR(run_.grid.grid_step, 100.0 / 8090, 1e-14);
  EXPECT_NEAR(run_.grid.freq_step, 0.00987548828125, 1e-14);  // 8090 / (8192 * 100)
  EXPECT_EQ(run_.grid.grid_start, 20.0);
  EXPECT_EQ(Console(), "Step 5: 8192 points, including 101 zeropadding\n");
}

TEST_F(StageGridTest, SpectralStageGridWithDefaults) {
  EXPECT_NEAR(run_.ExtensionWidth(1), 0.02672, 1e-15);  // 32 x 6e-05 + 10 x 0.00248
  run_.MakeStageGrid(1);
  EXPECT_EQ(run_.grid.grid_length, 16384u);
  EXPECT_EQ(run_.grid.grid_data_points, 16116u);
  EXPECT_EQ(Console(), "Step 1: 16384 points, including 268 zeropadding\n");
  // The grid covers the data and the whole extension.
  const StageGrid& g = run_.grid;
  EXPECT_NEAR(g.grid_start + (g.grid_data_points - 1) * g.grid_step, g.xt[5000], 1e-12);
  EXPECT_GE(g.grid_start + (g.grid_length - 1) * g.grid_step, g.xt[5002]);
}

TEST_F(StageGridTest, ExtensionNodesAndValues) {
  run_.MakeStageGrid(2);
  const std::uint32_t n = run_.pattern.count;
  const std::vector<double>& xt = run_.grid.xt;
  const double ext = run_.ExtensionWidth(2);
  EXPECT_DOUBLE_EQ(ext, 20 * std::pow(2.5 * M_PI / 360, 2));
  EXPECT_EQ(xt[n], ext * 0.5 + xt[n - 1]);
  EXPECT_EQ(xt[n + 1], xt[n - 1] + ext);
  const Pattern& p = run_.pattern;
  EXPECT_EQ(p.intensity[n], (p.intensity[n - 1] + p.intensity[0]) * 0.5);
  EXPECT_EQ(p.intensity[n + 1], p.intensity[0]);
  EXPECT_EQ(p.sigma[n], (p.sigma[n - 1] + p.sigma[0]) * 0.5);
  EXPECT_EQ(p.sigma[n + 1], p.sigma[0]);
}

TEST_F(StageGridTest, PowerOfTwoIsKept) {
  // 3201 points 1/32 degree apart (span 100) extended by 27.99: (span + ext) / h = 4095.7, so N0 = 4096.
  SetPattern(3201, 20.0, 1.0 / 32);
  run_.instrument.receiving_slit_width_deg = 27.99 / 20;
  run_.MakeStageGrid(5);
  EXPECT_EQ(run_.grid.grid_length, 4096u);
}

TEST_F(StageGridTest, TransformedAbscissae) {
  const double theta = 30 * M_PI / 180;  // 2-theta = 60
  EXPECT_NEAR(run_.TransformAbscissa(1, 60), std::log(0.5), 1e-15);
  EXPECT_NEAR(run_.TransformAbscissa(2, 60), -std::log(std::cos(theta)), 1e-15);
  EXPECT_NEAR(run_.TransformAbscissa(3, 60), 2 * std::log(std::tan(theta)), 1e-15);
  EXPECT_EQ(run_.TransformAbscissa(5, 60), 60.0);
  // Flat specimen with the defaults: critical angle 18.58, so 60 degrees lies on the upper branch.
  const double f = run_.instrument.flat_ratio;
  EXPECT_NEAR(run_.TransformAbscissa(4, 60),
              -std::log(std::cos(theta)) + 0.5 * (1 - f * f) * std::log(1 - f * f) + f * f * std::log(f),
              1e-15);
}

TEST_F(StageGridTest, FlatSpecimenScaleIsSmoothAcrossTheCriticalAngle) {
  const double c = run_.instrument.critical_angle;
  const double d = 1e-4;
  const auto t = [&](double angle) { return run_.TransformAbscissa(4, angle); };
  EXPECT_NEAR(t(c + d) - t(c), t(c) - t(c - d), 1e-4 * (t(c) - t(c - d)));  // equal slopes
  EXPECT_GT(t(c + d), t(c));

  run_.instrument.sample_width_ratio = 2.0 / 185;  // flat ratio above 1: one branch everywhere
  run_.instrument.flat_ratio = M_PI / 180 / run_.instrument.sample_width_ratio;
  run_.instrument.critical_angle = 180.0;
  const double b = run_.instrument.flat_ratio * run_.instrument.flat_ratio;
  EXPECT_NEAR(t(150), b * std::log(std::tan(75 * M_PI / 180)), 1e-13);
}

TEST_F(StageGridTest, NegativeParametersGiveAPositiveExtension) {
  InstrumentParameters& p = run_.instrument;
  p.kalpha1_width = 5e-5;
  p.kalpha2_extra_width = -1e-4;  // the absolute value of the sum, not the sum of absolute values
  p.kalpha2_shift = -0.002;
  p.axial_divergence = -2.5;
  p.penetration_ratio = -0.001;
  p.equatorial_angle = -1;
  p.source_width_deg = -0.01;
  p.receiving_slit_width_deg = 0.02;
  EXPECT_NEAR(run_.ExtensionWidth(1), 32 * 5e-5 + 10 * 0.002, 1e-16);
  EXPECT_DOUBLE_EQ(run_.ExtensionWidth(2), 20 * std::pow(2.5 * M_PI / 360, 2));
  EXPECT_DOUBLE_EQ(run_.ExtensionWidth(3), 0.02);
  EXPECT_DOUBLE_EQ(run_.ExtensionWidth(4), 20 * std::pow(M_PI / 360, 2));
  EXPECT_DOUBLE_EQ(run_.ExtensionWidth(5), 0.6);
}

}  // namespace
}  // namespace tarnix
