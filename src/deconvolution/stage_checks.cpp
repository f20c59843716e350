// What a stage refuses. A deconvolution stage maps the angles onto a logarithmic scale, lays a grid as
// fine as the closest pair of points and Fourier-transforms everything on it: one bad value would
// spread over the whole pattern, and one bad spacing would make the grid meaningless or enormous. These
// checks end the run with a sentence that names the point or parameter instead.
#include <cmath>
#include <cstdint>

#include "deconvolution/run_context.h"
#include "numeric/fatal_error.h"

namespace tarnix {
namespace {

struct NamedValue {
  const char* name;
  double value;
};

void RequireFinite(int step, const NamedValue& parameter) {
  if (!std::isfinite(parameter.value)) {
    FatalErrorFormat("Stage %d cannot run: the %s is not a finite number (%g).", step, parameter.name,
                     parameter.value);
  }
}

unsigned Number(std::uint32_t index) { return static_cast<unsigned>(index) + 1; }

}  // namespace

void RunContext::CheckStageInput(int step) const {
  const std::uint32_t n = pattern.count;
  if (n < 3) {
    FatalErrorFormat("Stage %d needs at least 3 data points; data.txt holds %u.", step,
                     static_cast<unsigned>(n));
  }
  for (std::uint32_t i = 0; i < n; ++i) {
    const double angle = pattern.angle[i];
    if (!std::isfinite(angle)) {
      FatalErrorFormat("Data point %u has an angle that is not a finite number (%g).", Number(i), angle);
    }
    if (!(angle > 0.0 && angle < 180.0)) {
      FatalErrorFormat(
          "Data point %u lies at %.15g degrees 2-theta; the angles must lie strictly between 0 and 180 "
          "degrees.",
          Number(i), angle);
    }
    if (i > 0 && !(angle > pattern.angle[i - 1])) {
      FatalErrorFormat(
          "Data point %u (%.15g degrees 2-theta) does not lie above data point %u (%.15g degrees); "
          "the angles must increase strictly.",
          Number(i), angle, Number(i - 1), pattern.angle[i - 1]);
    }
    if (!std::isfinite(pattern.intensity[i])) {
      FatalErrorFormat(
          "Data point %u (%.15g degrees 2-theta) has an intensity that is not a finite number (%g).",
          Number(i), angle, pattern.intensity[i]);
    }
    if (!std::isfinite(pattern.sigma[i])) {
      FatalErrorFormat(
          "Data point %u (%.15g degrees 2-theta) has a standard error that is not a finite number "
          "(%g).",
          Number(i), angle, pattern.sigma[i]);
    }
  }

  const InstrumentParameters& p = instrument;
  switch (step) {
    case 1:
      for (const NamedValue& v :
           {NamedValue{"K_alpha_1 relative width (line 1 of instr.txt)", p.kalpha1_width},
            NamedValue{"fraction of K_alpha_2 intensity (line 2 of instr.txt)", p.kalpha2_fraction},
            NamedValue{"K_alpha_2 shift (line 3 of instr.txt)", p.kalpha2_shift},
            NamedValue{"extra K_alpha_2 width (line 4 of instr.txt)", p.kalpha2_extra_width},
            NamedValue{"axial divergence angle (line 5 of instr.txt)", p.axial_divergence}}) {
        RequireFinite(step, v);
      }
      break;
    case 2:
      RequireFinite(step, {"axial divergence angle (line 5 of instr.txt)", p.axial_divergence});
      break;
    case 3:
      RequireFinite(step,
                    {"penetration depth / gonio.radius (lines 11 and 7 of instr.txt)", p.penetration_ratio});
      break;
    case 4:
      RequireFinite(step, {"equatorial angle (line 6 of instr.txt)", p.equatorial_angle});
      RequireFinite(step,
                    {"sample width / gonio.radius (lines 10 and 7 of instr.txt)", p.sample_width_ratio});
      // The flat-specimen scale takes logarithms of the ratio of the equatorial angle to the sample width.
      if (!(p.flat_ratio > 0.0)) {
        FatalErrorFormat(
            "Stage 4 cannot run: the equatorial angle (line 6 of instr.txt) and the sample width "
            "(line 10) must both be positive; their ratio comes out as %g.",
            p.flat_ratio);
      }
      break;
    default:
      RequireFinite(step, {"source X-ray relative width (lines 8 and 7 of instr.txt)", p.source_width_deg});
      RequireFinite(
          step, {"receiving slit relative width (lines 9 and 7 of instr.txt)", p.receiving_slit_width_deg});
      break;
  }
}

void RunContext::ExtensionWidthError(int step, double ext) const {
  if (step == 1) {
    FatalErrorFormat(
        "Stage 1 cannot run: its extension width beyond the last point is %g, too small to extend "
        "the pattern. With a K_alpha_2 shift of 0 (line 3 of instr.txt) the K_alpha_1 width and the "
        "extra K_alpha_2 width (lines 1 and 4) must not add up to 0.",
        ext);
  }
  FatalErrorFormat(
      "Stage %d cannot run: its parameters give an extension width of %g beyond the last point; it "
      "must be positive, finite and large enough to extend the pattern.",
      step, ext);
}

void RunContext::CheckTransformedAbscissae(int step) const {
  const std::vector<double>& xt = grid.xt;
  for (std::uint32_t i = 0; i < pattern.count; ++i) {
    if (!std::isfinite(xt[i])) {
      FatalErrorFormat("Stage %d cannot place data point %u (%.15g degrees 2-theta) on its scale.", step,
                       Number(i), pattern.angle[i]);
    }
    if (i > 0 && !(xt[i] > xt[i - 1])) {
      FatalErrorFormat(
          "Stage %d cannot separate data points %u and %u (%.15g and %.15g degrees 2-theta): its "
          "scale maps them to the same value. Remove one of them or space them further apart.",
          step, Number(i - 1), Number(i), pattern.angle[i - 1], pattern.angle[i]);
    }
  }
}

void RunContext::CheckGridLength(int step, double length, double smallest_spacing, std::uint32_t closest,
                                 double ext) const {
  if (length <= static_cast<double>(max_grid_length)) return;
  FatalErrorFormat(
      "Stage %d would need a grid of %.4g points, more than the %u allowed: the smallest spacing of "
      "the data on its scale is %g, between data points %u and %u (%.15g and %.15g degrees "
      "2-theta), and the pattern is extended by %g beyond its last point.",
      step, length, static_cast<unsigned>(max_grid_length), smallest_spacing, Number(closest - 1),
      Number(closest), pattern.angle[closest - 1], pattern.angle[closest], ext);
}

void RunContext::CheckGridCoverage(int step) const {
  if (grid.grid_data_points >= 2 && grid.grid_length >= 4) return;
  FatalErrorFormat(
      "Stage %d cannot lay a grid of at least four points over the data: the data points are too "
      "few or too unevenly spaced.",
      step);
}

void RunContext::CheckStageOutput(int step) const {
  for (std::uint32_t i = 0; i < pattern.count; ++i) {
    const char* what = !std::isfinite(pattern.intensity[i]) ? "an intensity"
                       : !std::isfinite(pattern.sigma[i])   ? "a standard error"
                                                            : nullptr;
    if (what != nullptr) {
      FatalErrorFormat(
          "Stage %d produced %s that is not a finite number at data point %u (%.15g degrees "
          "2-theta); no result was written.",
          step, what, Number(i), pattern.angle[i]);
    }
  }
}

}  // namespace tarnix
