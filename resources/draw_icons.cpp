// Draws the program's icons into a folder: zentavo_draw_icons <folder>.
// The PNGs under resources/icons/ were made with it; rerun it after a change here.
#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Everything is drawn on a 256-unit square (or its height share) and scaled to the picture.
void beginPainter(QPainter& painter, QImage& image, qreal units)
{
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(image.width() / units, image.width() / units);
}

QImage openIcon()
{
    QImage image = blankImage(128, 128);
    QPainter p;
    beginPainter(p, image, 256);
    const QColor outline(150, 95, 10);
    p.setPen(QPen(outline, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // back of the folder with its tab
    QPainterPath back;
    back.moveTo(24, 60);
    back.lineTo(96, 60);
    back.lineTo(114, 80);
    back.lineTo(220, 80);
    back.lineTo(220, 206);
    back.lineTo(24, 206);
    back.closeSubpath();
    QLinearGradient backFill(0, 60, 0, 206);
    backFill.setColorAt(0, QColor(240, 190, 70));
    backFill.setColorAt(1, QColor(215, 150, 30));
    p.setBrush(backFill);
    p.drawPath(back);
    // a sheet sticking out
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(120, 120, 120), 4));
    p.drawRect(QRectF(56, 92, 140, 90));
    // front flap, tilted open
    QPainterPath front;
    front.moveTo(14, 118);
    front.lineTo(200, 118);
    front.lineTo(232, 206);
    front.lineTo(24, 206);
    front.closeSubpath();
    QLinearGradient frontFill(0, 118, 0, 206);
    frontFill.setColorAt(0, QColor(255, 214, 102));
    frontFill.setColorAt(1, QColor(235, 170, 40));
    p.setBrush(frontFill);
    p.setPen(QPen(outline, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(front);
    p.end();
    return image;
}

QImage saveIcon()
{
    QImage image = blankImage(256, 256);
    QPainter p;
    beginPainter(p, image, 256);
    // disk body with a cut corner
    QPainterPath body;
    body.moveTo(28, 28);
    body.lineTo(196, 28);
    body.lineTo(228, 60);
    body.lineTo(228, 228);
    body.lineTo(28, 228);
    body.closeSubpath();
    QLinearGradient bodyFill(0, 28, 256, 228);
    bodyFill.setColorAt(0, QColor(60, 110, 200));
    bodyFill.setColorAt(1, QColor(25, 60, 140));
    p.setPen(QPen(QColor(15, 35, 90), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(bodyFill);
    p.drawPath(body);
    // metal shutter
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(70, 31, 110, 64));
    p.setBrush(QColor(25, 60, 140));
    p.drawRect(QRectF(146, 42, 22, 42));
    // label
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(QRectF(56, 126, 144, 94), 8, 8);
    p.setPen(QPen(QColor(170, 180, 200), 5));
    for (int y = 150; y <= 198; y += 24)
        p.drawLine(QPointF(72, y), QPointF(184, y));
    p.end();
    return image;
}

QImage aboutIcon()
{
    QImage image = blankImage(256, 256);
    QPainter p;
    beginPainter(p, image, 256);
    QRadialGradient fill(QPointF(100, 90), 170);
    fill.setColorAt(0, QColor(90, 160, 240));
    fill.setColorAt(1, QColor(20, 80, 170));
    p.setPen(QPen(QColor(10, 50, 120), 6));
    p.setBrush(fill);
    p.drawEllipse(QPointF(128, 128), 112, 112);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(128, 70), 17, 17);
    p.drawRoundedRect(QRectF(112, 104, 32, 104), 10, 10);
    p.end();
    return image;
}

// A small picture growing into a large one: the program's mark.
QImage logo()
{
    QImage image = blankImage(128, 108);
    QPainter p;
    beginPainter(p, image, 256);
    const QColor ink(20, 90, 110);
    // large picture with a mountain and a sun
    const QRectF large(70, 8, 178, 150);
    p.setPen(QPen(ink, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient sky(0, large.top(), 0, large.bottom());
    sky.setColorAt(0, QColor(150, 215, 240));
    sky.setColorAt(1, QColor(225, 245, 250));
    p.setBrush(sky);
    p.drawRoundedRect(large, 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 190, 40));
    p.drawEllipse(QPointF(200, 50), 18, 18);
    QPainterPath mountains;
    mountains.moveTo(74, 154);
    mountains.lineTo(130, 74);
    mountains.lineTo(168, 122);
    mountains.lineTo(192, 96);
    mountains.lineTo(244, 154);
    mountains.closeSubpath();
    p.setBrush(QColor(40, 140, 100));
    p.drawPath(mountains);
    // small picture in front
    const QRectF small(8, 128, 80, 76);
    p.setPen(QPen(ink, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(small, 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 140, 100));
    QPainterPath hill;
    hill.moveTo(14, 198);
    hill.lineTo(44, 156);
    hill.lineTo(82, 198);
    hill.closeSubpath();
    p.drawPath(hill);
    // arrow from the small picture to the large one
    p.setPen(QPen(QColor(220, 70, 40), 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(100, 188), QPointF(150, 150));
    QPainterPath head;
    head.moveTo(170, 134);
    head.lineTo(132, 140);
    head.lineTo(158, 168);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 70, 40));
    p.drawPath(head);
    p.end();
    return image;
}

// A magnifying glass; `plus` chooses the sign in its lens.
QImage zoomIcon(bool plus)
{
    QImage image = blankImage(256, 256);
    QPainter p;
    beginPainter(p, image, 256);
    p.setPen(QPen(QColor(70, 50, 35), 30, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(160, 160), QPointF(228, 228));
    QRadialGradient glass(QPointF(90, 90), 110);
    glass.setColorAt(0, QColor(235, 248, 255));
    glass.setColorAt(1, QColor(170, 210, 235));
    p.setPen(QPen(QColor(60, 70, 85), 16));
    p.setBrush(glass);
    p.drawEllipse(QPointF(108, 108), 80, 80);
    p.setPen(QPen(plus ? QColor(30, 140, 60) : QColor(200, 50, 40), 20, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(72, 108), QPointF(144, 108));
    if (plus)
        p.drawLine(QPointF(108, 72), QPointF(108, 144));
    p.end();
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zentavo_draw_icons <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const struct {
        const char* name;
        QImage image;
    } icons[] = {
        {"open_icon.png", openIcon()}, {"save_icon.png", saveIcon()}, {"about_logo.png", aboutIcon()},
        {"logo.png", logo()},          {"zoom_in.png", zoomIcon(true)}, {"zoom_out.png", zoomIcon(false)},
    };
    for (const auto& icon : icons) {
        const QString path = folder.filePath(QString::fromLatin1(icon.name));
        if (!icon.image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
