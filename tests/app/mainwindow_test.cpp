// The main window with its documents: start-up warnings, resources, Load and
// Save, the Save-enabling rule, whole runs, failed runs and closing running ones.
#include <memory>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>
#include <opencv2/imgcodecs.hpp>

#include "cuda_probe.h"
#include "mainwindow.h"
#include "modalboxwatcher.h"
#include "testimages.h"

namespace {

constexpr int kJobTimeoutMs = 60000;

QMdiArea* mdiArea(const MainWindow& window)
{
    return window.findChild<QMdiArea*>("mdiArea");
}

QWidget* activeDocument(const MainWindow& window)
{
    return mdiArea(window)->currentSubWindow()->widget();
}

QTabWidget* tabsOf(QWidget* document)
{
    return document->findChild<QTabWidget*>("tabs");
}

bool saveEnabled(const MainWindow& window)
{
    return window.findChild<QAction*>("actionSave_Image")->isEnabled();
}

// Jobs that outlive their view are handed to the application object until they end.
int detachedJobs()
{
    return static_cast<int>(qApp->findChildren<QThread*>(Qt::FindDirectChildrenOnly).size());
}

// Presses Run in the active document and returns the new tab's view.
QWidget* run(const MainWindow& window)
{
    QWidget* document = activeDocument(window);
    document->findChild<QPushButton*>("btn_run")->click();
    return tabsOf(document)->currentWidget();
}

// Moves the active document's sliders so that its next run takes many seconds.
void makeRunsSlow(const MainWindow& window)
{
    QWidget* document = activeDocument(window);
    document->findChild<QSlider*>("hsl_zoomFactor")->setValue(400);
    document->findChild<QSlider*>("hsl_nIteration")->setValue(20);
}

bool finished(QWidget* view)
{
    return view->findChild<QProgressBar*>("pgb_progress")->isHidden();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startupWarnings_data();
    void startupWarnings();
    void resourcesAreEmbedded_data();
    void resourcesAreEmbedded();
    void loadFailures_data();
    void loadFailures();
    void droppedFilesOpen();
    void runEndsInShownResult();
    void saveFollowsTheVisibleTab();
    void saveWritesTheChosenFormat_data();
    void saveWritesTheChosenFormat();
    void saveReportsFailures_data();
    void saveReportsFailures();
    void failedRunShowsItsError();
    void closingRunningJobsCancelsThem_data();
    void closingRunningJobsCancelsThem();
    void aboutDialog();

private:
    // A shown main window without a GPU, with `fileName` open as its document.
    std::unique_ptr<MainWindow> openWindow(const QString& fileName);

    std::unique_ptr<ModalBoxWatcher> m_boxes;
    std::unique_ptr<QTemporaryDir> m_folder;
};

void MainWindowTest::init()
{
    m_boxes = std::make_unique<ModalBoxWatcher>();
    m_folder = std::make_unique<QTemporaryDir>();
}

void MainWindowTest::cleanup()
{
    m_boxes.reset();
    m_folder.reset();
}

std::unique_ptr<MainWindow> MainWindowTest::openWindow(const QString& fileName)
{
    auto window = std::make_unique<MainWindow>(false, false);
    window->show();
    m_boxes->boxes.clear(); // the start-up warning
    if (!QTest::qWaitForWindowExposed(window.get()) || !window->openDocument(fileName))
        return nullptr;
    return window;
}

void MainWindowTest::startupWarnings_data()
{
    QTest::addColumn<bool>("gpu");
    QTest::addColumn<bool>("cufftMissing");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("gpuOffered");
    QTest::newRow("no CUDA device") << false << false
                                    << QStringList{"CUDA Not Found: Your graphic card does not support CUDA.\n\n"
                                                   "Cannot run algorithm on GPU."}
                                    << false;
    QTest::newRow("no FFT library")
        << true << true
        << QStringList{QString("DLL Not Found: Your graphic card supports CUDA, but %1 not found.\n\n"
                               "Cannot run algorithm on GPU, please install CUDA Toolkit.")
                           .arg(cufftLibraryName())}
        << false;
    QTest::newRow("GPU usable") << true << false << QStringList{} << true;
}

void MainWindowTest::startupWarnings()
{
    QFETCH(bool, gpu);
    QFETCH(bool, cufftMissing);
    QFETCH(QStringList, boxes);
    QFETCH(bool, gpuOffered);
    MainWindow window(gpu, cufftMissing);
    QCOMPARE(m_boxes->boxes, boxes);
    QVERIFY(!saveEnabled(window));

    window.show();
    QVERIFY(window.openDocument(writeTestImage(m_folder->filePath("a.png"), 40, 30)));
    auto* gpuButton = activeDocument(window)->findChild<QRadioButton*>("rdb_gpu");
    QCOMPARE(gpuButton->isEnabled(), gpuOffered);
    QCOMPARE(gpuButton->isChecked(), gpuOffered);
}

void MainWindowTest::resourcesAreEmbedded_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("open") << ":/File/open_icon.png" << QSize(128, 128);
    QTest::newRow("save") << ":/File/save_icon.png" << QSize(256, 256);
    QTest::newRow("about") << ":/About/about_logo.png" << QSize(256, 256);
    QTest::newRow("logo") << ":/Window Logo/logo.png" << QSize(128, 108);
    QTest::newRow("zoom in") << ":/Zoom/zoom_in.png" << QSize(256, 256);
    QTest::newRow("zoom out") << ":/Zoom/zoom_out.png" << QSize(256, 256);
}

