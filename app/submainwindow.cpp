#include "submainwindow.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>

#include "image_file.h"
#include "imagewidget.h"
#include "ui_submainwindow.h"

namespace {

// The largest image accepted, 2048 x 2048: results reach 16 times this area.
constexpr long long kMaxPixels = 4194304;
const QString kInputTabText = QStringLiteral("Input");

// The part after the last "/", else after the last "\", else all of it.
QString fileNamePart(const QString& path)
{
    qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        slash = path.lastIndexOf(QLatin1Char('\\'));
    return path.mid(slash + 1);
}

// The text after the last "." anywhere in the path, in lower case; "unknown" without one.
QString fileTypePart(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QStringLiteral("unknown");
    QString type = path.mid(dot + 1);
    for (QChar& c : type) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return type;
}

} // namespace

SubMainWindow::SubMainWindow(bool gpuAvailable, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::SubMainWindow>())
{
    ui->setupUi(this);
    constexpr int kNameColumnWidth = 60;
    ui->tbl_info->setColumnWidth(0, kNameColumnWidth);
    ui->tbl_info->setColumnWidth(1, ui->tbl_info->width() - kNameColumnWidth - 2);
    // All four rows stay visible whatever the height of the font.
    ui->tbl_info->setMinimumHeight(ui->tbl_info->rowCount() * ui->tbl_info->rowHeight(0) +
                                   2 * ui->tbl_info->frameWidth());

    if (gpuAvailable) {
        parameters.processor = kProcessorGpu;
    } else {
        ui->rdb_cpu->setChecked(true);
        ui->rdb_gpu->setChecked(false);
        ui->rdb_gpu->setEnabled(false);
        parameters.processor = kProcessorCpu;
    }
}

SubMainWindow::~SubMainWindow() = default;

bool SubMainWindow::loadImage(const QString& fileName)
{
    setWindowTitle(fileName);
    const QByteArray path = QFile::encodeName(fileName);
    std::string failure; // the boxes below say what the user needs to know
    const cv::Mat image = readImageFile(path.toStdString(), failure);
    if (parentWidget())
        parentWidget()->resize(640, 480);

    if (image.empty()) {
        QMessageBox::information(this, tr("Error"), tr("Error while opening image file."));
        return false;
    }
    if (static_cast<long long>(image.rows) * image.cols > kMaxPixels) {
        QMessageBox::information(this, tr("Insufficient memory"), tr("Sorry, the image is too large."));
        return false;
    }
    imagePath = path;
    fillInformation(fileName, image);

    auto* view = new ImageWidget(display);
    view->showInput(image);
    ui->tabs->addTab(view, kInputTabText);
    ui->tabs->setCurrentIndex(ui->tabs->count() - 1);
    return true;
}

cv::Mat SubMainWindow::currentResult() const
{
    const ImageWidget* view = viewAt(ui->tabs->currentIndex());
    return view ? view->resultImage() : cv::Mat();
}

void SubMainWindow::fillInformation(const QString& fileName, const cv::Mat& image)
{
    QTableWidget* table = ui->tbl_info;
    table->setItem(0, 1, new QTableWidgetItem(fileNamePart(fileName)));
    table->setItem(1, 1, new QTableWidgetItem(fileTypePart(fileName)));
    table->setItem(2, 1, new QTableWidgetItem(QString::asprintf("%dpx", image.cols)));
    table->setItem(3, 1, new QTableWidgetItem(QString::asprintf("%dpx", image.rows)));
}

void SubMainWindow::on_hsl_zoomFactor_valueChanged(int value)
{
    parameters.zoomFactor = static_cast<float>(value / 100.0);
    ui->lbl_zoomFactorValue->setText(QString::asprintf("%.2f", static_cast<double>(parameters.zoomFactor)));

    ui->hsl_sigma->setValue(sigmaTenthsForZoom(parameters.zoomFactor));
    ui->hsl_wtDeconv->setValue(weightThousandthsForZoom(parameters.zoomFactor));
}

void SubMainWindow::on_hsl_nIteration_valueChanged(int value)
{
    parameters.nIteration = value;
    ui->lbl_nIterationValue->setText(QString::asprintf("%d", value));
}

void SubMainWindow::on_hsl_sigma_valueChanged(int value)
{
    parameters.sigma = static_cast<float>(value / 10.0);
    ui->lbl_sigmaValue->setText(QString::asprintf("%.1f", static_cast<double>(parameters.sigma)));
}

void SubMainWindow::on_hsl_wtDeconv_valueChanged(int value)
{
    parameters.wtDeconv = static_cast<float>(value / 1000.0);
    ui->lbl_wtDeconvValue->setText(QString::asprintf("%.3f", static_cast<double>(parameters.wtDeconv)));
}

void SubMainWindow::on_rdb_cpu_clicked()
{
    parameters.processor = kProcessorCpu;
}

void SubMainWindow::on_rdb_gpu_clicked()
{
    parameters.processor = kProcessorGpu;
}

void SubMainWindow::on_btn_run_clicked()
{
    auto* view = new ImageWidget(display);
    ++resultCount;
    const char* processorName = parameters.processor == kProcessorCpu ? "CPU" : "GPU";
    const QString title = QString::asprintf("Result%d - %s", resultCount, processorName);
    connect(view, &ImageWidget::jobFinished, this, &SubMainWindow::currentResultChanged);
    ui->tabs->addTab(view, title);
    ui->tabs->setCurrentIndex(ui->tabs->count() - 1);
    view->startJob(imagePath, parameters);
    view->updateZoomControls();
}

void SubMainWindow::on_tabs_currentChanged(int index)
{
    if (!isVisible())
        return;
    emit currentResultChanged();
    ImageWidget* view = viewAt(index);
    if (!view)
        return;
    if (!view->isRunning())
        view->showScaledImage();
    view->updateZoomControls();
}

void SubMainWindow::on_tabs_tabCloseRequested(int index)
{
    // The input stays for the document's whole life; tabs move, so it is known by its text.
    if (ui->tabs->tabText(index) == kInputTabText)
        return;
    QWidget* page = ui->tabs->widget(index);
    ui->tabs->removeTab(index);
    delete page;
}

ImageWidget* SubMainWindow::viewAt(int index) const
{
    return qobject_cast<ImageWidget*>(ui->tabs->widget(index));
}
