// The GPU solver's sequence run on the host (FFTW for cuFFT, loops over the
// shared per-element functions for the kernels), checked against the CPU
// deconvolution and on the cases where the arithmetic has edges.
#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "fftw_tvl2_backend.h"
#include "tvl2_element_ops.h"
#include "tvl2_solver.h"
#include "tvl2_test_planes.h"

namespace {

// Both solvers agree to float rounding: the CPU uses real-to-complex
// transforms and divides by N, the GPU solver complex-to-complex and
// multiplies by 1/N.
constexpr double kRoundingTolerance = 2e-5;

struct PhotoCase {
    int rows;
    int cols;
    float sigma;
    float lambda;
};

class EmulatedSolverOnAPhoto : public testing::TestWithParam<PhotoCase> {};

bool allFinite(const cv::Mat& plane)
{
    return cv::checkRange(plane);
}

} // namespace

TEST_P(EmulatedSolverOnAPhoto, MatchesTheCpuDeconvolution)
{
    const PhotoCase& c = GetParam();
    const cv::Mat observed = blurredPhotoPlane(c.rows, c.cols, c.sigma);
    const PsfKernel kernel = gaussianKernel2D(c.sigma);
    const cv::Mat emulated = emulatedTvl2(observed, kernel, c.lambda);
    const cv::Mat cpu = cpuTvl2(observed, kernel, c.lambda);
    ASSERT_TRUE(allFinite(emulated));
    EXPECT_LE(maxAbsDifference(emulated, cpu), kRoundingTolerance);
    EXPECT_GT(maxAbsDifference(emulated, observed), 1e-3); // it did deconvolve
}

INSTANTIATE_TEST_SUITE_P(Planes, EmulatedSolverOnAPhoto,
                         testing::Values(PhotoCase{96, 128, 1.3f, 1e-4f},   // 8 steps, multiples of 16
                                         PhotoCase{88, 120, 2.2f, 2.5e-4f}, // 7 steps, partial blocks
                                         PhotoCase{80, 72, 1.0f, 5e-6f},    // 11 steps
                                         PhotoCase{64, 64, 1.3f, 0.5f}),    // 1 step at beta = 10
                         [](const testing::TestParamInfo<PhotoCase>& info) {
                             return std::to_string(info.param.rows) + "x" + std::to_string(info.param.cols) + "_" +
                                    std::to_string(tvl2Schedule(info.param.lambda).betas.size()) + "steps";
                         });

TEST(EmulatedSolver, SolvesEachChannelOnItsOwn)
{
    const PsfKernel kernel = gaussianKernel2D(1.3f);
    std::vector<cv::Mat> planes = {blurredPhotoPlane(64, 80, 1.3f), cv::Mat(64, 80, CV_32F, cv::Scalar(0)),
                                   1.0f - blurredPhotoPlane(64, 80, 1.3f)};
    cv::flip(planes[2], planes[2], 1);
    std::vector<cv::Mat> results(3);
    const float* observed[3];
    float* result[3];
    for (int c = 0; c < 3; ++c) {
        results[c].create(64, 80, CV_32F);
        observed[c] = planes[c].ptr<float>();
        result[c] = results[c].ptr<float>();
    }
    FftwBackend backend;
    ASSERT_TRUE(runTvl2Deconvolution(backend, observed, result, 3, 80, 64, kernel.data(), kPsfSize, kPsfSize, 1e-4f));
    for (int c = 0; c < 3; ++c)
        EXPECT_LE(maxAbsDifference(results[c], emulatedTvl2(planes[c], kernel, 1e-4f)), 1e-6) << "channel " << c;
    EXPECT_EQ(cv::countNonZero(results[1]), 0);
}

TEST(EmulatedSolver, AllZeroInputGivesAllZeroOutput)
{
    const cv::Mat zeros(48, 64, CV_32F, cv::Scalar(0));
    const cv::Mat result = emulatedTvl2(zeros, gaussianKernel2D(1.3f), 1e-4f);
    EXPECT_EQ(cv::countNonZero(result), 0);
}

// Every |OTF|^2 is zero: each denominator becomes FLT_MAX instead of leaving
// 0 / 0 at the zero frequency, so the estimate collapses to (almost) zero.
TEST(EmulatedSolver, AllZeroKernelGivesAFiniteResult)
{
    PsfKernel zeroKernel{};
    const cv::Mat result = emulatedTvl2(blurredPhotoPlane(48, 64, 1.3f), zeroKernel, 1e-4f);
    ASSERT_TRUE(allFinite(result));
    EXPECT_LE(cv::norm(result, cv::NORM_INF), 1e-30);
}

TEST(EmulatedSolver, WithoutAStepReturnsTheObservedPlane)
{
    const cv::Mat observed = blurredPhotoPlane(32, 32, 1.3f);
    EXPECT_EQ(maxAbsDifference(emulatedTvl2(observed, gaussianKernel2D(1.3f), 0.5000001f), observed), 0.0);
}

