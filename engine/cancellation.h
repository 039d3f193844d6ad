#pragma once

#include <atomic>
#include <stdexcept>

// Raised by a job's caller to ask it to stop; the engine polls it between
// passes, iterations and deconvolution stages.
using CancelFlag = std::atomic<bool>;

// Unwinds a cancelled job back to its driver, releasing what the pass holds.
class JobCancelled : public std::runtime_error {
public:
    JobCancelled() : std::runtime_error("Cancelled") {}
};

inline bool isCancelled(const CancelFlag* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

inline void throwIfCancelled(const CancelFlag* cancel)
{
    if (isCancelled(cancel))
        throw JobCancelled();
}
