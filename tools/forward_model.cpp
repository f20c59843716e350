#include "forward_model.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <stdexcept>
#include <utility>

namespace forward_model {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180;

using Cdf = std::function<double(double)>;  // cumulative distribution of a unit-area profile

// Radix-2 complex FFT with exp(-2 pi i jk/n) forward; the inverse includes 1/n.
void Fft(std::vector<std::complex<double>>& a, bool inverse) {
  const std::size_t n = a.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  std::vector<std::complex<double>> twiddle;
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const double angle = (inverse ? 2 : -2) * kPi / static_cast<double>(len);
    twiddle.resize(len / 2);
    for (std::size_t k = 0; k < len / 2; ++k) twiddle[k] = std::polar(1.0, angle * static_cast<double>(k));
    for (std::size_t i = 0; i < n; i += len) {
      for (std::size_t k = 0; k < len / 2; ++k) {
        const std::complex<double> u = a[i + k];
        const std::complex<double> v = a[i + k + len / 2] * twiddle[k];
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
      }
    }
  }
  if (inverse) {
    for (auto& z : a) z /= static_cast<double>(n);
  }
}

double Step(double x) { return x < 0 ? 0.0 : 1.0; }

Cdf LorentzCdf(double hwhm, double shift) {
  return [=](double x) { return hwhm == 0 ? Step(x - shift) : 0.5 + std::atan((x - shift) / hwhm) / kPi; };
}

// A fraction 1 - r undisplaced and a fraction r displaced by s with Lorentzian half-width w2.
Cdf DoubletCdf(double r, double s, double w2) {
  const Cdf second = LorentzCdf(w2, s);
  return [=](double x) { return (1 - r) * Step(x) + r * second(x); };
}

// x^-1/2 exp(-x/beta) / sqrt(pi beta) on x > 0 (mirrored onto x < 0 when `lower`): CDF erf(sqrt(x/beta)).
Cdf AxialCdf(double a_degrees, bool lower) {
  const double beta = std::pow(a_degrees * kDegree, 2) / (16 * std::log(2.0));
  return [=](double x) {
    if (!lower) return x <= 0 ? 0.0 : std::erf(std::sqrt(x / beta));
    return x >= 0 ? 1.0 : 1 - std::erf(std::sqrt(-x / beta));
  };
}

// exp(x/mu)/mu on x <= 0.
Cdf TransparencyCdf(double mu) {
  return [=](double x) { return x >= 0 ? 1.0 : std::exp(x / mu); };
}

// 1/(alpha sqrt|x|) on -alpha^2/4 <= x < 0.
Cdf FlatSpecimenCdf(double alpha) {
  return [=](double x) {
    if (x >= 0) return 1.0;
    if (x <= -alpha * alpha / 4) return 0.0;
    return 1 - 2 * std::sqrt(-x) / alpha;
  };
}

// Box of full width w centred on 0.
Cdf BoxCdf(double w) {
  return [=](double x) {
    return w == 0 ? Step(x) : std::clamp((x + std::fabs(w) / 2) / std::fabs(w), 0.0, 1.0);
  };
}

// A stage's abscissa t(2theta) and its inverse.
struct Scale {
  std::function<double(double)> forward;  // 2theta (degrees) -> t
  std::function<double(double)> inverse;  // t -> 2theta (degrees)
};

Scale StageScale(int stage, const Instrument& in) {
  auto half = [](double two_theta) { return two_theta * kDegree / 2; };
  auto full = [](double theta) { return 2 * theta / kDegree; };
  switch (stage) {
    case 1:
      return {[=](double a) { return std::log(std::sin(half(a))); },
              [=](double t) { return full(std::asin(std::exp(t))); }};
    case 2:
      return {[=](double a) { return -std::log(std::cos(half(a))); },
              [=](double t) { return full(std::acos(std::exp(-t))); }};
    case 3:
      return {[=](double a) { return 2 * std::log(std::tan(half(a))); },
              [=](double t) { return full(std::atan(std::exp(t / 2))); }};
    case 4: {
      const double f = in.equatorial_angle * kDegree / (in.sample_width / in.gonio_radius);
      const double b = f * f;
      const double critical = f >= 1 ? 180.0 : full(std::asin(f));
      const double offset = f >= 1 ? 0.0 : 0.5 * (1 - b) * std::log(1 - b) + b * std::log(f);
      const double t_critical = b * std::log(std::tan(half(critical)));
      return {[=](double a) {
                return a <= critical ? b * std::log(std::tan(half(a)))
                                     : -std::log(std::cos(half(a))) + offset;
              },
              [=](double t) {
                return t <= t_critical ? full(std::atan(std::exp(t / b)))
                                       : full(std::acos(std::exp(-(t - offset))));
              }};
    }
    default:
      return {[](double a) { return a; }, [](double t) { return t; }};
  }
}

