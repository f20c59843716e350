// Complex arithmetic in two forms.
//
// The value form works on Complex records passed and returned by value; the Fresnel continued
// fraction is written with it. The split form (c_mul_into, c_div_into) takes both operands as four
// doubles by value and writes the two parts of the result to two places of the caller's; all four
// inputs are read before either output is written, so the outputs may be the very elements the first
// operand came from. Nothing is checked: a zero divisor gives NaN in both parts.
#ifndef TARNIX_NUMERIC_COMPLEX_H_
#define TARNIX_NUMERIC_COMPLEX_H_

#include <cmath>

namespace tarnix {

struct Complex {
  double re;
  double im;
};

// Defined here so that they inline into the Fresnel continued fraction, which runs once per frequency
// of the flat-specimen stage.
inline Complex c_make(double re, double im) { return Complex{re, im}; }

inline Complex c_add(Complex a, Complex b) { return Complex{a.re + b.re, a.im + b.im}; }

inline Complex c_sub(Complex a, Complex b) { return Complex{a.re - b.re, a.im - b.im}; }

inline Complex c_mul(Complex a, Complex b) {
  return Complex{a.re * b.re - a.im * b.im, a.im * b.re + a.re * b.im};
}

// a / b, scaled by the ratio of the divisor's two parts, so that it survives divisors whose squared
// modulus would overflow. Equal magnitudes take the first branch.
inline Complex c_div(Complex a, Complex b) {
  if (std::fabs(b.re) >= std::fabs(b.im)) {
    const double r = b.im / b.re;
    const double den = b.re + r * b.im;
    return Complex{(a.re + r * a.im) / den, (a.im - r * a.re) / den};
  }
  const double r = b.re / b.im;
  const double den = b.im + r * b.re;
  return Complex{(r * a.re + a.im) / den, (r * a.im - a.re) / den};
}

inline Complex c_scale(double x, Complex a) { return Complex{x * a.re, x * a.im}; }

// (a + ib)(c + id) into (*re, *im).
inline void c_mul_into(double* re, double* im, double a, double b, double c, double d) {
  *re = a * c - b * d;
  *im = a * d + b * c;
}

// (a + ib) / (c + id) into (*re, *im), through the squared modulus c*c + d*d of the divisor.
inline void c_div_into(double* re, double* im, double a, double b, double c, double d) {
  const double den = c * c + d * d;
  *re = (a * c + b * d) / den;
  *im = (b * c - a * d) / den;
}

}  // namespace tarnix

#endif  // TARNIX_NUMERIC_COMPLEX_H_
