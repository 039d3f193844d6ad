#include "upsampling_job.h"

#include <chrono>
#include <cmath>
#include <new>

#include "image_file.h"
#include "upsample_pass.h"

namespace {

constexpr float kPassFactor = 4.0f;
constexpr double kWeightDecayPerPass = 1.1;

std::string describeOpenCvError(const cv::Exception& error)
{
    if (error.code == cv::Error::StsNoMem)
        return "Insufficient memory";
    return "Image processing failed: " + error.err;
}

} // namespace

std::vector<float> passSchedule(float zoomFactor)
{
    // q = ln(zoom) / ln(4), each step rounded to float
    const float logZoom = static_cast<float>(std::log(static_cast<double>(zoomFactor)));
    const float logFour = static_cast<float>(std::log(4.0));
    const float q = logZoom / logFour;
    int count = static_cast<int>(q);
    const float excess = std::fabs(q - static_cast<float>(count));
    if (excess > 0.01)
        ++count;
    if (count <= 0)
        return {zoomFactor};

    const float power = static_cast<float>(std::pow(4.0, count - 1));
    const float lastFactor = static_cast<float>(static_cast<double>(zoomFactor) / static_cast<double>(power));
    std::vector<float> factors(static_cast<std::size_t>(count), kPassFactor);
    factors.back() = lastFactor;
    return factors;
}

std::string validateRunParameters(const RunParameters& parameters)
{
    if (!(parameters.zoomFactor > 0.0f) || !std::isfinite(parameters.zoomFactor))
        return "The zoom factor must be a positive number";
    if (parameters.nIteration < 0)
        return "The number of iterations must not be negative";
    if (!(parameters.sigma > 0.0f) || !std::isfinite(parameters.sigma))
        return "Sigma must be a positive number";
    if (!(parameters.wtDeconv > 0.0f) || !std::isfinite(parameters.wtDeconv))
        return "The deconvolution weight must be a positive number";
    return {};
}

JobOutcome upsampleImage(const cv::Mat& image, const RunParameters& parameters, JobProgress* progress,
                         const CancelFlag* cancel)
{
    JobOutcome outcome;
    outcome.error = validateRunParameters(parameters);
    if (!outcome.error.empty())
        return outcome;
    if (image.empty() || image.type() != CV_8UC3) {
        outcome.error = "The image is empty or not an 8-bit colour image";
        return outcome;
    }

    const auto started = std::chrono::steady_clock::now();
    try {
        const std::vector<float> factors = passSchedule(parameters.zoomFactor);
        const float share = 100.0f / static_cast<float>(factors.size());
        std::atomic<float>* passProgress = progress ? &progress->passProgress : nullptr;
        float weight = parameters.wtDeconv;
        cv::Mat current = image;
        cv::Mat output;
        for (std::size_t i = 0; i < factors.size(); ++i) {
            throwIfCancelled(cancel);
            if (progress) {
                reportProgress(&progress->passStart, share * static_cast<float>(i));
                reportProgress(&progress->passEnd, share * static_cast<float>(i + 1));
                reportProgress(passProgress, 0.0f);
            }
            if (parameters.processor == kProcessorCpu)
                upsamplePassCPU(current, output, factors[i], parameters.sigma, weight, parameters.nIteration,
                                passProgress, cancel);
            else
                upsamplePassGPU(current, output, factors[i], parameters.sigma, weight, parameters.nIteration,
                                passProgress, cancel);
            weight = static_cast<float>(weight / kWeightDecayPerPass);
            current = output;
        }
        outcome.result = output;
    } catch (const JobCancelled&) {
        outcome.cancelled = true;
        outcome.error = "Cancelled";
    } catch (const std::bad_alloc&) {
        outcome.error = "Insufficient memory";
    } catch (const cv::Exception& error) {
        outcome.error = describeOpenCvError(error);
    } catch (const std::exception& error) {
        outcome.error = error.what();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    outcome.runningTime = static_cast<float>(elapsed.count());
    return outcome;
}

JobOutcome runUpsamplingJob(const std::string& imagePath, const RunParameters& parameters, JobProgress* progress,
                            const CancelFlag* cancel)
{
    JobOutcome outcome;
    const cv::Mat image = readImageFile(imagePath, outcome.error);
    if (image.empty())
        return outcome;
    return upsampleImage(image, parameters, progress, cancel);
}
