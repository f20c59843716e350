// Fourier transforms of the slit (box) and sample-transparency (one-sided exponential) profiles.
//
// Each writes H(f) = ∫ g(x) exp(+2 pi i f x) dx of a unit-area profile g on the stage's transformed
// abscissa, real part to *re and imaginary part to *im, on every call. f is in cycles per unit of that
// abscissa. H(0) = 1 + 0i exactly.
#ifndef TARNIX_INSTRUMENT_SLIT_TRANSPARENCY_H_
#define TARNIX_INSTRUMENT_SLIT_TRANSPARENCY_H_

namespace tarnix {

// Box of full width w centred on 0: sin(pi w f) / (pi w f), real, with zeros at multiples of 1/w.
void ft_slit(double* re, double* im, double f, double w);

// g(x) = exp(x / mu) / mu for x <= 0: the profile reaches towards smaller abscissae, so the imaginary
// part is negative for positive mu and f. H = 1 / (1 + i 2 pi mu f), which has no zero.
void ft_transparency(double* re, double* im, double f, double mu);

}  // namespace tarnix

#endif  // TARNIX_INSTRUMENT_SLIT_TRANSPARENCY_H_
