#include "fast_deconv_cpu.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <type_traits>
#include <vector>

#include <fftw3.h>
#include <opencv2/core.hpp>

#include "tvl2_schedule.h"

// The planes handed in are real, so every transform is real-to-complex or
// complex-to-real over the half spectrum of (W/2 + 1) x H values; the kernel's
// transfer function and the difference filters' |D|^2 are made once per pass.

namespace {

struct FftwFree {
    void operator()(void* memory) const { fftwf_free(memory); }
};
template <typename T>
using FftwArray = std::unique_ptr<T[], FftwFree>;

template <typename T>
FftwArray<T> allocateFftw(std::size_t count)
{
    auto* memory = static_cast<T*>(fftwf_malloc(sizeof(T) * count));
    if (!memory)
        throw std::bad_alloc();
    return FftwArray<T>(memory);
}

struct PlanDestroy {
    void operator()(fftwf_plan plan) const { fftwf_destroy_plan(plan); }
};
using Plan = std::unique_ptr<std::remove_pointer_t<fftwf_plan>, PlanDestroy>;

Plan checkedPlan(fftwf_plan plan)
{
    if (!plan)
        throw std::bad_alloc();
    return Plan(plan);
}

// The per-element loops below are compiled twice, for AVX2 and for the baseline,
// and the faster one is picked when the program loads. Both compute the same
// correctly rounded single-precision operations, so the results are identical.
#define ZENTAVO_SIMD_CLONES [[gnu::target_clones("avx2", "default")]]

// The exact minimiser of |w| + (beta/2)(w - d)^2, with threshold 1 / beta.
inline float shrink(float difference, float threshold)
{
    const float excess = std::fabs(difference) - threshold;
    if (excess < 0.0f)
        return 0.0f;
    return difference < 0.0f ? -excess : excess;
}

// out = values / scale
ZENTAVO_SIMD_CLONES
void scaleRow(const float* __restrict values, float scale, float* __restrict out, std::size_t count)
{
    for (std::size_t j = 0; j < count; ++j)
        out[j] = values[j] / scale;
}

// out = shrink(to - from)
ZENTAVO_SIMD_CLONES
void shrinkDifferences(const float* from, const float* to, float* __restrict out, std::size_t count,
                       float threshold)
{
    for (std::size_t j = 0; j < count; ++j)
        out[j] = shrink(to[j] - from[j], threshold);
}

// out = (auxV[i-1][j] - auxV[i][j]) + (auxH[i][j-1] - auxH[i][j]), the adjoint of
// the forward differences, wrapping around at column 0.
ZENTAVO_SIMD_CLONES
void adjointRow(const float* __restrict auxVAbove, const float* __restrict auxV, const float* __restrict auxH,
                float* __restrict out, std::size_t w)
{
    out[0] = (auxVAbove[0] - auxV[0]) + (auxH[w - 1] - auxH[0]);
    for (std::size_t j = 1; j < w; ++j)
        out[j] = (auxVAbove[j] - auxV[j]) + (auxH[j - 1] - auxH[j]);
}

// spectrum = (ratio * spectrum + nomin1) / (ratio * denom2 + denom1), real and
// imaginary parts alike (the denominator is real).
ZENTAVO_SIMD_CLONES
void solveSpectrumRange(float* __restrict spectrum, const float* __restrict nomin1, const float* __restrict denom1,
                        const float* __restrict denom2, float ratio, std::size_t count)
{
    for (std::size_t n = 0; n < count; ++n) {
        const float denominator = ratio * denom2[n] + denom1[n];
        spectrum[2 * n] = (ratio * spectrum[2 * n] + nomin1[2 * n]) / denominator;
        spectrum[2 * n + 1] = (ratio * spectrum[2 * n + 1] + nomin1[2 * n + 1]) / denominator;
    }
}

// Splits rows [0, rows) over the cores.
template <typename Body>
void forEachRowRange(int rows, const Body& body)
{
    cv::parallel_for_(cv::Range(0, rows), [&](const cv::Range& range) { body(range.start, range.end); });
}

} // namespace

namespace {

// Runs FFTW's parallel loops on OpenCV's worker pool, so that the transforms and
// the loops between them share one set of threads instead of two pools
// competing for the same cores.
void runFftwJobsOnOpenCvPool(void* (*work)(char*), char* jobData, std::size_t jobSize, int jobCount, void*)
{
    cv::parallel_for_(
        cv::Range(0, jobCount),
        [&](const cv::Range& jobs) {
            for (int job = jobs.start; job < jobs.end; ++job)
                work(jobData + jobSize * static_cast<std::size_t>(job));
        },
        jobCount);
}

} // namespace

