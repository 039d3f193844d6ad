#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <opencv2/core.hpp>

#include "cuda_probe.h"
#include "fast_deconv_tvl2.h"
#include "plane_ops.h"

namespace {

constexpr bool kBuiltWithCuda = ZENTAVO_BUILT_WITH_CUDA;

struct DeviceCountCase {
    const char* name;
    int status;
    int count;
    bool usable;
};

// The query the probe asks is chosen per case through this slot.
const DeviceCountCase* currentCase = nullptr;

int fakeDeviceCount(int* count)
{
    *count = currentCase->count;
    return currentCase->status;
}

class ProbeCudaTest : public testing::TestWithParam<DeviceCountCase> {};

} // namespace

TEST_P(ProbeCudaTest, OffersTheGpuOnlyWhenTheQuerySucceedsWithADevice)
{
    currentCase = &GetParam();
    EXPECT_EQ(probeCuda(fakeDeviceCount), GetParam().usable);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ProbeCudaTest,
    testing::Values(DeviceCountCase{"OneDevice", 0, 1, true}, DeviceCountCase{"TwoDevices", 0, 2, true},
                    DeviceCountCase{"SuccessWithNoDevice", 0, 0, false},
                    DeviceCountCase{"NoDeviceError", 100, 0, false},        // cudaErrorNoDevice
                    DeviceCountCase{"InsufficientDriver", 35, 1, false}),   // count not trusted on failure
    [](const testing::TestParamInfo<DeviceCountCase>& info) { return std::string(info.param.name); });

TEST(CufftLibrary, IsMissingWhenTheFileDoesNotLoad)
{
    EXPECT_FALSE(CufftLibrary::open("libzentavo-no-such-cufft.so"));
}

TEST(CufftLibrary, IsMissingWhenItLacksTheEntryPoints)
{
    EXPECT_FALSE(CufftLibrary::open(NOT_CUFFT_LIBRARY));
}

TEST(LoadCufft, FillsAllFourEntryPointsFromTheInstalledLibrary)
{
    if (!loadCufft())
        GTEST_SKIP() << cufftLibraryName() << " is not installed";
    const CufftEntryPoints* entryPoints = cufftEntryPoints();
    ASSERT_NE(entryPoints, nullptr);
    EXPECT_NE(entryPoints->plan1d, nullptr);
    EXPECT_NE(entryPoints->plan2d, nullptr);
    EXPECT_NE(entryPoints->destroy, nullptr);
    EXPECT_NE(entryPoints->execC2C, nullptr);
}

TEST(ProbeGpuAtStartup, WithoutADeviceOffersNoGpuAndDoesNotLookForCufft)
{
    if (probeCuda())
        GTEST_SKIP() << "a CUDA device is present";
    probeGpuAtStartup();
    EXPECT_FALSE(gpuAvailable);
    EXPECT_FALSE(cufftMissing);
}

// The GPU failing (here: no device at all) fails the call with a one-line
// message instead of ending the process, and writes the runtime's error line.
TEST(GpuFailure, ThrowsWithAMessageInsteadOfEndingTheProcess)
{
    if (probeCuda())
        GTEST_SKIP() << "a CUDA device is present";
    if (!loadCufft())
        GTEST_SKIP() << "no cuFFT library to get past the loader";
    const std::vector<float> input(64 * 64, 0.5f);
    std::vector<float> output(input.size());
    const PsfKernel kernel = gaussianKernel2D(1.3f);
    testing::internal::CaptureStderr();
    std::string message;
    try {
        deconvolveTvl2Plane(input.data(), output.data(), kernel.data(), 64, 64, kPsfSize, kPsfSize, 1, 1e-4f);
    } catch (const std::runtime_error& error) {
        message = error.what();
    }
    const std::string errorLine = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(message.find('\n'), std::string::npos);
    if (kBuiltWithCuda) {
        EXPECT_EQ(errorLine.rfind("fast_deconv_cuda.cu(", 0), 0u) << errorLine;
        EXPECT_NE(errorLine.find(") : cudaSafeCall() Runtime API error "), std::string::npos) << errorLine;
    } else {
        EXPECT_EQ(message, "This build has no GPU support");
    }
}

TEST(FastDeconvTvl2, RefusesAnImageThatIsNotFourChannelFloat)
{
    if (!kBuiltWithCuda)
        GTEST_SKIP() << "built without CUDA";
    cv::Mat image(32, 32, CV_32FC3, cv::Scalar::all(0));
    const cv::Mat kernel(3, 3, CV_32FC1, cv::Scalar(1.0f / 9));
    try {
        fastDeconvTvl2(image, kernel, 1e-4f);
        ADD_FAILURE() << "no exception";
    } catch (const cv::Exception& error) {
        EXPECT_EQ(error.code, cv::Error::StsAssert);
        EXPECT_EQ(error.err, "inM.type() == CV_32FC4");
    }
}
