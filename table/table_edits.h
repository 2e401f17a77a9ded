#pragma once

#include "table/recording_table.h"

// Edits of the recording rows. None of them refreshes the table.

// Removes recording row `row` (1 to rowCount - 1); the rows below move up.
void removeRecordingRow(RecordingTable &table, int row);

// Exchanges the recordings of `row` and of the row below it (columns 2 to 14):
// numbers and code patterns stay with the positions.
void SwapRows(RecordingTable &table, int row);
