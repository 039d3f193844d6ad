#pragma once

#include <string>
#include <vector>

#include <opencv2/core.hpp>

#include "cancellation.h"
#include "job_progress.h"
#include "run_parameters.h"

// The pass factors that reach `zoomFactor`: passes of 4 and one last pass for
// the rest. A factor within about 4^0.01 of 1 gets one pass of the factor
// itself, so every run returns an image.
std::vector<float> passSchedule(float zoomFactor);

// What a finished job hands back. Exactly one of: a result image, an error, or cancelled.
struct JobOutcome {
    cv::Mat result;           // 8-bit BGR, empty unless the job succeeded
    float runningTime = 0.0f; // seconds, reading the image excluded
    std::string error;        // one line for the user; empty on success
    bool cancelled = false;
};

// Enlarges an 8-bit BGR image by the schedule of `parameters`, writing progress
// to `progress` (may be null). Never throws: failures end up in the outcome.
JobOutcome upsampleImage(const cv::Mat& image, const RunParameters& parameters, JobProgress* progress,
                         const CancelFlag* cancel = nullptr);

// Reads `imagePath` as 8-bit BGR and enlarges it with upsampleImage.
JobOutcome runUpsamplingJob(const std::string& imagePath, const RunParameters& parameters, JobProgress* progress,
                            const CancelFlag* cancel = nullptr);

// Returns an error message when the parameters cannot run, else an empty string.
std::string validateRunParameters(const RunParameters& parameters);
