// Fresnel integrals S(x) = ∫₀ˣ sin(π t²/2) dt and C(x) = ∫₀ˣ cos(π t²/2) dt.
#ifndef TARNIX_NUMERIC_FRESNEL_H_
#define TARNIX_NUMERIC_FRESNEL_H_

namespace tarnix {

// Writes S(x) to *s and C(x) to *c (sine integral first). Relative accuracy about 6e-8, not full
// double precision. Odd in x. Ends the run through FatalError ("series failed in frenel" or
// "cf failed in frenel") if its series or continued fraction does not converge in 100 steps, which
// does not happen for finite arguments.
void frenel(double x, double* s, double* c);

}  // namespace tarnix

#endif  // TARNIX_NUMERIC_FRESNEL_H_