TEST(EmulatedSolver, StopsBetweenStepsWhenCancelled)
{
    const cv::Mat observed = blurredPhotoPlane(32, 32, 1.3f);
    cv::Mat result(32, 32, CV_32F, cv::Scalar(-1));
    const float* input[] = {observed.ptr<float>()};
    float* output[] = {result.ptr<float>()};
    const PsfKernel kernel = gaussianKernel2D(1.3f);
    const std::atomic<bool> cancel{true};
    FftwBackend backend;
    EXPECT_FALSE(runTvl2Deconvolution(backend, input, output, 1, 32, 32, kernel.data(), kPsfSize, kPsfSize, 1e-4f,
                                      &cancel));
    EXPECT_EQ(cv::countNonZero(result != -1.0f), 0);
}

TEST(EmulatedSolver, RefusesSizesItCannotSolve)
{
    struct Sizes {
        int channels, W, H, kw, kh;
    };
    const Sizes refused[] = {{0, 32, 32, 3, 3}, {4, 32, 32, 3, 3}, {1, 1, 32, 1, 1},
                             {1, 32, 1, 1, 1},  {1, 30, 32, 31, 3}, {1, 32, 30, 3, 31}};
    const std::vector<float> planeData(32 * 32, 0.5f), kernel(31 * 31, 0.0f);
    std::vector<float> resultData(planeData.size());
    const float* input[] = {planeData.data(), planeData.data(), planeData.data()};
    float* output[] = {resultData.data(), resultData.data(), resultData.data()};
    FftwBackend backend;
    for (const Sizes& s : refused)
        EXPECT_THROW(runTvl2Deconvolution(backend, input, output, s.channels, s.W, s.H, kernel.data(), s.kw, s.kh,
                                          1e-4f),
                     std::invalid_argument)
            << s.channels << " channels, " << s.W << "x" << s.H << ", kernel " << s.kw << "x" << s.kh;
}

TEST(Tvl2ElementOps, ShrinkMovesDifferencesTowardsZeroByTheThreshold)
{
    struct Case {
        float difference, threshold, expected;
    };
    const Case cases[] = {
        {0.1f, 0.1f, 0.0f},          // magnitude equal to the threshold (beta = 10)
        {-0.1f, 0.1f, 0.0f},
        {0.05f, 0.1f, 0.0f},
        {0.3f, 0.1f, 0.3f - 0.1f},
        {-0.3f, 0.1f, -(0.3f - 0.1f)},
        {0.7f, 0.0f, 0.7f},          // no threshold keeps the difference
        {0.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tvl2::shrink(c.difference, c.threshold), c.expected) << c.difference << " by " << c.threshold;
}

TEST(Tvl2ElementOps, ZeroRegularisationTakesTheSmallestPositiveValue)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> denom1 = {0.0f, nan, 3e-7f, -2.0f, inf, 1e-39f, 0.5f, 0.0f};
    FftwBackend backend;
    const float minVal = backend.smallestPositive(denom1.data(), denom1.size());
    EXPECT_EQ(minVal, 1e-39f); // a denormal is positive too
    backend.regularDenom1(denom1.data(), minVal, 4, 2);
    EXPECT_EQ(denom1[0], 1e-39f);
    EXPECT_EQ(denom1[7], 1e-39f);
    EXPECT_EQ(denom1[2], 3e-7f);
    EXPECT_EQ(denom1[3], -2.0f);

    const std::vector<float> noPositive = {0.0f, -1.0f, nan, inf};
    EXPECT_EQ(backend.smallestPositive(noPositive.data(), noPositive.size()), FLT_MAX);
}

// A single bright pixel in the corner: its differences wrap to the last column
// and row, and their adjoint is the periodic 5-point Laplacian stencil.
TEST(Tvl2ElementOps, DifferencesAndTheirAdjointWrapAround)
{
    constexpr unsigned W = 5;
    constexpr unsigned H = 4;
    std::vector<Pixel> s(W * H, Pixel{0, 0, 0, 0});
    s[0] = Pixel{1.0f, 0.0f, 0.0f, 0.0f};
    std::vector<Pixel> h(W * H), v(W * H);
    std::vector<Complex> n0(W * H);
    FftwBackend backend;
    backend.updateHV(h.data(), v.data(), s.data(), W, H, 0.0f);
    EXPECT_EQ(h[0].x, -1.0f);
    EXPECT_EQ(h[W - 1].x, 1.0f);         // column W-1 looks right to column 0
    EXPECT_EQ(v[(H - 1) * W].x, 1.0f);   // row H-1 looks down to row 0
    backend.updateN(n0.data(), nullptr, nullptr, h.data(), v.data(), W, H);

    std::vector<float> expected(W * H, 0.0f);
    expected[0] = 4.0f;
    expected[1] = expected[W - 1] = expected[W] = expected[(H - 1) * W] = -1.0f;
    for (unsigned i = 0; i < W * H; ++i) {
        EXPECT_EQ(n0[i].x, expected[i]) << "element " << i;
        EXPECT_EQ(n0[i].y, 0.0f);
    }
}
