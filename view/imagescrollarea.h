#pragma once

#include <QScrollArea>

struct DisplayState;
class QWheelEvent;

// Scroll area of a result view. It records every scroll-bar change in the
// document's shared position, and turns the mouse wheel into zoom requests
// instead of scrolling.
class ImageScrollArea : public QScrollArea {
    Q_OBJECT

public:
    explicit ImageScrollArea(QWidget* parent = nullptr);

    // The position this area writes to; null until its view is given one.
    void shareScrollPosition(DisplayState* display);
    // Moves both bars to (x, y), clamped to what the current image can reach.
    void scrollTo(int x, int y);

signals:
    void zoomInRequested();
    void zoomOutRequested();

protected:
    void wheelEvent(QWheelEvent* event) override;

private slots:
    void on_horizontalScrollBar_valueChanged(int value);
    void on_verticalScrollBar_valueChanged(int value);

private:
    DisplayState* m_display = nullptr;
};
