// The GPU module of a build without CUDA: no device, and a deconvolution that
// fails its job with a message instead of running.
#include <stdexcept>

#include "cuda_probe.h"
#include "fast_deconv_tvl2.h"

bool probeCuda()
{
    return false;
}

bool fastDeconvTvl2(cv::Mat&, const cv::Mat&, float, const std::atomic<bool>*)
{
    throw std::runtime_error("This build has no GPU support");
}

bool deconvolveTvl2Plane(const float*, float*, const float*, int, int, int, int, int, float, const std::atomic<bool>*)
{
    throw std::runtime_error("This build has no GPU support");
}
