#pragma once

#include <array>

#include <opencv2/core.hpp>

// Operations on single-channel float planes stored row-major without gaps.
// The caller allocates every destination.

inline constexpr int kPsfSize = 31;
inline constexpr int kPsfRadius = kPsfSize / 2;
using PsfKernel = std::array<float, kPsfSize * kPsfSize>;

// 31 x 31 Gaussian of the given standard deviation, normalised to sum 1.
PsfKernel gaussianKernel2D(float sigma);

// destination (h+top+bottom) x (w+left+right) = source h x w with its edges replicated.
void replicatePadArray(const float* source, float* destination, int h, int w,
                       int top, int bottom, int left, int right);

// Refines an upsampled estimate (Hp*z x Wp*z) in place: 20 times, puts the known
// low-resolution samples back at the top-left of each z x z block and blurs.
void refineInitialEstimate(float* estimate, const float* lowRes, int Hp, int Wp, int z);

// OpenCV's GaussianBlur (size x size, sigma, reflect-101 borders) of `source` into
// a distinct `destination`, in row stripes over the cores. Each stripe reads the
// rows around it from the whole source, so the result is that of one call.
void parallelGaussianBlur(const cv::Mat& source, cv::Mat& destination, int size, double sigma);

// Copies the nearest interior element into every element of the band around the
// interior; interior elements are never written, so source may equal destination.
void replicateBorder(const float* source, float* destination, int rows, int cols,
                     int top, int bottom, int left, int right);

// destination (rows-top-bottom) x (cols-left-right) = the interior of source.
void cutPadding(const float* source, float* destination, int rows, int cols,
                int top, int bottom, int left, int right);
