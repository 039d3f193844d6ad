#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <opencv2/imgcodecs.hpp>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "test_images.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int exitCode;
    std::string output; // stdout and stderr together
};

CliRun runCli(const std::string& arguments)
{
    const std::string command = std::string("'") + ZENTAVO_CLI + "' " + arguments + " 2>&1 </dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    CliRun run{-1, {}};
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        run.output += buffer;
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class CliRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("zentavo-cli-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        input = (folder / "small.png").string();
        cv::imwrite(input, samplePhotoRegion(24, 32));
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string quoted(const fs::path& path) const { return "'" + path.string() + "'"; }
    std::size_t fileCount() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
    std::string input;
};

} // namespace

TEST_F(CliRunTest, EnlargesAFileAndPrintsTheRunningTime)
{
    const fs::path output = folder / "big.png";
    const CliRun run = runCli("--processor cpu --zoom 2 --iterations 2 " + quoted(input) + " " + quoted(output));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Running time "), std::string::npos) << run.output;
    EXPECT_EQ(cv::imread(output.string()).size(), cv::Size(64, 48));
}

TEST_F(CliRunTest, BatchFormWritesEachInputIntoTheFolder)
{
    const fs::path second = folder / "second.jpg";
    cv::imwrite(second.string(), samplePhotoRegion(10, 12));
    fs::create_directories(folder / "out");
    const CliRun run = runCli("--processor cpu --iterations 1 --output-dir " + quoted(folder / "out") + " " +
                              quoted(input) + " " + quoted(second));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(cv::imread((folder / "out" / "small.png").string()).size(), cv::Size(64, 48));
    EXPECT_EQ(cv::imread((folder / "out" / "second.jpg").string()).size(), cv::Size(24, 20));
}

TEST_F(CliRunTest, FailuresNameTheFileLeaveNoOutputAndExitWithOne)
{
    const fs::path garbage = folder / "garbage.jpg";
    std::ofstream(garbage) << "not a picture";
    const struct {
        std::string arguments;
        std::string named; // the file the message must name
    } failures[] = {
        {quoted(folder / "missing.png") + " " + quoted(folder / "o1.png"), "missing.png"},
        {quoted(garbage) + " " + quoted(folder / "o2.png"), "garbage.jpg"},
        {quoted(input) + " " + quoted(folder / "o3.unknownext"), "o3.unknownext"},
        {quoted(input) + " " + quoted(folder / "no-such-folder" / "o4.png"), "o4.png"},
        {"--output-dir " + quoted(folder / "no-such-folder") + " " + quoted(input), "no-such-folder"},
        {quoted(input) + " " + quoted(input), "small.png"}, // would overwrite its own input
    };
    const std::size_t filesBefore = fileCount();
    for (const auto& failure : failures) {
        const CliRun run = runCli("--processor cpu --iterations 1 " + failure.arguments);
        EXPECT_EQ(run.exitCode, 1) << failure.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(failure.named), std::string::npos) << run.output;
        EXPECT_EQ(fileCount(), filesBefore) << failure.arguments;
    }
}

TEST_F(CliRunTest, BadUsageExitsWithTwo)
{
    for (const std::string arguments : {"", "--zoom", "--zoom -2 a b", "--processor quantum a b", "a"}) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.output.find("--help"), std::string::npos) << run.output;
    }
}

TEST_F(CliRunTest, GpuWithoutAUsableGpuIsAnError)
{
    const fs::path output = folder / "gpu.png";
    const CliRun run = runCli("--processor gpu " + quoted(input) + " " + quoted(output));
    if (run.exitCode == 0)
        GTEST_SKIP() << "a usable GPU is present";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("no usable GPU"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(CliRunTest, InterruptCancelsTheRunAndLeavesNoOutput)
{
    const fs::path output = folder / "interrupted.png";
    const std::string sample = samplePhotoPath();
    const std::string outputPath = output.string();
    const char* const argv[] = {ZENTAVO_CLI, "--processor", "cpu", "--zoom", "4", "--iterations", "60",
                                sample.c_str(), outputPath.c_str(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, ZENTAVO_CLI, nullptr, nullptr, const_cast<char* const*>(argv), nullptr), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(fs::exists(output));
    EXPECT_EQ(fileCount(), 1u); // only the test's own input
}
