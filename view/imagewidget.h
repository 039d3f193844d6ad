#pragma once

#include <memory>

#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <opencv2/core.hpp>

#include "job_progress.h"
#include "run_parameters.h"

struct DisplayState;
class QTimer;
class WorkingThread;
namespace Ui {
class ImageWidget;
}

// One tab of a document: the input image, or one run that shows its progress
// while its job works in the background and then its result. All views of a
// document share its DisplayState.
class ImageWidget : public QWidget {
    Q_OBJECT

public:
    explicit ImageWidget(DisplayState& display, QWidget* parent = nullptr);
    // A job still running is cancelled and left to finish on its own; it keeps
    // its progress record and is deleted once it ends.
    ~ImageWidget() override;

    // Shows an opened 8-bit BGR image as the document's input; no job runs.
    void showInput(const cv::Mat& image);
    // Starts one run on the image file and polls it every 100 ms. A view is started at most once.
    void startJob(const QByteArray& imagePath, const RunParameters& parameters);

    void setImage(const QImage& image);
    // Redraws the image at the document's magnification.
    void showScaledImage();
    // Refreshes the magnification text, the zoom buttons' limits and the scroll position.
    void updateZoomControls();
    // Adopts the document's shared scroll position.
    void restoreScrollPosition();

    bool isRunning() const { return running; }
    // The finished job's 8-bit BGR image; empty for the input and for a running or failed job.
    const cv::Mat& resultImage() const { return m_resultImage; }

    // Progress bar value (0 to 1000) for a job's progress record.
    static int progressBarValue(const JobProgress& progress);

signals:
    // The job has ended, with a result or with an error.
    void jobFinished();

private slots:
    void on_btn_zoomIn_clicked();
    void on_btn_zoomOut_clicked();
    // The wheel zooms like the buttons, but not while the job runs.
    void on_sca_imgArea_zoomInRequested();
    void on_sca_imgArea_zoomOutRequested();
    void updateProgess();

private:
    void finishJob();
    QString parameterText() const;

    std::unique_ptr<Ui::ImageWidget> ui;
    DisplayState& m_display;
    QTimer* timer = nullptr;
    cv::Mat m_resultImage;
    cv::Mat rgbImage; // backs displayImage's pixels
    RunParameters m_parameters;
    std::shared_ptr<JobProgress> m_progress;
    std::unique_ptr<WorkingThread> workingThread;
    bool running = false;
    QImage displayImage;
};
