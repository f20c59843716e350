// Writes the bundled example pattern to standard output: a synthetic Cu K-alpha scan of a silicon-like
// cubic powder, as a laboratory Bragg-Brentano diffractometer with the geometry of examples/instr.txt
// would record it (see example_pattern.h).
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
// degree, sample 20 mm on a 185 mm circle). Last comes counting noise from a fixed seed.
#include <cstdio>
#include <string>
#include <vector>

#include "example_pattern.h"

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (!mode.empty() && mode != "--no-noise" && mode != "--truth") {
    std::fprintf(stderr, "usage: make_example [--no-noise | --truth]\n");
    return 2;
  }
  const std::vector<double> angles = example_pattern::Angles();
  const forward_model::Pattern truth = example_pattern::Truth();
  std::vector<double> counts;
  if (mode == "--truth") {
    for (double a : angles) counts.push_back(truth(a));
  } else {
    counts = forward_model::Measure(truth, example_pattern::Instrument(), example_pattern::Stages(), angles);
  }
  std::printf(
      "Synthetic Cu K-alpha pattern of a silicon-like cubic powder, made by tools/make_example.cpp\n");
  std::printf("angle (degrees 2-theta) and counts\n");
  if (mode.empty()) {
    counts = example_pattern::AddCountingNoise(counts, 20261211);
    for (std::size_t i = 0; i < angles.size(); ++i) std::printf("%.2f %.0f\n", angles[i], counts[i]);
  } else {
    for (std::size_t i = 0; i < angles.size(); ++i) std::printf("%.2f %.4f\n", angles[i], counts[i]);
  }
  return 0;
}
