#pragma once

#include <string>

#include <opencv2/core.hpp>

// The bundled sample photo, 8-bit BGR.
cv::Mat samplePhoto();
std::string samplePhotoPath();

// A rows x cols region of the sample photo (resized when larger than the photo).
cv::Mat samplePhotoRegion(int rows, int cols);

// The photo's luminance as a float plane in [0, 1], rows x cols, continuous.
cv::Mat sampleLuminance(int rows, int cols);
