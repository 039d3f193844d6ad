#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "test_images.h"
#include "upsample_pass.h"
#include "upsampling_job.h"
#include "working_thread.h"

namespace {

RunParameters cpuParameters(float zoom, int iterations = 2)
{
    RunParameters parameters;
    parameters.processor = kProcessorCpu;
    parameters.zoomFactor = zoom;
    parameters.nIteration = iterations;
    return parameters;
}

std::filesystem::path temporaryFile(const std::string& name, const std::string& contents)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

} // namespace

TEST(PassSchedule, PassesOfFourAndOneForTheRest)
{
    const struct {
        float zoom;
        std::vector<float> factors;
    } cases[] = {
        {1.00f, {1.00f}}, // no pass would be needed: one pass of the factor itself
        {1.01f, {1.01f}},
        {1.02f, {1.02f}},
        {2.00f, {2.0f}},
        {3.00f, {3.0f}},
        {4.00f, {4.0f}},
        {4.05f, {4.05f}},
        {4.06f, {4.0f, 1.015f}},
        {16.00f, {4.0f, 4.0f}},
        {16.50f, {4.0f, 4.0f, 1.03125f}},
        {20.00f, {4.0f, 4.0f, 1.25f}},
    };
    for (const auto& c : cases) {
        const std::vector<float> factors = passSchedule(c.zoom);
        ASSERT_EQ(factors.size(), c.factors.size()) << c.zoom;
        for (std::size_t i = 0; i < factors.size(); ++i)
            EXPECT_FLOAT_EQ(factors[i], c.factors[i]) << c.zoom;
    }
}

TEST(UpsampleImage, ChainsPassesWithDecayingWeightAndProgressWindows)
{
    const cv::Mat input = samplePhotoRegion(6, 5);
    RunParameters parameters = cpuParameters(16.0f, 1);
    JobProgress progress;
    const JobOutcome outcome = upsampleImage(input, parameters, &progress);
    ASSERT_TRUE(outcome.error.empty()) << outcome.error;
    EXPECT_EQ(progress.passStart.load(), 50.0f);
    EXPECT_EQ(progress.passEnd.load(), 100.0f);
    EXPECT_EQ(progress.overall(), 100.0f);

    // The same two passes by hand, the second with the weight divided by 1.1.
    cv::Mat first, second;
    upsamplePassCPU(input, first, 4.0f, parameters.sigma, parameters.wtDeconv, 1, nullptr);
    upsamplePassCPU(first, second, 4.0f, parameters.sigma, static_cast<float>(parameters.wtDeconv / 1.1), 1, nullptr);
    ASSERT_EQ(outcome.result.size(), cv::Size(80, 96));
    EXPECT_EQ(cv::norm(outcome.result, second, cv::NORM_INF), 0.0);
}

TEST(UpsampleImage, ThreePassesReachTwentyTimes)
{
    JobProgress progress;
    const JobOutcome outcome = upsampleImage(samplePhotoRegion(4, 5), cpuParameters(20.0f, 0), &progress);
    ASSERT_TRUE(outcome.error.empty()) << outcome.error;
    EXPECT_EQ(outcome.result.size(), cv::Size(100, 80));
    EXPECT_FLOAT_EQ(progress.passStart.load(), 200.0f / 3.0f);
}

TEST(UpsampleImage, ZoomOneSharpensAtTheSameSize)
{
    const cv::Mat input = samplePhotoRegion(24, 32);
    const JobOutcome outcome = upsampleImage(input, cpuParameters(1.0f), nullptr);
    ASSERT_TRUE(outcome.error.empty()) << outcome.error;
    EXPECT_EQ(outcome.result.size(), input.size());
}

TEST(UpsampleImage, ReportsBadParametersAndCancellationWithoutAResult)
{
    RunParameters bad = cpuParameters(0.0f);
    JobOutcome outcome = upsampleImage(samplePhotoRegion(8, 8), bad, nullptr);
    EXPECT_TRUE(outcome.result.empty());
    EXPECT_FALSE(outcome.error.empty());

    const CancelFlag cancel{true};
    outcome = upsampleImage(samplePhotoRegion(8, 8), cpuParameters(2.0f), nullptr, &cancel);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.result.empty());
}

