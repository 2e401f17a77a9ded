#include "table/cell_painter.h"

#include "table/refresh_table.h"

#include <QPaintDevice>
#include <QPainter>
#include <QStyleOption>

#include <cmath>

namespace {

constexpr int kTextOffset = 2;

// The code glyphs as markers, one em apart, in place of a symbol font.
void drawCodeMarkers(QPainter &painter, const QRect &cell, const CellStyle &style,
                     const QString &glyphs)
{
    const qreal em = style.font.pointSizeF() * painter.device()->logicalDpiY() / 72.0;
    const qreal diameter = std::round(em * 0.7);
    const qreal lineHeight = QFontMetricsF(style.font, painter.device()).height();
    const qreal top = cell.top() + kTextOffset + std::round((lineHeight - diameter) / 2);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(style.text, 1));
    qreal left = cell.left() + kTextOffset;
    for (const QChar glyph : glyphs) {
        const QRectF box(left, top, diameter, diameter);
        if (glyph == kCodeGlyphOn) {
            painter.setBrush(style.text);
            painter.drawEllipse(box);
        } else if (glyph == kCodeGlyphOff) {
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        left += em;
    }
}

QColor gridLineColour(const QWidget &widget)
{
    QStyleOption option;
    option.initFrom(&widget);
    return QColor::fromRgba(
        static_cast<QRgb>(widget.style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &widget)));
}

} // namespace

void sgridDrawCell(QPainter &painter, const QRect &cell, const CellStyle &style, const QString &text)
{
    painter.save();
    painter.setClipRect(cell);
    painter.fillRect(cell, style.background);
    painter.setFont(style.font);
    painter.setPen(style.text);
    if (style.codeMarkers) {
        drawCodeMarkers(painter, cell, style, text);
    } else {
        const QRect area = cell.adjusted(kTextOffset, kTextOffset, -kTextOffset, 0);
        const int alignment = style.alignRight ? Qt::AlignRight : Qt::AlignLeft;
        painter.drawText(area, alignment | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
    }
    painter.restore();
}

RecordingCellDelegate::RecordingCellDelegate(const RecordingTable &table,
                                             std::function<int()> selectedRow, QObject *parent)
    : QStyledItemDelegate(parent), table_(table), selectedRow_(std::move(selectedRow))
{
}

void RecordingCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    // Model row r shows table row r + 1.
    const int row = index.row() + 1;
    const CellStyle style = cellStyleOf(table_, row, index.column(), selectedRow_(), option.palette);
    sgridDrawCell(*painter, option.rect, style, table_.cell(row, index.column()));
}

RecordingHeaderView::RecordingHeaderView(const RecordingTable &table, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), table_(table)
{
}

void RecordingHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    // The grid's lines run on to the header: one on the right, one below.
    const QRect cell = rect.adjusted(0, 0, -1, -1);
    const CellStyle style = cellStyleOf(table_, 0, logicalIndex, -1, palette());
    sgridDrawCell(*painter, cell, style, table_.cell(0, logicalIndex));
    painter->setPen(gridLineColour(*this));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
}
