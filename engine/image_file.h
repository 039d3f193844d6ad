#pragma once

#include <string>

#include <opencv2/core.hpp>

// Reads an image file as 8-bit BGR (grey images are converted). Returns an
// empty matrix and sets `error` to the reason when the file is missing, cannot
// be decoded, or memory runs out.
cv::Mat readImageFile(const std::string& path, std::string& error);

// Writes `image` in the format named by the extension of `path`. The image goes
// to a temporary file in the same folder that is renamed over `path` only once
// it is complete, so a failure never leaves a partial file or spoils an
// existing one. Returns the reason for a failure, or an empty string.
std::string writeImageFile(const std::string& path, const cv::Mat& image);
