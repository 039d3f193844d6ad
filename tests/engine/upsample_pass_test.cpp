#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fast_deconv_cpu.h"
#include "literal_deconvolution.h"
#include "test_images.h"
#include "upsample_pass.h"

namespace {

struct GeometryCase {
    int rows, cols;
    float sigma;
    int top, bottom, left, right;
};

class SetupPassGeometry : public testing::TestWithParam<GeometryCase> {};

// A step that copies its input and records what the pass hands it.
struct RecordingStep {
    std::atomic<float> progress{-1.0f};
    std::vector<float> progressSeen; // at set-up, at each deconvolution
    std::vector<float> lambdas;
    int setUps = 0, releases = 0;
    cv::Size planeSize;

    DeconvolutionStep step()
    {
        DeconvolutionStep s;
        s.setUp = [this](int rows, int cols) {
            ++setUps;
            planeSize = cv::Size(cols, rows);
            progressSeen.push_back(progress.load());
        };
        s.deconvolve = [this](const float* in, float* out, int rows, int cols, float lambda) {
            progressSeen.push_back(progress.load());
            lambdas.push_back(lambda);
            std::copy(in, in + static_cast<std::ptrdiff_t>(rows) * cols, out);
        };
        s.release = [this] { ++releases; };
        return s;
    }
};

cv::Mat runPass(const cv::Mat& input, float zoom, RecordingStep& recorder, int nIteration = 3)
{
    float factor = zoom;
    const PassContext context = setupPass(factor, input.rows, input.cols, 1.3f);
    cv::Mat output;
    passMainRoutine(input, output, static_cast<int>(factor), 1.3f, 0.02f, nIteration, &recorder.progress,
                    recorder.step(), context);
    return output;
}

} // namespace

