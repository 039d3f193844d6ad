#pragma once

#include <memory>
#include <optional>

#include "tvl2_types.h"

// The part of the cuFFT C interface the solver calls, with the ABI of cufft.h
// (a plan handle is an int, statuses and transform types are C enums, a
// complex value is two floats), declared here so that the loader builds
// without the CUDA toolkit.
using CufftHandle = int;
using CufftResult = int; // 0 is success
inline constexpr int kCufftC2C = 0x29;
inline constexpr int kCufftForward = -1;
inline constexpr int kCufftInverse = 1; // unnormalised

struct CufftEntryPoints {
    CufftResult (*plan1d)(CufftHandle* plan, int nx, int type, int batch) = nullptr;
    CufftResult (*plan2d)(CufftHandle* plan, int nx, int ny, int type) = nullptr;
    CufftResult (*destroy)(CufftHandle plan) = nullptr;
    CufftResult (*execC2C)(CufftHandle plan, Complex* idata, Complex* odata, int direction) = nullptr;
};

// A cuFFT library opened with dlopen, closed when the object goes.
class CufftLibrary {
public:
    // Opens `fileName` through the dynamic loader's ordinary search. Empty when
    // it does not load or lacks one of the four entry points: a library that
    // cannot serve every call counts as missing.
    static std::optional<CufftLibrary> open(const char* fileName);

    const CufftEntryPoints& entryPoints() const { return entryPoints_; }

private:
    struct Close {
        void operator()(void* handle) const;
    };

    std::unique_ptr<void, Close> handle_;
    CufftEntryPoints entryPoints_;
};
