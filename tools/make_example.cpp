// Writes the bundled example pattern to standard output: a synthetic Cu K-alpha scan of a silicon-like
// cubic powder (a = 5.43102 Å), 20 to 120 degrees 2-theta in steps of 0.02, as a laboratory
// Bragg-Brentano diffractometer with the geometry of examples/instr.txt would record it.
//
//   make_example > examples/data.txt
//   make_example --no-noise > clean.txt      (the same pattern without counting noise)
//   make_example --truth > truth.txt         (the intrinsic pattern: K-alpha-1 only, no aberrations)
//
// The intrinsic lines are pseudo-Voigt profiles whose width grows with the angle as crystallite size
// and strain make it; their intensities carry the Lorentz-polarization factor and sit on a smooth
// background. The forward model then adds what the instrument does: the Cu K-alpha-1 width and the
// K-alpha-2 line (at a relative wavelength difference of 0.00248, with 0.341 of the K-alpha intensity),
// both parts of the axial divergence (2.5 degrees) and the flat specimen (equatorial divergence 1
// degree, sample 20 mm on a 185 mm circle). Counting noise is Gaussian with variance equal to the
// counts, drawn from a fixed seed with a generator written out here, so the file is the same on every
// platform.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "forward_model.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kLambda1 = 1.54051;  // Cu K-alpha-1, Å
constexpr double kCell = 5.43102;     // Å

struct Reflection {
  int h, k, l;
  double area;  // integrated counts x degrees at the 111 angle, before the Lorentz-polarization factor
};

// Roughly the relative intensities of silicon.
constexpr Reflection kReflections[] = {
    {1, 1, 1, 2000}, {2, 2, 0, 1800}, {3, 1, 1, 1300}, {4, 0, 0, 400}, {3, 3, 1, 700},
    {4, 2, 2, 1000}, {5, 1, 1, 700},  {4, 4, 0, 550},  {5, 3, 1, 850}, {6, 2, 0, 700},
};

// Gaussian deviates by Box-Muller from 53-bit uniforms of the standard Mersenne twister, whose output
// sequence is fixed by the C++ standard.
class Noise {
 public:
  double Gaussian() {
    const double u1 = Uniform();
    const double u2 = Uniform();
    return std::sqrt(-2 * std::log(u1)) * std::cos(2 * kPi * u2);
  }

 private:
  double Uniform() { return (static_cast<double>(engine_() >> 11) + 0.5) * 0x1.0p-53; }
  std::mt19937_64 engine_{20261211};
};

std::vector<forward_model::Peak> IntrinsicPeaks() {
  std::vector<forward_model::Peak> peaks;
  for (const Reflection& r : kReflections) {
    const double sin_theta = kLambda1 * std::sqrt(r.h * r.h + r.k * r.k + r.l * r.l) / (2 * kCell);
    const double theta = std::asin(sin_theta);
    const double position = 360 / kPi * theta;
    // Size broadening grows as 1/cos(theta), strain broadening as tan(theta).
    const double fwhm = 0.045 / std::cos(theta) + 0.03 * std::tan(theta);
    const double area =
        r.area * forward_model::LorentzPolarization(position) / forward_model::LorentzPolarization(28.44);
    peaks.push_back({position, area, fwhm, 0.3});
  }
  return peaks;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const forward_model::Pattern truth = forward_model::PeaksOnBackground(IntrinsicPeaks(), [](double two_theta) {
    return 90 + 160 * std::exp(-(two_theta - 20) / 18) + 25 * std::sin(two_theta * kPi / 140);
  });
  std::vector<double> angles;
  for (int i = 0; i <= 5000; ++i) angles.push_back(20 + 0.02 * i);

  forward_model::Instrument cu;  // the geometry keeps the defaults
  cu.kalpha1_width = 1.42e-4;
  cu.kalpha2_fraction = 0.341;
  cu.kalpha2_shift = 0.002480;
  cu.kalpha2_extra_width = 2.4e-5;
  std::vector<double> counts;
  if (mode == "--truth") {
    for (double a : angles) counts.push_back(truth(a));
  } else {
    counts = forward_model::Measure(truth, cu, {1, 2, 4}, angles);
  }

  std::printf("Synthetic Cu K-alpha pattern of a silicon-like cubic powder, made by tools/make_example.cpp\n");
  std::printf("angle (degrees 2-theta) and counts\n");
  Noise noise;
  for (std::size_t i = 0; i < angles.size(); ++i) {
    if (mode.empty()) {
      const double measured = std::fmax(0.0, std::round(counts[i] + std::sqrt(counts[i]) * noise.Gaussian()));
      std::printf("%.2f %.0f\n", angles[i], measured);
    } else {
      std::printf("%.2f %.4f\n", angles[i], counts[i]);
    }
  }
  return 0;
}
