#pragma once

#include <vector>

// The continuation shared by the CPU and GPU TV-L2 deconvolutions: the data
// weight g = 0.05 / weight and the penalties beta = 10, 30, 90, ... up to 100 g.
struct Tvl2Schedule {
    float dataWeight = 0.0f;  // g (mu on the GPU)
    std::vector<float> betas; // empty when 100 g < 10, i.e. weight > 0.5
};

inline Tvl2Schedule tvl2Schedule(float weight)
{
    Tvl2Schedule schedule;
    schedule.dataWeight = 0.05f / weight;
    const float betaMax = 100.0f * schedule.dataWeight;
    // Guards against a weight of 0 (infinite betaMax) looping forever.
    constexpr std::size_t kMaxStages = 64;
    for (float beta = 10.0f; beta <= betaMax && schedule.betas.size() < kMaxStages; beta = 3.0f * beta)
        schedule.betas.push_back(beta);
    return schedule;
}
