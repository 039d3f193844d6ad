// Placeholder used until the CUDA module is built: reports no GPU.
#include <stdexcept>

#include "cuda_probe.h"
#include "fast_deconv_tvl2.h"

bool gpuAvailable = false;
bool cufftMissing = false;

bool probeCuda() { return false; }
bool loadCufft() { return false; }
void probeGpuAtStartup()
{
    gpuAvailable = probeCuda();
    if (gpuAvailable)
        cufftMissing = !loadCufft();
}
const char* cufftLibraryName() { return "libcufft.so.12"; }

bool fastDeconvTvl2(cv::Mat&, const cv::Mat&, float, const std::atomic<bool>*)
{
    throw std::runtime_error("This build has no GPU support");
}

bool deconvolveTvl2Plane(const float*, float*, const float*, int, int, int, int, int, float, const std::atomic<bool>*)
{
    throw std::runtime_error("This build has no GPU support");
}
