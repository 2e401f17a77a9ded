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

QIcon drawn(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

void listSheet(QPainter &p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 1.5, 10, 13));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (double y = 4.5; y < 14; y += 3)
        p.drawLine(QPointF(3.5, y), QPointF(9.5, y));
}

void thickLine(QPainter &p, const QColor &color, QPointF from, QPointF to)
{
    p.setPen(QPen(color, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
}

void speaker(QPainter &p)
{
    QPainterPath cone;
    cone.moveTo(1.5, 6);
    cone.lineTo(4.5, 6);
    cone.lineTo(8.5, 2.5);
    cone.lineTo(8.5, 13.5);
    cone.lineTo(4.5, 10);
    cone.lineTo(1.5, 10);
    cone.closeSubpath();
    p.setPen(kInk);
    p.setBrush(QColor(150, 150, 150));
    p.drawPath(cone);
}

void addPicture(QPainter &p)
{
    listSheet(p);
    thickLine(p, kGreen, {11.5, 7.5}, {11.5, 14.5});
    thickLine(p, kGreen, {8, 11}, {15, 11});
}

void deleteRowPicture(QPainter &p)
{
    listSheet(p);
    thickLine(p, kRed, {7.5, 11}, {15, 11});
}

void clearListPicture(QPainter &p)
{
    listSheet(p);
    thickLine(p, kRed, {8, 7.5}, {15, 14.5});
    thickLine(p, kRed, {15, 7.5}, {8, 14.5});
}

void openListPicture(QPainter &p)
{
    p.setPen(kInk);
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

void previewOnPicture(QPainter &p)
{
    speaker(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGreen, 1.3));
    p.drawArc(QRectF(6, 5, 5, 6), -60 * 16, 120 * 16);
    p.drawArc(QRectF(5, 2.5, 9, 11), -60 * 16, 120 * 16);
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
