#include "tests/support/recording_files.h"

#include <QFile>

#include <stdexcept>

namespace {

void putInt32(QByteArray &bytes, int offset, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

} // namespace

QByteArray recordingBytes(const RecordingSpec &spec)
{
    QByteArray bytes(512, '\0');
    bytes.replace(0, spec.magic.size(), spec.magic);
    putInt32(bytes, 4, spec.dataLength);
    putInt32(bytes, 8, spec.sampleCount);
    putInt32(bytes, 12, spec.durationMs);
    bytes[16] = static_cast<char>(spec.type);
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