void initFftwThreads()
{
    static std::once_flag once;
    std::call_once(once, [] {
        fftwf_init_threads();
        fftwf_threads_set_callback(runFftwJobsOnOpenCvPool, nullptr);
        fftwf_make_planner_thread_safe();
        fftwf_plan_with_nthreads(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    });
}

class DeconvBuffers {
public:
    DeconvBuffers(int H, int W, const PsfKernel& kernel);

    void deconvolve(const float* observed, float* output, float weight, const CancelFlag* cancel);

    const int H;
    const int W;

private:
    // Places a small row-major kernel on the grid with its centre at (0, 0)
    // (taps above or left of it wrap around) and transforms it into `spectrum`.
    void transformKernel(const float* taps, int P, int Q);
    void computeNomin1(const float* observed);
    // termS = adjoint differences of the shrunk differences of x = source / scale.
    void shrinkAndAdjoint(const float* source, float scale, float threshold);
    // spectrum = (ratio * spectrum + nomin1) / (ratio * denom2 + denom1)
    void solveSpectrum(float ratio);

    const int Wc;        // columns of the half spectrum
    const std::size_t N; // pixels of a real plane
    const std::size_t Nc;

    FftwArray<fftwf_complex> otf;      // transfer function of the kernel
    FftwArray<fftwf_complex> nomin1;   // conj(K) * Y
    FftwArray<fftwf_complex> spectrum; // spectrumS, then spectrumI in place
    FftwArray<float> denom1;           // |K|^2
    FftwArray<float> denom2;           // |Dh|^2 + |Dv|^2
    FftwArray<float> termS;            // real input of the forward transform
    FftwArray<float> imageI;           // unnormalised inverse transform
    Plan forward;                      // termS -> spectrum
    Plan backward;                     // spectrum -> imageI
};

DeconvBuffers::DeconvBuffers(int rows, int cols, const PsfKernel& kernel)
    : H(rows), W(cols), Wc(cols / 2 + 1), N(static_cast<std::size_t>(rows) * cols),
      Nc(static_cast<std::size_t>(rows) * (cols / 2 + 1)),
      otf(allocateFftw<fftwf_complex>(Nc)), nomin1(allocateFftw<fftwf_complex>(Nc)),
      spectrum(allocateFftw<fftwf_complex>(Nc)), denom1(allocateFftw<float>(Nc)),
      denom2(allocateFftw<float>(Nc)), termS(allocateFftw<float>(N)), imageI(allocateFftw<float>(N))
{
    initFftwThreads();
    forward = checkedPlan(fftwf_plan_dft_r2c_2d(H, W, termS.get(), spectrum.get(), FFTW_ESTIMATE));
    backward = checkedPlan(fftwf_plan_dft_c2r_2d(H, W, spectrum.get(), imageI.get(), FFTW_ESTIMATE));

    transformKernel(kernel.data(), kPsfSize, kPsfSize);
    std::memcpy(otf.get(), spectrum.get(), sizeof(fftwf_complex) * Nc);
    for (std::size_t n = 0; n < Nc; ++n)
        denom1[n] = otf[n][0] * otf[n][0] + otf[n][1] * otf[n][1];

    const float difference[2] = {1.0f, -1.0f};
    transformKernel(difference, 1, 2); // horizontal [1, -1]: -1 on (0, 0), 1 on (0, W-1)
    for (std::size_t n = 0; n < Nc; ++n)
        denom2[n] = spectrum[n][0] * spectrum[n][0] + spectrum[n][1] * spectrum[n][1];
    transformKernel(difference, 2, 1); // vertical [1; -1]: -1 on (0, 0), 1 on (H-1, 0)
    for (std::size_t n = 0; n < Nc; ++n)
        denom2[n] = denom2[n] + spectrum[n][0] * spectrum[n][0] + spectrum[n][1] * spectrum[n][1];
}

void DeconvBuffers::transformKernel(const float* taps, int P, int Q)
{
    std::fill_n(termS.get(), N, 0.0f);
    for (int a = 0; a < P; ++a) {
        const int row = ((H - P / 2 + a) % H + H) % H;
        for (int b = 0; b < Q; ++b) {
            const int col = ((W - Q / 2 + b) % W + W) % W;
            termS[static_cast<std::size_t>(row) * W + col] = taps[a * Q + b];
        }
    }
    fftwf_execute(forward.get());
}

void DeconvBuffers::computeNomin1(const float* observed)
{
    std::memcpy(termS.get(), observed, sizeof(float) * N);
    fftwf_execute(forward.get());
    for (std::size_t n = 0; n < Nc; ++n) {
        const float* K = otf[n];
        const float* Y = spectrum[n];
        nomin1[n][0] = K[0] * Y[0] + K[1] * Y[1];
        nomin1[n][1] = K[0] * Y[1] - Y[0] * K[1];
    }
}

void DeconvBuffers::shrinkAndAdjoint(const float* source, float scale, float threshold)
{
    const std::size_t w = static_cast<std::size_t>(W);
    forEachRowRange(H, [&](int firstRow, int endRow) {
        // Rows of x and of the shrunk differences; auxV of the row above is kept.
        std::vector<float> scratch(5 * w);
        float* xRow = scratch.data();
        float* xBelow = xRow + w;
        float* auxH = xBelow + w;
        float* auxV = auxH + w;
        float* auxVAbove = auxV + w;

        const auto loadRow = [&](int row, float* destination) {
            scaleRow(source + static_cast<std::size_t>(row) * w, scale, destination, w);
        };

        const int rowAbove = (firstRow + H - 1) % H;
        loadRow(rowAbove, xRow);
        loadRow(firstRow, xBelow);
        shrinkDifferences(xRow, xBelow, auxVAbove, w, threshold);

        for (int i = firstRow; i < endRow; ++i) {
            std::swap(xRow, xBelow);
            loadRow((i + 1) % H, xBelow);
            shrinkDifferences(xRow, xBelow, auxV, w, threshold);
            shrinkDifferences(xRow, xRow + 1, auxH, w - 1, threshold);
            auxH[w - 1] = shrink(xRow[0] - xRow[w - 1], threshold);
            adjointRow(auxVAbove, auxV, auxH, termS.get() + static_cast<std::size_t>(i) * w, w);
            std::swap(auxV, auxVAbove);
        }
    });
}

void DeconvBuffers::solveSpectrum(float ratio)
{
    forEachRowRange(H, [&](int firstRow, int endRow) {
        const std::size_t begin = static_cast<std::size_t>(firstRow) * Wc;
        const std::size_t count = static_cast<std::size_t>(endRow - firstRow) * Wc;
        solveSpectrumRange(spectrum[begin], nomin1[begin], denom1.get() + begin, denom2.get() + begin, ratio, count);
    });
}

void DeconvBuffers::deconvolve(const float* observed, float* output, float weight, const CancelFlag* cancel)
{
    const Tvl2Schedule schedule = tvl2Schedule(weight);
    if (schedule.betas.empty()) {
        std::memcpy(output, observed, sizeof(float) * N);
        return;
    }
    computeNomin1(observed);

    // x starts as the observed plane; after each stage it is imageI / N.
    const float pixelCount = static_cast<float>(N);
    const float* estimate = observed;
    float scale = 1.0f;
    for (const float beta : schedule.betas) {
        throwIfCancelled(cancel);
        const float ratio = beta / schedule.dataWeight;
        const float threshold = 1.0f / beta;
        shrinkAndAdjoint(estimate, scale, threshold);
        fftwf_execute(forward.get());
        solveSpectrum(ratio);
        fftwf_execute(backward.get());
        estimate = imageI.get();
        scale = pixelCount;
    }
    forEachRowRange(H, [&](int firstRow, int endRow) {
        const std::size_t begin = static_cast<std::size_t>(firstRow) * W;
        scaleRow(imageI.get() + begin, pixelCount, output + begin, static_cast<std::size_t>(endRow - firstRow) * W);
    });
}

void DeconvBuffersDeleter::operator()(DeconvBuffers* buffers) const
{
    delete buffers;
}

DeconvBuffersPtr initDeconvBuffers(int H, int W, const PsfKernel& kernel)
{
    return DeconvBuffersPtr(new DeconvBuffers(H, W, kernel));
}

void releaseDeconvBuffers(DeconvBuffersPtr& buffers)
{
    buffers.reset();
}

void fastDeconvCPU(DeconvBuffers& buffers, const float* observed, float* output, int H, int W, float weight,
                   const CancelFlag* cancel)
{
    CV_Assert(H == buffers.H && W == buffers.W);
    buffers.deconvolve(observed, output, weight, cancel);
}
