// The device side of the TV-L2 solver: its kernels and the CudaBackend that
// allocates, copies, transforms and launches for Tvl2Solver.
//
// Every kernel maps one thread to one element (x, y) of a W x H image,
// x = blockIdx.x * 16 + threadIdx.x and y likewise, in blocks of 16 x 16
// threads; threads past the right or bottom edge do nothing. Buffers are
// row-major, element (x, y) at y W + x. Inputs are read straight from global
// memory with the indexing of tvl2_element_ops.h.

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <type_traits>

#include <cuda_runtime.h>
#include <cufft.h>

#include "cuda_tvl2_backend.h"
#include "tvl2_element_ops.h"

static_assert(sizeof(Complex) == sizeof(cufftComplex) && alignof(Complex) == alignof(cufftComplex));
static_assert(sizeof(Pixel) == sizeof(float4) && alignof(Pixel) == alignof(float4));
static_assert(std::is_same_v<CufftHandle, cufftHandle>);
static_assert(sizeof(cufftType) == sizeof(int) && sizeof(cufftResult) == sizeof(CufftResult));
static_assert(CUFFT_C2C == kCufftC2C && CUFFT_FORWARD == kCufftForward && CUFFT_INVERSE == kCufftInverse);

namespace {

constexpr const char* kSourceFile = "fast_deconv_cuda.cu";
constexpr unsigned kBlockSide = 16;

const char* cufftErrorString(CufftResult status)
{
    switch (status) {
    case CUFFT_INVALID_PLAN: return "invalid plan";
    case CUFFT_ALLOC_FAILED: return "allocation failed";
    case CUFFT_INVALID_TYPE: return "invalid type";
    case CUFFT_INVALID_VALUE: return "invalid value";
    case CUFFT_INTERNAL_ERROR: return "internal error";
    case CUFFT_EXEC_FAILED: return "execution failed";
    case CUFFT_SETUP_FAILED: return "setup failed";
    case CUFFT_INVALID_SIZE: return "invalid size";
    case CUFFT_NOT_SUPPORTED: return "not supported";
    default: return "unknown error";
    }
}

[[noreturn]] void failWith(const char* description)
{
    throw std::runtime_error(std::string("GPU error: ") + description);
}

void checkRuntime(cudaError_t status, int line)
{
    if (status == cudaSuccess)
        return;
    std::fprintf(stderr, "%s(%i) : cudaSafeCall() Runtime API error %d: %s.\n", kSourceFile, line,
                 static_cast<int>(status), cudaGetErrorString(status));
    failWith(cudaGetErrorString(status));
}

// An error the runtime holds from an earlier allocation or launch.
void checkLastError(const char* message, int line)
{
    const cudaError_t status = cudaGetLastError();
    if (status == cudaSuccess)
        return;
    std::fprintf(stderr, "%s(%i) : cutilCheckMsg() CUTIL CUDA error : %s : (%d) %s.\n", kSourceFile, line, message,
                 static_cast<int>(status), cudaGetErrorString(status));
    failWith(cudaGetErrorString(status));
}

void checkCufft(CufftResult status, int line)
{
    if (status == CUFFT_SUCCESS)
        return;
    std::fprintf(stderr, "%s(%i) : cufftSafeCall() cuFFT error %d: %s.\n", kSourceFile, line, status,
                 cufftErrorString(status));
    failWith((std::string("cuFFT ") + cufftErrorString(status)).c_str());
}

#define CUDA_SAFE_CALL(call) checkRuntime((call), __LINE__)
#define CUFFT_SAFE_CALL(call) checkCufft((call), __LINE__)
#define CHECK_LAUNCH(kernelName) checkLastError(kernelName " launch failed", __LINE__)

dim3 gridFor(unsigned W, unsigned H)
{
    return dim3((W + kBlockSide - 1) / kBlockSide, (H + kBlockSide - 1) / kBlockSide, 1);
}
const dim3 kBlock(kBlockSide, kBlockSide, 1);

__device__ __forceinline__ bool elementOfThread(unsigned W, unsigned H, unsigned& x, unsigned& y)
{
    x = blockIdx.x * blockDim.x + threadIdx.x;
    y = blockIdx.y * blockDim.y + threadIdx.y;
    return x < W && y < H;
}

} // namespace

