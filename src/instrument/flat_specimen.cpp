#include "instrument/flat_specimen.h"

#include <cmath>

#include "numeric/fresnel.h"
#include "numeric/square.h"

namespace tarnix {

void ft_flat_specimen(double* re, double* im, double f, double a) {
  if (a == 0.0 || f == 0.0) {
    *re = 1.0;
    *im = 0.0;
    return;
  }
  const double u = std::sqrt(f) * (a * kPi / 180);
  frenel(u, im, re);  // S(u) into the imaginary part, C(u) into the real part
  *re = *re / u;
  *im = -(*im / u);
}

}  // namespace tarnix
