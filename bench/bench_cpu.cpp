// The CPU pass against its FFT floor: the time the real transforms alone take.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

#include <fftw3.h>

#include "bench_support.h"
#include "fast_deconv_cpu.h"
#include "tvl2_schedule.h"
#include "upsample_pass.h"

namespace {

// Transforms one pass performs: per iteration one of the observed plane and two per stage.
int transformsPerPass()
{
    int transforms = 0;
    float weight = kWeight;
    const float decay = static_cast<float>(std::pow(2.5, static_cast<double>(1.0f / kIterations)));
    for (int i = 0; i < kIterations; ++i) {
        transforms += 1 + 2 * static_cast<int>(tvl2Schedule(weight / 200.0f).betas.size());
        weight = weight / decay;
    }
    return transforms;
}

// Seconds of one real transform of the plane (mean of forward and backward),
// with the planner flags and threads the deconvolution uses.
double secondsPerRealTransform(cv::Size plane)
{
    initFftwThreads();
    const std::size_t n = static_cast<std::size_t>(plane.area());
    const std::size_t nc = static_cast<std::size_t>(plane.height) * (plane.width / 2 + 1);
    float* real = fftwf_alloc_real(n);
    fftwf_complex* spectrum = fftwf_alloc_complex(nc);
    std::fill_n(real, n, 0.5f);
    fftwf_plan forward = fftwf_plan_dft_r2c_2d(plane.height, plane.width, real, spectrum, FFTW_ESTIMATE);
    fftwf_plan backward = fftwf_plan_dft_c2r_2d(plane.height, plane.width, spectrum, real, FFTW_ESTIMATE);
    constexpr int kRepeats = 10;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRepeats; ++i) {
        fftwf_execute(forward);
        fftwf_execute(backward);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    fftwf_destroy_plan(forward);
    fftwf_destroy_plan(backward);
    fftwf_free(spectrum);
    fftwf_free(real);
    return elapsed.count() / (2 * kRepeats);
}

void BM_CpuPass(benchmark::State& state)
{
    const cv::Mat image = photoLikeImage(static_cast<int>(state.range(0)));
    const cv::Size plane = deconvolvedPlaneSize(image, kZoom, kSigma);
    const double fftFloor = transformsPerPass() * secondsPerRealTransform(plane);

    std::size_t peakBytes = 0;
    double passSeconds = 0.0;
    for (auto _ : state) {
        const PeakMemoryTracker memory;
        const auto start = std::chrono::steady_clock::now();
        cv::Mat output;
        upsamplePassCPU(image, output, kZoom, kSigma, kWeight, kIterations, nullptr);
        benchmark::DoNotOptimize(output.data);
        passSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        peakBytes = std::max(peakBytes, memory.peakAboveStart());
    }
    state.counters["fft_floor_s"] = fftFloor;
    state.counters["pass_over_floor"] = passSeconds / static_cast<double>(state.iterations()) / fftFloor;
    state.counters["peak_bytes_per_px"] = static_cast<double>(peakBytes) / static_cast<double>(plane.area());
    state.SetLabel(std::to_string(plane.height) + "x" + std::to_string(plane.width) + " planes");
}

} // namespace

BENCHMARK(BM_CpuPass)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
