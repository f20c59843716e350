// A forward model of the Bragg-Brentano instrument: it applies the aberrations to a known intrinsic
// pattern by direct numerical convolution, so that Tarnix's corrections can be checked against the truth
// and realistic example patterns can be made.
//
// It shares no code with the program. Each aberration group acts on its own abscissa t (ln sin theta,
// -ln cos theta, 2 ln tan theta, the flat-specimen scale, or 2-theta itself) on the weighted intensity
// I * (d2theta/dt) / LP, exactly where the corresponding correction stage undoes it. The profiles are the
// real-space ones (Lorentzian, K-alpha doublet, the one-sided x^-1/2 exp(-x/beta) axial profiles, the
// flat-specimen 1/(alpha sqrt|x|), the exponential transparency profile, two slit boxes); each is
// integrated over every cell of a fine uniform grid through its cumulative distribution, so the singular
// ones are never sampled at their poles. The cell-integrated kernels are applied as discrete
// convolution sums, evaluated with a small complex FFT of this file's own. The stages are applied in
// reverse order (5 first, 1 last), so that Tarnix's stages 1 to 5 undo them in turn.
#ifndef TARNIX_TOOLS_FORWARD_MODEL_H_
#define TARNIX_TOOLS_FORWARD_MODEL_H_

#include <functional>
#include <vector>

namespace forward_model {

// The eleven instrument parameters with Tarnix's meanings and defaults.
struct Instrument {
  double kalpha1_width = 0.0;
  double kalpha2_fraction = 0.5;
  double kalpha2_shift = 0.00248;
  double kalpha2_extra_width = 6e-05;
  double axial_divergence = 2.5;  // degrees
  double equatorial_angle = 1.0;  // degrees
  double gonio_radius = 185.0;
  double source_width = 0.0;
  double receiving_slit_width = 0.0;
  double sample_width = 20.0;
  double penetration_depth = 0.0;
};

// Intrinsic line: a unit-shape pseudo-Voigt in degrees 2-theta.
struct Peak {
  double position;  // degrees 2-theta
  double area;      // intensity x degrees
  double fwhm;      // degrees
  double eta;       // Lorentzian fraction, 0 .. 1
};

double PseudoVoigt(double x, double fwhm, double eta);  // unit area, centred on 0

// Intensity as a function of 2-theta in degrees.
using Pattern = std::function<double(double)>;

// The sum of the peaks on the given background.
Pattern PeaksOnBackground(std::vector<Peak> peaks, Pattern background);

struct Options {
  int log2_points = 19;  // fine grid of each stage: 2^log2_points cells
  double margin = 6.0;   // degrees 2-theta computed beyond the requested range on either side
};

// The measured pattern at `angles` (ascending, degrees 2-theta) for the true pattern `truth` after the
// aberrations of `stages` (numbers 1 to 5, any order; applied from 5 down to 1).
std::vector<double> Measure(const Pattern& truth, const Instrument& instrument, std::vector<int> stages,
                            const std::vector<double>& angles, const Options& options = Options());

// The same factor Tarnix divides by, (1 + K cos^2 2theta) / ((1 + K) sin 2theta sin theta), K = 0.799466.
double LorentzPolarization(double two_theta);

}  // namespace forward_model

#endif  // TARNIX_TOOLS_FORWARD_MODEL_H_
