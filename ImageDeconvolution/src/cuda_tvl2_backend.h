#pragma once

// The CUDA device as the backend of Tvl2Solver (tvl2_solver.h): device
// buffers, cuFFT transforms through the loaded entry points, and the kernels of
// fast_deconv_cuda.cu. Everything runs on the default stream, in order.
//
// A failing CUDA or cuFFT call writes one line to stderr and throws
// std::runtime_error with a one-line message for the user; buffers and plans
// are owned by RAII handles, so the device memory is released on the way out.

#include <cstddef>
#include <memory>

#include "cufft_library.h"
#include "tvl2_types.h"

class CudaBackend {
public:
    struct DeviceFree {
        void operator()(void* memory) const noexcept;
    };
    template <class T>
    using Buffer = std::unique_ptr<T[], DeviceFree>;

    // A cuFFT plan, destroyed with the object.
    class Plan {
    public:
        Plan(const CufftEntryPoints& cufft, CufftHandle handle) : cufft_(&cufft), handle_(handle) {}
        Plan(Plan&& other) noexcept : cufft_(other.cufft_), handle_(other.handle_) { other.cufft_ = nullptr; }
        Plan& operator=(Plan&&) = delete;
        ~Plan();
        CufftHandle handle() const { return handle_; }

    private:
        const CufftEntryPoints* cufft_;
        CufftHandle handle_;
    };

    explicit CudaBackend(const CufftEntryPoints& cufft) : cufft_(cufft) {}

    template <class T>
    Buffer<T> allocate(std::size_t count)
    {
        return Buffer<T>(static_cast<T*>(allocateBytes(count * sizeof(T))));
    }
    template <class T>
    void upload(T* device, const T* host, std::size_t count)
    {
        copyToDevice(device, host, count * sizeof(T));
    }
    template <class T>
    void download(T* host, const T* device, std::size_t count)
    {
        copyToHost(host, device, count * sizeof(T));
    }
    template <class T>
    void fillZero(T* device, std::size_t count)
    {
        zeroBytes(device, count * sizeof(T));
    }

    Plan plan1d(int length);
    Plan plan2d(int rows, int cols);
    void transform(const Plan& plan, Complex* in, Complex* out, int direction);

    // Fails with the memory message when the runtime holds an error from an
    // earlier allocation or launch.
    void checkPendingError();
    // The smallest value of `values` that is > 0 (and < FLT_MAX); FLT_MAX if none.
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

private:
    void* allocateBytes(std::size_t bytes);
    void copyToDevice(void* device, const void* host, std::size_t bytes);
    void copyToHost(void* host, const void* device, std::size_t bytes);
    void zeroBytes(void* device, std::size_t bytes);

    const CufftEntryPoints& cufft_;
};
