#pragma once

#include <opencv2/core.hpp>

#include "plane_ops.h"

// A blurred, upsampled photo plane like those a pass deconvolves: rows x cols
// floats in [0, 1].
cv::Mat blurredPhotoPlane(int rows, int cols, float sigma);

// The TV-L2 deconvolution of a float plane by the host emulation of the GPU
// solver, and by the CPU deconvolution.
cv::Mat emulatedTvl2(const cv::Mat& observed, const PsfKernel& kernel, float lambda);
cv::Mat cpuTvl2(const cv::Mat& observed, const PsfKernel& kernel, float lambda);

double maxAbsDifference(const cv::Mat& a, const cv::Mat& b);
