#pragma once

#include <cstddef>

#include <opencv2/core.hpp>

// The pass every benchmark measures.
inline constexpr float kZoom = 2.0f;
inline constexpr int kIterations = 10;
inline constexpr float kSigma = 1.3f;
inline constexpr float kWeight = 0.02f;

// The sample photo resized to size x size: photo-like content at any scale.
cv::Mat photoLikeImage(int size);

// The size of the upsampled padded luminance plane a pass deconvolves.
cv::Size deconvolvedPlaneSize(const cv::Mat& image, float zoom, float sigma);

// Peak resident memory above the level when the tracker was made, in bytes.
// Resets the kernel's high-water mark, so one tracker may be live at a time.
class PeakMemoryTracker {
public:
    PeakMemoryTracker();
    std::size_t peakAboveStart() const;

private:
    std::size_t start_;
};
