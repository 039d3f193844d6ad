#include "tvl2_test_planes.h"

#include <opencv2/imgproc.hpp>

#include "fast_deconv_cpu.h"
#include "fftw_tvl2_backend.h"
#include "test_images.h"
#include "tvl2_solver.h"

cv::Mat blurredPhotoPlane(int rows, int cols, float sigma)
{
    cv::Mat plane;
    cv::resize(sampleLuminance(rows / 2, cols / 2), plane, cv::Size(cols, rows), 0, 0, cv::INTER_NEAREST);
    cv::GaussianBlur(plane, plane, cv::Size(21, 21), static_cast<double>(sigma));
    return plane;
}

cv::Mat emulatedTvl2(const cv::Mat& observed, const PsfKernel& kernel, float lambda)
{
    cv::Mat result(observed.size(), CV_32F, cv::Scalar(-1));
    FftwBackend backend;
    const float* input[] = {observed.ptr<float>()};
    float* output[] = {result.ptr<float>()};
    runTvl2Deconvolution(backend, input, output, 1, observed.cols, observed.rows, kernel.data(), kPsfSize, kPsfSize,
                         lambda);
    return result;
}

cv::Mat cpuTvl2(const cv::Mat& observed, const PsfKernel& kernel, float lambda)
{
    cv::Mat result(observed.size(), CV_32F, cv::Scalar(-1));
    DeconvBuffersPtr buffers = initDeconvBuffers(observed.rows, observed.cols, kernel);
    fastDeconvCPU(*buffers, observed.ptr<float>(), result.ptr<float>(), observed.rows, observed.cols, lambda);
    return result;
}

double maxAbsDifference(const cv::Mat& a, const cv::Mat& b)
{
    return cv::norm(a, b, cv::NORM_INF);
}
