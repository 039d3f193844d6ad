#include "bench_support.h"

#include <fstream>
#include <string>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "upsample_pass.h"

namespace {

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
std::size_t statusBytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stoull(line.substr(field.size() + 1)) * 1024;
    return 0;
}

} // namespace

cv::Mat photoLikeImage(int size)
{
    const cv::Mat photo = cv::imread(ZENTAVO_SAMPLES_DIR "/astronaut.jpg", cv::IMREAD_COLOR);
    CV_Assert(!photo.empty());
    cv::Mat resized;
    cv::resize(photo, resized, cv::Size(size, size), 0, 0, cv::INTER_CUBIC);
    return resized;
}

cv::Size deconvolvedPlaneSize(const cv::Mat& image, float zoom, float sigma)
{
    const PassGeometry g = setupPass(zoom, image.rows, image.cols, sigma).geometry;
    const int z = static_cast<int>(zoom);
    return cv::Size((image.cols + g.padLeft + g.padRight) * z, (image.rows + g.padTop + g.padBottom) * z);
}

PeakMemoryTracker::PeakMemoryTracker()
{
    std::ofstream("/proc/self/clear_refs") << "5"; // resets VmHWM to the current RSS
    start_ = statusBytes("VmRSS");
}

std::size_t PeakMemoryTracker::peakAboveStart() const
{
    const std::size_t peak = statusBytes("VmHWM");
    return peak > start_ ? peak - start_ : 0;
}
