// The result view: progress arithmetic, zoom steps and limits, wheel zoom and
// the scroll position shared by the views of one document.
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "displaystate.h"
#include "imagescrollarea.h"
#include "imagewidget.h"
#include "testimages.h"

namespace {

QImage solidImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    return image;
}

void turnWheel(ImageWidget& view, int angle)
{
    QWidget* viewport = view.findChild<ImageScrollArea*>("sca_imgArea")->viewport();
    const QPointF centre(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent event(centre, viewport->mapToGlobal(centre), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

QString zoomText(const ImageWidget& view)
{
    return view.findChild<QLabel*>("lbl_zoom")->text();
}

QScrollBar* bar(const ImageWidget& view, Qt::Orientation orientation)
{
    auto* area = view.findChild<ImageScrollArea*>("sca_imgArea");
    return orientation == Qt::Horizontal ? area->horizontalScrollBar() : area->verticalScrollBar();
}

} // namespace

class ImageWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void progressBarValue_data();
    void progressBarValue();
    void zoomStepsAndLimits_data();
    void zoomStepsAndLimits();
    void zoomRedrawsAtTheSharedScale();
    void wheelZoomsIdleViewsOnly();
    void scrollPositionIsShared();
    void smallerViewLowersSharedPosition();
};

void ImageWidgetTest::progressBarValue_data()
{
    QTest::addColumn<float>("passStart");
    QTest::addColumn<float>("passEnd");
    QTest::addColumn<float>("passProgress");
    QTest::addColumn<int>("expected");
    QTest::newRow("before the first write") << 0.0f << 100.0f << -1.0f << 0;
    QTest::newRow("single pass") << 0.0f << 100.0f << 36.9f << 369;
    QTest::newRow("second of three passes") << 100.0f / 3.0f << 200.0f / 3.0f << 30.0f << 433;
    QTest::newRow("beyond 100 is 100") << 0.0f << 100.0f << 120.0f << 1000;
    QTest::newRow("last of three at its end") << 200.0f / 3.0f << 100.0f << 100.0f << 1000;
}

void ImageWidgetTest::progressBarValue()
{
    QFETCH(float, passStart);
    QFETCH(float, passEnd);
    QFETCH(float, passProgress);
    QFETCH(int, expected);
    JobProgress progress;
    progress.passStart = passStart;
    progress.passEnd = passEnd;
    progress.passProgress = passProgress;
    QCOMPARE(ImageWidget::progressBarValue(progress), expected);
}

void ImageWidgetTest::zoomStepsAndLimits_data()
{
    QTest::addColumn<bool>("zoomIn");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("in") << true
                        << QStringList{"1.2x", "1.4x", "1.7x", "2.1x", "2.5x", "3.0x", "3.6x", "4.3x", "5.2x"};
    QTest::newRow("out") << false
                         << QStringList{"0.8x", "0.7x", "0.6x", "0.5x", "0.4x", "0.3x", "0.3x", "0.2x", "0.2x"};
}

void ImageWidgetTest::zoomStepsAndLimits()
{
    QFETCH(bool, zoomIn);
    QFETCH(QStringList, texts);
    DisplayState display;
    ImageWidget view(display);
    view.setImage(solidImage(40, 30));
    auto* button = view.findChild<QPushButton*>(zoomIn ? "btn_zoomIn" : "btn_zoomOut");

    QStringList shown;
    for (int step = 0; step < texts.size(); ++step) {
        QVERIFY2(button->isEnabled(), qPrintable(QString("step %1").arg(step)));
        button->click();
        shown << zoomText(view);
    }
    QCOMPARE(shown, texts);
    QVERIFY(!button->isEnabled());

    // At the limit the slot itself refuses another step.
    const float limit = display.displayScale;
    QMetaObject::invokeMethod(&view, zoomIn ? "on_btn_zoomIn_clicked" : "on_btn_zoomOut_clicked");
    QCOMPARE(display.displayScale, limit);
}

void ImageWidgetTest::zoomRedrawsAtTheSharedScale()
{
    DisplayState display;
    ImageWidget first(display);
    ImageWidget second(display);
    first.setImage(solidImage(40, 30));
    second.setImage(solidImage(100, 50));

    first.findChild<QPushButton*>("btn_zoomIn")->click();
    QCOMPARE(first.findChild<QLabel*>("lbl_img")->pixmap().size(), QSize(48, 36));
    // The other view follows the shared scale when it is redrawn.
    QCOMPARE(second.findChild<QLabel*>("lbl_img")->pixmap().size(), QSize(100, 50));
    second.showScaledImage();
    QCOMPARE(second.findChild<QLabel*>("lbl_img")->pixmap().size(), QSize(120, 60));
}

void ImageWidgetTest::wheelZoomsIdleViewsOnly()
{
    DisplayState display;
    ImageWidget idle(display);
    idle.setImage(solidImage(40, 30));
    idle.show();
    for (int step = 0; step < 8; ++step)
        turnWheel(idle, 120);
    QCOMPARE(zoomText(idle), QString("4.3x"));
    turnWheel(idle, 120);
    QCOMPARE(zoomText(idle), QString("5.2x"));
    const float largest = display.displayScale;
    turnWheel(idle, 120);
    QCOMPARE(display.displayScale, largest);
    turnWheel(idle, -120);
    QCOMPARE(zoomText(idle), QString("4.3x"));

    // A view whose job runs ignores the wheel, but its zoom buttons still change the shared scale.
    QTemporaryDir folder;
    DisplayState runningDisplay;
    ImageWidget running(runningDisplay);
    running.show();
    RunParameters slow;
    slow.zoomFactor = 4.0f;
    slow.nIteration = 20;
    running.startJob(QFile::encodeName(writeTestImage(folder.filePath("slow.png"), 300, 300)), slow);
    QVERIFY(running.isRunning());
    turnWheel(running, 120);
    QCOMPARE(runningDisplay.displayScale, 1.0f);
    running.findChild<QPushButton*>("btn_zoomIn")->click();
    QCOMPARE(zoomText(running), QString("1.2x"));
    QCOMPARE(running.findChild<QLabel*>("lbl_img")->text(), QString("Generating..."));
}

void ImageWidgetTest::scrollPositionIsShared()
{
    DisplayState display;
    ImageWidget input(display);
    ImageWidget result(display);
    input.setImage(solidImage(2000, 1600));
    result.setImage(solidImage(700, 500));
    input.show();
    result.show();
    QVERIFY(QTest::qWaitForWindowExposed(&result));
    QCOMPARE(display.scrollPosX, 0);

    bar(input, Qt::Horizontal)->setValue(120);
    bar(input, Qt::Vertical)->setValue(40);
    QCOMPARE(display.scrollPosX, 120);
    QCOMPARE(display.scrollPosY, 40);
    result.updateZoomControls();
    QCOMPARE(bar(result, Qt::Horizontal)->value(), 120);
    QCOMPARE(bar(result, Qt::Vertical)->value(), 40);

    // Zoomed and scrolled in one view beyond what the other could show at the
    // old scale: redrawn at the new scale, the other reaches the same position.
    for (int step = 0; step < 4; ++step)
        input.findChild<QPushButton*>("btn_zoomIn")->click();
    bar(input, Qt::Horizontal)->setValue(600);
    QVERIFY(bar(result, Qt::Horizontal)->maximum() < 600);
    result.showScaledImage();
    result.updateZoomControls();
    QCOMPARE(bar(result, Qt::Horizontal)->value(), 600);
    QCOMPARE(display.scrollPosX, 600);
}

void ImageWidgetTest::smallerViewLowersSharedPosition()
{
    DisplayState display;
    ImageWidget input(display);
    ImageWidget small(display);
    input.setImage(solidImage(1000, 800));
    input.show();
    small.show();
    QVERIFY(QTest::qWaitForWindowExposed(&small));
    // Just wider than the viewport, so the horizontal bar reaches a few pixels only.
    const int viewportWidth = small.findChild<ImageScrollArea*>("sca_imgArea")->viewport()->width();
    small.setImage(solidImage(viewportWidth + 40, 100));

    bar(input, Qt::Horizontal)->setValue(120);
    small.restoreScrollPosition();
    const int reach = bar(small, Qt::Horizontal)->maximum();
    QVERIFY2(reach > 0 && reach < 120, qPrintable(QString::number(reach)));
    QCOMPARE(bar(small, Qt::Horizontal)->value(), reach);
    QCOMPARE(display.scrollPosX, reach);
}

QTEST_MAIN(ImageWidgetTest)
#include "imagewidget_test.moc"
