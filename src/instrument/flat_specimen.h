// Fourier transform of the flat-specimen profile on the flat-specimen scale.
#ifndef TARNIX_INSTRUMENT_FLAT_SPECIMEN_H_
#define TARNIX_INSTRUMENT_FLAT_SPECIMEN_H_

namespace tarnix {

// For the equatorial divergence angle a (degrees; alpha in radians) the profile is
// g(x) = 1 / (alpha sqrt|x|) on -alpha^2/4 <= x < 0: unbounded at the peak, reaching towards smaller
// abscissae. H(f) = (C(u) - i S(u)) / u with u = alpha sqrt(f) and the Fresnel integrals C, S, accurate
// to their relative 6e-8. Writes both parts on every call; 1 + 0i when a or f is exactly 0.
void ft_flat_specimen(double* re, double* im, double f, double a);

}  // namespace tarnix

#endif  // TARNIX_INSTRUMENT_FLAT_SPECIMEN_H_
