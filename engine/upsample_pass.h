#pragma once

#include <atomic>
#include <functional>

#include <opencv2/core.hpp>

#include "cancellation.h"
#include "plane_ops.h"

// Padding of the low-resolution luminance plane for one pass. The padded size
// Hp x Wp is a multiple of 8 in both directions.
struct PassGeometry {
    int padTop = 0;
    int padBottom = 0;
    int padLeft = 0;
    int padRight = 0;
    bool zoomRounded = false;       // the requested factor was rounded up to an integer
    float requestedZoomFactor = 0.0f;
};

// Everything one pass sets up and its steps read; each pass has its own, so
// several jobs can run at once.
struct PassContext {
    PassGeometry geometry;
    PsfKernel psfKernel{};
};

// The deconvolution a pass driver supplies to the main routine.
struct DeconvolutionStep {
    // Optional, called once with (rowsU, colsU) before the iterations.
    std::function<void(int rows, int cols)> setUp;
    // Deconvolves `estimate` into `output` (both rows x cols) with weight lambda.
    std::function<void(const float* estimate, float* output, int rows, int cols, float lambda)> deconvolve;
    // Optional, called once after the iterations, also when they were cut short.
    std::function<void()> release;
};

// Rounds `zoomFactor` up to the next integer unless it lies within 1e-5 above
// one, and derives the padding and the point-spread function for an image of
// rows x cols.
PassContext setupPass(float& zoomFactor, int rows, int cols, float sigma);

// Enlarges the 8-bit BGR `input` by the integer factor z (then shrinks it to the
// requested factor when that was rounded) and replaces `output` with the result.
// Writes 0, 30, 30 + 69 (i + 1) / n, 100 to `progress` when it is not null.
// Throws JobCancelled when `cancel` is raised, cv::Exception or std::bad_alloc on failure.
int passMainRoutine(const cv::Mat& input, cv::Mat& output, int z, float sigma, float wtDeconv, int nIteration,
                    std::atomic<float>* progress, const DeconvolutionStep& step, const PassContext& context,
                    const CancelFlag* cancel = nullptr);

// One pass with the CPU frequency-domain deconvolution.
int upsamplePassCPU(const cv::Mat& input, cv::Mat& output, float zoomFactor, float sigma, float wtDeconv,
                    int nIteration, std::atomic<float>* progress, const CancelFlag* cancel = nullptr);

// One pass with the GPU TV-L2 deconvolution. Throws std::runtime_error when the GPU fails.
int upsamplePassGPU(const cv::Mat& input, cv::Mat& output, float zoomFactor, float sigma, float wtDeconv,
                    int nIteration, std::atomic<float>* progress, const CancelFlag* cancel = nullptr);
