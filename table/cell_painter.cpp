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
    const qreal diameter = std::round(em * 0.8);
    const qreal lineHeight = QFontMetricsF(style.font, painter.device()).height();
    const qreal top = cell.top() + kTextOffset + std::round((lineHeight - diameter) / 2);

    // The ring lies inside the box, so both markers are the same size.
    constexpr qreal kRingWidth = 1.3;
    constexpr qreal kInset = kRingWidth / 2;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(style.text, kRingWidth));
    qreal left = cell.left() + kTextOffset;
    for (const QChar glyph : glyphs) {
        // Blanks (past the 32nd numbered row) leave their place empty.
        if (glyph == kCodeGlyphOn || glyph == kCodeGlyphOff) {
            painter.setBrush(glyph == kCodeGlyphOn ? QBrush(style.text) : QBrush());
            painter.drawEllipse(
                QRectF(left, top, diameter, diameter).adjusted(kInset, kInset, -kInset, -kInset));
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
