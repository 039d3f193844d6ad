// The GPU pass and its deconvolution against the CPU's, on the same images.
// Without a CUDA device and cuFFT the GPU benchmarks report an error and skip.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "bench_support.h"
#include "cuda_probe.h"
#include "fast_deconv_cpu.h"
#include "fast_deconv_tvl2.h"
#include "upsample_pass.h"

namespace {

// Probes once, then warms up the device and cuFFT so that their start-up
// cost stays out of the timings.
bool gpuReady()
{
    static const bool ready = [] {
        probeGpuAtStartup();
        if (!gpuAvailable || cufftMissing)
            return false;
        const cv::Mat plane(64, 64, CV_32F, cv::Scalar(0.5f));
        cv::Mat output(plane.size(), CV_32F);
        const PsfKernel kernel = gaussianKernel2D(kSigma);
        deconvolveTvl2Plane(plane.ptr<float>(), output.ptr<float>(), kernel.data(), 64, 64, kPsfSize, kPsfSize, 1,
                            1e-4f);
        return true;
    }();
    return ready;
}

// The weights a pass hands its deconvolution, one per iteration.
std::vector<float> passLambdas()
{
    std::vector<float> lambdas;
    float weight = kWeight;
    const float decay = static_cast<float>(std::pow(2.5, static_cast<double>(1.0f / kIterations)));
    for (int i = 0; i < kIterations; ++i) {
        lambdas.push_back(weight / 200.0f);
        weight = weight / decay;
    }
    return lambdas;
}

// A luminance plane of the size a pass on a size x size image deconvolves.
cv::Mat passSizedPlane(int size)
{
    const cv::Mat image = photoLikeImage(size);
    cv::Mat grey;
    cv::cvtColor(image, grey, cv::COLOR_BGR2GRAY);
    cv::resize(grey, grey, deconvolvedPlaneSize(image, kZoom, kSigma), 0, 0, cv::INTER_CUBIC);
    cv::Mat plane;
    grey.convertTo(plane, CV_32F, 1.0 / 255.0);
    return plane;
}

// The whole GPU pass; its result is compared with the CPU pass's in grey levels.
void BM_GpuPass(benchmark::State& state)
{
    if (!gpuReady()) {
        state.SkipWithError("no CUDA device or cuFFT library");
        return;
    }
    const cv::Mat image = photoLikeImage(static_cast<int>(state.range(0)));
    cv::Mat gpu;
    for (auto _ : state) {
        upsamplePassGPU(image, gpu, kZoom, kSigma, kWeight, kIterations, nullptr);
        benchmark::DoNotOptimize(gpu.data);
    }
    cv::Mat cpu, difference;
    upsamplePassCPU(image, cpu, kZoom, kSigma, kWeight, kIterations, nullptr);
    cv::absdiff(gpu, cpu, difference);
    state.counters["max_grey_diff_vs_cpu"] = cv::norm(difference, cv::NORM_INF);
    state.counters["mean_grey_diff_vs_cpu"] = cv::mean(difference.reshape(1))[0];
}

// The deconvolution share of a pass: its ten calls on a pass-sized plane.
void BM_GpuPassDeconvolutions(benchmark::State& state)
{
    if (!gpuReady()) {
        state.SkipWithError("no CUDA device or cuFFT library");
        return;
    }
    const cv::Mat observed = passSizedPlane(static_cast<int>(state.range(0)));
    const PsfKernel kernel = gaussianKernel2D(kSigma);
    cv::Mat output(observed.size(), CV_32F);
    for (auto _ : state) {
        for (const float lambda : passLambdas())
            deconvolveTvl2Plane(observed.ptr<float>(), output.ptr<float>(), kernel.data(), observed.rows,
                                observed.cols, kPsfSize, kPsfSize, 1, lambda);
        benchmark::DoNotOptimize(output.data);
    }
    state.SetLabel(std::to_string(observed.rows) + "x" + std::to_string(observed.cols) + " plane");
}

// The same share on the CPU, with its per-pass set-up.
void BM_CpuPassDeconvolutions(benchmark::State& state)
{
    const cv::Mat observed = passSizedPlane(static_cast<int>(state.range(0)));
    const PsfKernel kernel = gaussianKernel2D(kSigma);
    cv::Mat output(observed.size(), CV_32F);
    for (auto _ : state) {
        DeconvBuffersPtr buffers = initDeconvBuffers(observed.rows, observed.cols, kernel);
        for (const float lambda : passLambdas())
            fastDeconvCPU(*buffers, observed.ptr<float>(), output.ptr<float>(), observed.rows, observed.cols, lambda);
        benchmark::DoNotOptimize(output.data);
    }
    state.SetLabel(std::to_string(observed.rows) + "x" + std::to_string(observed.cols) + " plane");
}

} // namespace

BENCHMARK(BM_GpuPass)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_GpuPassDeconvolutions)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CpuPassDeconvolutions)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
