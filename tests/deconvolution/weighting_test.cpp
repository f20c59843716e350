#include <cmath>
#include <vector>

#include "datafiles/instrument_file.h"
#include "deconvolution/run_context.h"
#include "gtest/gtest.h"

namespace tarnix {
namespace {

TEST(LorentzPolarizationTest, WorkedValues) {
  // (1 + K cos^2 2theta) / ((1 + K) sin 2theta sin theta), K = 0.799466, worked by hand.
  EXPECT_NEAR(LorentzPolarization(90), 1 / (1.799466 * std::sin(M_PI / 4)), 1e-15);  // 0.785907
  EXPECT_NEAR(LorentzPolarization(90), 0.785907, 5e-7);
  EXPECT_NEAR(LorentzPolarization(30), 6.869124, 5e-7);
  EXPECT_NEAR(LorentzPolarization(150), 1.840576, 5e-7);
}

// A run with an uneven pattern of 40 points and the default instrument.
class WeightingTest : public testing::Test {
 protected:
  void SetUp() override {
    run_.console = std::tmpfile();
    InstrumentParameters& p = run_.instrument;
    p.kalpha2_fraction = 0.5;
    p.kalpha2_shift = 0.00248;
    p.kalpha2_extra_width = 6e-05;
    p.axial_divergence = 2.5;
    p.equatorial_angle = 1.0;
    p.gonio_radius = 185.0;
    p.sample_width = 20.0;
    p.receiving_slit_width = 0.2;
    p.penetration_depth = 0.3;
    ComputeDerivedParameters(p);
    Pattern& pattern = run_.pattern;
    pattern.count = 40;
    pattern.angle.resize(42);
    pattern.intensity.resize(42);
    pattern.sigma.resize(42);
    double angle = 12.0;
    for (std::uint32_t i = 0; i < 40; ++i) {
      angle += 0.05 + 0.1 * (i % 5);
      pattern.angle[i] = angle;
      pattern.intensity[i] = 1000 + 300 * std::sin(0.7 * i);
      pattern.sigma[i] = 30 + i % 4;
    }
  }
  void TearDown() override { std::fclose(run_.console); }

  RunContext run_;
};

TEST_F(WeightingTest, UnweightingUndoesWeighting) {
  const std::vector<double> intensity = run_.pattern.intensity;
  const std::vector<double> sigma = run_.pattern.sigma;
  for (int step = 1; step <= 5; ++step) {
    SCOPED_TRACE(step);
    run_.MakeStageGrid(step);
    run_.WeightPattern(step);
    run_.UnweightPattern(step);
    for (std::uint32_t i = 0; i < 40; ++i) {
      // Eight roundings each way.
      EXPECT_NEAR(run_.pattern.intensity[i], intensity[i], 16 * 2.2e-16 * std::fabs(intensity[i]));
      EXPECT_NEAR(run_.pattern.sigma[i], sigma[i], 16 * 2.2e-16 * sigma[i]);
    }
    run_.FreeStageArrays();
  }
}

TEST_F(WeightingTest, ExtensionSlotsAndErrorDensity) {
  run_.MakeStageGrid(3);
  const std::uint32_t n = 40;
  std::vector<double> weighted(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    const double angle = run_.pattern.angle[i];
    weighted[i] = run_.pattern.sigma[i] * run_.WidthConversionFactor(3, angle) / LorentzPolarization(angle);
  }
  run_.WeightPattern(3);
  const std::vector<double>& xt = run_.grid.xt;
  const double step = run_.grid.grid_step;
  const std::vector<double>& s = run_.pattern.sigma;
  EXPECT_DOUBLE_EQ(s[0], weighted[0] * std::sqrt((xt[1] - xt[0]) / step));
  EXPECT_DOUBLE_EQ(s[7], weighted[7] * std::sqrt((xt[8] - xt[6]) / 2 / step));
  EXPECT_DOUBLE_EQ(s[n - 1], weighted[n - 1] * std::sqrt((xt[n - 1] - xt[n - 2]) / step));
  // Slot n: the mean of the weighted, unscaled end errors, scaled by half the extension width.
  const double slot = (weighted[n - 1] + weighted[0]) * 0.5 * std::sqrt(run_.ExtensionWidth(3) / 2 / step);
  EXPECT_NEAR(s[n], slot, 1e-13 * slot);  // the node positions round the extension width a little
  EXPECT_EQ(s[n + 1], s[0]);
}

TEST_F(WeightingTest, DensityScalingFollowsTheLocalSpacing) {
  // Four points spaced 2, 1 and 1 grid steps, then the two extension nodes.
  Pattern& p = run_.pattern;
  p.count = 4;
  run_.grid.xt = {10.0, 10.25, 10.375, 10.5, 11.5, 12.5};
  run_.grid.grid_step = 0.125;
  p.sigma = {1, 1, 1, 1, 1, 1};
  run_.ScaleErrorDensity();
  EXPECT_EQ(p.sigma[0], std::sqrt(2.0));       // one-sided spacing of two grid steps
  EXPECT_EQ(p.sigma[1], std::sqrt(1.5));       // (10.375 - 10.0) / 2
  EXPECT_EQ(p.sigma[2], 1.0);                  // spacing equal to the grid step
  EXPECT_EQ(p.sigma[3], 1.0);                  // one-sided, ignores the extension node
  EXPECT_EQ(p.sigma[4], std::sqrt(8.0));       // half of 12.5 - 10.5
  EXPECT_EQ(p.sigma[5], std::sqrt(2.0));       // like point 0
  run_.grid.xt = {10.0, 10.0625, 11.0, 12.0};  // two points half a grid step apart
  p.count = 2;
  p.sigma = {1, 1, 1, 1};
  run_.ScaleErrorDensity();
  EXPECT_EQ(p.sigma[0], std::sqrt(0.5));
  EXPECT_EQ(p.sigma[1], std::sqrt(0.5));
}

}  // namespace
}  // namespace tarnix
