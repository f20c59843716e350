// instr.txt: the eleven instrument parameters, one per line, each with a default.
#ifndef TARNIX_DATAFILES_INSTRUMENT_FILE_H_
#define TARNIX_DATAFILES_INSTRUMENT_FILE_H_

#include <cstdio>

#include "datafiles/records.h"

namespace tarnix {

// Built-in values of the eleven lines of instr.txt, in file order.
struct ParameterDefaults {
  static constexpr double kalpha1_width = 0.0;
  static constexpr double kalpha2_fraction = 0.5;
  static constexpr double kalpha2_shift = 0.00248;
  static constexpr double kalpha2_extra_width = 6e-05;
  static constexpr double axial_divergence = 2.5;
  static constexpr double equatorial_angle = 1.0;
  static constexpr double gonio_radius = 185.0;
  static constexpr double source_width = 0.0;
  static constexpr double receiving_slit_width = 0.0;
  static constexpr double sample_width = 20.0;
  static constexpr double penetration_depth = 0.0;
};

// Fills `params` from the file at `path` and computes the derived fields. Never fails: a missing or
// unreadable file gives every parameter its default. `params` is expected fresh (all zero): a line
// that holds no number leaves its field as it was.
void ReadInstrumentFile(InstrumentParameters& params, const char* path = "instr.txt");

// Reads one line for one parameter. An empty or missing line (advance below 3) sets the default;
// otherwise the line's leading number is stored, and a line without a number leaves *field unchanged.
void ReadParameterLine(std::FILE* file, double* field, double default_value);

// The derived fields from the input fields, in their order of dependence.
void ComputeDerivedParameters(InstrumentParameters& params);

}  // namespace tarnix

#endif  // TARNIX_DATAFILES_INSTRUMENT_FILE_H_
