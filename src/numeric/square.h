#ifndef TARNIX_NUMERIC_SQUARE_H_
#define TARNIX_NUMERIC_SQUARE_H_

namespace tarnix {

inline double square(double x) { return x * x; }

// Pi as every routine of the program uses it.
constexpr double kPi = 3.141592653589793;

}  // namespace tarnix

#endif  // TARNIX_NUMERIC_SQUARE_H_
