// Physical accuracy: intrinsic peaks are broadened by an independent forward model (direct real-space
// convolution with the aberration profiles, tools/forward_model.h), the real tarnix corrects the result,
// and the corrected peaks are compared with the intrinsic ones: position, area, width, and the largest
// deviation anywhere near the peak.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "example_pattern.h"
#include "forward_model.h"
#include "gtest/gtest.h"
#include "support/peak_measures.h"
#include "support/run_tarnix.h"

namespace tarnix_test {
namespace {

using forward_model::Instrument;
using forward_model::Peak;

std::string InstrumentFile(const Instrument& in) {
  char text[1024];
  std::snprintf(text, sizeof text,
                "%.17g\n%.17g\n%.17g\n%.17g\n%.17g\n%.17g\n%.17g\n%.17g\n%.17g\n%.17g\n%.17g\n",
                in.kalpha1_width, in.kalpha2_fraction, in.kalpha2_shift, in.kalpha2_extra_width,
                in.axial_divergence, in.equatorial_angle, in.gonio_radius, in.source_width,
                in.receiving_slit_width, in.sample_width, in.penetration_depth);
  return text;
}

// An instrument with every aberration switched off; scenarios switch on what they test.
Instrument Ideal() {
  Instrument in;
  in.kalpha2_fraction = 0;
  in.axial_divergence = 0;
  in.equatorial_angle = 0;
  return in;
}

Instrument CuLines(Instrument in) {
  in.kalpha1_width = 1.42e-4;
  in.kalpha2_fraction = 0.341;
  in.kalpha2_shift = 0.00248;
  in.kalpha2_extra_width = 2.4e-5;
  return in;
}

double Background(double two_theta) { return 300 + 200 * std::exp(-(two_theta - 10) / 40); }

struct Tolerances {
  double centroid;   // degrees
  double top;        // degrees: the vertex of the parabola through the highest sample and its neighbours
  double area;       // relative
  double fwhm;       // relative
  double deviation;  // largest |corrected - true| within the window, relative to the true peak height
};

// What the correction achieves on noise-free data, and on data with counting noise, where the
// deconvolution amplifies the noise of the highest frequencies (widths are then measured after the same
// light smoothing of both curves).
constexpr Tolerances kClean = {0.001, 0.001, 0.003, 0.01, 0.005};
constexpr Tolerances kNoisy = {0.01, 0.02, 0.03, 0.1, 0.8};
// With the slit stage after the others, the slit transform's near-zeros (gains up to 100) magnify what the
// earlier stages leave of interpolation error; with noise the result is not usable (see README).
constexpr Tolerances kAllFiveClean = {0.003, 0.002, 0.006, 0.03, 0.06};

struct Scenario {
  const char* name;
  Instrument instrument;
  std::vector<int> stages;
  double first, last, step;
  std::vector<Peak> peaks;
  double window;      // half-width of the window around each peak, degrees
  Tolerances clean;   // without noise
  bool noisy = true;  // also checked with counting noise, against kNoisy
};

std::vector<double> Angles(const Scenario& s) {
  std::vector<double> angles;
  const int n = static_cast<int>(std::lround((s.last - s.first) / s.step));
  for (int i = 0; i <= n; ++i) angles.push_back(s.first + s.step * i);
  return angles;
}

std::vector<Scenario> Scenarios() {
  Instrument slits = Ideal();
  slits.source_width = 0.04;
  slits.receiving_slit_width = 0.2;
  Instrument transparency = Ideal();
  transparency.penetration_depth = 0.37;  // 0.002 of the radius
  Instrument spectral = CuLines(Ideal());
  Instrument axial = Ideal();
  axial.axial_divergence = 2.5;
  Instrument flat = Ideal();
  flat.equatorial_angle = 1.0;
  Instrument defaults = CuLines(Instrument());
  Instrument everything = CuLines(Instrument());
  everything.source_width = 0.04;
  everything.receiving_slit_width = 0.2;
  everything.penetration_depth = 0.37;
  const auto peaks = [](std::vector<double> positions, double fwhm) {
    std::vector<Peak> out;
    double area = 3000;  // peak heights of some 10^4 counts
    for (double p : positions) {
      out.push_back({p, area, fwhm * (1 + p / 200), 0.3});
      area *= 0.8;
    }
    return out;
  };
  return {
      {"source and receiving slits (stage 5)",
       slits,
       {5},
       30,
       70,
       0.01,
       peaks({35, 44, 52.5, 63}, 0.05),
       0.6,
       kClean},
      {"sample transparency (stage 3)",
       transparency,
       {3},
       55,
       125,
       0.01,
       peaks({62, 78, 96, 115}, 0.06),
       0.8,
       kClean},
      {"K-alpha-1 width and K-alpha-2 (stage 1)",
       spectral,
       {1},
       40,
       140,
       0.01,
       peaks({50, 78, 105, 131}, 0.05),
       1.0,
       kClean},
      {"axial divergence (stages 1 and 2)",
       axial,
       {1, 2},
       15,
       160,
       0.01,
       peaks({22, 45, 120, 150}, 0.05),
       1.0,
       kClean},
      {"flat specimen (stage 4)", flat, {4}, 10, 100, 0.01, peaks({14, 25, 55, 90}, 0.05), 0.8, kClean},
      {"default stages with Cu lines (1, 2, 4)",
       defaults,
       {1, 2, 4},
       20,
       140,
       0.01,
       peaks({28.4, 47.3, 76.4, 106.7, 127.5}, 0.05),
       1.0,
       kClean},
      {"all five stages",
       everything,
       {1, 2, 3, 4, 5},
       20,
       140,
       0.01,
       peaks({28.4, 47.3, 76.4, 106.7, 127.5}, 0.06),
       1.0,
       kAllFiveClean,
       false},
  };
}

// Binomial (1 4 6 4 1)/16 smoothing.
std::vector<double> Smooth(const std::vector<double>& y) {
  std::vector<double> out = y;
  for (std::size_t i = 2; i + 2 < y.size(); ++i) {
    out[i] = (y[i - 2] + 4 * y[i - 1] + 6 * y[i] + 4 * y[i + 1] + y[i + 2]) / 16;
  }
  return out;
}

struct Errors {
  double centroid = 0, position = 0, area = 0, fwhm = 0, deviation = 0;
};

class RecoveryTest : public testing::TestWithParam<int> {};

TEST_P(RecoveryTest, CorrectedPeaksMatchTheIntrinsicOnes) {
  const Scenario s = Scenarios()[static_cast<std::size_t>(GetParam())];
  const std::vector<double> angles = Angles(s);
  const forward_model::Pattern truth = forward_model::PeaksOnBackground(s.peaks, Background);
  std::vector<double> true_values;
  for (double a : angles) true_values.push_back(truth(a));
  const std::vector<double> measured = forward_model::Measure(truth, s.instrument, s.stages, angles);

  for (bool noisy : {false, true}) {
    if (noisy && !s.noisy) continue;
    SCOPED_TRACE(noisy ? "with counting noise" : "without noise");
    // The noise is that of counting statistics.
    const std::vector<double> data = noisy ? example_pattern::AddCountingNoise(measured, 4242) : measured;
    WorkDir dir;
    dir.Write("instr.txt", InstrumentFile(s.instrument));
    dir.Write("data.txt", DataLines(angles, data));
    const RunResult result = dir.Run("1\n");
    ASSERT_EQ(result.status, 0) << result.err;
    const Columns corrected = ParseResult(dir.Read("tarnix.txt"));
    ASSERT_EQ(corrected.angle.size(), angles.size());

    const Tolerances& tol = noisy ? kNoisy : s.clean;
    const std::vector<double> smoothed_truth = noisy ? Smooth(true_values) : true_values;
    const std::vector<double> smoothed = noisy ? Smooth(corrected.intensity) : corrected.intensity;
    Errors worst;
    for (const Peak& p : s.peaks) {
      SCOPED_TRACE(testing::Message() << "peak at " << p.position);
      const double lo = p.position - s.window, hi = p.position + s.window;
      const PeakMeasures want = MeasurePeak(angles, true_values, Background, lo, hi);
      const PeakMeasures got = MeasurePeak(angles, corrected.intensity, Background, lo, hi);
      const double fwhm_error = std::fabs(MeasurePeak(angles, smoothed, Background, lo, hi).fwhm /
                                              MeasurePeak(angles, smoothed_truth, Background, lo, hi).fwhm -
                                          1);
      const PeakMeasures before = MeasurePeak(angles, data, Background, lo, hi);
      double deviation = 0;
      for (std::size_t i = 0; i < angles.size(); ++i) {
        if (angles[i] >= lo && angles[i] <= hi) {
          deviation = std::max(deviation, std::fabs(corrected.intensity[i] - true_values[i]) / want.maximum);
        }
      }
      const Errors e{std::fabs(got.centroid - want.centroid), std::fabs(got.position - want.position),
                     std::fabs(got.area / want.area - 1), fwhm_error, deviation};
      double chi2 = 0;
      int points = 0;
      for (std::size_t i = 0; i < angles.size(); ++i) {
        if (angles[i] >= lo && angles[i] <= hi) {
          chi2 += std::pow((corrected.intensity[i] - true_values[i]) / corrected.sigma[i], 2);
          ++points;
        }
      }
      std::printf("normalized rms %.3f  ", std::sqrt(chi2 / points));
      std::printf(
          "%-42s %-5s peak %6.2f: centroid %.5f (was %.5f), top %.5f, area %.4f, fwhm %.4f (was %.3f), "
          "deviation %.4f\n",
          s.name, noisy ? "noisy" : "clean", p.position, e.centroid,
          std::fabs(before.centroid - want.centroid), e.position, e.area, e.fwhm,
          std::fabs(before.fwhm / want.fwhm - 1), e.deviation);
      EXPECT_LE(e.centroid, tol.centroid);
      EXPECT_LE(e.position, tol.top);
      EXPECT_LE(e.area, tol.area);
      EXPECT_LE(e.fwhm, tol.fwhm);
      EXPECT_LE(e.deviation, tol.deviation);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Stages, RecoveryTest, testing::Range(0, static_cast<int>(Scenarios().size())),
                         [](const testing::TestParamInfo<int>& info) {
                           std::string name = Scenarios()[static_cast<std::size_t>(info.param)].name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace tarnix_test

namespace tarnix_test {
namespace {

std::string ReadSourceFile(const std::string& relative) {
  std::FILE* file = std::fopen((std::string(TARNIX_SOURCE_DIR) + "/" + relative).c_str(), "rb");
  std::string text;
  if (file == nullptr) return text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

double MeanNear(const std::vector<double>& angle, const std::vector<double>& values, double at,
                double half_width) {
  double sum = 0;
  int n = 0;
  for (std::size_t i = 0; i < angle.size(); ++i) {
    if (std::fabs(angle[i] - at) <= half_width) {
      sum += values[i];
      ++n;
    }
  }
  return sum / n;
}

// The bundled example (noisy Cu data with the Cu preset): after the default stages the K-alpha-2 line
// of every resolved doublet is gone and each K-alpha-1 line keeps its area.
TEST(BundledExampleTest, KalphaTwoIsGone) {
  WorkDir dir;
  dir.Write("data.txt", ReadSourceFile("examples/data.txt"));
  dir.Write("instr.txt", ReadSourceFile("examples/instr.txt"));
  const RunResult result = dir.Run("1\n");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(
      result.err.find("K_alpha_1 relative width = 0.000142\nfraction of K_alpha_2 intensity = 0.341000\n"),
      std::string::npos);
  const Columns corrected = ParseResult(dir.Read("tarnix.txt"));
  const Columns measured = ParseResult([&] {
    std::string three_columns;  // the data file has a header and two columns
    for (const std::string& line : Lines(ReadSourceFile("examples/data.txt"))) {
      double a, y;
      if (std::sscanf(line.c_str(), "%lf %lf", &a, &y) == 2) three_columns += line + " 0\n";
    }
    return three_columns;
  }());
  ASSERT_EQ(corrected.angle.size(), 5001u);
  ASSERT_EQ(measured.angle.size(), 5001u);
  const forward_model::Pattern truth = example_pattern::Truth();
  std::vector<double> true_values;
  for (double a : corrected.angle) true_values.push_back(truth(a));
  for (const example_pattern::Reflection& r : example_pattern::Reflections()) {
    SCOPED_TRACE(testing::Message() << r.h << r.k << r.l << " at " << r.kalpha1);
    // Excess over the intrinsic pattern at the K-alpha-2 position, before and after.
    std::vector<double> before(measured.angle.size()), after(measured.angle.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
      before[i] = measured.intensity[i] - true_values[i];
      after[i] = corrected.intensity[i] - true_values[i];
    }
    const double excess_before = MeanNear(measured.angle, before, r.kalpha2, 0.03);
    EXPECT_GT(excess_before, 300.0);  // every doublet has a K-alpha-2 line to remove
    const double excess_after = MeanNear(corrected.angle, after, r.kalpha2, 0.03);
    const PeakMeasures want = MeasurePeak(corrected.angle, true_values, example_pattern::Background,
                                          r.kalpha1 - 0.6, r.kalpha1 + 0.6);
    const PeakMeasures got = MeasurePeak(corrected.angle, corrected.intensity, example_pattern::Background,
                                         r.kalpha1 - 0.6, r.kalpha1 + 0.6);
    std::printf("%d%d%d %7.3f: K-alpha-2 excess %8.1f -> %7.1f; area %.4f; centroid %+.4f\n", r.h, r.k, r.l,
                r.kalpha1, excess_before, excess_after, got.area / want.area - 1,
                got.centroid - want.centroid);
    // The amplified counting noise of the corrected pattern, from a peak-free stretch beyond the doublet.
    double noise = 0;
    int n = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (corrected.angle[i] > r.kalpha2 + 0.4 && corrected.angle[i] < r.kalpha2 + 1.4) {
        noise += after[i] * after[i];
        ++n;
      }
    }
    noise = std::sqrt(noise / n);
    std::printf("    noise %.1f\n", noise);
    // What is left of K-alpha-2 is a tenth of what was there, or lost in the noise.
    EXPECT_LT(std::fabs(excess_after), std::max(0.1 * excess_before, noise));
    EXPECT_NEAR(got.area / want.area, 1.0, 0.03);
    EXPECT_NEAR(got.centroid, want.centroid, 0.01);
  }
}

}  // namespace
}  // namespace tarnix_test
