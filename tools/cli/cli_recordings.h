#pragma once

#include "core/device_profile.h"
#include "table/recording_table.h"

#include <QList>
#include <QString>

// A recording file or a list file named on the command line.
struct RecordingSource {
    QString path;
    bool isList = false;
};

// The table the window would hold after adding the sources in order. A
// file the window would warn about throws OperationError with that warning.
RecordingTable recordingTableOf(const QList<RecordingSource> &sources);

// Checks the table against the profile's limits, then builds its image at
// path and returns the image's length. A refusal throws OperationError with
// the message the window shows.
qint64 buildCheckedImage(RecordingTable &table, const DeviceProfile &profile, const QString &path);
