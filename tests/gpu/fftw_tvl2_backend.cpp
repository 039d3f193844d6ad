#include "fftw_tvl2_backend.h"

#include <cfloat>

#include <fftw3.h>

#include "tvl2_element_ops.h"

namespace {

// The host counterpart of a kernel launch over a W x H image.
template <class Body>
void forEachElement(unsigned W, unsigned H, const Body& body)
{
    for (unsigned y = 0; y < H; ++y)
        for (unsigned x = 0; x < W; ++x)
            body(x, y, tvl2::indexOf(x, y, W));
}

} // namespace

void FftwBackend::transform(const Plan& plan, Complex* in, Complex* out, int direction)
{
    auto* input = reinterpret_cast<fftwf_complex*>(in);
    auto* output = reinterpret_cast<fftwf_complex*>(out);
    fftwf_plan fftw = plan.rows == 1 ? fftwf_plan_dft_1d(plan.cols, input, output, direction, FFTW_ESTIMATE)
                                     : fftwf_plan_dft_2d(plan.rows, plan.cols, input, output, direction, FFTW_ESTIMATE);
    fftwf_execute(fftw);
    fftwf_destroy_plan(fftw);
}

float FftwBackend::smallestPositive(const float* values, std::size_t count)
{
    float smallest = FLT_MAX;
    for (std::size_t i = 0; i < count; ++i)
        if (tvl2::replacesSmallestPositive(values[i], smallest))
            smallest = values[i];
    return smallest;
}

void FftwBackend::computeDenom2(float* g, const Complex* gx, const Complex* gy, unsigned W, unsigned H)
{
    forEachElement(W, H, [&](unsigned x, unsigned y, unsigned) { tvl2::computeDenom2At(x, y, W, g, gx, gy); });
}

void FftwBackend::computeNomin1(Complex* B, const Complex* otf, unsigned W, unsigned H)
{
    forEachElement(W, H, [&](unsigned, unsigned, unsigned i) { tvl2::computeNomin1At(i, B, otf); });
}

void FftwBackend::computeDenom1(const Complex* otf, float* denom1, unsigned W, unsigned H)
{
    forEachElement(W, H, [&](unsigned, unsigned, unsigned i) { tvl2::computeDenom1At(i, otf, denom1); });
}

void FftwBackend::regularDenom1(float* denom1, float minVal, unsigned W, unsigned H)
{
    forEachElement(W, H, [&](unsigned, unsigned, unsigned i) { tvl2::regularDenom1At(i, denom1, minVal); });
}

void FftwBackend::updateHV(Pixel* h, Pixel* v, const Pixel* s, unsigned W, unsigned H, float thre)
{
    forEachElement(W, H, [&](unsigned x, unsigned y, unsigned) { tvl2::updateHVAt(x, y, W, H, h, v, s, thre); });
}

void FftwBackend::updateN(Complex* n0, Complex* n1, Complex* n2, const Pixel* h, const Pixel* v, unsigned W,
                          unsigned H)
{
    forEachElement(W, H, [&](unsigned x, unsigned y, unsigned) { tvl2::updateNAt(x, y, W, H, n0, n1, n2, h, v); });
}

void FftwBackend::updateFS(Complex* FS, const float* denom1, const float* denom2, const Complex* nomin1, unsigned W,
                           unsigned H, unsigned c, float beta)
{
    const Complex* slice = nomin1 + static_cast<std::size_t>(c) * W * H;
    forEachElement(W, H,
                   [&](unsigned, unsigned, unsigned i) { tvl2::updateFSAt(i, FS, denom1, denom2, slice, beta); });
}

void FftwBackend::updateS(Pixel* s, const Complex* n0, const Complex* n1, const Complex* n2, unsigned W, unsigned H,
                          float normalFactor)
{
    forEachElement(W, H, [&](unsigned, unsigned, unsigned i) { tvl2::updateSAt(i, s, n0, n1, n2, normalFactor); });
}

void FftwBackend::placeKernel(Complex* grid, const float* kernel, int kw, int kh, unsigned W, unsigned H)
{
    for (int tap = 0; tap < kw * kh; ++tap)
        tvl2::placeKernelTapAt(tap, grid, kernel, kw, kh, static_cast<int>(W), static_cast<int>(H));
}

void FftwBackend::packChannel(Pixel* image, const float* plane, unsigned c, unsigned W, unsigned H)
{
    forEachElement(W, H, [&](unsigned, unsigned, unsigned i) { tvl2::packChannelAt(i, image, plane, c); });
}

void FftwBackend::unpackChannel(float* plane, const Pixel* image, unsigned c, unsigned W, unsigned H)
{
    forEachElement(W, H, [&](unsigned, unsigned, unsigned i) { tvl2::unpackChannelAt(i, plane, image, c); });
}

void FftwBackend::channelToComplex(Complex* out, const Pixel* image, unsigned c, unsigned W, unsigned H)
{
    forEachElement(W, H, [&](unsigned, unsigned, unsigned i) { tvl2::channelToComplexAt(i, out, image, c); });
}