// g = |gx(x)|^2 + |gy(y)|^2
__global__ void d_compute_denom2(float* g, const Complex* gx, const Complex* gy, unsigned dataW, unsigned dataH)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::computeDenom2At(x, y, dataW, g, gx, gy);
}

// d_B = conj(d_otf) * d_B, one channel's slice
__global__ void d_compute_nomin1(Complex* d_B, const Complex* d_otf, unsigned dataW, unsigned dataH)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::computeNomin1At(tvl2::indexOf(x, y, dataW), d_B, d_otf);
}

// d_denom1 = |d_otf|^2
__global__ void d_compute_denom1(const Complex* d_otf, float* d_denom1, unsigned dataW, unsigned dataH)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::computeDenom1At(tvl2::indexOf(x, y, dataW), d_otf, d_denom1);
}

// exact zeros of d_denom1 become min_val
__global__ void d_regular_denom1(float* d_denom1, float min_val, unsigned dataW, unsigned dataH)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::regularDenom1At(tvl2::indexOf(x, y, dataW), d_denom1, min_val);
}

// d_h, d_v = shrunk periodic forward differences of the estimate s; reads the
// right and lower neighbours.
__global__ void d_updateHV(Pixel* d_h, Pixel* d_v, const Pixel* __restrict__ s, unsigned dataW, unsigned dataH,
                           float thre)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::updateHVAt(x, y, dataW, dataH, d_h, d_v, s, thre);
}

// n_c = adjoint differences of h and v; reads the left and upper neighbours.
// n1 and n2 are null for channels not solved.
__global__ void d_updateN(Complex* n0, Complex* n1, Complex* n2, const Pixel* __restrict__ h,
                          const Pixel* __restrict__ v, unsigned dataW, unsigned dataH)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::updateNAt(x, y, dataW, dataH, n0, n1, n2, h, v);
}

// FS = (beta FS + nomin1_c) / (beta denom2 + denom1); nomin1 holds one slice
// of W H values per channel.
__global__ void d_updateFS(Complex* FS, const float* __restrict__ denom1, const float* __restrict__ denom2,
                           const Complex* __restrict__ nomin1, unsigned dataW, unsigned dataH, unsigned c, float beta)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y)) {
        const Complex* slice = nomin1 + static_cast<std::size_t>(c) * dataW * dataH;
        tvl2::updateFSAt(tvl2::indexOf(x, y, dataW), FS, denom1, denom2, slice, beta);
    }
}

// d_s = Re(n_c) NORMAL_FACTOR
__global__ void d_updateS(Pixel* d_s, const Complex* n0, const Complex* n1, const Complex* n2, unsigned dataW,
                          unsigned dataH, float NORMAL_FACTOR)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::updateSAt(tvl2::indexOf(x, y, dataW), d_s, n0, n1, n2, NORMAL_FACTOR);
}

// One thread per kernel tap: the tap goes to its wrapped place on the grid.
// The kernel is no larger than the grid, so no two taps meet.
__global__ void d_placeKernel(Complex* grid, const float* kernel, int kw, int kh, unsigned dataW, unsigned dataH)
{
    const int tap = static_cast<int>(blockIdx.x * blockDim.x + threadIdx.x);
    if (tap < kw * kh)
        tvl2::placeKernelTapAt(tap, grid, kernel, kw, kh, static_cast<int>(dataW), static_cast<int>(dataH));
}

// channel c of image = plane
__global__ void d_packChannel(Pixel* image, const float* plane, unsigned c, unsigned dataW, unsigned dataH)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::packChannelAt(tvl2::indexOf(x, y, dataW), image, plane, c);
}

