#include "link/device_detection.h"

#include "link/version_line.h"

#include <array>
#include <cstring>
#include <string_view>

int Detection::deviceState() const
{
    switch (answer) {
    case DeviceAnswer::ModePrompt: return 1;
    case DeviceAnswer::VersionLine: return 2;
    default: return 0;
    }
}

std::optional<DeviceModel> Detection::model() const
{
    switch (answer) {
    case DeviceAnswer::ModePrompt: return DeviceModel::Records32;
    case DeviceAnswer::VersionLine: return DeviceModel::Records99;
    default: return std::nullopt;
    }
}

DeviceAnswer interpretAnswer(QByteArrayView reply, DeviceProfile &profile, bool automatic)
{
    if (reply.isEmpty())
        return DeviceAnswer::None;
    const std::string_view text(reply.data(), strnlen(reply.data(), size_t(reply.size())));
    if (text.find(kModePrompt) != std::string_view::npos) {
        if (automatic)
            profile = fixedProfile(DeviceModel::Records32);
        return DeviceAnswer::ModePrompt;
    }
    if (readVersionLine(text, profile) < 3)
        return DeviceAnswer::Unrecognised;
    if (automatic) {
        profile.blockSize = profile.pageSize;
        profile.protocol = ProtocolVariant::PageBlock;
        profile.reservedPages = kVersionLineReservedPages;
        profile.maxVolume = maxVolumeOf(profile.pageCount, profile.reservedPages, profile.pageSize);
    }
    return DeviceAnswer::VersionLine;
}

Detection detectDevice(SerialLine &line, DeviceProfile &profile, bool automatic)
{
    line.purge(PurgeQueue::Receive);
    const char request = kIdentificationRequest;
    line.write({&request, 1});
    std::array<char, kAnswerBytes> answer;
    const int64_t received = line.read(answer);
    Detection detection;
    detection.reply = QByteArray(answer.data(), qsizetype(received));
    detection.answer = interpretAnswer(detection.reply, profile, automatic);
    return detection;
}

void alternateLineSpeed(SerialLine &line)
{
    LineSettings settings;
    if (!line.getSettings(settings))
        return;
    const int32_t fast = lineSpeedOf(DeviceModel::Records99);
    const int32_t slow = lineSpeedOf(DeviceModel::Records32);
    settings.baudRate = settings.baudRate == slow ? fast : slow;
    line.setSettings(settings);
}