TEST(RunUpsamplingJob, ReportsFilesThatCannotBeRead)
{
    const auto missing = std::filesystem::temp_directory_path() / "zentavo-no-such-file.png";
    JobOutcome outcome = runUpsamplingJob(missing.string(), cpuParameters(2.0f), nullptr);
    EXPECT_EQ(outcome.error, "No such file");
    EXPECT_TRUE(outcome.result.empty());

    const auto garbage = temporaryFile("zentavo-garbage.png", "this is not an image");
    outcome = runUpsamplingJob(garbage.string(), cpuParameters(2.0f), nullptr);
    EXPECT_EQ(outcome.error, "Cannot read the file as an image");
    EXPECT_TRUE(outcome.result.empty());
    std::filesystem::remove(garbage);
}

TEST(RunUpsamplingJob, WithoutAGpuTheGpuProcessorFailsCleanly)
{
    RunParameters parameters = cpuParameters(2.0f, 1);
    parameters.processor = kProcessorGpu;
    const JobOutcome outcome = runUpsamplingJob(samplePhotoPath(), parameters, nullptr);
    if (outcome.error.empty())
        GTEST_SKIP() << "a GPU is present";
    EXPECT_TRUE(outcome.result.empty());
    EXPECT_FALSE(outcome.cancelled);
}

TEST(UpsampleImage, ConcurrentJobsGiveTheirSequentialResults)
{
    const cv::Mat a = samplePhotoRegion(40, 48);
    const cv::Mat b = samplePhotoRegion(56, 36);
    const RunParameters pa = cpuParameters(2.0f, 3);
    RunParameters pb = cpuParameters(3.0f, 3);
    pb.sigma = 1.9f;

    const JobOutcome sequentialA = upsampleImage(a, pa, nullptr);
    const JobOutcome sequentialB = upsampleImage(b, pb, nullptr);
    JobOutcome concurrentA, concurrentB;
    std::thread first([&] { concurrentA = upsampleImage(a, pa, nullptr); });
    std::thread second([&] { concurrentB = upsampleImage(b, pb, nullptr); });
    first.join();
    second.join();

    ASSERT_FALSE(sequentialA.result.empty());
    ASSERT_FALSE(sequentialB.result.empty());
    EXPECT_EQ(cv::norm(concurrentA.result, sequentialA.result, cv::NORM_INF), 0.0);
    EXPECT_EQ(cv::norm(concurrentB.result, sequentialB.result, cv::NORM_INF), 0.0);
}

TEST(WorkingThread, RaisesDoneAfterTheResultOrTheError)
{
    auto progress = std::make_shared<JobProgress>();
    WorkingThread job(QByteArray::fromStdString(samplePhotoPath()), cpuParameters(1.5f, 1), progress);
    EXPECT_FALSE(job.isDone());
    job.start();
    ASSERT_TRUE(job.wait(60000));
    ASSERT_TRUE(job.isDone());
    EXPECT_TRUE(job.errorMessage().isEmpty());
    EXPECT_EQ(job.result().size(), cv::Size(768, 768));
    EXPECT_GT(job.runningTime(), 0.0f);
    EXPECT_EQ(progress->overall(), 100.0f);

    WorkingThread failing("/nonexistent/photo.png", cpuParameters(2.0f), std::make_shared<JobProgress>());
    failing.start();
    ASSERT_TRUE(failing.wait(60000));
    EXPECT_TRUE(failing.isDone());
    EXPECT_TRUE(failing.result().empty());
    EXPECT_FALSE(failing.errorMessage().isEmpty());
}

TEST(WorkingThread, CancelEndsARunningJobPromptly)
{
    RunParameters slow = cpuParameters(4.0f, 50);
    WorkingThread job(QByteArray::fromStdString(samplePhotoPath()), slow, std::make_shared<JobProgress>());
    job.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    job.cancel();
    ASSERT_TRUE(job.wait(20000));
    EXPECT_TRUE(job.isDone());
    EXPECT_TRUE(job.wasCancelled());
    EXPECT_TRUE(job.result().empty());
}