// plane = channel c of image
__global__ void d_unpackChannel(float* plane, const Pixel* image, unsigned c, unsigned dataW, unsigned dataH)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::unpackChannelAt(tvl2::indexOf(x, y, dataW), plane, image, c);
}

// out = (channel c of image, 0)
__global__ void d_channelToComplex(Complex* out, const Pixel* image, unsigned c, unsigned dataW, unsigned dataH)
{
    unsigned x, y;
    if (elementOfThread(dataW, dataH, x, y))
        tvl2::channelToComplexAt(tvl2::indexOf(x, y, dataW), out, image, c);
}

// A grid-stride loop over `count` values, not the image mapping: each thread
// keeps its smallest qualifying value, each warp folds its 32, and lane 0
// merges into *result with atomicMin on the bit pattern, which orders
// positive floats like unsigned integers.
__global__ void d_smallestPositive(const float* values, std::size_t count, unsigned* result)
{
    float smallest = FLT_MAX;
    for (std::size_t i = blockIdx.x * blockDim.x + threadIdx.x; i < count;
         i += static_cast<std::size_t>(blockDim.x) * gridDim.x) {
        const float value = values[i];
        if (tvl2::replacesSmallestPositive(value, smallest))
            smallest = value;
    }
    for (int offset = 16; offset > 0; offset /= 2)
        smallest = fminf(smallest, __shfl_down_sync(0xffffffffu, smallest, offset));
    if ((threadIdx.x & 31u) == 0)
        atomicMin(result, __float_as_uint(smallest));
}

void CudaBackend::DeviceFree::operator()(void* memory) const noexcept
{
    cudaFree(memory); // a failure here surfaces at the next checked call
}

CudaBackend::Plan::~Plan()
{
    if (cufft_)
        cufft_->destroy(handle_);
}

void* CudaBackend::allocateBytes(std::size_t bytes)
{
    void* memory = nullptr;
    CUDA_SAFE_CALL(cudaMalloc(&memory, bytes));
    return memory;
}

void CudaBackend::copyToDevice(void* device, const void* host, std::size_t bytes)
{
    CUDA_SAFE_CALL(cudaMemcpy(device, host, bytes, cudaMemcpyHostToDevice));
}

void CudaBackend::copyToHost(void* host, const void* device, std::size_t bytes)
{
    CUDA_SAFE_CALL(cudaMemcpy(host, device, bytes, cudaMemcpyDeviceToHost));
}

void CudaBackend::zeroBytes(void* device, std::size_t bytes)
{
    CUDA_SAFE_CALL(cudaMemset(device, 0, bytes));
}

CudaBackend::Plan CudaBackend::plan1d(int length)
{
    CufftHandle handle = 0;
    CUFFT_SAFE_CALL(cufft_.plan1d(&handle, length, kCufftC2C, 1));
    return Plan(cufft_, handle);
}

CudaBackend::Plan CudaBackend::plan2d(int rows, int cols)
{
    CufftHandle handle = 0;
    CUFFT_SAFE_CALL(cufft_.plan2d(&handle, rows, cols, kCufftC2C));
    return Plan(cufft_, handle);
}

void CudaBackend::transform(const Plan& plan, Complex* in, Complex* out, int direction)
{
    CUFFT_SAFE_CALL(cufft_.execC2C(plan.handle(), in, out, direction));
}

void CudaBackend::checkPendingError()
{
    checkLastError("Insufficient Memory! \n", __LINE__);
}

float CudaBackend::smallestPositive(const float* values, std::size_t count)
{
    constexpr unsigned kThreads = 256;
    constexpr std::size_t kMaxBlocks = 1024;
    const unsigned blocks = static_cast<unsigned>(std::min(kMaxBlocks, (count + kThreads - 1) / kThreads));
    Buffer<unsigned> result = allocate<unsigned>(1);
    const float largest = FLT_MAX;
    copyToDevice(result.get(), &largest, sizeof largest);
    d_smallestPositive<<<blocks, kThreads>>>(values, count, result.get());
    CHECK_LAUNCH("d_smallestPositive");
    float smallest = 0.0f;
    copyToHost(&smallest, result.get(), sizeof smallest);
    return smallest;
}