TEST_P(SetupPassGeometry, PadsToMultiplesOfEightWithTheExtraAtTheEnd)
{
    const GeometryCase& c = GetParam();
    float zoom = 2.0f;
    const PassGeometry g = setupPass(zoom, c.rows, c.cols, c.sigma).geometry;
    EXPECT_EQ(g.padTop, c.top);
    EXPECT_EQ(g.padBottom, c.bottom);
    EXPECT_EQ(g.padLeft, c.left);
    EXPECT_EQ(g.padRight, c.right);
    EXPECT_EQ((c.rows + g.padTop + g.padBottom) % 8, 0);
    EXPECT_EQ((c.cols + g.padLeft + g.padRight) % 8, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SetupPassGeometry,
    testing::Values(GeometryCase{100, 101, 1.3f, 10, 10, 9, 10}, // d = 14
                    GeometryCase{481, 643, 2.2f, 15, 16, 14, 15}, // d = 24
                    GeometryCase{66, 66, 1.4f, 7, 7, 7, 7},      // 1.4 is 1.39999998: d = 14, not 16
                    GeometryCase{66, 66, 1.5f, 11, 11, 11, 11},  // d = 16
                    GeometryCase{64, 64, 4.0f, 24, 24, 24, 24})); // d = 42

TEST(SetupPass, RoundsUpFactorsThatAreNotWhole)
{
    const struct {
        float zoom;
        float effective;
        bool rounded;
    } cases[] = {{2.0f, 2.0f, false}, {1.5f, 2.0f, true}, {3.000001f, 3.000001f, false}, {2.99999f, 3.0f, true}};
    for (const auto& c : cases) {
        float zoom = c.zoom;
        const PassGeometry g = setupPass(zoom, 10, 10, 1.3f).geometry;
        EXPECT_EQ(zoom, c.effective) << c.zoom;
        EXPECT_EQ(g.zoomRounded, c.rounded) << c.zoom;
        EXPECT_EQ(g.requestedZoomFactor, c.zoom);
        EXPECT_EQ(static_cast<int>(zoom), static_cast<int>(c.effective));
    }
}

TEST(PassMainRoutine, OutputSizeFollowsTheRequestedFactor)
{
    const cv::Mat input = samplePhotoRegion(20, 30);
    const struct {
        float zoom;
        cv::Size size;
    } cases[] = {{2.0f, {60, 40}}, {1.5f, {45, 30}}, {3.000001f, {90, 60}}, {2.99999f, {89, 59}}};
    for (const auto& c : cases) {
        RecordingStep recorder;
        const cv::Mat output = runPass(input, c.zoom, recorder, 1);
        EXPECT_EQ(output.size(), c.size) << c.zoom;
        EXPECT_EQ(output.type(), CV_8UC3);
    }
}

TEST(PassMainRoutine, HandsTheStepPaddedPlanesDecayingWeightsAndReportsProgress)
{
    const cv::Mat input = samplePhotoRegion(100, 101);
    RecordingStep recorder;
    runPass(input, 2.0f, recorder, 10);

    EXPECT_EQ(recorder.planeSize, cv::Size(240, 240));
    EXPECT_EQ(recorder.setUps, 1);
    EXPECT_EQ(recorder.releases, 1);
    ASSERT_EQ(recorder.lambdas.size(), 10u);
    EXPECT_FLOAT_EQ(recorder.lambdas[0], 0.0001f);
    for (std::size_t i = 1; i < recorder.lambdas.size(); ++i)
        EXPECT_NEAR(recorder.lambdas[i - 1] / recorder.lambdas[i], std::pow(2.5, 0.1), 1e-5);

    // 30 after the refinement, then 30 + 69 (i + 1) / n after each iteration, 100 at the end.
    std::vector<float> expected = {30.0f, 30.0f};
    for (int i = 1; i < 10; ++i)
        expected.push_back(30.0f + static_cast<float>(69 * i) / 10.0f);
    EXPECT_EQ(recorder.progressSeen, expected);
    EXPECT_FLOAT_EQ(recorder.progressSeen[2], 36.9f);
    EXPECT_EQ(recorder.progress.load(), 100.0f);
}

TEST(PassMainRoutine, ZeroIterationsStillSetsUpAndReleasesTheStep)
{
    RecordingStep recorder;
    const cv::Mat output = runPass(samplePhotoRegion(16, 16), 2.0f, recorder, 0);
    EXPECT_EQ(output.size(), cv::Size(32, 32));
    EXPECT_EQ(recorder.setUps, 1);
    EXPECT_EQ(recorder.releases, 1);
    EXPECT_TRUE(recorder.lambdas.empty());
    EXPECT_EQ(recorder.progress.load(), 100.0f);
}

TEST(PassMainRoutine, CancelledPassReleasesTheStepAndLeavesTheOutput)
{
    RecordingStep recorder;
    const cv::Mat input = samplePhotoRegion(16, 16);
    float zoom = 2.0f;
    const PassContext context = setupPass(zoom, 16, 16, 1.3f);
    CancelFlag cancel{false};
    DeconvolutionStep step = recorder.step();
    const auto copy = step.deconvolve;
    step.deconvolve = [&](const float* in, float* out, int rows, int cols, float lambda) {
        copy(in, out, rows, cols, lambda);
        cancel.store(true);
    };
    cv::Mat output;
    EXPECT_THROW(passMainRoutine(input, output, 2, 1.3f, 0.02f, 5, nullptr, step, context, &cancel), JobCancelled);
    EXPECT_EQ(recorder.releases, 1);
    EXPECT_EQ(recorder.lambdas.size(), 1u);
    EXPECT_TRUE(output.empty());
}

TEST(PassMainRoutine, RejectsAnEmptyImage)
{
    RecordingStep recorder;
    EXPECT_THROW(runPass(cv::Mat(), 2.0f, recorder), cv::Exception);
}

TEST(UpsamplePassCPU, AgreesWithALiteralPassAfterEightBitConversion)
{
    const cv::Mat input = samplePhotoRegion(40, 56);
    const float sigma = 1.3f;
    cv::Mat fast;
    std::atomic<float> progress{-1.0f};
    upsamplePassCPU(input, fast, 2.0f, sigma, 0.02f, 10, &progress);
    EXPECT_EQ(progress.load(), 100.0f);

    float zoom = 2.0f;
    const PassContext context = setupPass(zoom, input.rows, input.cols, sigma);
    DeconvolutionStep literal;
    literal.deconvolve = [&](const float* in, float* out, int rows, int cols, float lambda) {
        literalDeconvolution(context.psfKernel, in, out, rows, cols, lambda);
    };
    cv::Mat reference;
    passMainRoutine(input, reference, 2, sigma, 0.02f, 10, nullptr, literal, context);

    ASSERT_EQ(fast.size(), cv::Size(112, 80));
    ASSERT_EQ(reference.size(), fast.size());
    cv::Mat difference;
    cv::absdiff(fast, reference, difference);
    EXPECT_LE(cv::norm(difference, cv::NORM_INF), 2.0);
    EXPECT_LE(cv::countNonZero(difference.reshape(1)), static_cast<int>(difference.total() * 3 / 100));
}
