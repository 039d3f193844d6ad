#include "imagescrollarea.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "displaystate.h"

ImageScrollArea::ImageScrollArea(QWidget* parent) : QScrollArea(parent)
{
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &ImageScrollArea::on_horizontalScrollBar_valueChanged);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ImageScrollArea::on_verticalScrollBar_valueChanged);
}

void ImageScrollArea::shareScrollPosition(DisplayState* display)
{
    m_display = display;
}

void ImageScrollArea::scrollTo(int x, int y)
{
    // The bars' ranges follow a new image only when the pending layout request
    // is handled; handle it now, or the position would be clamped to the old image.
    QEvent layoutRequest(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &layoutRequest);
    horizontalScrollBar()->setSliderPosition(x);
    verticalScrollBar()->setSliderPosition(y);
}

void ImageScrollArea::wheelEvent(QWheelEvent* event)
{
    // Either orientation zooms; the wheel never scrolls the image.
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta > 0)
        emit zoomInRequested();
    else if (delta < 0)
        emit zoomOutRequested();
    event->accept();
}

void ImageScrollArea::on_horizontalScrollBar_valueChanged(int value)
{
    if (m_display)
        m_display->scrollPosX = value;
}

void ImageScrollArea::on_verticalScrollBar_valueChanged(int value)
{
    if (m_display)
        m_display->scrollPosY = value;
}
