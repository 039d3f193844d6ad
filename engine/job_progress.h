#pragma once

#include <algorithm>
#include <atomic>

// Progress of one job in percent, written by the worker and polled by the GUI.
// Each field is read and written whole; ordering between them does not matter.
struct JobProgress {
    std::atomic<float> passProgress{-1.0f};
    std::atomic<float> passStart{0.0f};
    std::atomic<float> passEnd{100.0f};

    // passStart + (passEnd - passStart) * clamp(passProgress, 0, 100) / 100
    float overall() const
    {
        const float start = passStart.load(std::memory_order_relaxed);
        const float end = passEnd.load(std::memory_order_relaxed);
        const float inPass = std::clamp(passProgress.load(std::memory_order_relaxed), 0.0f, 100.0f);
        return start + (end - start) * inPass / 100.0f;
    }
};

// Stores a progress value for the GUI to poll; a null target is ignored.
inline void reportProgress(std::atomic<float>* target, float percent)
{
    if (target)
        target->store(percent, std::memory_order_relaxed);
}
