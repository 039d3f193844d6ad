#include "literal_deconvolution.h"

#include <cmath>
#include <cstring>
#include <vector>

#include <fftw3.h>

#include "fast_deconv_cpu.h"

namespace {

using Complex = fftwf_complex;

struct ComplexPlane {
    explicit ComplexPlane(std::size_t n) : data(static_cast<Complex*>(fftwf_malloc(sizeof(Complex) * n)))
    {
        std::memset(data, 0, sizeof(Complex) * n);
    }
    ~ComplexPlane() { fftwf_free(data); }
    ComplexPlane(const ComplexPlane&) = delete;
    ComplexPlane& operator=(const ComplexPlane&) = delete;
    Complex& operator[](std::size_t i) { return data[i]; }
    Complex* data;
};

void forwardTransform(Complex* in, Complex* out, int H, int W)
{
    fftwf_plan plan = fftwf_plan_dft_2d(H, W, in, out, FFTW_FORWARD, FFTW_ESTIMATE);
    fftwf_execute(plan);
    fftwf_destroy_plan(plan);
}

// Kernel taps placed with their centre on (0, 0), wrapping around, then transformed.
void computeOtf(const float* kernel, int P, int Q, int H, int W, Complex* otf)
{
    ComplexPlane scratch(static_cast<std::size_t>(H) * W);
    for (int a = 0; a < P; ++a)
        for (int b = 0; b < Q; ++b) {
            const int row = ((H - P / 2 + a) % H + H) % H;
            const int col = ((W - Q / 2 + b) % W + W) % W;
            scratch[static_cast<std::size_t>(row) * W + col][0] = kernel[a * Q + b];
        }
    forwardTransform(scratch.data, otf, H, W);
}

float shrink(float d, float thr)
{
    const float excess = std::fabs(d) - thr;
    if (excess < 0.0f)
        return 0.0f;
    return (d < 0.0f ? -1.0f : 1.0f) * excess;
}

} // namespace

void literalDeconvolution(const PsfKernel& kernel, const float* y, float* x, int H, int W, float weight)
{
    initFftwThreads();
    const std::size_t N = static_cast<std::size_t>(H) * W;
    ComplexPlane nomin1(N), denom1(N), denom2(N), denom(N), termS(N), spectrumS(N), spectrumI(N), imageI(N);
    std::vector<float> auxH(N), auxV(N);
    fftwf_plan planS = fftwf_plan_dft_2d(H, W, termS.data, spectrumS.data, FFTW_FORWARD, FFTW_ESTIMATE);
    fftwf_plan planI = fftwf_plan_dft_2d(H, W, spectrumI.data, imageI.data, FFTW_BACKWARD, FFTW_ESTIMATE);

    std::memcpy(x, y, sizeof(float) * N);
    {
        ComplexPlane K(N), copy(N), Y(N), Dh(N), Dv(N);
        computeOtf(kernel.data(), kPsfSize, kPsfSize, H, W, K.data);
        for (std::size_t n = 0; n < N; ++n)
            copy[n][0] = y[n];
        forwardTransform(copy.data, Y.data, H, W);
        for (std::size_t n = 0; n < N; ++n) {
            nomin1[n][0] = K[n][0] * Y[n][0] + K[n][1] * Y[n][1];
            nomin1[n][1] = K[n][0] * Y[n][1] - Y[n][0] * K[n][1];
            denom1[n][0] = K[n][0] * K[n][0] + K[n][1] * K[n][1];
        }
        const float taps[2] = {1.0f, -1.0f};
        computeOtf(taps, 1, 2, H, W, Dh.data);
        computeOtf(taps, 2, 1, H, W, Dv.data);
        for (std::size_t n = 0; n < N; ++n)
            denom2[n][0] = Dh[n][0] * Dh[n][0] + Dh[n][1] * Dh[n][1] + Dv[n][0] * Dv[n][0] + Dv[n][1] * Dv[n][1];
    }

    const float g = 0.05f / weight;
    const float hmax = 100.0f * g;
    if (hmax >= 10.0f) {
        for (float beta = 10.0f; beta <= hmax; beta = 3.0f * beta) {
            const float ratio = beta / g;
            const float thr = 1.0f / beta;
            for (std::size_t n = 0; n < N; ++n)
                for (int part = 0; part < 2; ++part)
                    denom[n][part] = ratio * denom2[n][part] + denom1[n][part];
            for (int i = 0; i < H; ++i)
                for (int j = 0; j < W; ++j) {
                    const float here = x[i * W + j];
                    auxH[i * W + j] = shrink(x[i * W + (j + 1) % W] - here, thr);
                    auxV[i * W + j] = shrink(x[((i + 1) % H) * W + j] - here, thr);
                }
            for (int i = 0; i < H; ++i)
                for (int j = 0; j < W; ++j)
                    termS[i * W + j][0] = (auxV[((i - 1 + H) % H) * W + j] - auxV[i * W + j]) +
                                          (auxH[i * W + (j - 1 + W) % W] - auxH[i * W + j]);
            fftwf_execute(planS);
            for (std::size_t n = 0; n < N; ++n)
                for (int part = 0; part < 2; ++part)
                    spectrumI[n][part] = (ratio * spectrumS[n][part] + nomin1[n][part]) / denom[n][0];
            fftwf_execute(planI);
            for (std::size_t n = 0; n < N; ++n)
                x[n] = imageI[n][0] / static_cast<float>(N);
        }
    }
    fftwf_destroy_plan(planS);
    fftwf_destroy_plan(planI);
}
