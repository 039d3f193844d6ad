// The document window: slider rules, processor choice, image information and tab numbering.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "submainwindow.h"
#include "testimages.h"

namespace {

QSlider* slider(const SubMainWindow& window, const char* name)
{
    return window.findChild<QSlider*>(name);
}

QString labelText(const SubMainWindow& window, const char* name)
{
    return window.findChild<QLabel*>(name)->text();
}

QStringList tabTexts(const SubMainWindow& window)
{
    const auto* tabs = window.findChild<QTabWidget*>("tabs");
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

} // namespace

class SubMainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void zoomDerivesSigmaAndWeight_data();
    void zoomDerivesSigmaAndWeight();
    void derivedValuesHoldForEveryZoom();
    void userSigmaHoldsUntilZoomMoves();
    void processorFollowsGpuAvailability();
    void informationTable_data();
    void informationTable();
    void resultTabsAreNumberedOnce();
};

void SubMainWindowTest::zoomDerivesSigmaAndWeight_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QString>("zoomText");
    QTest::addColumn<int>("sigma");
    QTest::addColumn<QString>("sigmaText");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QString>("weightText");
    QTest::newRow("1.00") << 100 << "1.00" << 11 << "1.1" << 10 << "0.010";
    QTest::newRow("1.37") << 137 << "1.37" << 11 << "1.1" << 13 << "0.013";
    QTest::newRow("3.50") << 350 << "3.50" << 16 << "1.6" << 35 << "0.035";
    QTest::newRow("4.00") << 400 << "4.00" << 17 << "1.7" << 40 << "0.040";
}

void SubMainWindowTest::zoomDerivesSigmaAndWeight()
{
    QFETCH(int, zoom);
    QFETCH(QString, zoomText);
    QFETCH(int, sigma);
    QFETCH(QString, sigmaText);
    QFETCH(int, weight);
    QFETCH(QString, weightText);
    SubMainWindow window(false);
    slider(window, "hsl_zoomFactor")->setValue(zoom);

    QCOMPARE(labelText(window, "lbl_zoomFactorValue"), zoomText);
    QCOMPARE(slider(window, "hsl_sigma")->value(), sigma);
    QCOMPARE(labelText(window, "lbl_sigmaValue"), sigmaText);
    QCOMPARE(slider(window, "hsl_wtDeconv")->value(), weight);
    QCOMPARE(labelText(window, "lbl_wtDeconvValue"), weightText);
    const RunParameters& parameters = window.runParameters();
    QCOMPARE(parameters.zoomFactor, static_cast<float>(zoom / 100.0));
    QCOMPARE(parameters.sigma, static_cast<float>(sigma / 10.0));
    QCOMPARE(parameters.wtDeconv, static_cast<float>(weight / 1000.0));
}

void SubMainWindowTest::derivedValuesHoldForEveryZoom()
{
    SubMainWindow window(false);
    // Start below the form's 2.00 so that every value, 2.00 included, is a change.
    slider(window, "hsl_zoomFactor")->setValue(100);
    for (int zoom = 101; zoom <= 400; ++zoom) {
        slider(window, "hsl_zoomFactor")->setValue(zoom);
        QCOMPARE(slider(window, "hsl_sigma")->value(), (2 * zoom + 900) / 100);
        QCOMPARE(slider(window, "hsl_wtDeconv")->value(), zoom / 10);
    }
}

void SubMainWindowTest::userSigmaHoldsUntilZoomMoves()
{
    SubMainWindow window(false);
    QCOMPARE(labelText(window, "lbl_sigmaValue"), QString("1.3"));
    slider(window, "hsl_sigma")->setValue(25);
    slider(window, "hsl_nIteration")->setValue(7);
    QCOMPARE(window.runParameters().sigma, 2.5f);
    QCOMPARE(window.runParameters().nIteration, 7);
    QCOMPARE(labelText(window, "lbl_nIterationValue"), QString("7"));

    slider(window, "hsl_zoomFactor")->setValue(300);
    QCOMPARE(window.runParameters().sigma, 1.5f);
    QCOMPARE(window.runParameters().nIteration, 7);
}

