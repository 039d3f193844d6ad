#pragma once

#include "plane_ops.h"

// A direct, step-by-step TV-L2 deconvolution: complex transforms over the full
// spectrum and every transfer function rebuilt on each call. Slow, but easy to
// check against the mathematics; the fast path must agree with it.
void literalDeconvolution(const PsfKernel& kernel, const float* observed, float* output, int H, int W,
                          float weight);
