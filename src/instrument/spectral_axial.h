// Fourier transforms of the spectral profiles (K-alpha-1 width, K-alpha doublet) and of the two parts
// of the axial-divergence profile, on the spectral scale ln sin(theta) and the scale -ln cos(theta).
//
// Each writes H(f) = ∫ g(x) exp(+2 pi i f x) dx of a unit-area profile g, real part to *re and
// imaginary part to *im, on every call; a component displaced by +delta carries the factor
// cos(2 pi f delta) + i sin(2 pi f delta). When the leading parameter or f is exactly 0 the result is
// 1 + 0i. On the spectral scale a relative wavelength difference is a difference of abscissa, so the
// relative widths and the relative K-alpha-2 shift enter directly as lengths.
#ifndef TARNIX_INSTRUMENT_SPECTRAL_AXIAL_H_
#define TARNIX_INSTRUMENT_SPECTRAL_AXIAL_H_

namespace tarnix {

// Lorentzian of half-width at half maximum w: exp(-2 pi w f).
void ft_lorentz(double* re, double* im, double f, double w);

// A sharp component of weight 1 - r at 0 plus a component of weight r displaced by +s (the longer
// wavelength of K-alpha-2) and broadened by a Lorentzian of half-width w2:
// (1 - r) + r exp(-2 pi w2 f) (cos 2 pi s f + i sin 2 pi s f).
void ft_doublet(double* re, double* im, double f, double r, double s, double w2);

// Higher-order axial divergence, a in degrees: g(x) = x^(-1/2) exp(-x/beta) / sqrt(pi beta) for x > 0
// with beta = (a in radians)^2 / (16 ln 2); H = (1 - i u)^(-1/2), u = 2 pi beta f.
void ft_axial_higher(double* re, double* im, double f, double a);

// Lower-order axial divergence: the same profile mirrored towards smaller abscissae,
// H = (1 + i u)^(-1/2), the complex conjugate of ft_axial_higher.
void ft_axial_lower(double* re, double* im, double f, double a);

}  // namespace tarnix

#endif  // TARNIX_INSTRUMENT_SPECTRAL_AXIAL_H_
