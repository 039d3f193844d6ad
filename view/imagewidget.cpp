#include "imagewidget.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <opencv2/imgproc.hpp>

#include "displaystate.h"
#include "imagelabel.h"
#include "imagescrollarea.h"
#include "ui_imagewidget.h"
#include "working_thread.h"

namespace {

constexpr int kPollIntervalMs = 100;
constexpr int kProgressBarMaximum = 1000;
constexpr float kZoomStep = 1.2f;
constexpr float kLargestScale = 5.0f;
constexpr float kSmallestScale = 0.2f;

// Wraps the pixels of an 8-bit RGB matrix without copying; the matrix must outlive the image.
QImage wrapRgb(const cv::Mat& rgb)
{
    return QImage(rgb.data, rgb.cols, rgb.rows, static_cast<qsizetype>(rgb.step), QImage::Format_RGB888);
}

} // namespace

ImageWidget::ImageWidget(DisplayState& display, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::ImageWidget>()), m_display(display),
      m_progress(std::make_shared<JobProgress>())
{
    ui->setupUi(this);
    ui->sca_imgArea->shareScrollPosition(&m_display);
}

ImageWidget::~ImageWidget()
{
    if (!workingThread)
        return;
    // Hand the job to the application object: it deletes the thread when the
    // job ends, or cancels and awaits it when the program exits first.
    workingThread->cancel();
    WorkingThread* orphan = workingThread.release();
    orphan->setParent(QCoreApplication::instance());
    connect(orphan, &QThread::finished, orphan, &QObject::deleteLater);
    // The done flag is raised before `finished` is emitted; a job already done
    // may have emitted it before the connection existed.
    if (orphan->isDone())
        orphan->deleteLater();
}

void ImageWidget::showInput(const cv::Mat& image)
{
    cv::cvtColor(image, rgbImage, cv::COLOR_BGR2RGB);
    ui->lbl_param->setText(tr("Input Image"));
    ui->pgb_progress->hide();
    setImage(wrapRgb(rgbImage));
}

void ImageWidget::startJob(const QByteArray& imagePath, const RunParameters& parameters)
{
    m_parameters = parameters;
    ui->lbl_param->setText(parameterText());
    ui->lbl_img->setText(tr("Generating..."));
    repaint();

    timer = new QTimer(this);
    timer->setInterval(kPollIntervalMs);
    connect(timer, &QTimer::timeout, this, &ImageWidget::updateProgess);
    timer->start();

    workingThread = std::make_unique<WorkingThread>(imagePath, m_parameters, m_progress);
    running = true;
    workingThread->start(QThread::InheritPriority);
}

void ImageWidget::setImage(const QImage& image)
{
    displayImage = image;
    showScaledImage();
}

void ImageWidget::showScaledImage()
{
    if (displayImage.isNull())
        return;
    const float scale = m_display.displayScale;
    const int width = static_cast<int>(static_cast<float>(displayImage.width()) * scale);
    const int height = static_cast<int>(static_cast<float>(displayImage.height()) * scale);
    const QImage scaled = displayImage.scaled(width, height, Qt::KeepAspectRatio, Qt::FastTransformation);
    ui->lbl_img->setPixmap(QPixmap::fromImage(scaled));
}

void ImageWidget::updateZoomControls()
{
    const float scale = m_display.displayScale;
    ui->lbl_zoom->setText(QString::asprintf("%.1fx", static_cast<double>(scale)));
    ui->btn_zoomOut->setEnabled(scale >= kSmallestScale);
    ui->btn_zoomIn->setEnabled(scale <= kLargestScale);
    restoreScrollPosition();
}

void ImageWidget::restoreScrollPosition()
{
    ui->sca_imgArea->scrollTo(m_display.scrollPosX, m_display.scrollPosY);
}

int ImageWidget::progressBarValue(const JobProgress& progress)
{
    // Tenths of a percent, so the bar's "%p%" shows whole percent.
    return static_cast<int>(10.0f * progress.overall());
}

void ImageWidget::on_btn_zoomIn_clicked()
{
    const float scale = m_display.displayScale;
    if (!(scale < kLargestScale))
        return;
    m_display.displayScale = scale * kZoomStep;
    if (!running)
        showScaledImage();
    updateZoomControls();
}

void ImageWidget::on_btn_zoomOut_clicked()
{
    const float scale = m_display.displayScale;
    if (!(scale > kSmallestScale))
        return;
    m_display.displayScale = scale / kZoomStep;
    if (!running)
        showScaledImage();
    updateZoomControls();
}

void ImageWidget::on_sca_imgArea_zoomInRequested()
{
    if (!running)
        on_btn_zoomIn_clicked();
}

void ImageWidget::on_sca_imgArea_zoomOutRequested()
{
    if (!running)
        on_btn_zoomOut_clicked();
}

void ImageWidget::updateProgess()
{
    if (workingThread->isDone()) {
        finishJob();
        return;
    }
    ui->pgb_progress->setValue(progressBarValue(*m_progress));
    timer->start();
}

void ImageWidget::finishJob()
{
    timer->stop();
    running = false;
    ui->pgb_progress->setValue(kProgressBarMaximum);
    const float runningTime = workingThread->runningTime();
    m_resultImage = workingThread->result();
    const QString error = workingThread->errorMessage();
    workingThread.reset(); // its run has returned; this only joins the thread

    if (m_resultImage.empty()) {
        // A failed job shows its reason where the image would be.
        ui->lbl_param->setText(parameterText());
        ui->lbl_img->setText(tr("The run failed: %1").arg(error));
    } else {
        ui->lbl_param->setText(parameterText() +
                               QString::asprintf("<br />Running time %.3fs", static_cast<double>(runningTime)));
        cv::cvtColor(m_resultImage, rgbImage, cv::COLOR_BGR2RGB);
        displayImage = wrapRgb(rgbImage);
        showScaledImage();
        restoreScrollPosition();
    }
    ui->pgb_progress->hide();
    emit jobFinished();
}

QString ImageWidget::parameterText() const
{
    return QString::asprintf("Zoom Factor = %.2f, Sigma = %.1f, Deconvolution Weight = %.3f, Iterations = %d",
                             static_cast<double>(m_parameters.zoomFactor), static_cast<double>(m_parameters.sigma),
                             static_cast<double>(m_parameters.wtDeconv), m_parameters.nIteration);
}
