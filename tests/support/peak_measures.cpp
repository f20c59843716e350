#include "support/peak_measures.h"

#include <cmath>
#include <cstddef>

namespace tarnix_test {

PeakMeasures MeasurePeak(const std::vector<double>& angle, const std::vector<double>& intensity,
                         const std::function<double(double)>& background, double lo, double hi) {
  std::vector<double> x, y;
  for (std::size_t i = 0; i < angle.size(); ++i) {
    if (angle[i] >= lo && angle[i] <= hi) {
      x.push_back(angle[i]);
      y.push_back(intensity[i] - background(angle[i]));
    }
  }
  PeakMeasures m{};
  double moment = 0;
  std::size_t top = 0;
  for (std::size_t i = 0; i + 1 < x.size(); ++i) {
    const double dx = x[i + 1] - x[i];
    m.area += 0.5 * (y[i] + y[i + 1]) * dx;
    moment += 0.5 * (x[i] * y[i] + x[i + 1] * y[i + 1]) * dx;
  }
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (y[i] > y[top]) top = i;
  }
  m.centroid = moment / m.area;
  m.maximum = y[top];
  m.position = x[top];
  if (top > 0 && top + 1 < x.size()) {
    // Vertex of the parabola through the highest sample and its neighbours (equal spacing assumed).
    const double curvature = y[top - 1] - 2 * y[top] + y[top + 1];
    if (curvature < 0) m.position += 0.5 * (y[top - 1] - y[top + 1]) / curvature * (x[top + 1] - x[top]);
  }
  const double half = y[top] / 2;
  std::size_t left = top, right = top;
  while (left > 0 && y[left - 1] > half) --left;
  while (right + 1 < x.size() && y[right + 1] > half) ++right;
  const double left_x =
      left > 0 ? x[left - 1] + (half - y[left - 1]) / (y[left] - y[left - 1]) * (x[left] - x[left - 1])
               : x[0];
  const double right_x = right + 1 < x.size() ? x[right] + (y[right] - half) / (y[right] - y[right + 1]) *
                                                               (x[right + 1] - x[right])
                                              : x.back();
  m.fwhm = right_x - left_x;
  m.asymmetry = ((right_x - m.position) - (m.position - left_x)) / m.fwhm;
  return m;
}

double ValueAt(const std::vector<double>& angle, const std::vector<double>& intensity, double at) {
  std::size_t best = 0;
  for (std::size_t i = 0; i < angle.size(); ++i) {
    if (std::fabs(angle[i] - at) < std::fabs(angle[best] - at)) best = i;
  }
  return intensity[best];
}

}  // namespace tarnix_test