void MainWindowTest::resourcesAreEmbedded()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
}

void MainWindowTest::loadFailures_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("boxes");
    const QString error = "Error: Error while opening image file.";
    const QString tooLarge = "Insufficient memory: Sorry, the image is too large.";
    QTest::newRow("missing") << "missing.png" << QStringList{error};
    QTest::newRow("not an image") << "notes.png" << QStringList{error};
    QTest::newRow("2048 x 2049") << "tall.png" << QStringList{tooLarge};
    QTest::newRow("2048 x 2048 opens") << "square.png" << QStringList{};
}

void MainWindowTest::loadFailures()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, boxes);
    QFile notes(m_folder->filePath("notes.png"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a picture");
    notes.close();
    if (fileName == "tall.png")
        writeTestImage(m_folder->filePath(fileName), 2048, 2049);
    if (fileName == "square.png")
        writeTestImage(m_folder->filePath(fileName), 2048, 2048);

    MainWindow window(true, false);
    window.show();
    const bool opened = window.openDocument(m_folder->filePath(fileName));
    QCOMPARE(m_boxes->boxes, boxes);
    QCOMPARE(opened, boxes.isEmpty());
    QCOMPARE(mdiArea(window)->subWindowList().size(), opened ? 1 : 0);
}

void MainWindowTest::droppedFilesOpen()
{
    MainWindow window(true, false);
    window.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(writeTestImage(m_folder->filePath("a.png"), 40, 30)),
                  QUrl::fromLocalFile(writeTestImage(m_folder->filePath("b.jpg"), 30, 40))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QCOMPARE(mdiArea(window)->subWindowList().size(), 2);
}

void MainWindowTest::runEndsInShownResult()
{
    const auto window = openWindow(writeTestImage(m_folder->filePath("tiny.png"), 40, 30));
    QVERIFY(window);
    QWidget* view = run(*window);
    QCOMPARE(view->findChild<QLabel*>("lbl_img")->text(), QString("Generating..."));
    QVERIFY(!finished(view));

    QTRY_VERIFY_WITH_TIMEOUT(finished(view), kJobTimeoutMs);
    const auto* image = view->findChild<QLabel*>("lbl_img");
    QCOMPARE(image->pixmap().size(), QSize(80, 60));
    const QString parameters = view->findChild<QLabel*>("lbl_param")->text();
    QVERIFY2(parameters.startsWith("Zoom Factor = 2.00, Sigma = 1.3, Deconvolution Weight = 0.020, "
                                   "Iterations = 10<br />Running time "),
             qPrintable(parameters));
    QVERIFY(saveEnabled(*window));
    QCOMPARE(detachedJobs(), 0);

    // The magnification is the document's: the input follows when it becomes current.
    view->findChild<QPushButton*>("btn_zoomIn")->click();
    QCOMPARE(image->pixmap().size(), QSize(96, 72));
    QTabWidget* tabs = tabsOf(activeDocument(*window));
    tabs->setCurrentIndex(0);
    QCOMPARE(tabs->currentWidget()->findChild<QLabel*>("lbl_img")->pixmap().size(), QSize(48, 36));
    QCOMPARE(tabs->currentWidget()->findChild<QLabel*>("lbl_zoom")->text(), QString("1.2x"));
}

void MainWindowTest::saveFollowsTheVisibleTab()
{
    const QString image = writeTestImage(m_folder->filePath("tiny.png"), 40, 30);
    const auto window = openWindow(image);
    QVERIFY(window);
    QVERIFY(!saveEnabled(*window));

    QWidget* first = activeDocument(*window);
    QTabWidget* tabs = tabsOf(first);
    QWidget* view = run(*window);
    QVERIFY(!saveEnabled(*window)); // its job runs
    tabs->setCurrentIndex(0);
    // Finishing while the input is visible leaves Save disabled.
    QTRY_VERIFY_WITH_TIMEOUT(finished(view), kJobTimeoutMs);
    QVERIFY(!saveEnabled(*window));
    tabs->setCurrentWidget(view);
    QVERIFY(saveEnabled(*window));

    // A job that ends in a document that is not the active one leaves Save alone.
    QWidget* second = run(*window);
    QVERIFY(window->openDocument(image));
    QVERIFY(activeDocument(*window) != first);
    QVERIFY(!saveEnabled(*window));
    QTRY_VERIFY_WITH_TIMEOUT(finished(second), kJobTimeoutMs);
    QVERIFY(!saveEnabled(*window));

    // Back in the first document, its finished result is visible again.
    mdiArea(*window)->setActiveSubWindow(mdiArea(*window)->subWindowList().first());
    QVERIFY(saveEnabled(*window));
    mdiArea(*window)->closeAllSubWindows();
    QVERIFY(!saveEnabled(*window));
}

void MainWindowTest::saveWritesTheChosenFormat_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("png") << "out.png";
    QTest::newRow("bmp") << "out.bmp";
    QTest::newRow("jpg") << "out.jpg";
    QTest::newRow("replaces an existing file") << "old.png";
}

