#pragma once

// The host emulation of the CUDA device for Tvl2Solver: buffers in host memory,
// FFTW in place of cuFFT (the same complex-to-complex transforms, directions and
// unnormalised inverse) and plain loops over the per-element functions of
// tvl2_element_ops.h in place of the kernels. The solver's own sequence of
// operations runs unchanged on it.

#include <cstddef>
#include <cstring>
#include <memory>

#include "tvl2_types.h"

class FftwBackend {
public:
    template <class T>
    using Buffer = std::unique_ptr<T[]>;

    struct Plan {
        int rows; // 1 for a 1-D transform
        int cols;
    };

    // Fresh buffers hold NaN, as device memory holds garbage: a value read
    // before it is written shows in the result.
    template <class T>
    Buffer<T> allocate(std::size_t count)
    {
        Buffer<T> buffer(new T[count]);
        std::memset(static_cast<void*>(buffer.get()), 0xFF, count * sizeof(T));
        return buffer;
    }
    template <class T>
    void upload(T* destination, const T* source, std::size_t count)
    {
        std::memcpy(destination, source, count * sizeof(T));
    }
    template <class T>
    void download(T* destination, const T* source, std::size_t count)
    {
        std::memcpy(destination, source, count * sizeof(T));
    }
    template <class T>
    void fillZero(T* destination, std::size_t count)
    {
        std::memset(static_cast<void*>(destination), 0, count * sizeof(T));
    }

    Plan plan1d(int length) { return Plan{1, length}; }
    Plan plan2d(int rows, int cols) { return Plan{rows, cols}; }
    void transform(const Plan& plan, Complex* in, Complex* out, int direction);

    void checkPendingError() {}
    float smallestPositive(const float* values, std::size_t count);

    void computeDenom2(float* g, const Complex* gx, const Complex* gy, unsigned W, unsigned H);
    void computeNomin1(Complex* B, const Complex* otf, unsigned W, unsigned H);
    void computeDenom1(const Complex* otf, float* denom1, unsigned W, unsigned H);
    void regularDenom1(float* denom1, float minVal, unsigned W, unsigned H);
    void updateHV(Pixel* h, Pixel* v, const Pixel* s, unsigned W, unsigned H, float thre);
    void updateN(Complex* n0, Complex* n1, Complex* n2, const Pixel* h, const Pixel* v, unsigned W, unsigned H);
    void updateFS(Complex* FS, const float* denom1, const float* denom2, const Complex* nomin1, unsigned W,
                  unsigned H, unsigned c, float beta);
    void updateS(Pixel* s, const Complex* n0, const Complex* n1, const Complex* n2, unsigned W, unsigned H,
                 float normalFactor);
    void placeKernel(Complex* grid, const float* kernel, int kw, int kh, unsigned W, unsigned H);
    void packChannel(Pixel* image, const float* plane, unsigned c, unsigned W, unsigned H);
    void unpackChannel(float* plane, const Pixel* image, unsigned c, unsigned W, unsigned H);
    void channelToComplex(Complex* out, const Pixel* image, unsigned c, unsigned W, unsigned H);
};
