#include "numeric/complex.h"

#include <cmath>

namespace tarnix {

Complex c_make(double re, double im) { return Complex{re, im}; }

Complex c_add(Complex a, Complex b) { return Complex{a.re + b.re, a.im + b.im}; }

Complex c_sub(Complex a, Complex b) { return Complex{a.re - b.re, a.im - b.im}; }

Complex c_mul(Complex a, Complex b) {
  return Complex{a.re * b.re - a.im * b.im, a.im * b.re + a.re * b.im};
}

Complex c_div(Complex a, Complex b) {
  // Dividing through by the larger part of the divisor keeps every intermediate near the size of the
  // operands; equal magnitudes take the first branch.
  if (std::fabs(b.re) >= std::fabs(b.im)) {
    const double r = b.im / b.re;
    const double den = b.re + r * b.im;
    return Complex{(a.re + r * a.im) / den, (a.im - r * a.re) / den};
  }
  const double r = b.re / b.im;
  const double den = b.im + r * b.re;
  return Complex{(r * a.re + a.im) / den, (r * a.im - a.re) / den};
}

Complex c_scale(double x, Complex a) { return Complex{x * a.re, x * a.im}; }

void c_mul_into(double* re, double* im, double a, double b, double c, double d) {
  *re = a * c - b * d;
  *im = a * d + b * c;
}

void c_div_into(double* re, double* im, double a, double b, double c, double d) {
  const double den = c * c + d * d;
  *re = (a * c + b * d) / den;
  *im = (b * c - a * d) / den;
}

}  // namespace tarnix
