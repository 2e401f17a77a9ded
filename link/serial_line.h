#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// Line settings of an open port; the port reports them and takes them back.
struct LineSettings {
    int32_t baudRate = 0;
    int byteSize = 8;
    bool parity = false;   // false: no parity
    int stopBits = 1;

    bool operator==(const LineSettings &) const = default;
};

// A serial port as the device link uses it. While no port is open every call
// fails without effect: nothing is sent, nothing is read, settings stay.
class SerialLine
{
public:
    virtual ~SerialLine() = default;

    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    virtual bool getSettings(LineSettings &settings) = 0;
    virtual bool setSettings(const LineSettings &settings) = 0;
};

// Changes the line speed of the open port, leaving its other settings as they are.
// Fails without effect when no port is open or the port refuses the speed.
bool setLineSpeed(SerialLine &line, int32_t baudRate);

// The platform's serial line, not yet open.
std::unique_ptr<SerialLine> makeSerialLine();