void SubMainWindowTest::processorFollowsGpuAvailability()
{
    SubMainWindow withoutGpu(false);
    QVERIFY(withoutGpu.findChild<QRadioButton*>("rdb_cpu")->isChecked());
    QVERIFY(!withoutGpu.findChild<QRadioButton*>("rdb_gpu")->isEnabled());
    QCOMPARE(withoutGpu.runParameters().processor, kProcessorCpu);

    SubMainWindow withGpu(true);
    QVERIFY(withGpu.findChild<QRadioButton*>("rdb_gpu")->isChecked());
    QCOMPARE(withGpu.runParameters().processor, kProcessorGpu);
    withGpu.findChild<QRadioButton*>("rdb_cpu")->click();
    QCOMPARE(withGpu.runParameters().processor, kProcessorCpu);
    withGpu.findChild<QRadioButton*>("rdb_gpu")->click();
    QCOMPARE(withGpu.runParameters().processor, kProcessorGpu);
}

void SubMainWindowTest::informationTable_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::newRow("upper-case extension") << "pics/Photo.JPG" << "Photo.JPG" << "jpg";
    QTest::newRow("dot in a folder name") << "my.dir/photo" << "photo" << "dir/photo";
    // A path without "/" is split at its last "\"; on Linux that is one file name.
    QTest::newRow("backslashes, no dot") << "D:\\pics\\photo" << "photo" << "unknown";
}

void SubMainWindowTest::informationTable()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, name);
    QFETCH(QString, type);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QFileInfo(folder.filePath(relativePath)).path()));
    // PNG content behind any name: the reader goes by the content.
    const QString png = writeTestImage(folder.filePath("content.png"), 64, 48);
    QVERIFY(QFile::rename(png, folder.filePath(relativePath)));

    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    SubMainWindow window(false);
    const bool loaded = window.loadImage(relativePath);
    QDir::setCurrent(previous);
    QVERIFY(loaded);

    const auto* table = window.findChild<QTableWidget*>("tbl_info");
    QCOMPARE(table->item(0, 1)->text(), name);
    QCOMPARE(table->item(1, 1)->text(), type);
    QCOMPARE(table->item(2, 1)->text(), QString("64px"));
    QCOMPARE(table->item(3, 1)->text(), QString("48px"));
    QCOMPARE(table->item(0, 0)->text(), QString("Name"));
    QCOMPARE(window.windowTitle(), relativePath);
    QCOMPARE(tabTexts(window), QStringList{"Input"});
}

void SubMainWindowTest::resultTabsAreNumberedOnce()
{
    QTemporaryDir folder;
    SubMainWindow window(false);
    QVERIFY(window.loadImage(writeTestImage(folder.filePath("tiny.png"), 40, 30)));
    auto* tabs = window.findChild<QTabWidget*>("tabs");
    auto* run = window.findChild<QPushButton*>("btn_run");
    for (int i = 0; i < 3; ++i)
        run->click();
    QCOMPARE(tabTexts(window), (QStringList{"Input", "Result1 - CPU", "Result2 - CPU", "Result3 - CPU"}));
    QCOMPARE(tabs->currentIndex(), 3);

    emit tabs->tabCloseRequested(2);
    run->click();
    QCOMPARE(tabTexts(window), (QStringList{"Input", "Result1 - CPU", "Result3 - CPU", "Result4 - CPU"}));

    // The input tab cannot be closed, wherever it has been moved to.
    tabs->tabBar()->moveTab(0, 2);
    emit tabs->tabCloseRequested(2);
    QCOMPARE(tabTexts(window), (QStringList{"Result1 - CPU", "Result3 - CPU", "Input", "Result4 - CPU"}));
}

QTEST_MAIN(SubMainWindowTest)
#include "submainwindow_test.moc"
