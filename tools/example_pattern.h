// The bundled example: a silicon-like cubic powder (a = 5.43102 Å) measured with Cu K-alpha radiation
// from 20 to 120 degrees 2-theta in steps of 0.02, on an instrument with the geometry of
// examples/instr.txt (the Cu preset: Tarnix's default geometry).
#ifndef TARNIX_TOOLS_EXAMPLE_PATTERN_H_
#define TARNIX_TOOLS_EXAMPLE_PATTERN_H_

#include <vector>

#include "forward_model.h"

namespace example_pattern {

struct Reflection {
  int h, k, l;
  double kalpha1;  // 2-theta of K-alpha-1, degrees
  double kalpha2;  // 2-theta of K-alpha-2, degrees
};

std::vector<Reflection> Reflections();  // those whose K-alpha-1 line lies between 20 and 120 degrees
std::vector<double> Angles();           // 20, 20.02, ..., 120
forward_model::Pattern Truth();         // the intrinsic pattern: K-alpha-1 lines only, no aberrations
double Background(double two_theta);
forward_model::Instrument Instrument();  // Cu lines and the default geometry
std::vector<int> Stages();               // the aberrations the instrument applies: 1, 2 and 4

// Counts with Gaussian noise of variance equal to the counts, rounded, from a fixed seed; the generator
// is written out so that the result is the same on every platform.
std::vector<double> AddCountingNoise(const std::vector<double>& counts, unsigned long long seed);

}  // namespace example_pattern

#endif  // TARNIX_TOOLS_EXAMPLE_PATTERN_H_
