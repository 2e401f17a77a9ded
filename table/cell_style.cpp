#include "table/cell_style.h"

namespace {

constexpr int kTextPoints = 9;
constexpr int kCodePoints = 7;
const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);

} // namespace

CellStyle cellStyleOf(const RecordingTable &table, int row, int column, int selectedRow,
                      const QPalette &palette)
{
    CellStyle style;
    style.font = QFont(QStringLiteral("Arial"), kTextPoints);
    style.text = kBlack;
    style.alignRight = column == ColSeconds || column == ColSize;
    if (row == 0) {
        style.background = palette.color(QPalette::Active, QPalette::Button);
        return style;
    }

    style.background = palette.color(QPalette::Active, QPalette::Base);
    style.font.setBold(row == selectedRow);
    if (column <= ColSize && table.cell(row, ColEnabled) != QLatin1String("1")) {
        style.text = kGrey;
    } else if (column == ColCode) {
        style.font.setPointSize(kCodePoints);
        style.font.setBold(false);
        style.codeMarkers = true;
        style.text = kRed;
        style.background = kBlack;
    }
    return style;
}
