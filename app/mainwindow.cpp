#include "mainwindow.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "cuda_probe.h"
#include "image_file.h"
#include "submainwindow.h"
#include "ui_aboutdialog.h"
#include "ui_mainwindow.h"

namespace {

const char* const kImageFilter = "Image Files (*.png *.bmp *.jpg);;All files(*.*)";

QStringList localFilesIn(const QMimeData* mime)
{
    QStringList files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

} // namespace

MainWindow::MainWindow(bool gpuAvailable, bool cufftMissing, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>()), gpuUsable(gpuAvailable && !cufftMissing)
{
    ui->setupUi(this);
    setAcceptDrops(true);
    warnAboutGpu(gpuAvailable, cufftMissing);
}

MainWindow::~MainWindow() = default;

void MainWindow::warnAboutGpu(bool gpuAvailable, bool cufftMissing)
{
    if (!gpuAvailable) {
        QMessageBox::warning(this, tr("CUDA Not Found"),
                             tr("Your graphic card does not support CUDA.\n\nCannot run algorithm on GPU."));
    } else if (cufftMissing) {
        QMessageBox::warning(this, tr("DLL Not Found"),
                             tr("Your graphic card supports CUDA, but %1 not found.\n\n"
                                "Cannot run algorithm on GPU, please install CUDA Toolkit.")
                                 .arg(QString::fromLatin1(cufftLibraryName())));
    }
}

bool MainWindow::openDocument(const QString& fileName)
{
    auto* subWindow = new QMdiSubWindow;
    auto* document = new SubMainWindow(gpuUsable);
    // The document sizes its sub-window while it loads.
    subWindow->setWidget(document);
    if (!document->loadImage(fileName)) {
        delete subWindow;
        return false;
    }
    rememberFolderOf(fileName);
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    connect(document, &SubMainWindow::currentResultChanged, this, &MainWindow::updateActions);
    ui->mdiArea->addSubWindow(subWindow);
    document->show();
    subWindow->showMaximized();
    updateActions();
    return true;
}

bool MainWindow::saveCurrentResult(const QString& fileName)
{
    const SubMainWindow* document = activeDocument();
    const cv::Mat image = document ? document->currentResult() : cv::Mat();
    const std::string failure = writeImageFile(QFile::encodeName(fileName).toStdString(), image);
    if (!failure.empty()) {
        QMessageBox::warning(this, tr("Save Image"),
                             tr("Cannot save %1:\n%2").arg(QDir::toNativeSeparators(fileName),
                                                            QString::fromStdString(failure)));
        return false;
    }
    rememberFolderOf(fileName);
    return true;
}

void MainWindow::on_actionLoad_Image_triggered()
{
    const QString start = lastFolder.isEmpty() ? QDir::currentPath() : lastFolder;
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open Image"), start, tr(kImageFilter));
    if (!fileName.isNull())
        openDocument(fileName);
}

void MainWindow::on_actionSave_Image_triggered()
{
    const QString start = lastFolder.isEmpty() ? QDir::currentPath() : lastFolder;
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Save Image"), start, tr(kImageFilter));
    if (!fileName.isNull())
        saveCurrentResult(fileName);
}

void MainWindow::on_actionAbout_triggered()
{
    auto* dialog = new QDialog(this);
    Ui::AboutDialog form;
    form.setupUi(dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void MainWindow::on_mdiArea_subWindowActivated(QMdiSubWindow*)
{
    updateActions();
}

void MainWindow::updateActions()
{
    // Save is available exactly when the visible tab of the active document is a finished result.
    const SubMainWindow* document = activeDocument();
    ui->actionSave_Image->setEnabled(document && !document->currentResult().empty());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localFilesIn(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    for (const QString& fileName : localFilesIn(event->mimeData()))
        openDocument(fileName);
    event->acceptProposedAction();
}

SubMainWindow* MainWindow::activeDocument() const
{
    // The current sub-window stays set while a dialog has the focus.
    const QMdiSubWindow* subWindow = ui->mdiArea->currentSubWindow();
    return subWindow ? qobject_cast<SubMainWindow*>(subWindow->widget()) : nullptr;
}

void MainWindow::rememberFolderOf(const QString& fileName)
{
    lastFolder = QFileInfo(fileName).absolutePath();
}