void MainWindowTest::saveWritesTheChosenFormat()
{
    QFETCH(QString, fileName);
    const QString target = m_folder->filePath(fileName);
    if (fileName == "old.png")
        writeTestImage(target, 7, 7);
    const auto window = openWindow(writeTestImage(m_folder->filePath("tiny.png"), 40, 30));
    QVERIFY(window);
    QWidget* view = run(*window);
    QTRY_VERIFY_WITH_TIMEOUT(finished(view), kJobTimeoutMs);

    QVERIFY(window->saveCurrentResult(target));
    QVERIFY(m_boxes->boxes.isEmpty());
    const cv::Mat written = cv::imread(QFile::encodeName(target).toStdString(), cv::IMREAD_UNCHANGED);
    QCOMPARE(written.cols, 80);
    QCOMPARE(written.rows, 60);
    QCOMPARE(written.channels(), 3);
    // Nothing but the input and the result is left in the folder.
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void MainWindowTest::saveReportsFailures_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("unknown extension") << "out.xyz";
    QTest::newRow("no extension") << "out";
    QTest::newRow("missing folder") << "nowhere/out.png";
}

void MainWindowTest::saveReportsFailures()
{
    QFETCH(QString, fileName);
    const auto window = openWindow(writeTestImage(m_folder->filePath("tiny.png"), 40, 30));
    QVERIFY(window);
    QWidget* view = run(*window);
    QTRY_VERIFY_WITH_TIMEOUT(finished(view), kJobTimeoutMs);

    const QString target = m_folder->filePath(fileName);
    QVERIFY(!window->saveCurrentResult(target));
    QCOMPARE(m_boxes->boxes.size(), 1);
    QVERIFY2(m_boxes->boxes.first().startsWith("Save Image: Cannot save " + target + ":\n"),
             qPrintable(m_boxes->boxes.first()));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void MainWindowTest::failedRunShowsItsError()
{
    const QString image = writeTestImage(m_folder->filePath("tiny.png"), 40, 30);
    const auto window = openWindow(image);
    QVERIFY(window);
    QVERIFY(QFile::remove(image)); // each run reads the file again
    QWidget* view = run(*window);
    QTRY_VERIFY_WITH_TIMEOUT(finished(view), kJobTimeoutMs);

    const QString shown = view->findChild<QLabel*>("lbl_img")->text();
    QVERIFY2(shown.startsWith("The run failed: "), qPrintable(shown));
    QVERIFY(!saveEnabled(*window));
    QTabWidget* tabs = tabsOf(activeDocument(*window));
    emit tabs->tabCloseRequested(tabs->indexOf(view));
    QCOMPARE(tabs->count(), 1);
}

void MainWindowTest::closingRunningJobsCancelsThem_data()
{
    QTest::addColumn<QString>("closed");
    QTest::newRow("tab") << "tab";
    QTest::newRow("document") << "document";
    QTest::newRow("main window") << "main window";
}

void MainWindowTest::closingRunningJobsCancelsThem()
{
    QFETCH(QString, closed);
    auto window = openWindow(writeTestImage(m_folder->filePath("large.png"), 300, 300));
    QVERIFY(window);
    makeRunsSlow(*window);
    QWidget* view = run(*window);
    run(*window);
    QTest::qWait(300); // let the jobs get under way
    QVERIFY(!finished(view));

    QPointer<QWidget> closedView(view);
    QElapsedTimer sinceClose;
    sinceClose.start();
    if (closed == "tab") {
        QTabWidget* tabs = tabsOf(activeDocument(*window));
        emit tabs->tabCloseRequested(tabs->indexOf(view));
        QCOMPARE(tabs->count(), 2);
    } else if (closed == "document") {
        mdiArea(*window)->closeAllSubWindows();
    } else {
        window.reset();
    }
    QTRY_VERIFY(closedView.isNull());
    // Cancelled jobs end within moments and are deleted; the uncancelled run would take many seconds.
    QTRY_COMPARE_WITH_TIMEOUT(detachedJobs(), 0, 10000);
    qInfo("detached jobs ended %lld ms after closing", static_cast<long long>(sinceClose.elapsed()));
}

void MainWindowTest::aboutDialog()
{
    MainWindow window(true, false);
    window.show();
    window.findChild<QAction*>("actionAbout")->trigger();
    auto* dialog = window.findChild<QDialog*>("AboutDialog");
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
    QCOMPARE(dialog->windowTitle(), QString("About Zentavo"));
    QCOMPARE(dialog->size(), QSize(681, 259));

    const auto* about = dialog->findChild<QLabel*>("lbl_about");
    QVERIFY(about->openExternalLinks());
    QVERIFY(about->text().contains("Zentavo Ver. 1.0"));
    QVERIFY(about->text().contains("href=\"https://doi.org/10.1145/1409060.1409106\""));
    QVERIFY(about->text().contains("&quot;Fast Image/Video Upsampling&quot;"));
    QCOMPARE(dialog->findChild<QLabel*>("lbl_logo")->pixmap().size(), QSize(128, 108));

    QPointer<QDialog> closedDialog(dialog);
    dialog->findChild<QPushButton*>("btn_ok")->click();
    QTRY_VERIFY(closedDialog.isNull());
}

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
