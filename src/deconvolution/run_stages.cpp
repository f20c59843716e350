#include <cstdio>

#include "deconvolution/run_context.h"

namespace tarnix {
namespace {

// A parameter switches its aberration on when it is not exactly zero; negative values count, a value
// that is not a number does not.
bool IsSet(double value) { return value < 0.0 || value > 0.0; }

}  // namespace

void RunContext::RunStages() {
  const InstrumentParameters& p = instrument;
  const auto run_or_skip = [this](int step, bool runs) {
    if (runs) {
      DeconvoluteStep(step);
    } else {
      std::fprintf(console, "...skipped...\n");
    }
  };

  std::fprintf(console, "*** Deconvolution of Kalpha1, Kalpha2 & Higher-Axial-Divergence ***\n");
  std::fprintf(console, "K_alpha_1 relative width = %f\n", p.kalpha1_width);
  std::fprintf(console, "fraction of K_alpha_2 intensity = %f\n", p.kalpha2_fraction);
  std::fprintf(console, "axial divergence angle = %f\n", p.axial_divergence);
  run_or_skip(1, IsSet(p.kalpha1_width) || IsSet(p.kalpha2_fraction) || IsSet(p.axial_divergence));

  std::fprintf(console, "*** Deconvolution of Lower-Axial-Divergence ***\n");
  std::fprintf(console, "axial divergence angle = %f\n", p.axial_divergence);
  run_or_skip(2, IsSet(p.axial_divergence));

  std::fprintf(console, "*** Deconvolution of Sample-Transparency ***\n");
  std::fprintf(console, "penetration depth / gonio.radius = %f\n", p.penetration_ratio);
  run_or_skip(3, IsSet(p.penetration_ratio));

  std::fprintf(console, "*** Deconvolution of Flat-Specimen ***\n");
  std::fprintf(console, "equatorial angle = %f\n", p.equatorial_angle);
  std::fprintf(console, "sample width / gonio.radius = %f\n", p.sample_width_ratio);
  std::fprintf(console, "critical diffraction angle = %f\n", p.critical_angle);
  run_or_skip(4, IsSet(p.equatorial_angle) && IsSet(p.sample_width_ratio));

  std::fprintf(console, "*** Deconvolution of Source X-ray & Receiving Slit Width ***\n");
  std::fprintf(console, "source X-ray relative width = %f\n", p.source_width_deg);
  std::fprintf(console, "receiving slit relative width = %f\n", p.receiving_slit_width_deg);
  run_or_skip(5, IsSet(p.source_width_deg) || IsSet(p.receiving_slit_width_deg));
}

}  // namespace tarnix
