// Speed of the numerical kernels: a forward and inverse FFT pair, and the two spline resamplings
// between n uneven points and a grid of the next power of two at or above 2n (as a stage lays it).
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "benchmark/benchmark.h"
#include "numeric/fft.h"
#include "numeric/spline.h"

namespace {

void BM_FftPair(benchmark::State& state) {
  const auto n = static_cast<std::uint32_t>(state.range(0));
  std::vector<double> a(n);
  std::mt19937 engine(1);
  std::uniform_real_distribution<double> value(-1, 1);
  for (double& x : a) x = value(engine);
  for (auto _ : state) {
    tarnix::fft_forward(a.data(), n);
    tarnix::fft_inverse(a.data(), n);
    benchmark::DoNotOptimize(a.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FftPair)
    ->RangeMultiplier(2)
    ->Range(1 << 12, 1 << 22)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

struct Resampling {
  std::vector<double> xa, ya;  // n uneven points, as the transformed abscissae of a pattern
  std::uint32_t grid = 1;
  double x0, dx;
  explicit Resampling(std::uint32_t n) : xa(n), ya(n) {
    std::mt19937 engine(2);
    std::uniform_real_distribution<double> spacing(0.5, 1.5);
    double x = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
      x += spacing(engine) * 1e-4;
      xa[i] = x;
      ya[i] = 100 + 50 * std::sin(x * 300);
    }
    while (grid < 2 * n) grid *= 2;
    x0 = xa.front();
    dx = (xa.back() - xa.front()) / (grid - 1);
  }
};

void BM_SplineNonEq2Eq(benchmark::State& state) {
  const Resampling r(static_cast<std::uint32_t>(state.range(0)));
  std::vector<double> out(r.grid);
  for (auto _ : state) {
    tarnix::SplineNonEq2Eq(r.xa.data(), r.ya.data(), static_cast<std::uint32_t>(r.xa.size()), r.x0, r.dx,
                           out.data(), r.grid);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["grid"] = r.grid;
}
BENCHMARK(BM_SplineNonEq2Eq)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_SplineEq2NonEq(benchmark::State& state) {
  const Resampling r(static_cast<std::uint32_t>(state.range(0)));
  std::vector<double> grid_values(r.grid);
  for (std::uint32_t j = 0; j < r.grid; ++j) grid_values[j] = std::cos(j * 1e-3);
  std::vector<double> out(r.xa.size());
  for (auto _ : state) {
    tarnix::SplineEq2NonEq(r.x0, r.dx, grid_values.data(), r.grid, r.xa.data(), out.data(),
                           static_cast<std::uint32_t>(r.xa.size()));
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["grid"] = r.grid;
}
BENCHMARK(BM_SplineEq2NonEq)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
