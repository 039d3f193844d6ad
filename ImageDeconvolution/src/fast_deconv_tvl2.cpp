#include "fast_deconv_tvl2.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "cuda_probe.h"
#include "cuda_tvl2_backend.h"
#include "tvl2_solver.h"

namespace {

const CufftEntryPoints& loadedCufftEntryPoints()
{
    const CufftEntryPoints* entryPoints = cufftEntryPoints();
    if (!entryPoints)
        throw std::runtime_error(std::string("GPU error: the cuFFT library (") + cufftLibraryName() +
                                 ") is not loaded");
    return *entryPoints;
}

} // namespace

bool fastDeconvTvl2(cv::Mat& inM, const cv::Mat& kernel, float lambda, const std::atomic<bool>* cancel)
{
    if (inM.type() != CV_32FC4)
        cv::error(cv::Exception(cv::Error::StsAssert, "inM.type() == CV_32FC4", "", __FILE__, __LINE__));
    CV_Assert(kernel.type() == CV_32FC1 && kernel.isContinuous());

    // Channels 0 to 2 are deconvolved; channel 3 comes back as zero.
    std::vector<cv::Mat> planes;
    cv::split(inM, planes);
    const float* observed[kMaxTvl2Channels];
    float* result[kMaxTvl2Channels];
    for (int c = 0; c < kMaxTvl2Channels; ++c) {
        observed[c] = planes[c].ptr<float>();
        result[c] = planes[c].ptr<float>();
    }
    CudaBackend backend(loadedCufftEntryPoints());
    if (!runTvl2Deconvolution(backend, observed, result, kMaxTvl2Channels, inM.cols, inM.rows, kernel.ptr<float>(),
                              kernel.cols, kernel.rows, lambda, cancel))
        return false;
    planes[3].setTo(0.0f);
    cv::merge(planes, inM);
    return true;
}

bool deconvolveTvl2Plane(const float* input, float* output, const float* kernel, int rows, int cols, int kernelRows,
                         int kernelCols, int channels, float lambda, const std::atomic<bool>* cancel)
{
    if (channels != 1)
        throw std::invalid_argument("deconvolveTvl2Plane takes a single-channel plane");
    // The plane is solved as the only channel: what packing it into channel 0
    // of a four-channel image for fastDeconvTvl2 would give, without
    // transforming two channels of zeros.
    CudaBackend backend(loadedCufftEntryPoints());
    const float* observed[] = {input};
    float* result[] = {output};
    return runTvl2Deconvolution(backend, observed, result, 1, cols, rows, kernel, kernelCols, kernelRows, lambda,
                                cancel);
}
