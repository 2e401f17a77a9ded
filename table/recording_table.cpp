#include "table/recording_table.h"

#include <algorithm>

void RecordingTable::setRowCount(int count)
{
    rows_.resize(static_cast<size_t>(std::max(count, 1)));
}

void writeHeaderRow(RecordingTable &table)
{
    RecordingTable::Row &header = table.row(0);
    header[ColNumber] = QStringLiteral("№");
    header[ColCode] = QStringLiteral("Код");
    header[ColFileName] = QStringLiteral("Имя файла");
    header[ColSeconds] = QStringLiteral("Секунды");
    header[ColSize] = QStringLiteral("Размер");
    header[ColTypeName] = QStringLiteral("Тип");
}
