// The detection's reading of an answer: the version line parse against the C
// library's sscanf with the same format, and what a recognised answer
// leaves in the device profile. The first input byte chooses the automatic
// mode; the rest is the answer.
#include "fuzz/fuzz_support.h"
#include "link/device_detection.h"
#include "link/version_line.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Values no version line may leave, to see which fields were written.
DeviceProfile untouchedProfile()
{
    DeviceProfile profile = fixedProfile(DeviceModel::Records32);
    profile.pageCount = -7;
    profile.pageSize = -7;
    profile.maxRecords = -7;
    return profile;
}

bool hasLongNumber(std::string_view text)
{
    int digits = 0;
    for (const char c : text) {
        digits = c >= '0' && c <= '9' ? digits + 1 : 0;
        if (digits > 9)
            return true;
    }
    return false;
}

bool takes(int field, int64_t value)
{
    switch (field) {
    case 0: return value >= kSmallestPageCount && value <= kLargestPageCount;
    case 1: return value >= 1 && value <= kLargestPageSize;
    default: return value >= 1 && value <= kLargestMaxRecords;
    }
}

int32_t fieldOf(const DeviceProfile &profile, int field)
{
    return field == 0 ? profile.pageCount : field == 1 ? profile.pageSize : profile.maxRecords;
}

void checkVersionLine(std::string_view text)
{
    DeviceProfile profile = untouchedProfile();
    const int stored = readVersionLine(text, profile);
    FUZZ_CHECK(stored >= 0 && stored <= 3);
    DeviceProfile others = profile;
    others.pageCount = others.pageSize = others.maxRecords = -7;
    FUZZ_CHECK(others == untouchedProfile());
    for (int field = 0; field < 3; ++field)
        FUZZ_CHECK(field < stored ? takes(field, fieldOf(profile, field)) : fieldOf(profile, field) == -7);

    // sscanf reads numbers of any length with overflow left undefined; with
    // at most nine digits each it must agree up to the first value refused.
    if (hasLongNumber(text))
        return;
    const std::string terminated(text);
    int scanned[3] = {0, 0, 0};
    const int count = std::max(0, std::sscanf(terminated.c_str(), kVersionLineFormat, &scanned[0], &scanned[1], &scanned[2]));
    for (int field = 0; field < stored; ++field)
        FUZZ_CHECK(scanned[field] == fieldOf(profile, field));
    if (stored < 3)
        FUZZ_CHECK(count == stored || (count > stored && !takes(stored, scanned[stored])));
}

void checkAnswer(const QByteArray &reply, bool automatic)
{
    DeviceProfile profile = untouchedProfile();
    const DeviceAnswer answer = interpretAnswer(reply, profile, automatic);
    const std::string_view text(reply.constData(), strnlen(reply.constData(), size_t(reply.size())));
    if (reply.isEmpty()) {
        FUZZ_CHECK(answer == DeviceAnswer::None && profile == untouchedProfile());
        return;
    }
    if (text.find(kModePrompt) != std::string_view::npos) {
        FUZZ_CHECK(answer == DeviceAnswer::ModePrompt);
        FUZZ_CHECK(profile == (automatic ? fixedProfile(DeviceModel::Records32) : untouchedProfile()));
        return;
    }
    DeviceProfile parsed = untouchedProfile();
    const bool complete = readVersionLine(text, parsed) == 3;
    FUZZ_CHECK(answer == (complete ? DeviceAnswer::VersionLine : DeviceAnswer::Unrecognised));
    if (!complete || !automatic) {
        FUZZ_CHECK(profile == parsed);
        return;
    }
    FUZZ_CHECK(profile.pageCount == parsed.pageCount && profile.pageSize == parsed.pageSize
               && profile.maxRecords == parsed.maxRecords);
    FUZZ_CHECK(profile.blockSize == profile.pageSize && profile.protocol == ProtocolVariant::PageBlock);
    FUZZ_CHECK(profile.reservedPages == kVersionLineReservedPages);
    // The accepted geometry keeps the volume within 32 bits.
    FUZZ_CHECK(profile.maxVolume == int64_t{profile.pageCount - kVersionLineReservedPages} * profile.pageSize);
    FUZZ_CHECK(profile.maxVolume > 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray reply = inputBytes(data + 1, size - 1);
    checkVersionLine(std::string_view(reply.constData(), size_t(reply.size())));
    checkAnswer(reply, (data[0] & 1) != 0);
    return 0;
}
