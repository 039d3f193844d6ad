#pragma once

// Element types of the TV-L2 solver, shared by the device kernels and their
// host emulation. They have the layout of CUDA's float2 and float4, so cuFFT
// and the device allocations see the same bytes.

// A complex value: x is the real part, y the imaginary part.
struct alignas(8) Complex {
    float x;
    float y;
};

// One pixel of the colour image: channels 0, 1, 2 in x, y, z; w is unused.
struct alignas(16) Pixel {
    float x;
    float y;
    float z;
    float w;
};

// The solver works on at most three colour channels.
inline constexpr int kMaxTvl2Channels = 3;
