#include "tests/support/recording_files.h"

#include "tools/demo/recording_writer.h"

#include <QFile>

#include <stdexcept>

QByteArray recordingBytes(const RecordingSpec &spec)
{
    QByteArray bytes = recordingHeader(spec.dataLength, spec.sampleCount, spec.durationMs, spec.type);
    bytes.replace(0, 4, spec.magic.leftJustified(4, '\0', true));
    return bytes + spec.data;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
    return path;
}

QString writeRecording(const QString &path, const RecordingSpec &spec)
{
    return writeFile(path, recordingBytes(spec));
}
