#include <cstddef>

#include "deconvolution/run_context.h"
#include "numeric/arrays.h"
#include "numeric/spline.h"

namespace tarnix {

void RunContext::DeconvoluteStep(int step) {
  CheckStageInput(step);
  // The order is fixed: the weighting needs xt and grid_step; the resampling needs the weighted values
  // with their extension slots; the unweighting needs xt and grid_step again, so the arrays go last.
  MakeStageGrid(step);
  WeightPattern(step);
  ResampleToGrid();
  BuildInstrumentTransform(step, grid.grid_length);
  DeconvoluteFourier(step, grid.grid_length);
  ResampleFromGrid();
  UnweightPattern(step);
  FreeStageArrays();
  CheckStageOutput(step);
}

void RunContext::ResampleToGrid() {
  // The spline runs through the data points and the two extension nodes.
  const std::uint32_t knots = pattern.count + 2;
  AllocateArray(y0i, grid.grid_length, "Could not allocate memories for y0i");
  SplineNonEq2Eq(grid.xt.data(), pattern.intensity.data(), knots, grid.grid_start, grid.grid_step, y0i.data(),
                 grid.grid_length);
  AllocateArray(s0, grid.grid_length, "Could not allocate memories for s0");
  SplineNonEq2Eq(grid.xt.data(), pattern.sigma.data(), knots, grid.grid_start, grid.grid_step, s0.data(),
                 grid.grid_length);
}

void RunContext::ResampleFromGrid() {
  // Only the head of the grid that covers the data comes back; the padding is dropped, and the
  // extension slots are left alone.
  SplineEq2NonEq(grid.grid_start, grid.grid_step, y0i.data(), grid.grid_data_points, grid.xt.data(),
                 pattern.intensity.data(), pattern.count);
  SplineEq2NonEq(grid.grid_start, grid.grid_step, s0.data(), grid.grid_data_points, grid.xt.data(),
                 pattern.sigma.data(), pattern.count);
}

void RunContext::FreeStageArrays() {
  ReleaseArray(ft_Instrum);
  ReleaseArray(s0);
  ReleaseArray(y0i);
  ReleaseArray(grid.xt);
}

}  // namespace tarnix
