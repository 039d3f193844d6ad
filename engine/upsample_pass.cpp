#include "upsample_pass.h"

#include <cmath>

#include <opencv2/imgproc.hpp>

#include "fast_deconv_cpu.h"
#include "fast_deconv_tvl2.h"
#include "job_progress.h"

namespace {

constexpr int kReblurSize = 21;
constexpr float kBackProjectionGain = 0.2f;
constexpr double kWeightDecayTotal = 2.5; // the weight falls by 2.5 over a pass

int roundUpToMultipleOf8(int value)
{
    const int remainder = value % 8;
    return remainder == 0 ? value : value - remainder + 8;
}

// Calls the step's release when the iterations end, however they end.
class StepReleaseGuard {
public:
    explicit StepReleaseGuard(const DeconvolutionStep& step) : step_(step) {}
    ~StepReleaseGuard()
    {
        if (step_.release)
            step_.release();
    }
    StepReleaseGuard(const StepReleaseGuard&) = delete;
    StepReleaseGuard& operator=(const StepReleaseGuard&) = delete;

private:
    const DeconvolutionStep& step_;
};

// Re-blurs the deconvolved estimate D and back-projects the error of its
// down-sampled version against the low-resolution plane X0:
// D = blur(D) - 0.2 * cubic(linear(blur(D)) - X0).
void backProject(cv::Mat& D, const cv::Mat& X0, float sigma)
{
    cv::Mat blurred;
    parallelGaussianBlur(D, blurred, kReblurSize, static_cast<double>(sigma));
    D = blurred;
    cv::Mat S;
    cv::resize(D, S, X0.size(), 0, 0, cv::INTER_LINEAR);
    const cv::Mat R = S - X0;
    cv::Mat U;
    cv::resize(R, U, D.size(), 0, 0, cv::INTER_CUBIC);
    D = D - kBackProjectionGain * U;
}

} // namespace

PassContext setupPass(float& zoomFactor, int rows, int cols, float sigma)
{
    PassContext context;
    PassGeometry& geometry = context.geometry;
    geometry.requestedZoomFactor = zoomFactor;
    geometry.zoomRounded = false;

    const float integerPart = std::trunc(zoomFactor);
    if (std::fabs(zoomFactor - integerPart) > 0.00001f) {
        zoomFactor = integerPart + 1.0f;
        geometry.zoomRounded = true;
    }

    // d = 2 trunc(5 sigma + 1), evaluated in double on the float sigma
    const int d = 2 * static_cast<int>(5.0 * static_cast<double>(sigma) + 1.0);
    const int Er = roundUpToMultipleOf8(rows + d);
    const int Ec = roundUpToMultipleOf8(cols + d);
    geometry.padTop = (Er - rows) / 2;
    geometry.padBottom = Er - rows - geometry.padTop;
    geometry.padLeft = (Ec - cols) / 2;
    geometry.padRight = Ec - cols - geometry.padLeft;

    context.psfKernel = gaussianKernel2D(sigma);
    return context;
}

