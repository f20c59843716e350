#include "example_pattern.h"

#include <cmath>
#include <random>

namespace example_pattern {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kLambda1 = 1.54051;  // Cu K-alpha-1, Å
constexpr double kShift = 0.002480;   // lambda2 / lambda1 - 1
constexpr double kCell = 5.43102;     // Å

struct Line {
  int h, k, l;
  double area;  // integrated counts x degrees, before the Lorentz-polarization factor
};

// Roughly the relative intensities of silicon.
constexpr Line kLines[] = {
    {1, 1, 1, 8000}, {2, 2, 0, 7200}, {3, 1, 1, 5200}, {4, 0, 0, 1600}, {3, 3, 1, 2800},
    {4, 2, 2, 4000}, {5, 1, 1, 2800}, {4, 4, 0, 2200}, {5, 3, 1, 3400}, {6, 2, 0, 2800},
};

double SinTheta(const Line& r) {
  return kLambda1 * std::sqrt(r.h * r.h + r.k * r.k + r.l * r.l) / (2 * kCell);
}

}  // namespace

std::vector<Reflection> Reflections() {
  std::vector<Reflection> out;
  for (const Line& r : kLines) {
    const double s1 = SinTheta(r);
    const double two_theta = 360 / kPi * std::asin(s1);
    if (two_theta > 120) continue;
    out.push_back({r.h, r.k, r.l, two_theta, 360 / kPi * std::asin(s1 * (1 + kShift))});
  }
  return out;
}

std::vector<double> Angles() {
  std::vector<double> angles;
  for (int i = 0; i <= 5000; ++i) angles.push_back(20 + 0.02 * i);
  return angles;
}

double Background(double two_theta) {
  return 180 + 320 * std::exp(-(two_theta - 20) / 18) + 50 * std::sin(two_theta * kPi / 140);
}

forward_model::Pattern Truth() {
  std::vector<forward_model::Peak> peaks;
  for (const Line& r : kLines) {
    const double theta = std::asin(SinTheta(r));
    const double position = 360 / kPi * theta;
    // Crystallite size broadens as 1/cos(theta), strain as tan(theta).
    const double fwhm = 0.045 / std::cos(theta) + 0.03 * std::tan(theta);
    const double area =
        r.area * forward_model::LorentzPolarization(position) / forward_model::LorentzPolarization(28.44);
    peaks.push_back({position, area, fwhm, 0.3});
  }
  return forward_model::PeaksOnBackground(peaks, Background);
}

forward_model::Instrument Instrument() {
  forward_model::Instrument cu;  // the geometry keeps the defaults
  cu.kalpha1_width = 1.42e-4;
  cu.kalpha2_fraction = 0.341;
  cu.kalpha2_shift = kShift;
  cu.kalpha2_extra_width = 2.4e-5;
  return cu;
}

std::vector<int> Stages() { return {1, 2, 4}; }

std::vector<double> AddCountingNoise(const std::vector<double>& counts, unsigned long long seed) {
  // Box-Muller from 53-bit uniforms of the Mersenne twister, whose output the C++ standard fixes.
  std::mt19937_64 engine(seed);
  const auto uniform = [&engine] { return (static_cast<double>(engine() >> 11) + 0.5) * 0x1.0p-53; };
  std::vector<double> noisy(counts.size());
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const double u1 = uniform();
    const double u2 = uniform();
    const double gaussian = std::sqrt(-2 * std::log(u1)) * std::cos(2 * kPi * u2);
    noisy[i] = std::fmax(0.0, std::round(counts[i] + std::sqrt(std::fmax(counts[i], 0.0)) * gaussian));
  }
  return noisy;
}

}  // namespace example_pattern