void CudaBackend::computeDenom2(float* g, const Complex* gx, const Complex* gy, unsigned W, unsigned H)
{
    d_compute_denom2<<<gridFor(W, H), kBlock>>>(g, gx, gy, W, H);
    CHECK_LAUNCH("d_compute_denom2");
}

void CudaBackend::computeNomin1(Complex* B, const Complex* otf, unsigned W, unsigned H)
{
    d_compute_nomin1<<<gridFor(W, H), kBlock>>>(B, otf, W, H);
    CHECK_LAUNCH("d_compute_nomin1");
}

void CudaBackend::computeDenom1(const Complex* otf, float* denom1, unsigned W, unsigned H)
{
    d_compute_denom1<<<gridFor(W, H), kBlock>>>(otf, denom1, W, H);
    CHECK_LAUNCH("d_compute_denom1");
}

void CudaBackend::regularDenom1(float* denom1, float minVal, unsigned W, unsigned H)
{
    d_regular_denom1<<<gridFor(W, H), kBlock>>>(denom1, minVal, W, H);
    CHECK_LAUNCH("d_regular_denom1");
}

void CudaBackend::updateHV(Pixel* h, Pixel* v, const Pixel* s, unsigned W, unsigned H, float thre)
{
    d_updateHV<<<gridFor(W, H), kBlock>>>(h, v, s, W, H, thre);
    CHECK_LAUNCH("d_updateHV");
}

void CudaBackend::updateN(Complex* n0, Complex* n1, Complex* n2, const Pixel* h, const Pixel* v, unsigned W,
                          unsigned H)
{
    d_updateN<<<gridFor(W, H), kBlock>>>(n0, n1, n2, h, v, W, H);
    CHECK_LAUNCH("d_updateN");
}

void CudaBackend::updateFS(Complex* FS, const float* denom1, const float* denom2, const Complex* nomin1, unsigned W,
                           unsigned H, unsigned c, float beta)
{
    d_updateFS<<<gridFor(W, H), kBlock>>>(FS, denom1, denom2, nomin1, W, H, c, beta);
    CHECK_LAUNCH("d_updateFS");
}

void CudaBackend::updateS(Pixel* s, const Complex* n0, const Complex* n1, const Complex* n2, unsigned W, unsigned H,
                          float normalFactor)
{
    d_updateS<<<gridFor(W, H), kBlock>>>(s, n0, n1, n2, W, H, normalFactor);
    CHECK_LAUNCH("d_updateS");
}

void CudaBackend::placeKernel(Complex* grid, const float* kernel, int kw, int kh, unsigned W, unsigned H)
{
    constexpr unsigned kThreads = 256;
    const unsigned taps = static_cast<unsigned>(kw * kh);
    d_placeKernel<<<(taps + kThreads - 1) / kThreads, kThreads>>>(grid, kernel, kw, kh, W, H);
    CHECK_LAUNCH("d_placeKernel");
}

void CudaBackend::packChannel(Pixel* image, const float* plane, unsigned c, unsigned W, unsigned H)
{
    d_packChannel<<<gridFor(W, H), kBlock>>>(image, plane, c, W, H);
    CHECK_LAUNCH("d_packChannel");
}

void CudaBackend::unpackChannel(float* plane, const Pixel* image, unsigned c, unsigned W, unsigned H)
{
    d_unpackChannel<<<gridFor(W, H), kBlock>>>(plane, image, c, W, H);
    CHECK_LAUNCH("d_unpackChannel");
}

void CudaBackend::channelToComplex(Complex* out, const Pixel* image, unsigned c, unsigned W, unsigned H)
{
    d_channelToComplex<<<gridFor(W, H), kBlock>>>(out, image, c, W, H);
    CHECK_LAUNCH("d_channelToComplex");
}
