#include "datafiles/instrument_file.h"

#include <cmath>

#include "datafiles/text_line.h"
#include "numeric/square.h"

namespace tarnix {
namespace {

// The eleven fields in the order of the lines of instr.txt, with their defaults.
struct ParameterLine {
  double InstrumentParameters::*field;
  double default_value;
};

using D = ParameterDefaults;
constexpr ParameterLine kLines[] = {
    {&InstrumentParameters::kalpha1_width, D::kalpha1_width},
    {&InstrumentParameters::kalpha2_fraction, D::kalpha2_fraction},
    {&InstrumentParameters::kalpha2_shift, D::kalpha2_shift},
    {&InstrumentParameters::kalpha2_extra_width, D::kalpha2_extra_width},
    {&InstrumentParameters::axial_divergence, D::axial_divergence},
    {&InstrumentParameters::equatorial_angle, D::equatorial_angle},
    {&InstrumentParameters::gonio_radius, D::gonio_radius},
    {&InstrumentParameters::source_width, D::source_width},
    {&InstrumentParameters::receiving_slit_width, D::receiving_slit_width},
    {&InstrumentParameters::sample_width, D::sample_width},
    {&InstrumentParameters::penetration_depth, D::penetration_depth},
};

}  // namespace

void ReadParameterLine(std::FILE* file, double* field, double default_value) {
  TextLine line;
  ReadTextLine(file, &line);
  if (line.advance < 3) {
    *field = default_value;
    return;
  }
  double value;
  if (std::sscanf(line.text, "%le", &value) == 1) *field = value;
}

void ReadInstrumentFile(InstrumentParameters& params, const char* path) {
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) {
    for (const ParameterLine& line : kLines) params.*line.field = line.default_value;
  } else {
    for (const ParameterLine& line : kLines)
      ReadParameterLine(file, &(params.*line.field), line.default_value);
    std::fclose(file);
  }
  ComputeDerivedParameters(params);
}

void ComputeDerivedParameters(InstrumentParameters& p) {
  p.penetration_ratio = p.penetration_depth / p.gonio_radius;
  p.sample_width_ratio = p.sample_width / p.gonio_radius;
  p.flat_ratio = p.equatorial_angle * kPi / 180 / p.sample_width_ratio;
  // 114.59155902616465 is 360/pi: twice the arcsine, in degrees. A ratio above 1 means the beam never
  // overfills the sample below 180 degrees.
  p.critical_angle = p.flat_ratio > 1 ? 180.0 : std::asin(p.flat_ratio) * 114.59155902616465;
  p.source_width_deg = p.source_width / p.gonio_radius * 180 / kPi;
  p.receiving_slit_width_deg = p.receiving_slit_width / p.gonio_radius * 180 / kPi;
}

}  // namespace tarnix
