#include <cmath>
#include <complex>
#include <functional>
#include <limits>

#include "gtest/gtest.h"
#include "instrument/flat_specimen.h"
#include "instrument/slit_transparency.h"
#include "instrument/spectral_axial.h"

namespace tarnix {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

using Transform = std::function<void(double*, double*, double)>;  // (re, im, f)

std::complex<double> At(const Transform& ft, double f) {
  double re, im;
  ft(&re, &im, f);
  return {re, im};
}

// Integral of g(y) exp(2 pi i f x(y)) x'(y) dy over [a, b] by composite Simpson; the oracle for the
// sign convention H(f) = ∫ g(x) exp(+2 pi i f x) dx.
std::complex<double> Simpson(const std::function<std::complex<double>(double)>& integrand, double a, double b,
                             int intervals) {
  const double h = (b - a) / intervals;
  std::complex<double> sum = integrand(a) + integrand(b);
  for (int i = 1; i < intervals; ++i) sum += (i % 2 ? 4.0 : 2.0) * integrand(a + i * h);
  return sum * h / 3.0;
}

std::complex<double> Phase(double f, double x) { return std::polar(1.0, 2 * M_PI * f * x); }

TEST(TransformsTest, ZeroParameterOrFrequencyGivesOne) {
  const Transform all[] = {
      [](double* r, double* i, double f) { ft_slit(r, i, f, 0.0); },
      [](double* r, double* i, double f) { ft_transparency(r, i, f, 0.0); },
      [](double* r, double* i, double f) { ft_lorentz(r, i, f, 0.0); },
      [](double* r, double* i, double f) { ft_doublet(r, i, f, 0.0, 0.00248, 6e-5); },
      [](double* r, double* i, double f) { ft_axial_higher(r, i, f, 0.0); },
      [](double* r, double* i, double f) { ft_axial_lower(r, i, f, 0.0); },
      [](double* r, double* i, double f) { ft_flat_specimen(r, i, f, 0.0); },
  };
  for (const Transform& ft : all) {
    EXPECT_EQ(At(ft, 123.0), std::complex<double>(1.0, 0.0));
  }
  const Transform at_zero_frequency[] = {
      [](double* r, double* i, double f) { ft_slit(r, i, f, 0.1); },
      [](double* r, double* i, double f) { ft_transparency(r, i, f, 0.1); },
      [](double* r, double* i, double f) { ft_lorentz(r, i, f, 0.1); },
      [](double* r, double* i, double f) { ft_doublet(r, i, f, 0.5, 0.00248, 6e-5); },
      [](double* r, double* i, double f) { ft_axial_higher(r, i, f, 2.5); },
      [](double* r, double* i, double f) { ft_axial_lower(r, i, f, 2.5); },
      [](double* r, double* i, double f) { ft_flat_specimen(r, i, f, 1.0); },
  };
  for (const Transform& ft : at_zero_frequency) {
    EXPECT_EQ(At(ft, 0.0), std::complex<double>(1.0, 0.0));
  }
}

TEST(TransformsTest, SlitValues) {
  const auto slit = [](double f, double w) {
    double re, im;
    ft_slit(&re, &im, f, w);
    EXPECT_EQ(im, 0.0);
    return re;
  };
  EXPECT_NEAR(slit(1.0, 0.5), 2 / M_PI, 2 * kEps);
  EXPECT_NEAR(slit(1.5, 1.0), -2 / (3 * M_PI), 2 * kEps);
  EXPECT_NEAR(slit(1.0, 1.0), 0.0, 1e-16);  // sin(pi)/pi is a rounding residue, not zero
  EXPECT_NE(slit(1.0, 1.0), 0.0);
  EXPECT_EQ(slit(0.7, -0.3), slit(0.7, 0.3));
}

TEST(TransformsTest, TransparencyValues) {
  double re, im;
  ft_transparency(&re, &im, 1 / (2 * M_PI), 1.0);  // v = 1
  EXPECT_NEAR(re, 0.5, 2 * kEps);
  EXPECT_NEAR(im, -0.5, 2 * kEps);
  double re_neg, im_neg;
  ft_transparency(&re_neg, &im_neg, 3.0, -0.02);  // a negative decay length mirrors the profile
  ft_transparency(&re, &im, 3.0, 0.02);
  EXPECT_EQ(re_neg, re);
  EXPECT_EQ(im_neg, -im);
}

TEST(TransformsTest, SpectralValues) {
  double re, im;
  ft_lorentz(&re, &im, 1 / (2 * M_PI), 1.0);
  EXPECT_NEAR(re, std::exp(-1.0), 2 * kEps);
  EXPECT_EQ(im, 0.0);

  ft_doublet(&re, &im, 100.0, 0.5, 0.00248, 6e-05);  // the default K-alpha doublet
  EXPECT_NEAR(re, 0.506051, 5e-7);
  EXPECT_NEAR(im, 0.481463, 5e-7);

  ft_doublet(&re, &im, 40.0, 1.0, 0.01, 0.002);  // K-alpha-2 alone: exp(-2 pi w2 f) e^(2 pi i s f)
  EXPECT_NEAR(re, std::exp(-2 * M_PI * 0.08) * std::cos(2 * M_PI * 0.4), 4 * kEps);
  EXPECT_NEAR(im, std::exp(-2 * M_PI * 0.08) * std::sin(2 * M_PI * 0.4), 4 * kEps);

  ft_doublet(&re, &im, 100.0, 0.5, 0.005, 0.0);  // s f = 1/2: the two components cancel
  EXPECT_NEAR(re, 0.0, 4 * kEps);
  EXPECT_NEAR(im, 0.0, 4 * kEps);
}

TEST(TransformsTest, AxialValuesAndConjugateSymmetry) {
  const double a = 2.5;
  const double beta = std::pow(a * M_PI / 180, 2) / (16 * std::log(2.0));
  EXPECT_NEAR(beta, 1.7167e-4, 1e-8);
  const double f = std::sqrt(3.0) / (2 * M_PI * beta);  // u = sqrt 3, m = 4
  double re, im, re_low, im_low;
  ft_axial_higher(&re, &im, f, a);
  ft_axial_lower(&re_low, &im_low, f, a);
  EXPECT_NEAR(re, std::sqrt(3.0 / 8), 1e-12);
  EXPECT_NEAR(im, std::sqrt(1.0 / 8), 1e-12);
  EXPECT_EQ(re_low, re);
  EXPECT_EQ(im_low, -im);
  double re_neg, im_neg;
  ft_axial_higher(&re_neg, &im_neg, f, -a);  // the angle enters squared
  EXPECT_EQ(re_neg, re);
  EXPECT_EQ(im_neg, im);
}

TEST(TransformsTest, FlatSpecimenValues) {
  const double a = 1.0;
  const double alpha = a * M_PI / 180;
  double re, im;
  ft_flat_specimen(&re, &im, 1 / (alpha * alpha), a);  // u = 1
  EXPECT_NEAR(re, 0.7798934, 2e-7);
  EXPECT_NEAR(im, -0.4382591, 2e-7);
  ft_flat_specimen(&re, &im, 4 / (alpha * alpha), a);  // u = 2
  EXPECT_NEAR(re, 0.2441267, 2e-7);
  EXPECT_NEAR(im, -0.1717078, 2e-7);
  double re_neg, im_neg;
  ft_flat_specimen(&re_neg, &im_neg, 4 / (alpha * alpha), -a);
  EXPECT_EQ(re_neg, re);
  EXPECT_EQ(im_neg, im);
  ft_flat_specimen(&re, &im, 1e-32 / (alpha * alpha), a);  // u = 1e-16, below the Fresnel threshold 1e-15
  EXPECT_EQ(re, 1.0);
  EXPECT_EQ(im, 0.0);
}

// Each transform against a direct quadrature of its profile: this pins the sign convention (which side
// the profile reaches to) as well as the values.
TEST(TransformsTest, MatchQuadratureOfTheirProfiles) {
  struct Case {
    const char* name;
    Transform ft;
    std::function<std::complex<double>(double)> direct;  // of f
  };
  const double beta = std::pow(2.5 * M_PI / 180, 2) / (16 * std::log(2.0));
  const double alpha = 1.0 * M_PI / 180;
  const Case cases[] = {
      {"slit box", [](double* r, double* i, double f) { ft_slit(r, i, f, 0.3); },
       [](double f) { return Simpson([&](double x) { return Phase(f, x) / 0.3; }, -0.15, 0.15, 20000); }},
      {"transparency: reaches to smaller abscissae",
       [](double* r, double* i, double f) { ft_transparency(r, i, f, 0.02); },
       [](double f) {
         return Simpson([&](double x) { return std::exp(x / 0.02) / 0.02 * Phase(f, x); }, -0.02 * 40, 0.0,
                        200000);
       }},
      {"axial, higher part: x = y^2 > 0",
       [](double* r, double* i, double f) { ft_axial_higher(r, i, f, 2.5); },
       [beta](double f) {
         return Simpson(
             [&](double y) { return 2 * std::exp(-y * y / beta) * Phase(f, y * y) / std::sqrt(M_PI * beta); },
             0.0, 8 * std::sqrt(beta), 200000);
       }},
      {"axial, lower part: x = -y^2 < 0",
       [](double* r, double* i, double f) { ft_axial_lower(r, i, f, 2.5); },
       [beta](double f) {
         return Simpson(
             [&](double y) {
               return 2 * std::exp(-y * y / beta) * Phase(f, -y * y) / std::sqrt(M_PI * beta);
             },
             0.0, 8 * std::sqrt(beta), 200000);
       }},
      {"flat specimen: x = -y^2 on [-alpha^2/4, 0)",
       [](double* r, double* i, double f) { ft_flat_specimen(r, i, f, 1.0); },
       [alpha](double f) {
         return Simpson([&](double y) { return 2 / alpha * Phase(f, -y * y); }, 0.0, alpha / 2, 200000);
       }},
      {"doublet: K-alpha-2 at +s",
       [](double* r, double* i, double f) { ft_doublet(r, i, f, 0.3, 0.004, 0.0); },
       [](double f) { return 0.7 + 0.3 * Phase(f, 0.004); }},
  };
  for (const Case& c : cases) {
    for (double f : {3.0, 51.0, 700.0, 2345.0}) {
      SCOPED_TRACE(testing::Message() << c.name << ", f = " << f);
      const std::complex<double> expected = c.direct(f);
      const std::complex<double> got = At(c.ft, f);
      // Simpson with these step counts is good to 1e-7; the flat specimen inherits the 6e-8 of the
      // Fresnel integrals.
      EXPECT_NEAR(got.real(), expected.real(), 2e-7);
      EXPECT_NEAR(got.imag(), expected.imag(), 2e-7);
    }
  }
}

}  // namespace
}  // namespace tarnix
