#pragma once

#include <cstdint>

// Values of RunParameters::processor.
inline constexpr std::uint8_t kProcessorGpu = 0;
inline constexpr std::uint8_t kProcessorCpu = 1;

// The parameters of one run, copied from the document window into each job.
struct RunParameters {
    std::uint8_t processor = kProcessorCpu; // 1 = CPU, anything else = GPU
    float zoomFactor = 2.0f;
    std::int32_t nIteration = 10;
    float sigma = 1.3f;
    float wtDeconv = 0.02f;
};

// The sigma and weight suited to a zoom factor, in the steps the document
// window's sliders take (tenths and thousandths): larger factors need a wider
// point-spread function and a stronger weight. The 0.00001 keeps the
// truncation from falling one step short.
inline int sigmaTenthsForZoom(float zoom)
{
    return static_cast<int>(static_cast<float>(zoom * 0.2f + 0.9f + 0.00001) * 10);
}

inline int weightThousandthsForZoom(float zoom)
{
    return static_cast<int>(static_cast<float>(zoom * 0.01f + 0.00001) * 1000);
}

inline float defaultSigmaForZoom(float zoom)
{
    return static_cast<float>(sigmaTenthsForZoom(zoom) / 10.0);
}

inline float defaultWeightForZoom(float zoom)
{
    return static_cast<float>(weightThousandthsForZoom(zoom) / 1000.0);
}