int passMainRoutine(const cv::Mat& input, cv::Mat& output, int z, float sigma, float wtDeconv, int nIteration,
                    std::atomic<float>* progress, const DeconvolutionStep& step, const PassContext& context,
                    const CancelFlag* cancel)
{
    CV_Assert(!input.empty() && input.type() == CV_8UC3);
    CV_Assert(z >= 1 && nIteration >= 0);
    const PassGeometry& geometry = context.geometry;
    const int h = input.rows;
    const int w = input.cols;
    const int Hp = h + geometry.padTop + geometry.padBottom;
    const int Wp = w + geometry.padLeft + geometry.padRight;
    const int rowsU = Hp * z;
    const int colsU = Wp * z;

    reportProgress(progress, 0.0f);

    cv::Mat ycrcb;
    cv::cvtColor(input, ycrcb, cv::COLOR_BGR2YCrCb);
    std::vector<cv::Mat> planes;
    cv::split(ycrcb, planes);
    ycrcb.release();
    for (int c = 1; c <= 2; ++c)
        cv::resize(planes[c], planes[c], cv::Size(w * z, h * z), 0, 0, cv::INTER_CUBIC);

    cv::Mat Y;
    planes[0].convertTo(Y, CV_32F, 1, 0);
    Y = Y / 255;

    // L, the padded low-resolution luminance, doubles as X0: nothing writes it.
    cv::Mat L(Hp, Wp, CV_32FC1);
    replicatePadArray(Y.ptr<float>(), L.ptr<float>(), h, w, geometry.padTop, geometry.padBottom,
                      geometry.padLeft, geometry.padRight);
    Y.release();

    cv::Mat E;
    cv::resize(L, E, cv::Size(colsU, rowsU), 0, 0, cv::INTER_NEAREST);
    refineInitialEstimate(E.ptr<float>(), L.ptr<float>(), Hp, Wp, z);
    reportProgress(progress, 30.0f);

    throwIfCancelled(cancel);
    {
        if (step.setUp)
            step.setUp(rowsU, colsU);
        const StepReleaseGuard releaseGuard(step);

        float weight = wtDeconv;
        const float exponent = 1.0f / static_cast<float>(nIteration);
        const float decay = static_cast<float>(std::pow(kWeightDecayTotal, static_cast<double>(exponent)));
        for (int i = 0; i < nIteration; ++i) {
            throwIfCancelled(cancel);
            cv::Mat D(rowsU, colsU, CV_32FC1);
            const float lambda = weight / 200.0f;
            step.deconvolve(E.ptr<float>(), D.ptr<float>(), rowsU, colsU, lambda);
            replicateBorder(D.ptr<float>(), D.ptr<float>(), rowsU, colsU, geometry.padTop * z,
                            geometry.padBottom * z, geometry.padLeft * z, geometry.padRight * z);
            if (i != nIteration - 1) {
                weight = weight / decay;
                backProject(D, L, sigma);
            }
            E = D;
            reportProgress(progress, 30.0f + static_cast<float>(69 * (i + 1)) / static_cast<float>(nIteration));
        }
    }

    cv::Mat cropped(h * z, w * z, CV_32FC1);
    cutPadding(E.ptr<float>(), cropped.ptr<float>(), rowsU, colsU, geometry.padTop * z, geometry.padBottom * z,
               geometry.padLeft * z, geometry.padRight * z);
    E.release();
    cropped = cropped * 255;
    cropped.convertTo(planes[0], CV_8U);

    cv::Mat result;
    cv::merge(planes, result);
    cv::cvtColor(result, result, cv::COLOR_YCrCb2BGR);
    if (geometry.zoomRounded) {
        const int targetCols = static_cast<int>(static_cast<float>(w) * geometry.requestedZoomFactor);
        const int targetRows = static_cast<int>(static_cast<float>(h) * geometry.requestedZoomFactor);
        cv::resize(result, result, cv::Size(targetCols, targetRows), 0, 0, cv::INTER_LINEAR);
    }
    reportProgress(progress, 100.0f);
    output = result;
    return 0;
}

int upsamplePassCPU(const cv::Mat& input, cv::Mat& output, float zoomFactor, float sigma, float wtDeconv,
                    int nIteration, std::atomic<float>* progress, const CancelFlag* cancel)
{
    const PassContext context = setupPass(zoomFactor, input.rows, input.cols, sigma);
    DeconvBuffersPtr buffers;
    DeconvolutionStep step;
    step.setUp = [&](int rows, int cols) { buffers = initDeconvBuffers(rows, cols, context.psfKernel); };
    step.deconvolve = [&](const float* estimate, float* out, int rows, int cols, float lambda) {
        fastDeconvCPU(*buffers, estimate, out, rows, cols, lambda, cancel);
    };
    step.release = [&] { releaseDeconvBuffers(buffers); };
    return passMainRoutine(input, output, static_cast<int>(zoomFactor), sigma, wtDeconv, nIteration, progress, step,
                           context, cancel);
}

int upsamplePassGPU(const cv::Mat& input, cv::Mat& output, float zoomFactor, float sigma, float wtDeconv,
                    int nIteration, std::atomic<float>* progress, const CancelFlag* cancel)
{
    const PassContext context = setupPass(zoomFactor, input.rows, input.cols, sigma);
    DeconvolutionStep step;
    step.deconvolve = [&](const float* estimate, float* out, int rows, int cols, float lambda) {
        if (!deconvolveTvl2Plane(estimate, out, context.psfKernel.data(), rows, cols, kPsfSize, kPsfSize, 1, lambda,
                                 cancel))
            throw JobCancelled();
    };
    return passMainRoutine(input, output, static_cast<int>(zoomFactor), sigma, wtDeconv, nIteration, progress, step,
                           context, cancel);
}
