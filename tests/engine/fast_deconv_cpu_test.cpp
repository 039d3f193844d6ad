#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include "fast_deconv_cpu.h"
#include "literal_deconvolution.h"
#include "test_images.h"
#include "tvl2_schedule.h"

namespace {

struct ScheduleCase {
    float weight;
    std::size_t stages;
    float lastBeta;
};

class Tvl2ScheduleTest : public testing::TestWithParam<ScheduleCase> {};

cv::Mat deconvolveFast(const cv::Mat& observed, const PsfKernel& kernel, float weight)
{
    cv::Mat output(observed.size(), CV_32F, cv::Scalar(-1));
    DeconvBuffersPtr buffers = initDeconvBuffers(observed.rows, observed.cols, kernel);
    fastDeconvCPU(*buffers, observed.ptr<float>(), output.ptr<float>(), observed.rows, observed.cols, weight);
    return output;
}

cv::Mat deconvolveLiteral(const cv::Mat& observed, const PsfKernel& kernel, float weight)
{
    cv::Mat output(observed.size(), CV_32F);
    literalDeconvolution(kernel, observed.ptr<float>(), output.ptr<float>(), observed.rows, observed.cols, weight);
    return output;
}

} // namespace

TEST_P(Tvl2ScheduleTest, StagesRunUpToOneHundredTimesTheDataWeight)
{
    const ScheduleCase& c = GetParam();
    const Tvl2Schedule schedule = tvl2Schedule(c.weight);
    ASSERT_EQ(schedule.betas.size(), c.stages);
    if (c.stages > 0) {
        EXPECT_EQ(schedule.betas.front(), 10.0f);
        EXPECT_FLOAT_EQ(schedule.betas.back(), c.lastBeta);
    }
}

INSTANTIATE_TEST_SUITE_P(Weights, Tvl2ScheduleTest,
                         testing::Values(ScheduleCase{0.0001f, 8, 21870.0f},  // wtDeconv 0.02
                                         ScheduleCase{0.000005f, 11, 590490.0f}, // wtDeconv 0.001
                                         ScheduleCase{0.00025f, 7, 7290.0f},  // wtDeconv 0.05
                                         ScheduleCase{0.5f, 1, 10.0f},        // hmax exactly 10
                                         ScheduleCase{0.5000001f, 0, 0.0f}));

TEST(FastDeconvCPU, AgreesWithTheLiteralDeconvolutionOnAPhoto)
{
    // An upsampled, blurred photo plane of a size like the pass's (multiples of 8 z).
    cv::Mat observed;
    cv::resize(sampleLuminance(48, 64), observed, cv::Size(128, 96), 0, 0, cv::INTER_NEAREST);
    cv::GaussianBlur(observed, observed, cv::Size(21, 21), 1.3);
    const PsfKernel kernel = gaussianKernel2D(1.3f);

    for (const float weight : {0.0001f, 0.000005f}) {
        const cv::Mat fast = deconvolveFast(observed, kernel, weight);
        const cv::Mat literal = deconvolveLiteral(observed, kernel, weight);
        EXPECT_LT(cv::norm(fast, literal, cv::NORM_INF), 2e-5) << "weight " << weight;
        EXPECT_GT(cv::norm(fast, observed, cv::NORM_INF), 1e-2) << "the deconvolution must change the plane";
    }
}

TEST(FastDeconvCPU, OddSizesAgreeWithTheLiteralDeconvolution)
{
    // Odd widths exercise the half spectrum's last column; a plane smaller than the
    // kernel exercises the wrapped placement of its taps.
    const PsfKernel kernel = gaussianKernel2D(1.0f);
    for (const cv::Size size : {cv::Size(45, 33), cv::Size(20, 17)}) {
        const cv::Mat observed = sampleLuminance(size.height, size.width);
        const cv::Mat fast = deconvolveFast(observed, kernel, 0.0001f);
        const cv::Mat literal = deconvolveLiteral(observed, kernel, 0.0001f);
        EXPECT_LT(cv::norm(fast, literal, cv::NORM_INF), 2e-5) << size;
    }
}

TEST(FastDeconvCPU, WeightAboveOneHalfCopiesThePlaneExactly)
{
    const cv::Mat observed = sampleLuminance(32, 40);
    const cv::Mat output = deconvolveFast(observed, gaussianKernel2D(1.3f), 0.51f);
    EXPECT_EQ(cv::norm(output, observed, cv::NORM_INF), 0.0);
}

TEST(FastDeconvCPU, ConstantPlaneStaysConstant)
{
    const cv::Mat observed(40, 48, CV_32F, cv::Scalar(0.625f));
    const cv::Mat output = deconvolveFast(observed, gaussianKernel2D(2.0f), 0.0001f);
    EXPECT_LT(cv::norm(output, observed, cv::NORM_INF), 1e-5);
}

TEST(FastDeconvCPU, RaisedCancelFlagStopsBeforeTheFirstStage)
{
    const cv::Mat observed = sampleLuminance(32, 32);
    DeconvBuffersPtr buffers = initDeconvBuffers(32, 32, gaussianKernel2D(1.3f));
    cv::Mat output(observed.size(), CV_32F);
    const CancelFlag cancel{true};
    EXPECT_THROW(fastDeconvCPU(*buffers, observed.ptr<float>(), output.ptr<float>(), 32, 32, 0.0001f, &cancel),
                 JobCancelled);
}
