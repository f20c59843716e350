// Complex arithmetic in two forms.
//
// The value form works on Complex records passed and returned by value; the Fresnel continued
// fraction is written with it. The split form (c_mul_into, c_div_into) takes both operands as four
// doubles by value and writes the two parts of the result to two places of the caller's; all four
// inputs are read before either output is written, so the outputs may be the very elements the first
// operand came from. Nothing is checked: a zero divisor gives NaN in both parts.
#ifndef TARNIX_NUMERIC_COMPLEX_H_
#define TARNIX_NUMERIC_COMPLEX_H_

namespace tarnix {

struct Complex {
  double re;
  double im;
};

Complex c_make(double re, double im);
Complex c_add(Complex a, Complex b);
Complex c_sub(Complex a, Complex b);
Complex c_mul(Complex a, Complex b);
// a / b, scaled by the ratio of the divisor's two parts, so that it survives divisors whose squared
// modulus would overflow.
Complex c_div(Complex a, Complex b);
Complex c_scale(double x, Complex a);

// (a + ib)(c + id) into (*re, *im).
void c_mul_into(double* re, double* im, double a, double b, double c, double d);
// (a + ib) / (c + id) into (*re, *im), through the squared modulus c*c + d*d of the divisor.
void c_div_into(double* re, double* im, double a, double b, double c, double d);

}  // namespace tarnix

#endif  // TARNIX_NUMERIC_COMPLEX_H_
