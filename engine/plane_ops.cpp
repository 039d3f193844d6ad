#include "plane_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <opencv2/imgproc.hpp>

namespace {

constexpr int kRefineRepetitions = 20;
constexpr int kReconvolutionSize = 31;
constexpr double kReconvolutionSigma = 1.3;

// Restores the known samples at the top-left element of each z x z block.
void pixelSubstitution(float* estimate, const float* lowRes, int Hp, int Wp, int z)
{
    const int colsU = Wp * z;
    for (int y = 0; y < Hp; ++y) {
        float* row = estimate + static_cast<std::ptrdiff_t>(y) * z * colsU;
        const float* known = lowRes + static_cast<std::ptrdiff_t>(y) * Wp;
        for (int x = 0; x < Wp; ++x)
            row[x * z] = known[x];
    }
}

} // namespace

PsfKernel gaussianKernel2D(float sigma)
{
    PsfKernel kernel{};
    const double twoSigmaSquared = 2.0 * static_cast<double>(sigma) * static_cast<double>(sigma);
    float sum = 0.0f;
    for (int v = -kPsfRadius; v <= kPsfRadius; ++v) {
        for (int u = -kPsfRadius; u <= kPsfRadius; ++u) {
            // exp(-(u^2 + v^2) / 2 sigma^2), the exponent rounded to float first
            const float exponent = static_cast<float>(-(u * u + v * v) / twoSigmaSquared);
            const float value = static_cast<float>(std::exp(static_cast<double>(exponent)));
            kernel[(v + kPsfRadius) * kPsfSize + (u + kPsfRadius)] = value;
            sum += value;
        }
    }
    for (float& value : kernel)
        value /= sum;
    return kernel;
}

void replicatePadArray(const float* source, float* destination, int h, int w,
                       int top, int bottom, int left, int right)
{
    const int rows = h + top + bottom;
    const int cols = w + left + right;
    for (int y = 0; y < rows; ++y) {
        const float* sourceRow = source + static_cast<std::ptrdiff_t>(std::clamp(y - top, 0, h - 1)) * w;
        float* destinationRow = destination + static_cast<std::ptrdiff_t>(y) * cols;
        for (int x = 0; x < cols; ++x)
            destinationRow[x] = sourceRow[std::clamp(x - left, 0, w - 1)];
    }
}

void parallelGaussianBlur(const cv::Mat& source, cv::Mat& destination, int size, double sigma)
{
    CV_Assert(source.data != destination.data);
    destination.create(source.size(), source.type());
    cv::parallel_for_(
        cv::Range(0, source.rows),
        [&](const cv::Range& rows) {
            cv::Mat stripe = destination.rowRange(rows);
            cv::GaussianBlur(source.rowRange(rows), stripe, cv::Size(size, size), sigma, 0, cv::BORDER_REFLECT_101);
        },
        cv::getNumThreads());
}

void refineInitialEstimate(float* estimate, const float* lowRes, int Hp, int Wp, int z)
{
    // Blurs alternate between the estimate and a scratch plane; after an even
    // number of them the result is back in the estimate.
    cv::Mat current(Hp * z, Wp * z, CV_32FC1, estimate);
    cv::Mat other(current.size(), CV_32FC1);
    for (int repetition = 0; repetition < kRefineRepetitions; ++repetition) {
        pixelSubstitution(current.ptr<float>(), lowRes, Hp, Wp, z);
        parallelGaussianBlur(current, other, kReconvolutionSize, kReconvolutionSigma);
        std::swap(current, other);
    }
    if (current.ptr<float>() != estimate)
        current.copyTo(cv::Mat(current.size(), CV_32FC1, estimate));
}

void replicateBorder(const float* source, float* destination, int rows, int cols,
                     int top, int bottom, int left, int right)
{
    const int lastRow = rows - bottom - 1;
    const int lastCol = cols - right - 1;
    for (int y = 0; y < rows; ++y) {
        const float* sourceRow = source + static_cast<std::ptrdiff_t>(std::clamp(y, top, lastRow)) * cols;
        float* destinationRow = destination + static_cast<std::ptrdiff_t>(y) * cols;
        if (y < top || y > lastRow) {
            for (int x = 0; x < cols; ++x)
                destinationRow[x] = sourceRow[std::clamp(x, left, lastCol)];
        } else {
            for (int x = 0; x < left; ++x)
                destinationRow[x] = sourceRow[left];
            for (int x = lastCol + 1; x < cols; ++x)
                destinationRow[x] = sourceRow[lastCol];
        }
    }
}

void cutPadding(const float* source, float* destination, int rows, int cols,
                int top, int bottom, int left, int right)
{
    const int outRows = rows - top - bottom;
    const int outCols = cols - left - right;
    for (int y = 0; y < outRows; ++y)
        std::memcpy(destination + static_cast<std::ptrdiff_t>(y) * outCols,
                    source + static_cast<std::ptrdiff_t>(y + top) * cols + left,
                    sizeof(float) * static_cast<std::size_t>(outCols));
}
