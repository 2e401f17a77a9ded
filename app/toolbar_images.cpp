#include "app/toolbar_images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

const QColor kInk(60, 60, 60);
const QColor kGreen(30, 140, 40);
const QColor kRed(200, 30, 30);
const QColor kPaper(250, 250, 250);
const QColor kMetal(150, 160, 180);

// Every picture: 16 x 16, dark outlines on light fills, one coloured mark.
QIcon drawn(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

// A sheet with lines of text; the list. Its edges lie on whole pixels.
void listSheet(QPainter &p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 1.5, 9, 13));
    p.setPen(QPen(QColor(140, 140, 140), 1));
    for (double y = 4.5; y < 13; y += 2.5)
        p.drawLine(QPointF(4.5, y), QPointF(9.5, y));
}

// A mark of bold strokes, with a light rim that parts it from the sheet below.
void mark(QPainter &p, const QColor &color, std::initializer_list<QLineF> strokes)
{
    for (const QPen &pen : {QPen(kPaper, 4.6, Qt::SolidLine, Qt::RoundCap), QPen(color, 2.4, Qt::SolidLine, Qt::RoundCap)}) {
        p.setPen(pen);
        for (const QLineF &stroke : strokes)
            p.drawLine(stroke);
    }
}

void speaker(QPainter &p)
{
    QPainterPath cone;
    cone.moveTo(1.5, 5.5);
    cone.lineTo(4.5, 5.5);
    cone.lineTo(8.5, 2.5);
    cone.lineTo(8.5, 13.5);
    cone.lineTo(4.5, 10.5);
    cone.lineTo(1.5, 10.5);
    cone.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kMetal);
    p.drawPath(cone);
}

void addPicture(QPainter &p)
{
    listSheet(p);
    mark(p, kGreen, {{12, 8.5, 12, 14.5}, {9, 11.5, 15, 11.5}});
}

void deleteRowPicture(QPainter &p)
{
    listSheet(p);
    mark(p, kRed, {{9, 11.5, 15, 11.5}});
}

void clearListPicture(QPainter &p)
{
    listSheet(p);
    mark(p, kRed, {{9.5, 9, 14.5, 14}, {14.5, 9, 9.5, 14}});
}

void openListPicture(QPainter &p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(230, 190, 80));
    QPainterPath folder;
    folder.moveTo(1.5, 3.5);
    folder.lineTo(6, 3.5);
    folder.lineTo(7.5, 5);
    folder.lineTo(14.5, 5);
    folder.lineTo(14.5, 13.5);
    folder.lineTo(1.5, 13.5);
    folder.closeSubpath();
    p.drawPath(folder);
}

void previewOffPicture(QPainter &p)
{
    speaker(p);
}

// The speaker sounding: two waves in the mark's green.
void previewOnPicture(QPainter &p)
{
    speaker(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGreen, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(7, 5, 5, 6), -55 * 16, 110 * 16);
    p.drawArc(QRectF(6, 2, 9, 12), -55 * 16, 110 * 16);
}

void okPicture(QPainter &p)
{
    QPainterPath tick;
    tick.moveTo(2, 8.5);
    tick.lineTo(6, 12.5);
    tick.lineTo(14, 3.5);
    p.setPen(QPen(kGreen, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

} // namespace

QList<QIcon> makeToolbarImages()
{
    return {drawn(addPicture),        drawn(deleteRowPicture), drawn(clearListPicture),
            drawn(openListPicture),   drawn(previewOffPicture), drawn(previewOnPicture),
            drawn(okPicture)};
}

QPixmap makeLogo()
{
    QPixmap logo(111, 50);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient face(0, 0, 0, 50);
    face.setColorAt(0, QColor(40, 70, 130));
    face.setColorAt(1, QColor(15, 30, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, 110, 49), 6, 6);

    // A decaying tone as the mark of a sound tool.
    QPainterPath wave;
    for (int x = 0; x <= 100; ++x) {
        const double amplitude = 14.0 * std::exp(-x / 45.0);
        const double y = 25 - amplitude * std::sin(x * 0.45);
        x == 0 ? wave.moveTo(5 + x, y) : wave.lineTo(5 + x, y);
    }
    p.setPen(QPen(QColor(120, 220, 255), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    return logo;
}

// The same drawing as packaging/soundloader.svg, on its 64-unit grid: a
// speaker sounding and an arrow up into the device.
QIcon makeProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);

        QLinearGradient face(0, 2, 0, 62);
        face.setColorAt(0, QColor(0x28, 0x46, 0x82));
        face.setColorAt(1, QColor(0x0f, 0x1e, 0x46));
        p.setPen(Qt::NoPen);
        p.setBrush(face);
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

        p.setBrush(QColor(0xd0, 0xd8, 0xe8));
        p.drawPolygon(QPolygonF({{10, 26}, {18, 26}, {30, 16}, {30, 48}, {18, 38}, {10, 38}}));
        p.setBrush(QColor(0x5a, 0xd2, 0x5a));
        p.drawPolygon(QPolygonF({{40, 54}, {56, 54}, {48, 46}}));

        QPainterPath waves;
        waves.moveTo(38, 22);
        waves.quadTo(46, 32, 38, 42);
        waves.moveTo(45, 16);
        waves.quadTo(58, 32, 45, 48);
        p.setPen(QPen(QColor(0x78, 0xdc, 0xff), 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(waves);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
