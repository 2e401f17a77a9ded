#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What a fuzz target asserts: a broken invariant aborts, and libFuzzer keeps
// the input that broke it.
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : fuzzCheckFailed(#condition, __FILE__, __LINE__))

[[noreturn]] void fuzzCheckFailed(const char *condition, const char *file, int line);

// The fuzz input as bytes, without a copy.
QByteArray inputBytes(const uint8_t *data, size_t size);

uint32_t littleEndian32(const char *bytes);
uint16_t littleEndian16(const char *bytes);

// A file in memory-backed storage that a target rewrites for every input,
// for the readers that take a path. One per process and name.
class ScratchFile
{
public:
    explicit ScratchFile(const char *name);
    ~ScratchFile();
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;

    const QString &path() const { return path_; }
    void write(const QByteArray &bytes) const;

private:
    QString path_;
};
