#include "table/cell_painter.h"
#include "table/refresh_table.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);
const QColor kButtonFace(212, 208, 200);
const QColor kWindow(250, 250, 240);

QPalette systemColours()
{
    QPalette palette;
    palette.setColor(QPalette::Button, kButtonFace);
    palette.setColor(QPalette::Base, kWindow);
    return palette;
}

// Row 1 enabled, rows 2 and 3 not ("0", and "1 " which is not exactly "1").
RecordingTable tableOfThree()
{
    RecordingTable table;
    table.setRowCount(4);
    table.setCell(1, ColEnabled, QStringLiteral("1"));
    table.setCell(2, ColEnabled, QStringLiteral("0"));
    table.setCell(3, ColEnabled, QStringLiteral("1 "));
    return table;
}

// A white image at 96 dots per inch, as the screen has.
QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

// Columns of the image with a pixel unlike the background, left to right.
std::vector<int> inkColumns(const QImage &image, QRgb background)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != background) {
                columns.push_back(x);
                break;
            }
    return columns;
}

int topInkRow(const QImage &image, QRgb background)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                return y;
    return -1;
}

QImage drawnCell(const QRect &cell, const CellStyle &style, const QString &text, int width = 100)
{
    QImage image = canvas(width, 20);
    QPainter painter(&image);
    sgridDrawCell(painter, cell, style, text);
    return image;
}

} // namespace

TEST(CellStyle, FollowsRowColumnSelectionAndEnabledFlag)
{
    struct Expected {
        int row;
        int column;
        bool bold;
        int points;
        QColor text;
        QColor background;
        bool markers;
        bool right;
    };
    const RecordingTable table = tableOfThree();
    const int selected = 1;
    for (const Expected &e : {
             // The header is never bold, whatever is selected.
             Expected{0, ColCode, false, 9, kBlack, kButtonFace, false, false},
             Expected{0, ColSeconds, false, 9, kBlack, kButtonFace, false, true},
             Expected{1, ColNumber, true, 9, kBlack, kWindow, false, false},
             Expected{1, ColCode, false, 7, kRed, kBlack, true, false},
             Expected{1, ColSize, true, 9, kBlack, kWindow, false, true},
             Expected{1, ColTypeName, true, 9, kBlack, kWindow, false, false},
             Expected{2, ColNumber, false, 9, kGrey, kWindow, false, false},
             Expected{2, ColCode, false, 9, kGrey, kWindow, false, false},
             Expected{2, ColSeconds, false, 9, kGrey, kWindow, false, true},
             Expected{2, ColTypeName, false, 9, kBlack, kWindow, false, false},
             Expected{3, ColCode, false, 9, kGrey, kWindow, false, false},
         }) {
        SCOPED_TRACE(testing::Message() << "row " << e.row << ", column " << e.column);
        const CellStyle style = cellStyleOf(table, e.row, e.column, selected, systemColours());
        EXPECT_EQ(style.font.family(), "Arial");
        EXPECT_EQ(style.font.bold(), e.bold);
        EXPECT_EQ(style.font.pointSize(), e.points);
        EXPECT_EQ(style.text, e.text);
        EXPECT_EQ(style.background, e.background);
        EXPECT_EQ(style.codeMarkers, e.markers);
        EXPECT_EQ(style.alignRight, e.right);
    }

    // A disabled grid (during an upload) keeps its colours.
    QPalette disabled = systemColours();
    disabled.setColor(QPalette::Disabled, QPalette::Base, Qt::gray);
    disabled.setCurrentColorGroup(QPalette::Disabled);
    EXPECT_EQ(cellStyleOf(table, 1, ColFileName, selected, disabled).background, kWindow);

    // A selected row that is not enabled is grey and bold.
    const CellStyle greyBold = cellStyleOf(table, 2, ColFileName, 2, systemColours());
    EXPECT_TRUE(greyBold.font.bold());
    EXPECT_EQ(greyBold.text, kGrey);
}

TEST(CellPainter, TextStaysTwoPixelsInsideItsCell)
{
    CellStyle style = cellStyleOf(tableOfThree(), 1, ColFileName, 0, systemColours());
    const QRgb white = qRgb(255, 255, 255);
    style.background = Qt::white;
    const QRect cell(10, 0, 60, 16);

    const std::vector<int> left = inkColumns(drawnCell(cell, style, "88"), white);
    ASSERT_FALSE(left.empty());
    EXPECT_GE(left.front(), cell.left() + 2);
    EXPECT_LE(left.front(), cell.left() + 3);
    EXPECT_GE(topInkRow(drawnCell(cell, style, "88"), white), cell.top() + 2);

    style.alignRight = true;
    const std::vector<int> right = inkColumns(drawnCell(cell, style, "88"), white);
    ASSERT_FALSE(right.empty());
    EXPECT_LE(right.back(), cell.right() - 2);
    EXPECT_GE(right.back(), cell.right() - 3);

    // Text too wide for the cell is cut at the cell's edge.
    const QString wide(40, 'W');
    EXPECT_EQ(inkColumns(drawnCell(cell, style, wide), white).front(), cell.left());
    style.alignRight = false;
    EXPECT_EQ(inkColumns(drawnCell(cell, style, wide), white).back(), cell.right());
}

TEST(CellPainter, CodeGlyphsAreFilledAndHollowMarkersOnBlack)
{
    const CellStyle style = cellStyleOf(tableOfThree(), 1, ColCode, 0, systemColours());
    const QRect cell(0, 0, 90, 16);
    // Pattern 1 is 01111111: a hollow marker, then seven filled ones.
    const QImage image = drawnCell(cell, style, codePatternGlyphs(1));

    EXPECT_EQ(image.pixelColor(cell.right(), cell.bottom()), kBlack);
    EXPECT_EQ(image.pixelColor(cell.right() + 1, 0), QColor(Qt::white));

    // Count the red pixels of each marker; markers are apart by black columns.
    std::vector<int> markers;
    bool inMarker = false;
    for (int x = cell.left(); x <= cell.right(); ++x) {
        int red = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            red += image.pixelColor(x, y).red() > 128 ? 1 : 0;
        if (red > 0 && !inMarker)
            markers.push_back(0);
        if (red > 0)
            markers.back() += red;
        inMarker = red > 0;
    }
    ASSERT_EQ(markers.size(), 8u);
    for (size_t i = 1; i < markers.size(); ++i) {
        EXPECT_NEAR(markers[i], markers[1], markers[1] / 4);
        EXPECT_LT(markers[0] * 3, markers[i] * 2) << "the first marker is not hollow";
    }
}
