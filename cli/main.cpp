// zentavo-cli: the upsampling job from the command line, for batch work and scripts.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "cli_options.h"
#include "cuda_probe.h"
#include "image_file.h"
#include "upsampling_job.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Set from the SIGINT handler; the running job polls it as its cancel flag.
CancelFlag interrupted{false};

extern "C" void onInterrupt(int)
{
    interrupted.store(true, std::memory_order_relaxed);
}

void reportFailure(const std::string& file, const std::string& reason)
{
    std::fprintf(stderr, "zentavo-cli: %s: %s\n", file.c_str(), reason.c_str());
}

void drawProgressBar(const std::string& label, float percent)
{
    constexpr int kWidth = 40;
    const int filled = static_cast<int>(percent / 100.0f * kWidth);
    std::fprintf(stderr, "\r[%s%s] %3d%% %s", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), static_cast<int>(percent), label.c_str());
    std::fflush(stderr);
}

// Runs the job on a worker thread while this thread draws its progress.
JobOutcome runWithProgress(const std::string& input, const RunParameters& parameters)
{
    JobProgress progress;
    JobOutcome outcome;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        outcome = runUpsamplingJob(input, parameters, &progress, &interrupted);
        finished.store(true, std::memory_order_release);
    });
    const bool showProgress = ::isatty(STDERR_FILENO) != 0;
    if (showProgress) {
        const std::string label = fs::path(input).filename().string();
        while (!finished.load(std::memory_order_acquire)) {
            drawProgressBar(label, progress.overall());
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        std::fputs("\r\x1b[K", stderr); // erase the bar's line
    }
    worker.join();
    return outcome;
}

// Enlarges one file; returns true when the result was written.
bool processFile(const std::string& input, const std::string& output, const RunParameters& parameters, bool batch)
{
    std::error_code error;
    if (fs::exists(output, error) && fs::equivalent(input, output, error)) {
        reportFailure(output, "refusing to overwrite the input file");
        return false;
    }
    const JobOutcome outcome = runWithProgress(input, parameters);
    if (outcome.cancelled) {
        reportFailure(input, "interrupted; no output written");
        return false;
    }
    if (!outcome.error.empty()) {
        reportFailure(input, outcome.error);
        return false;
    }
    const std::string writeError = writeImageFile(output, outcome.result);
    if (!writeError.empty()) {
        reportFailure(output, writeError);
        return false;
    }
    if (batch)
        std::printf("%s: Running time %.3fs\n", output.c_str(), static_cast<double>(outcome.runningTime));
    else
        std::printf("Running time %.3fs\n", static_cast<double>(outcome.runningTime));
    std::fflush(stdout);
    return true;
}

// Settles the processor: a GPU is used only when one answered and cuFFT loaded.
bool chooseProcessor(ProcessorChoice choice, RunParameters& parameters)
{
    if (choice == ProcessorChoice::Cpu) {
        parameters.processor = kProcessorCpu;
        return true;
    }
    probeGpuAtStartup();
    const bool gpuUsable = gpuAvailable && !cufftMissing;
    if (choice == ProcessorChoice::Gpu && !gpuUsable) {
        std::fprintf(stderr, "zentavo-cli: no usable GPU: %s\n",
                     gpuAvailable ? (std::string(cufftLibraryName()) + " could not be loaded").c_str()
                                  : "no CUDA device was found");
        return false;
    }
    parameters.processor = gpuUsable ? kProcessorGpu : kProcessorCpu;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = parseCliOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "zentavo-cli: %s\nTry 'zentavo-cli --help' for more information.\n", error.c_str());
        return kExitUsage;
    }
    if (options->help) {
        std::fputs(kCliUsage, stdout);
        return kExitSuccess;
    }
    RunParameters parameters = options->parameters;
    if (!chooseProcessor(options->processor, parameters))
        return kExitFailure;

    const bool batch = !options->outputDir.empty();
    if (batch && !fs::is_directory(options->outputDir)) {
        reportFailure(options->outputDir, "no such folder");
        return kExitFailure;
    }
    std::signal(SIGINT, onInterrupt);

    bool allWritten = true;
    for (const std::string& input : options->inputs) {
        if (interrupted.load())
            break;
        const std::string output =
            batch ? (fs::path(options->outputDir) / fs::path(input).filename()).string() : options->output;
        allWritten = processFile(input, output, parameters, batch) && allWritten;
    }
    return allWritten && !interrupted.load() ? kExitSuccess : kExitFailure;
}
