#include "link/serial_line.h"

namespace {

// Until ports can be opened, the line is one that is never open.
class PosixSerialLine final : public SerialLine
{
public:
    bool isOpen() const override { return false; }
    void close() override {}
    bool getSettings(LineSettings &) override { return false; }
    bool setSettings(const LineSettings &) override { return false; }
};

} // namespace

std::unique_ptr<SerialLine> makeSerialLine()
{
    return std::make_unique<PosixSerialLine>();
}
