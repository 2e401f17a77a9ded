#include "tests/support/recording_files.h"

#include "tools/demo/recording_writer.h"

#include <QFile>

#include <stdexcept>

QByteArray recordingBytes(const RecordingFields &fields)
{
    QByteArray bytes = recordingHeader(fields.dataLength, fields.sampleCount, fields.durationMs, fields.type);
    bytes.replace(0, 4, fields.magic.leftJustified(4, '\0', true));
    return bytes + fields.data;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
    return path;
}

QString writeRecording(const QString &path, const RecordingFields &fields)
{
    return writeFile(path, recordingBytes(fields));
}
