// The state of one correction run and the routines that work on it.
//
// A RunContext holds what the run shares between its routines: the instrument parameters, the
// pattern, the current stage's grid and working arrays, and the specific widths that accumulate over
// the stages. A fresh context is the all-zero state before reading. The stage routines are member
// functions; the numerical toolkit and the instrument transforms stay free functions.
#ifndef TARNIX_DECONVOLUTION_RUN_CONTEXT_H_
#define TARNIX_DECONVOLUTION_RUN_CONTEXT_H_

#include <cstdint>
#include <cstdio>
#include <vector>

#include "datafiles/records.h"

namespace tarnix {

// The equidistant grid of the current stage, on the stage's transformed abscissa.
struct StageGrid {
  std::vector<double> xt;         // count + 2 transformed abscissae: the points, then two extension nodes
  std::uint32_t grid_length = 0;  // N, a power of two
  double grid_start = 0.0;        // abscissa of grid point 0, equal to xt[0]
  double grid_step = 0.0;         // spacing of the grid
  std::uint32_t grid_data_points = 0;  // M, the leading grid points that cover xt[0] .. xt[count-1]
  double freq_step = 0.0;              // 1 / (N * grid_step), the frequency spacing of the transform
};

// Terms of the instrument transform whose modulus is below this are not divided by (see
// DeconvoluteFourier).
constexpr double kMinInstrumentModulus = 1e-2;

// The longest grid a stage may lay: three working arrays of this many doubles take 1.5 GiB.
constexpr std::uint32_t kMaxGridLength = std::uint32_t{1} << 26;

class RunContext {
 public:
  InstrumentParameters instrument;
  Pattern pattern;
  StageGrid grid;
  std::vector<double> y0i;         // intensity on the grid; deconvoluted in place
  std::vector<double> s0;          // its standard error; propagated in place
  std::vector<double> ft_Instrum;  // the instrument transform, packed real spectrum
  double specific_width_low = 0.0;
  double specific_width_mid = 0.0;
  double specific_width_high = 0.0;
  double max_specific_width = 0.0;
  std::FILE* console = stderr;  // the run's transcript
  // The longest grid a stage may lay; the fuzzing harness lowers it to keep its runs small.
  std::uint32_t max_grid_length = kMaxGridLength;

  // Writes each stage's heading and parameter lines, then runs it or writes "...skipped...".
  void RunStages();
  // One complete stage (1 to 5) on the pattern, in place.
  void DeconvoluteStep(int step);

  // Stage set-up: the transformed abscissae, the extension and the grid; writes the Step line.
  void MakeStageGrid(int step);
  // The stage's transformed abscissa of an angle 2-theta in degrees.
  double TransformAbscissa(int step, double angle) const;
  // How far beyond the last point the stage extends the pattern, in the stage's unit.
  double ExtensionWidth(int step) const;

  // Intensity per degree 2-theta to intensity per unit of the stage's abscissa, divided by the
  // Lorentz-polarization factor; errors likewise and then scaled to an error density.
  void WeightPattern(int step);
  // The inverse of WeightPattern, for points 0 .. count-1.
  void UnweightPattern(int step);
  void ScaleErrorDensity();
  void UnscaleErrorDensity();
  // The spacing of point i (0 .. count+1) on the transformed abscissa that its error density refers to.
  double LocalSpacing(std::uint32_t i) const;

  void ResampleToGrid();
  void ResampleFromGrid();

  // Fills ft_Instrum with the stage's instrument transform on its frequency grid, accumulates the
  // specific widths and writes them.
  void BuildInstrumentTransform(int step, std::uint32_t grid_length);
  // Degrees 2-theta per unit of the stage's transformed abscissa at an angle 2-theta in degrees.
  double WidthConversionFactor(int step, double angle) const;

  // Divides the spectrum of y0i by ft_Instrum and propagates the errors in s0.
  void DeconvoluteFourier(int step, std::uint32_t grid_length);

  void FreeStageArrays();

  // Refusals of input that a stage cannot correct meaningfully: each ends the run through FatalError
  // with a sentence that names the offending point or parameter.
  void CheckStageInput(int step) const;
  void CheckStageOutput(int step) const;

 private:
  void CheckTransformedAbscissae(int step) const;
  [[noreturn]] void ExtensionWidthError(int step, double ext) const;
  void CheckGridLength(int step, double length, double smallest_spacing, std::uint32_t closest,
                       double ext) const;
  void CheckGridCoverage(int step) const;
  void InstrumentTransformAt(int step, double f, double* re, double* im) const;
  void AccumulateSpecificWidths(int step, std::uint32_t grid_length);
};

// (1 + K cos^2 2theta) / ((1 + K) sin 2theta sin theta) with K = 0.799466, for an angle 2-theta in degrees.
double LorentzPolarization(double angle);

}  // namespace tarnix

#endif  // TARNIX_DECONVOLUTION_RUN_CONTEXT_H_
