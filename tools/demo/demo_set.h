#pragma once

#include "tools/demo/recording_writer.h"

#include <QString>
#include <QStringList>

#include <vector>

// The recordings a newcomer tries the program with: two tones and a sweep,
// each in every encoding.
struct DemoRecording {
    QString fileName;
    Encoding encoding;
    std::vector<int16_t> signal;
};

std::vector<DemoRecording> demoRecordings();

// The list file beside them that names them all, for "Добавить список".
inline constexpr char kDemoListName[] = "demo-list.txt";

// Writes every demo recording and the list into folder, which is made if
// missing. Returns the recordings' paths; throws std::runtime_error (or the
// list writer's OperationError) naming what failed.
QStringList writeDemoRecordings(const QString &folder);
