#include "tools/cli/cli_recordings.h"

#include "core/operation_error.h"
#include "image/build_image.h"
#include "image/limit_check.h"
#include "table/list_file.h"
#include "table/recording_file.h"
#include "table/refresh_table.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Adds one recording file as the window's add dialog would; a file the
// window would warn about fails the build with that warning.
void addRecording(RecordingTable &table, const QString &path)
{
    const RecordingFile file = readRecordingFile(path);
    if (file.check != RecordingCheck::Valid)
        throw OperationError(recordingWarning(path, file.check));
    appendRecordingRow(table, path, file.header);
}

void addList(RecordingTable &table, const QString &listPath)
{
    QFile list(listPath);
    openList(list);
    const QString folder = QFileInfo(listPath).absolutePath();
    while (const std::optional<QByteArray> name = ReadListLine(list))
        addRecording(table, resolveListName(decodeListName(*name), folder));
}

} // namespace

RecordingTable recordingTableOf(const QList<RecordingSource> &sources)
{
    RecordingTable table;
    writeHeaderRow(table);
    for (const RecordingSource &source : sources) {
        if (source.isList)
            addList(table, source.path);
        else
            addRecording(table, source.path);
    }
    return table;
}

qint64 buildCheckedImage(RecordingTable &table, const DeviceProfile &profile, const QString &path)
{
    const LimitCheck check = checkLimits(refreshRows(table, profile.pageSize), profile);
    if (check != LimitCheck::Passed)
        throw OperationError(limitMessage(check));
    return BuildImage(table, path);
}
