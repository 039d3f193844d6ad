#include <gtest/gtest.h>

#include <numeric>

#include <opencv2/imgproc.hpp>

#include "plane_ops.h"

namespace {

float at(const PsfKernel& kernel, int row, int col)
{
    return kernel[static_cast<std::size_t>(row * kPsfSize + col)];
}

cv::Mat rampPlane(int rows, int cols)
{
    cv::Mat plane(rows, cols, CV_32F);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            plane.at<float>(y, x) = static_cast<float>(y * 100 + x);
    return plane;
}

} // namespace

TEST(GaussianKernel2D, KnownValuesAndSymmetry)
{
    const PsfKernel k13 = gaussianKernel2D(1.3f);
    EXPECT_NEAR(at(k13, 15, 15), 0.0941745f, 1e-6f);
    EXPECT_NEAR(at(k13, 15, 16), 0.0700558f, 1e-6f);
    EXPECT_EQ(at(k13, 0, 0), 0.0f); // corners underflow

    const PsfKernel k10 = gaussianKernel2D(1.0f);
    EXPECT_NEAR(at(k10, 15, 15), 0.1591549f, 1e-6f);
    EXPECT_NEAR(std::accumulate(k10.begin(), k10.end(), 0.0f), 1.0f, 1e-5f);
    for (int a = 0; a < kPsfSize; ++a)
        for (int b = 0; b < kPsfSize; ++b) {
            ASSERT_EQ(at(k10, a, b), at(k10, b, a));
            ASSERT_EQ(at(k10, a, b), at(k10, kPsfSize - 1 - a, b));
        }

    EXPECT_NEAR(at(gaussianKernel2D(4.0f), 0, 0), 7.8e-9f, 0.1e-9f);
}

TEST(ReplicatePadArray, MatchesReplicateBorderAndCutUndoesIt)
{
    const cv::Mat source = rampPlane(5, 7);
    const int top = 3, bottom = 4, left = 2, right = 5;
    cv::Mat padded(5 + top + bottom, 7 + left + right, CV_32F);
    replicatePadArray(source.ptr<float>(), padded.ptr<float>(), 5, 7, top, bottom, left, right);

    cv::Mat expected;
    cv::copyMakeBorder(source, expected, top, bottom, left, right, cv::BORDER_REPLICATE);
    EXPECT_EQ(cv::norm(padded, expected, cv::NORM_INF), 0.0);

    cv::Mat cut(5, 7, CV_32F);
    cutPadding(padded.ptr<float>(), cut.ptr<float>(), padded.rows, padded.cols, top, bottom, left, right);
    EXPECT_EQ(cv::norm(cut, source, cv::NORM_INF), 0.0);
}

TEST(ReplicatePadArray, SinglePixelFillsEverything)
{
    const float value = 0.25f;
    cv::Mat padded(6, 9, CV_32F, cv::Scalar(-1));
    replicatePadArray(&value, padded.ptr<float>(), 1, 1, 2, 3, 4, 4);
    EXPECT_EQ(cv::countNonZero(padded != value), 0);
}

TEST(ReplicateBorder, RefreshesOnlyTheBandFromTheInterior)
{
    cv::Mat plane = rampPlane(10, 12);
    const cv::Mat original = plane.clone();
    replicateBorder(plane.ptr<float>(), plane.ptr<float>(), 10, 12, 0, 0, 0, 0);
    EXPECT_EQ(cv::norm(plane, original, cv::NORM_INF), 0.0);

    const int top = 2, bottom = 1, left = 3, right = 2;
    plane(cv::Rect(left, top, 12 - left - right, 1)).setTo(5.0f); // interior's first row
    const cv::Mat interior = plane(cv::Rect(left, top, 12 - left - right, 10 - top - bottom)).clone();
    replicateBorder(plane.ptr<float>(), plane.ptr<float>(), 10, 12, top, bottom, left, right);

    cv::Mat expected;
    cv::copyMakeBorder(interior, expected, top, bottom, left, right, cv::BORDER_REPLICATE);
    EXPECT_EQ(cv::norm(plane, expected, cv::NORM_INF), 0.0);
    EXPECT_EQ(plane.at<float>(0, 5), 5.0f);
    EXPECT_EQ(plane.at<float>(1, 5), 5.0f);
}

TEST(ParallelGaussianBlur, EqualsOneWholePlaneBlur)
{
    cv::Mat plane(301, 257, CV_32F);
    cv::randu(plane, 0.0f, 1.0f);
    for (const int size : {21, 31}) {
        cv::Mat expected, stripes;
        cv::GaussianBlur(plane, expected, cv::Size(size, size), 1.7, 0, cv::BORDER_REFLECT_101);
        parallelGaussianBlur(plane, stripes, size, 1.7);
        EXPECT_EQ(cv::norm(stripes, expected, cv::NORM_INF), 0.0) << size;
    }
}

TEST(RefineInitialEstimate, FactorOneIsOneBlurOfTheLowResolutionPlane)
{
    cv::Mat lowRes = rampPlane(16, 24) / 4000.0;
    cv::Mat estimate = lowRes.clone();
    refineInitialEstimate(estimate.ptr<float>(), lowRes.ptr<float>(), 16, 24, 1);

    cv::Mat expected;
    cv::GaussianBlur(lowRes, expected, cv::Size(31, 31), 1.3, 0, cv::BORDER_REFLECT_101);
    EXPECT_EQ(cv::norm(estimate, expected, cv::NORM_INF), 0.0);
}

TEST(RefineInitialEstimate, SubstitutesAtTheTopLeftOfEachBlock)
{
    // Known samples of 1 in a plane of 0: after the last blur the substituted
    // positions (multiples of z) still stand above their block neighbours.
    const int Hp = 8, Wp = 8, z = 3;
    const cv::Mat lowRes(Hp, Wp, CV_32F, cv::Scalar(1.0f));
    cv::Mat estimate(Hp * z, Wp * z, CV_32F, cv::Scalar(0.0f));
    refineInitialEstimate(estimate.ptr<float>(), lowRes.ptr<float>(), Hp, Wp, z);
    EXPECT_GT(estimate.at<float>(12, 12), estimate.at<float>(12, 13));
    EXPECT_GT(estimate.at<float>(12, 12), estimate.at<float>(13, 12));
    EXPECT_GT(estimate.at<float>(12, 12), estimate.at<float>(13, 13));
}
