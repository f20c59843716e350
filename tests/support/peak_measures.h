// Measures of one peak in a sampled pattern, for comparing a corrected pattern with the truth.
#ifndef TARNIX_TESTS_SUPPORT_PEAK_MEASURES_H_
#define TARNIX_TESTS_SUPPORT_PEAK_MEASURES_H_

#include <functional>
#include <vector>

namespace tarnix_test {

struct PeakMeasures {
  double area;       // trapezoidal sum of intensity minus background over the window
  double centroid;   // first moment of intensity minus background
  double maximum;    // the highest sample above the background
  double position;   // vertex of the parabola through the highest sample and its neighbours
  double fwhm;       // between the half-maximum crossings (linear interpolation)
  double asymmetry;  // (right half-width - left half-width) / fwhm
};

// Over the samples with lo <= angle <= hi.
PeakMeasures MeasurePeak(const std::vector<double>& angle, const std::vector<double>& intensity,
                         const std::function<double(double)>& background, double lo, double hi);

// The sample value nearest to `at`.
double ValueAt(const std::vector<double>& angle, const std::vector<double>& intensity, double at);

}  // namespace tarnix_test

#endif  // TARNIX_TESTS_SUPPORT_PEAK_MEASURES_H_
