#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <span>

// Line settings of an open port; the port reports them and takes them back.
struct LineSettings {
    int32_t baudRate = 0;
    int byteSize = 8;
    bool parity = false;   // false: no parity
    int stopBits = 1;

    bool operator==(const LineSettings &) const = default;
};

// Time-outs in milliseconds. A read returns when the requested bytes have
// arrived or when readMultiplier x requested bytes + readConstant have passed;
// a write likewise with the write pair. A pair of zeros means no time-out.
struct LineTimeouts {
    int readMultiplierMs = 0;
    int readConstantMs = 0;
    int writeMultiplierMs = 0;
    int writeConstantMs = 0;

    bool operator==(const LineTimeouts &) const = default;
};

enum class PurgeQueue { Receive, Transmit };

// Why a port could not be opened: the window stays silent about it, but a
// tooltip and the command line explain it.
enum class OpenStatus { Opened, InUse, NoPermission, Missing, Failed };

struct OpenResult {
    OpenStatus status = OpenStatus::Failed;
    QString detail; // what went wrong (Failed), or how to get access (NoPermission)

    bool opened() const { return status == OpenStatus::Opened; }
};

// The reason an open failed, in the program's words.
QString openFailureText(const OpenResult &result, const QString &path);

// A serial port as the device link uses it. While no port is open every call
// fails without effect: nothing is sent, nothing is read, settings stay.
// One thread may read while another writes; close() wakes both.
class SerialLine
{
public:
    virtual ~SerialLine() = default;

    // Opens the device at path for this line alone, closing what was open.
    virtual OpenResult open(const QString &path) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    virtual bool getSettings(LineSettings &settings) = 0;
    virtual bool setSettings(const LineSettings &settings) = 0;
    virtual bool setTimeouts(const LineTimeouts &timeouts) = 0;
    virtual bool setQueueSizes(int inputBytes, int outputBytes) = 0;
    // Throws away bytes received and not yet read, or not yet sent.
    virtual bool purge(PurgeQueue queue) = 0;

    // Blocks under the read time-outs; returns the number of bytes read,
    // 0 after a time-out with nothing received.
    virtual int64_t read(std::span<char> buffer) = 0;
    // Blocks until every byte is handed to the driver or the write time-outs
    // pass; true when all were handed over.
    virtual bool write(std::span<const char> bytes) = 0;
};

// Changes the line speed of the open port, leaving its other settings as they are.
// Fails without effect when no port is open or the port refuses the speed.
bool setLineSpeed(SerialLine &line, int32_t baudRate);

// The platform's serial line, not yet open.
std::unique_ptr<SerialLine> makeSerialLine();
