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
