#include "fuzz/fuzz_support.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

void fuzzCheckFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

QByteArray inputBytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

uint32_t littleEndian32(const char *bytes)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[i]);
    return value;
}

uint16_t littleEndian16(const char *bytes)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8);
}

namespace {

// bench/fuzz-all names a folder of its own, removed after the run, as
// libFuzzer may end a process without running destructors.
QString scratchFolder()
{
    const QString given = qEnvironmentVariable("SOUNDLOADER_FUZZ_SCRATCH");
    if (!given.isEmpty())
        return given;
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

} // namespace

ScratchFile::ScratchFile(const char *name)
    : path_(QStringLiteral("%1/soundloader-fuzz-%2-%3").arg(scratchFolder()).arg(getpid()).arg(QLatin1String(name)))
{
}

ScratchFile::~ScratchFile()
{
    QFile::remove(path_);
}

void ScratchFile::write(const QByteArray &bytes) const
{
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write the scratch file %s\n", qPrintable(path_));
        std::exit(2);
    }
}
