#pragma once

#include "table/recording_table.h"

#include <QColor>
#include <QFont>
#include <QPalette>

// How one cell of the recording grid is drawn.
struct CellStyle {
    QFont font;
    QColor text;
    QColor background;
    bool codeMarkers = false; // code glyphs drawn as hollow and filled markers
    bool alignRight = false;  // seconds and size end at the right edge
};

// The style of a cell of the table. The header row has the palette's button
// colour, recording rows its base (window) colour, both as in an active
// window, so a disabled grid looks the same; the selected row is bold
// but for its code column; columns 0-4 of a row not enabled are grey; the
// code column of an enabled row is red markers on black.
CellStyle cellStyleOf(const RecordingTable &table, int row, int column, int selectedRow,
                      const QPalette &palette);
