#pragma once

#include <memory>

#include "cancellation.h"
#include "plane_ops.h"

// Per-pass state of the CPU TV-L2 deconvolution: the FFT plans and the transfer
// functions of the kernel and of the two difference filters, which depend only
// on the kernel and the plane size and are therefore built once per pass.
class DeconvBuffers;

struct DeconvBuffersDeleter {
    void operator()(DeconvBuffers* buffers) const;
};
using DeconvBuffersPtr = std::unique_ptr<DeconvBuffers, DeconvBuffersDeleter>;

// Builds the state for planes of H rows by W columns deconvolved with `kernel`.
// Throws std::bad_alloc when the buffers or plans cannot be made.
DeconvBuffersPtr initDeconvBuffers(int H, int W, const PsfKernel& kernel);

// Frees what initDeconvBuffers allocated.
void releaseDeconvBuffers(DeconvBuffersPtr& buffers);

// TV-L2 deconvolution of `observed` (H x W) into `output` with the given weight:
// minimises (g/2)|k * x - y|^2 + sum |dh x| + |dv x|, g = 0.05 / weight, by half-
// quadratic splitting over beta = 10, 30, 90, ... <= 100 g. A weight above 0.5
// runs no stage and copies the plane. Throws JobCancelled between stages.
void fastDeconvCPU(DeconvBuffers& buffers, const float* observed, float* output, int H, int W,
                   float weight, const CancelFlag* cancel = nullptr);

// Makes FFTW's planner safe to enter from several jobs at once and lets every
// transform use all cores. Idempotent.
void initFftwThreads();
