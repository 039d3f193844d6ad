#pragma once

#include <memory>

#include <QByteArray>
#include <QWidget>
#include <opencv2/core.hpp>

#include "displaystate.h"
#include "run_parameters.h"

class ImageWidget;
namespace Ui {
class SubMainWindow;
}

// The document window of one opened image: the parameter panel, the Run
// button, the image information and a tab per view ("Input" and one per run).
class SubMainWindow : public QWidget {
    Q_OBJECT

public:
    // Without a usable GPU the CPU is chosen and the GPU cannot be.
    explicit SubMainWindow(bool gpuAvailable, QWidget* parent = nullptr);
    ~SubMainWindow() override;

    // Reads the image and shows it in the "Input" tab. On failure it has told
    // the user why and returns false; the caller then discards the window.
    bool loadImage(const QString& fileName);

    // The finished result in the current tab, 8-bit BGR; empty when the current
    // tab is the input, a running job or a failed one.
    cv::Mat currentResult() const;
    const RunParameters& runParameters() const { return parameters; }

signals:
    // The current tab changed or a job ended, so whether Save applies may have changed.
    void currentResultChanged();

private slots:
    void on_hsl_zoomFactor_valueChanged(int value);
    void on_hsl_nIteration_valueChanged(int value);
    void on_hsl_sigma_valueChanged(int value);
    void on_hsl_wtDeconv_valueChanged(int value);
    void on_rdb_cpu_clicked();
    void on_rdb_gpu_clicked();
    void on_btn_run_clicked();
    void on_tabs_currentChanged(int index);
    void on_tabs_tabCloseRequested(int index);

private:
    ImageWidget* viewAt(int index) const;
    void fillInformation(const QString& fileName, const cv::Mat& image);

    std::unique_ptr<Ui::SubMainWindow> ui;
    RunParameters parameters;
    QByteArray imagePath;
    DisplayState display;
    int resultCount = 0;
};
