// The two records a run reads from its input files.
#ifndef TARNIX_DATAFILES_RECORDS_H_
#define TARNIX_DATAFILES_RECORDS_H_

#include <cstdint>
#include <vector>

namespace tarnix {

// The measured pattern. Each array holds count + 2 doubles: elements 0 .. count-1 are the data points
// in file order; elements count and count+1 of intensity and sigma are two extension slots that every
// stage fills for itself (those of angle are never used).
struct Pattern {
  std::uint32_t count = 0;
  std::vector<double> angle;      // 2-theta in degrees; never changed after reading
  std::vector<double> intensity;  // corrected in place by the stages
  std::vector<double> sigma;      // standard error of intensity; propagated in place
};

// The eleven lines of instr.txt, in file order, and the quantities derived from them once after
// reading. Lengths (lines 7 to 11) share one unit of the user's choice; only their ratios to the
// goniometer radius are used. Everything starts at 0, the state before reading.
struct InstrumentParameters {
  double kalpha1_width = 0.0;         // spectral width of K-alpha-1, relative to the wavelength
  double kalpha2_fraction = 0.0;      // fraction of K-alpha-2 in the K-alpha intensity
  double kalpha2_shift = 0.0;         // lambda(K-alpha-2) / lambda(K-alpha-1) - 1
  double kalpha2_extra_width = 0.0;   // extra relative width of K-alpha-2
  double axial_divergence = 0.0;      // axial divergence angle, degrees
  double equatorial_angle = 0.0;      // equatorial divergence angle, degrees
  double gonio_radius = 0.0;          // goniometer radius
  double source_width = 0.0;          // width of the X-ray source
  double receiving_slit_width = 0.0;  // width of the receiving slit
  double sample_width = 0.0;          // width of the sample
  double penetration_depth = 0.0;     // penetration depth of the beam into the sample

  double penetration_ratio = 0.0;         // penetration_depth / gonio_radius
  double sample_width_ratio = 0.0;        // sample_width / gonio_radius
  double flat_ratio = 0.0;                // equatorial angle in radians / sample_width_ratio
  double critical_angle = 0.0;            // 2-theta (degrees) above which the beam overfills the sample
  double source_width_deg = 0.0;          // source width seen from the sample, degrees 2-theta
  double receiving_slit_width_deg = 0.0;  // receiving slit width seen from the sample, degrees 2-theta
};

}  // namespace tarnix

#endif  // TARNIX_DATAFILES_RECORDS_H_
