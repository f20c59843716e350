// Natural cubic splines and resampling between arbitrary and equidistant abscissae.
//
// A spline through n points is given by its abscissae xa (strictly increasing), values ya and second
// derivatives y2, each n doubles; the caller owns them. An equidistant set of abscissae is given by
// its start x0, step dx and count, point i lying at i*dx + x0 (computed afresh for every point, never
// accumulated). Outside the knots a spline continues the cubic of its end interval: there is no
// clamping and no zero. Every routine needs n >= 2 and ends the run through FatalError otherwise.
#ifndef TARNIX_NUMERIC_SPLINE_H_
#define TARNIX_NUMERIC_SPLINE_H_

#include <cstdint>

namespace tarnix {

// An end derivative above this value asks for the natural end condition (zero second derivative).
constexpr double kNaturalSplineEnd = 1e30;

// Fills y2[0..n-1] with the second derivatives of the spline through (xa, ya) with first derivatives
// yp1 at the first and ypn at the last point (values above 9.9e29 select the natural end).
// Does not check xa.
void spline(const double* xa, const double* ya, std::uint32_t n, double yp1, double ypn, double* y2);

// Writes the spline's value at x to *y, locating x by a fresh bisection. Ends the run with
// "Bad xa input to routine splint" if the interval that brackets x has zero length.
void splint(const double* xa, const double* ya, const double* y2, std::uint32_t n, double x, double* y);

// out[i] = natural spline through (xa, ya), n points, evaluated at i*dx + x0, for i = 0 .. m-1.
void SplineNonEq2Eq(const double* xa, const double* ya, std::uint32_t n, double x0, double dx, double* out,
                    std::uint32_t m);

// out[i] = natural spline through the n grid values ya at j*dx + x0, evaluated at target[i], for
// i = 0 .. m-1.
void SplineEq2NonEq(double x0, double dx, const double* ya, std::uint32_t n, const double* target,
                    double* out, std::uint32_t m);

}  // namespace tarnix

#endif  // TARNIX_NUMERIC_SPLINE_H_
