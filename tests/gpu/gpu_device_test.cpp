// Tests that need a CUDA device and the cuFFT library; they skip without them.
#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <limits>
#include <vector>

#include "cuda_probe.h"
#include "cuda_tvl2_backend.h"
#include "fast_deconv_tvl2.h"
#include "test_images.h"
#include "tvl2_test_planes.h"
#include "upsample_pass.h"

namespace {

class GpuDevice : public testing::Test {
protected:
    void SetUp() override
    {
        if (!probeCuda())
            GTEST_SKIP() << "no CUDA device";
        if (!cufftEntryPoints() && !loadCufft())
            GTEST_SKIP() << "no cuFFT library";
    }
};

cv::Mat gpuTvl2(const cv::Mat& observed, const PsfKernel& kernel, float lambda)
{
    cv::Mat result(observed.size(), CV_32F, cv::Scalar(-1));
    EXPECT_TRUE(deconvolveTvl2Plane(observed.ptr<float>(), result.ptr<float>(), kernel.data(), observed.rows,
                                    observed.cols, kPsfSize, kPsfSize, 1, lambda));
    return result;
}

} // namespace

// cuFFT and FFTW round differently; everything else is the same arithmetic.
TEST_F(GpuDevice, MatchesTheEmulationAndTheCpuDeconvolution)
{
    struct Case {
        int rows, cols;
        float lambda;
    };
    for (const Case& c : {Case{240, 240, 1e-4f}, Case{200, 232, 5e-6f}}) {
        const cv::Mat observed = blurredPhotoPlane(c.rows, c.cols, 1.3f);
        const PsfKernel kernel = gaussianKernel2D(1.3f);
        const cv::Mat gpu = gpuTvl2(observed, kernel, c.lambda);
        EXPECT_LE(maxAbsDifference(gpu, emulatedTvl2(observed, kernel, c.lambda)), 2e-5) << c.rows << "x" << c.cols;
        EXPECT_LE(maxAbsDifference(gpu, cpuTvl2(observed, kernel, c.lambda)), 2e-5) << c.rows << "x" << c.cols;
    }
}

TEST_F(GpuDevice, FourChannelDriverSolvesEachChannelLikeThePlaneDriver)
{
    const PsfKernel kernel = gaussianKernel2D(1.3f);
    std::vector<cv::Mat> planes = {blurredPhotoPlane(96, 112, 1.3f), 1.0f - blurredPhotoPlane(96, 112, 1.3f),
                                   cv::Mat(96, 112, CV_32F, cv::Scalar(0.25f)), cv::Mat(96, 112, CV_32F, cv::Scalar(7))};
    cv::Mat packed;
    cv::merge(planes, packed);
    const cv::Mat kernelHeader(kPsfSize, kPsfSize, CV_32FC1, const_cast<float*>(kernel.data()));
    ASSERT_TRUE(fastDeconvTvl2(packed, kernelHeader, 1e-4f));
    std::vector<cv::Mat> results;
    cv::split(packed, results);
    for (int c = 0; c < 3; ++c)
        EXPECT_LE(maxAbsDifference(results[c], gpuTvl2(planes[c], kernel, 1e-4f)), 1e-6) << "channel " << c;
    EXPECT_EQ(cv::countNonZero(results[3]), 0);
}

TEST_F(GpuDevice, RunsAreIndependent)
{
    const PsfKernel kernel = gaussianKernel2D(1.3f);
    const cv::Mat observed = blurredPhotoPlane(128, 144, 1.3f);
    const cv::Mat first = gpuTvl2(observed, kernel, 1e-4f);
    const cv::Mat zeros = gpuTvl2(cv::Mat(64, 64, CV_32F, cv::Scalar(0)), kernel, 1e-4f);
    EXPECT_EQ(cv::countNonZero(zeros), 0);
    EXPECT_EQ(maxAbsDifference(gpuTvl2(observed, kernel, 1e-4f), first), 0.0);
}

TEST_F(GpuDevice, StopsBetweenStepsWhenCancelled)
{
    const PsfKernel kernel = gaussianKernel2D(1.3f);
    const cv::Mat observed = blurredPhotoPlane(64, 64, 1.3f);
    cv::Mat result(64, 64, CV_32F, cv::Scalar(-1));
    const std::atomic<bool> cancel{true};
    EXPECT_FALSE(deconvolveTvl2Plane(observed.ptr<float>(), result.ptr<float>(), kernel.data(), 64, 64, kPsfSize,
                                     kPsfSize, 1, 1e-4f, &cancel));
}

TEST_F(GpuDevice, SmallestPositiveValueAgreesWithTheHostScan)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // Long enough for several blocks, with the smallest value near the end.
    std::vector<float> values(300000, 0.75f);
    values[5] = 0.0f;
    values[17] = nan;
    values[4000] = -1.0f;
    values[70000] = inf;
    values[299990] = 1e-39f;
    CudaBackend backend(*cufftEntryPoints());
    auto device = backend.allocate<float>(values.size());
    backend.upload(device.get(), values.data(), values.size());
    EXPECT_EQ(backend.smallestPositive(device.get(), values.size()), 1e-39f);

    const std::vector<float> noPositive = {0.0f, -1.0f, nan, inf};
    backend.upload(device.get(), noPositive.data(), noPositive.size());
    EXPECT_EQ(backend.smallestPositive(device.get(), noPositive.size()), FLT_MAX);
}

// The whole pass on both processors, compared in 8-bit grey levels.
TEST_F(GpuDevice, GpuPassAgreesWithTheCpuPass)
{
    const cv::Mat image = samplePhotoRegion(96, 128);
    cv::Mat cpu, gpu;
    upsamplePassCPU(image, cpu, 2.0f, 1.3f, 0.02f, 10, nullptr);
    upsamplePassGPU(image, gpu, 2.0f, 1.3f, 0.02f, 10, nullptr);
    ASSERT_EQ(gpu.size(), cpu.size());
    cv::Mat difference;
    cv::absdiff(gpu, cpu, difference);
    EXPECT_LE(cv::norm(difference, cv::NORM_INF), 2.0);
    EXPECT_LE(cv::mean(difference.reshape(1))[0], 0.05);
}
