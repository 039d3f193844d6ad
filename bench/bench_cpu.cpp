// The CPU pass against its FFT floor: the time the real transforms alone take.
#include <benchmark/benchmark.h>

#include <chrono>
#include <algorithm>
#include <cmath>
#include <vector>

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

// Real transforms of the plane with the planner flags and threads the
// deconvolution uses, alternating forward and backward.
class RealTransforms {
public:
    explicit RealTransforms(cv::Size plane)
        : real_(fftwf_alloc_real(static_cast<std::size_t>(plane.area()))),
          spectrum_(fftwf_alloc_complex(static_cast<std::size_t>(plane.height) * (plane.width / 2 + 1)))
    {
        initFftwThreads();
        std::fill_n(real_, plane.area(), 0.5f);
        forward_ = fftwf_plan_dft_r2c_2d(plane.height, plane.width, real_, spectrum_, FFTW_ESTIMATE);
        backward_ = fftwf_plan_dft_c2r_2d(plane.height, plane.width, spectrum_, real_, FFTW_ESTIMATE);
    }
    ~RealTransforms()
    {
        fftwf_destroy_plan(forward_);
        fftwf_destroy_plan(backward_);
        fftwf_free(spectrum_);
        fftwf_free(real_);
    }
    RealTransforms(const RealTransforms&) = delete;
    RealTransforms& operator=(const RealTransforms&) = delete;

    double secondsFor(int transforms)
    {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < transforms; ++i)
            fftwf_execute(i % 2 == 0 ? forward_ : backward_);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    float* real_;
    fftwf_complex* spectrum_;
    fftwf_plan forward_;
    fftwf_plan backward_;
};

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Each pass is followed by its FFT floor, timed right after it, so that the
// ratio stays meaningful on a machine whose speed drifts.
void BM_CpuPass(benchmark::State& state)
{
    const cv::Mat image = photoLikeImage(static_cast<int>(state.range(0)));
    const cv::Size plane = deconvolvedPlaneSize(image, kZoom, kSigma);
    RealTransforms transforms(plane);
    const int transformCount = transformsPerPass();

    std::size_t peakBytes = 0;
    std::vector<double> floors, ratios;
    for (auto _ : state) {
        const PeakMemoryTracker memory;
        const auto start = std::chrono::steady_clock::now();
        cv::Mat output;
        upsamplePassCPU(image, output, kZoom, kSigma, kWeight, kIterations, nullptr);
        benchmark::DoNotOptimize(output.data);
        const double passSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        peakBytes = std::max(peakBytes, memory.peakAboveStart());

        state.PauseTiming();
        floors.push_back(transforms.secondsFor(transformCount));
        ratios.push_back(passSeconds / floors.back());
        state.ResumeTiming();
    }
    state.counters["fft_floor_s"] = median(floors);
    state.counters["pass_over_floor"] = median(ratios);
    state.counters["peak_bytes_per_px"] = static_cast<double>(peakBytes) / static_cast<double>(plane.area());
    state.SetLabel(std::to_string(plane.height) + "x" + std::to_string(plane.width) + " planes, " +
                   std::to_string(transformCount) + " transforms");
}

} // namespace

BENCHMARK(BM_CpuPass)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
