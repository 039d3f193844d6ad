#pragma once

#include <atomic>

#include <opencv2/core.hpp>

// TV-L2 deconvolution on the GPU of one float plane (rows x cols, row-major)
// blurred by `kernel` (kernelRows x kernelCols, row-major), with weight lambda.
// Returns true with `output` written, or false when `cancel` was raised between
// continuation steps. Throws std::runtime_error when the GPU fails; the device
// state is released first.
bool deconvolveTvl2Plane(const float* input, float* output, const float* kernel, int rows, int cols, int kernelRows,
                         int kernelCols, int channels, float lambda, const std::atomic<bool>* cancel = nullptr);

// The four-channel TV-L2 deconvolution behind deconvolveTvl2Plane: `inM` is
// CV_32FC4 and is replaced by the deconvolved image (channels 0-2; 3 is zero).
bool fastDeconvTvl2(cv::Mat& inM, const cv::Mat& kernel, float lambda, const std::atomic<bool>* cancel = nullptr);
