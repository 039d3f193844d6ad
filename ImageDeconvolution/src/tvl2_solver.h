#pragma once

// The TV-L2 deconvolution solver. For each colour channel c it minimises
//   (mu/2) |k * x - y|^2 + sum |h| + |v| + (beta/2) (|h - Dx x|^2 + |v - Dy x|^2)
// over x and the gradient fields h, v (periodic convolution and forward
// differences) by alternating minimisation: one shrinkage of h, v and one exact
// per-frequency solve for x per beta, over a rising sequence of beta.
//
// The sequence of operations is written once here against a Backend that owns
// the buffers, the Fourier transforms and the per-element operations of
// tvl2_element_ops.h: the CUDA device in production, FFTW on the host in the
// tests. A Backend provides
//   Buffer<T>, allocate<T>(n), upload(dst, src, n), download(dst, src, n),
//   fillZero(p, n), Plan, plan1d(n), plan2d(rows, cols),
//   transform(plan, in, out, direction), smallestPositive(values, n),
//   checkPendingError(), and one call per element operation.

#include <atomic>
#include <cstddef>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "cufft_library.h"
#include "tvl2_schedule.h"
#include "tvl2_types.h"

template <class Backend>
class Tvl2Solver {
public:
    // Allocates everything a run needs for `channels` channels of a W x H image.
    Tvl2Solver(Backend& backend, int W, int H, int channels)
        : backend_(backend), W_(static_cast<unsigned>(W)), H_(static_cast<unsigned>(H)),
          N_(static_cast<std::size_t>(W) * static_cast<std::size_t>(H)), channels_(channels),
          estimate_(backend.template allocate<Pixel>(N_)), h_(backend.template allocate<Pixel>(N_)),
          v_(backend.template allocate<Pixel>(N_)), FS_(backend.template allocate<Complex>(N_)),
          plane_(backend.template allocate<float>(N_)), denom1_(backend.template allocate<float>(N_)),
          denom2_(backend.template allocate<float>(N_)),
          nomin1_(backend.template allocate<Complex>(N_ * static_cast<std::size_t>(channels))),
          gx_(backend.template allocate<Complex>(W_)), gy_(backend.template allocate<Complex>(H_)),
          plan2d_(backend.plan2d(H, W))
    {
        for (int c = 0; c < channels; ++c)
            n_[c] = backend.template allocate<Complex>(N_);
    }

    // The observed image, one host plane of N floats per channel, becomes the
    // estimate the first step starts from.
    void uploadObservedImage(const float* const* planes)
    {
        backend_.fillZero(estimate_.get(), N_);
        for (int c = 0; c < channels_; ++c) {
            backend_.upload(plane_.get(), planes[c], N_);
            backend_.packChannel(estimate_.get(), plane_.get(), static_cast<unsigned>(c), W_, H_);
        }
        backend_.checkPendingError();
    }

    // The frequency-domain terms of the run, from the kernel (kh x kw,
    // row-major) and the uploaded observed image.
    void initTvl2Solver(const float* kernel, int kw, int kh)
    {
        computeDifferenceSpectra();
        Complex* otf = FS_.get(); // FS is free until the first step
        computeDeviceOtf(kernel, kw, kh, otf);
        computeImageSpectra();
        for (int c = 0; c < channels_; ++c)
            backend_.computeNomin1(nomin1(c), otf, W_, H_);
        backend_.computeDenom1(otf, denom1_.get(), W_, H_);
        // Zeros of |OTF|^2 become its smallest positive value (FLT_MAX if none).
        const float minVal = backend_.smallestPositive(denom1_.get(), N_);
        backend_.regularDenom1(denom1_.get(), minVal, W_, H_);
        backend_.computeDenom2(denom2_.get(), gx_.get(), gy_.get(), W_, H_);
    }

    // One alternating-minimisation step for penalty beta and data weight mu.
    void tvl2Step(float beta, float mu)
    {
        backend_.checkPendingError();
        const float gamma = beta / mu;
        const float thre = 1.0f / beta;
        backend_.updateHV(h_.get(), v_.get(), estimate_.get(), W_, H_, thre);
        backend_.updateN(n_[0].get(), n_[1].get(), n_[2].get(), h_.get(), v_.get(), W_, H_);
        for (int c = 0; c < channels_; ++c) {
            backend_.transform(*plan2d_, n_[c].get(), FS_.get(), kCufftForward);
            backend_.updateFS(FS_.get(), denom1_.get(), denom2_.get(), nomin1_.get(), W_, H_,
                              static_cast<unsigned>(c), gamma);
            backend_.transform(*plan2d_, FS_.get(), n_[c].get(), kCufftInverse);
        }
        // The inverse transforms are unnormalised.
        const float normalFactor = static_cast<float>(1.0 / static_cast<double>(N_));
        backend_.updateS(estimate_.get(), n_[0].get(), n_[1].get(), n_[2].get(), W_, H_, normalFactor);
    }

    // The current estimate, one host plane of N floats per channel.
    void downloadResult(float* const* planes)
    {
        for (int c = 0; c < channels_; ++c) {
            backend_.unpackChannel(plane_.get(), estimate_.get(), static_cast<unsigned>(c), W_, H_);
            backend_.download(planes[c], plane_.get(), N_);
        }
    }

