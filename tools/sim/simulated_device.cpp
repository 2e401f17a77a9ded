#include "tools/sim/simulated_device.h"

namespace {

// The device's own words, kept apart from the program's copy so that tests
// catch a program that expects something else.
constexpr char kModePromptLine[] = "Select mode. T (test) or L (loading) >\r\n";

} // namespace

QByteArray SimulatedDevice::receive(QByteArrayView bytes, int32_t lineSpeed)
{
    // At a speed other than its own a device hears noise, and answers nothing.
    if (options_.baudRate && *options_.baudRate != lineSpeed)
        return {};
    QByteArray answer;
    for (const char byte : bytes)
        if (byte == '\r')
            answer += identification();
    return answer;
}

QByteArray SimulatedDevice::identification() const
{
    if (options_.silent)
        return {};
    if (options_.reply)
        return *options_.reply;
    if (options_.model == DeviceModel::Records32)
        return kModePromptLine;
    return options_.versionLine + "\r\n";
}