std::vector<Cdf> StageProfiles(int stage, const Instrument& in) {
  switch (stage) {
    case 1:
      return {LorentzCdf(in.kalpha1_width, 0),
              DoubletCdf(in.kalpha2_fraction, in.kalpha2_shift, in.kalpha2_extra_width),
              AxialCdf(in.axial_divergence, false)};
    case 2:
      return {AxialCdf(in.axial_divergence, true)};
    case 3:
      return {TransparencyCdf(in.penetration_depth / in.gonio_radius)};
    case 4:
      return {FlatSpecimenCdf(in.equatorial_angle * kDegree)};
    default:
      return {BoxCdf(in.source_width / in.gonio_radius / kDegree),
              BoxCdf(in.receiving_slit_width / in.gonio_radius / kDegree)};
  }
}

// A pattern known at ascending samples, interpolated by the cubic through the four nearest samples.
class Samples {
 public:
  Samples(std::vector<double> x, std::vector<double> y) : x_(std::move(x)), y_(std::move(y)) {}

  double operator()(double at) const {
    const std::size_t n = x_.size();
    std::size_t i = static_cast<std::size_t>(std::upper_bound(x_.begin(), x_.end(), at) - x_.begin());
    // Samples i-2 .. i+1 around the interval [i-1, i].
    std::size_t first = i < 2 ? 0 : std::min(i - 2, n - 4);
    double sum = 0;
    for (std::size_t a = first; a < first + 4; ++a) {
      double weight = y_[a];
      for (std::size_t b = first; b < first + 4; ++b) {
        if (b != a) weight *= (at - x_[b]) / (x_[a] - x_[b]);
      }
      sum += weight;
    }
    return sum;
  }

 private:
  std::vector<double> x_;
  std::vector<double> y_;
};

// One aberration group: intensity known over [lo, hi] degrees -> sampled result over the same range.
Samples ApplyStage(int stage, const Pattern& intensity, const Instrument& in, double lo, double hi,
                   int log2_points) {
  const Scale scale = StageScale(stage, in);
  const std::size_t n = std::size_t{1} << log2_points;
  const double t0 = scale.forward(lo);
  const double dt = (scale.forward(hi) - t0) / static_cast<double>(n - 1);
  std::vector<double> angle(n), factor(n);
  std::vector<std::complex<double>> y(n);
  for (std::size_t j = 0; j < n; ++j) {
    const double t = t0 + dt * static_cast<double>(j);
    angle[j] = scale.inverse(t);
    // d(2theta)/dt by central differences of the inverse scale.
    const double jacobian = (scale.inverse(t + dt / 4) - scale.inverse(t - dt / 4)) / (dt / 2);
    factor[j] = jacobian / LorentzPolarization(angle[j]);
    y[j] = intensity(angle[j]) * factor[j];
  }
  Fft(y, false);
  for (const Cdf& cdf : StageProfiles(stage, in)) {
    // Kernel cell m (m from -n/2 to n/2 - 1) holds the profile's mass over [(m - 1/2) dt, (m + 1/2) dt].
    std::vector<std::complex<double>> kernel(n);
    for (std::size_t k = 0; k < n; ++k) {
      const double m = k < n / 2 ? static_cast<double>(k) : static_cast<double>(k) - static_cast<double>(n);
      kernel[k] = cdf((m + 0.5) * dt) - cdf((m - 0.5) * dt);
    }
    Fft(kernel, false);
    for (std::size_t k = 0; k < n; ++k) y[k] *= kernel[k];
  }
  Fft(y, true);
  std::vector<double> result(n);
  for (std::size_t j = 0; j < n; ++j) result[j] = y[j].real() / factor[j];
  return Samples(std::move(angle), std::move(result));
}

}  // namespace

double PseudoVoigt(double x, double fwhm, double eta) {
  const double h = fwhm / 2;
  const double lorentz = h / (kPi * (x * x + h * h));
  const double gauss = std::sqrt(std::log(2.0) / kPi) / h * std::exp(-std::log(2.0) * x * x / (h * h));
  return eta * lorentz + (1 - eta) * gauss;
}

Pattern PeaksOnBackground(std::vector<Peak> peaks, Pattern background) {
  return [peaks = std::move(peaks), background = std::move(background)](double two_theta) {
    double sum = background(two_theta);
    for (const Peak& p : peaks) sum += p.area * PseudoVoigt(two_theta - p.position, p.fwhm, p.eta);
    return sum;
  };
}

double LorentzPolarization(double two_theta) {
  const double k = 0.799466;
  const double t = two_theta * kDegree;
  return (1 + k * std::cos(t) * std::cos(t)) / ((1 + k) * std::sin(t) * std::sin(t / 2));
}

std::vector<double> Measure(const Pattern& truth, const Instrument& instrument, std::vector<int> stages,
                            const std::vector<double>& angles, const Options& options) {
  if (angles.empty()) return {};
  const double lo = std::max(0.5, angles.front() - options.margin);
  const double hi = std::min(179.5, angles.back() + options.margin);
  std::sort(stages.begin(), stages.end(), std::greater<int>());
  Pattern current = truth;
  for (int stage : stages) {
    if (stage < 1 || stage > 5) throw std::invalid_argument("stage numbers run from 1 to 5");
    current = ApplyStage(stage, current, instrument, lo, hi, options.log2_points);
  }
  std::vector<double> measured(angles.size());
  for (std::size_t i = 0; i < angles.size(); ++i) measured[i] = current(angles[i]);
  return measured;
}

}  // namespace forward_model