    // Frees every buffer and plan; the destructor does the same when a step fails.
    void releaseTvl2Solver()
    {
        plan2d_.reset();
        estimate_.reset();
        h_.reset();
        v_.reset();
        FS_.reset();
        plane_.reset();
        denom1_.reset();
        denom2_.reset();
        nomin1_.reset();
        gx_.reset();
        gy_.reset();
        for (Buffer<Complex>& n : n_)
            n.reset();
    }

private:
    template <class T>
    using Buffer = typename Backend::template Buffer<T>;

    Complex* nomin1(int c) { return nomin1_.get() + static_cast<std::size_t>(c) * N_; }

    // gx, gy = the 1-D spectra of the periodic difference filter [1, -1].
    void computeDifferenceSpectra()
    {
        const auto spectrumOfDifference = [this](unsigned length, Complex* spectrum) {
            std::vector<Complex> sequence(length, Complex{0.0f, 0.0f});
            sequence[0] = Complex{1.0f, 0.0f};
            sequence[1] = Complex{-1.0f, 0.0f};
            auto input = backend_.template allocate<Complex>(length);
            backend_.upload(input.get(), sequence.data(), length);
            const auto plan = backend_.plan1d(static_cast<int>(length));
            backend_.transform(plan, input.get(), spectrum, kCufftForward);
        };
        spectrumOfDifference(W_, gx_.get());
        spectrumOfDifference(H_, gy_.get());
    }

    // otf = DFT of the kernel placed on the grid with its centre tap at (0, 0).
    void computeDeviceOtf(const float* kernel, int kw, int kh, Complex* otf)
    {
        const std::size_t taps = static_cast<std::size_t>(kw) * static_cast<std::size_t>(kh);
        auto deviceKernel = backend_.template allocate<float>(taps);
        backend_.upload(deviceKernel.get(), kernel, taps);
        Complex* grid = n_[0].get(); // free until the first step
        backend_.fillZero(grid, N_);
        backend_.placeKernel(grid, deviceKernel.get(), kw, kh, W_, H_);
        backend_.transform(*plan2d_, grid, otf, kCufftForward);
    }

    // nomin1 slice c = DFT of channel c of the observed image (conj(OTF) is
    // applied afterwards).
    void computeImageSpectra()
    {
        Complex* channelPlane = n_[0].get();
        for (int c = 0; c < channels_; ++c) {
            backend_.channelToComplex(channelPlane, estimate_.get(), static_cast<unsigned>(c), W_, H_);
            backend_.transform(*plan2d_, channelPlane, nomin1(c), kCufftForward);
        }
    }

    Backend& backend_;
    const unsigned W_;
    const unsigned H_;
    const std::size_t N_;
    const int channels_;
    Buffer<Pixel> estimate_; // the estimate a step starts from, replaced by its result
    Buffer<Pixel> h_;        // shrunk horizontal differences
    Buffer<Pixel> v_;        // shrunk vertical differences
    Buffer<Complex> FS_;     // spectrum of one channel within a step
    Buffer<float> plane_;    // one channel on its way to or from the host
    Buffer<float> denom1_;   // |OTF|^2, zeros regularised
    Buffer<float> denom2_;   // |Gx|^2 + |Gy|^2
    Buffer<Complex> nomin1_; // conj(OTF) * Y_c, one slice of N per channel
    Buffer<Complex> gx_;     // spectrum of the horizontal difference, W values
    Buffer<Complex> gy_;     // spectrum of the vertical difference, H values
    Buffer<Complex> n_[kMaxTvl2Channels]; // adjoint-difference planes; null for channels not solved
    std::optional<typename Backend::Plan> plan2d_; // H x W complex-to-complex
};

// Deconvolves `channels` planes of W x H floats blurred by `kernel` (kh x kw,
// row-major) with weight lambda: data weight mu = 0.05 / lambda and one step
// at each beta = 10, 30, 90, ... <= 100 mu. `observed` and `result` may be the
// same planes. With no step (lambda > 0.5) the result is the observed image.
// Returns false when `cancel` was raised between steps. Throws
// std::invalid_argument when the sizes are out of range.
template <class Backend>
bool runTvl2Deconvolution(Backend& backend, const float* const* observed, float* const* result, int channels, int W,
                          int H, const float* kernel, int kw, int kh, float lambda,
                          const std::atomic<bool>* cancel = nullptr)
{
    if (channels < 1 || channels > kMaxTvl2Channels)
        throw std::invalid_argument("The TV-L2 deconvolution takes one to three channels");
    if (W < 2 || H < 2 || kw < 1 || kh < 1 || kw > W || kh > H)
        throw std::invalid_argument("The TV-L2 deconvolution needs an image of at least 2 x 2 pixels and a kernel "
                                    "no larger than the image");
    const std::size_t N = static_cast<std::size_t>(W) * static_cast<std::size_t>(H);
    const Tvl2Schedule schedule = tvl2Schedule(lambda);
    if (schedule.betas.empty()) {
        for (int c = 0; c < channels; ++c)
            if (result[c] != observed[c])
                std::memcpy(result[c], observed[c], N * sizeof(float));
        return true;
    }

    Tvl2Solver<Backend> solver(backend, W, H, channels);
    solver.uploadObservedImage(observed);
    solver.initTvl2Solver(kernel, kw, kh);
    for (const float beta : schedule.betas) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
        solver.tvl2Step(beta, schedule.dataWeight);
    }
    solver.downloadResult(result);
    solver.releaseTvl2Solver();
    return true;
}
