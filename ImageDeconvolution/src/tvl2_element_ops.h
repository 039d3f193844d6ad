#pragma once

// Per-element arithmetic of the TV-L2 solver. Each device kernel is a thin
// wrapper that maps one thread to (x, y) and calls the matching *At function;
// the host emulation calls the very same functions in plain loops. The device
// code is built without fused multiply-add, so both round every operation the
// same way.
//
// Layout: an image of W columns and H rows, element (x, y) at i = y W + x.

#include <cmath>

#include "tvl2_types.h"

#if defined(__CUDACC__)
#define TVL2_HOST_DEVICE __host__ __device__ __forceinline__
#else
#define TVL2_HOST_DEVICE inline
#endif

namespace tvl2 {

TVL2_HOST_DEVICE unsigned indexOf(unsigned x, unsigned y, unsigned W) { return y * W + x; }

// Periodic neighbours: the successor of the last index is 0 and the
// predecessor of 0 is the last index.
TVL2_HOST_DEVICE unsigned nextWrapped(unsigned i, unsigned n) { return i + 1 == n ? 0 : i + 1; }
TVL2_HOST_DEVICE unsigned previousWrapped(unsigned i, unsigned n) { return i == 0 ? n - 1 : i - 1; }

TVL2_HOST_DEVICE float channel(const Pixel& p, unsigned c) { return c == 0 ? p.x : (c == 1 ? p.y : p.z); }

TVL2_HOST_DEVICE void setChannel(Pixel& p, unsigned c, float value)
{
    if (c == 0)
        p.x = value;
    else if (c == 1)
        p.y = value;
    else
        p.z = value;
}

TVL2_HOST_DEVICE float squaredMagnitude(const Complex& k) { return k.x * k.x + k.y * k.y; }

// conj(k) * b
TVL2_HOST_DEVICE Complex conjugateTimes(const Complex& k, const Complex& b)
{
    return Complex{b.x * k.x + b.y * k.y, k.x * b.y - b.x * k.y};
}

// Soft shrinkage, the minimiser of |w| + (1 / (2 thre)) (w - d)^2: d moved
// towards zero by thre; a magnitude of thre or less gives exactly 0.
TVL2_HOST_DEVICE float shrink(float d, float thre)
{
    const float magnitude = fabsf(d);
    const float excess = magnitude - thre;
    if (excess <= 0.0f)
        return 0.0f;
    return excess * (d / magnitude);
}

// Grid position of kernel tap (row, col) of a kh x kw kernel on an H x W grid:
// the centre tap lands on (0, 0), the taps above and left of it wrap around.
TVL2_HOST_DEVICE unsigned otfIndex(int row, int col, int kh, int kw, int H, int W)
{
    const int gridRow = (H - kh / 2 + row) % H;
    const int gridCol = (W - kw / 2 + col) % W;
    return static_cast<unsigned>(gridRow * W + gridCol);
}

// Puts tap `tap` (row-major) of a kh x kw kernel on the H x W grid as (tap, 0).
TVL2_HOST_DEVICE void placeKernelTapAt(int tap, Complex* grid, const float* kernel, int kw, int kh, int W, int H)
{
    grid[otfIndex(tap / kw, tap % kw, kh, kw, H, W)] = Complex{kernel[tap], 0.0f};
}

// The zero regularisation takes the smallest value that is > 0 and < current;
// NaN never qualifies.
TVL2_HOST_DEVICE bool replacesSmallestPositive(float value, float current) { return value > 0.0f && value < current; }

// g = |Gx(x)|^2 + |Gy(y)|^2: the transfer function of the two periodic
// difference filters, squared.
TVL2_HOST_DEVICE void computeDenom2At(unsigned x, unsigned y, unsigned W, float* g, const Complex* gx,
                                      const Complex* gy)
{
    g[indexOf(x, y, W)] = squaredMagnitude(gx[x]) + squaredMagnitude(gy[y]);
}

// B = conj(OTF) * B, in place.
TVL2_HOST_DEVICE void computeNomin1At(unsigned i, Complex* B, const Complex* otf) { B[i] = conjugateTimes(otf[i], B[i]); }

// denom1 = |OTF|^2
TVL2_HOST_DEVICE void computeDenom1At(unsigned i, const Complex* otf, float* denom1) { denom1[i] = squaredMagnitude(otf[i]); }

// Exact zeros of denom1 become minVal, so that no frequency divides by zero.
TVL2_HOST_DEVICE void regularDenom1At(unsigned i, float* denom1, float minVal)
{
    if (denom1[i] == 0.0f)
        denom1[i] = minVal;
}

// h = shrink(Dx s), v = shrink(Dy s) with periodic forward differences; w holds
// the plain differences.
TVL2_HOST_DEVICE void updateHVAt(unsigned x, unsigned y, unsigned W, unsigned H, Pixel* h, Pixel* v, const Pixel* s,
                                 float thre)
{
    const Pixel here = s[indexOf(x, y, W)];
    const Pixel right = s[indexOf(nextWrapped(x, W), y, W)];
    const Pixel below = s[indexOf(x, nextWrapped(y, H), W)];
    Pixel dh;
    Pixel dv;
    dh.x = shrink(right.x - here.x, thre);
    dh.y = shrink(right.y - here.y, thre);
    dh.z = shrink(right.z - here.z, thre);
    dh.w = right.w - here.w;
    dv.x = shrink(below.x - here.x, thre);
    dv.y = shrink(below.y - here.y, thre);
    dv.z = shrink(below.z - here.z, thre);
    dv.w = below.w - here.w;
    h[indexOf(x, y, W)] = dh;
    v[indexOf(x, y, W)] = dv;
}

// n_c = Dx^T h_c + Dy^T v_c (adjoint of the periodic forward differences) as a
// complex plane with zero imaginary part. A null n_c is a channel not solved.
TVL2_HOST_DEVICE void updateNAt(unsigned x, unsigned y, unsigned W, unsigned H, Complex* n0, Complex* n1, Complex* n2,
                                const Pixel* h, const Pixel* v)
{
    const unsigned i = indexOf(x, y, W);
    const Pixel hHere = h[i];
    const Pixel hLeft = h[indexOf(previousWrapped(x, W), y, W)];
    const Pixel vHere = v[i];
    const Pixel vAbove = v[indexOf(x, previousWrapped(y, H), W)];
    n0[i] = Complex{(hLeft.x - hHere.x) + (vAbove.x - vHere.x), 0.0f};
    if (n1)
        n1[i] = Complex{(hLeft.y - hHere.y) + (vAbove.y - vHere.y), 0.0f};
    if (n2)
        n2[i] = Complex{(hLeft.z - hHere.z) + (vAbove.z - vHere.z), 0.0f};
}

// FS = (beta FS + nomin1_c) / (beta denom2 + denom1): the per-frequency
// minimiser of the quadratic image subproblem; beta is the penalty over the
// data weight.
TVL2_HOST_DEVICE void updateFSAt(unsigned i, Complex* FS, const float* denom1, const float* denom2,
                                 const Complex* nomin1, float beta)
{
    const float den = beta * denom2[i] + denom1[i];
    const Complex m = nomin1[i];
    const Complex F = FS[i];
    FS[i] = Complex{(F.x * beta + m.x) / den, (F.y * beta + m.y) / den};
}

// s = Re(n_c) / N from the unnormalised inverse transforms; a channel not
// solved stays 0.
TVL2_HOST_DEVICE void updateSAt(unsigned i, Pixel* s, const Complex* n0, const Complex* n1, const Complex* n2,
                                float normalFactor)
{
    s[i] = Pixel{n0[i].x * normalFactor, n1 ? n1[i].x * normalFactor : 0.0f, n2 ? n2[i].x * normalFactor : 0.0f,
                 0.0f};
}

// Moves one host plane into channel c of the image, and back.
TVL2_HOST_DEVICE void packChannelAt(unsigned i, Pixel* image, const float* plane, unsigned c)
{
    setChannel(image[i], c, plane[i]);
}
TVL2_HOST_DEVICE void unpackChannelAt(unsigned i, float* plane, const Pixel* image, unsigned c)
{
    plane[i] = channel(image[i], c);
}

// (channel c, 0): the complex input of a channel's forward transform.
TVL2_HOST_DEVICE void channelToComplexAt(unsigned i, Complex* out, const Pixel* image, unsigned c)
{
    out[i] = Complex{channel(image[i], c), 0.0f};
}

} // namespace tvl2
