#include "link/device_detection.h"
#include "link/port_opening.h"
#include "link/version_line.h"
#include "tests/link/pty_peer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <future>

namespace {

struct Geometry {
    int32_t pageCount;
    int32_t pageSize;
    int32_t maxRecords;
};

// The 32-record profile chosen by hand, with what an answer leaves of it.
DeviceProfile handChosenWith(const Geometry &geometry)
{
    DeviceProfile profile = fixedProfile(DeviceModel::Records32);
    profile.pageCount = geometry.pageCount;
    profile.pageSize = geometry.pageSize;
    profile.maxRecords = geometry.maxRecords;
    return profile;
}

constexpr Geometry kUntouched{8192, 528, 32};

const struct AnswerCase {
    const char *name;
    QByteArray reply;
    DeviceAnswer answer;
    Geometry left;
} kAnswers[] = {
    {"prompt", "Select mode. T (test) or L (loading) >\r\n", DeviceAnswer::ModePrompt, kUntouched},
    {"prompt behind a banner", "\r\nK3 v2\r\nSelect mode. T (test) or L (loading) >",
     DeviceAnswer::ModePrompt, kUntouched},
    {"prompt in other letters", "select mode. t (test) or l (loading) >", DeviceAnswer::Unrecognised,
     kUntouched},
    {"prompt cut short", "Select mode. T (test) or L (loading)", DeviceAnswer::Unrecognised,
     kUntouched},
    {"version line", "V1.0, B8192, S1056, R99\r\n", DeviceAnswer::VersionLine, {8192, 1056, 99}},
    {"without blanks", "V1.0,B8192,S1056,R99", DeviceAnswer::VersionLine, {8192, 1056, 99}},
    {"white space before numbers and for blanks", "V2.13,  B 4096,\t S\r\n1056,R99 more",
     DeviceAnswer::VersionLine, {4096, 1056, 99}},
    {"signs", "V-1.+0, B+4096, S+1056, R+99", DeviceAnswer::VersionLine, {4096, 1056, 99}},
    {"leading blank", " V1.0, B4096, S1056, R99", DeviceAnswer::Unrecognised, kUntouched},
    {"leading line end", "\r\nV1.0, B4096, S1056, R99", DeviceAnswer::Unrecognised, kUntouched},
    {"blank before a comma", "V1.0 , B4096, S1056, R99", DeviceAnswer::Unrecognised, kUntouched},
    {"version without point", "V1, B4096, S1056, R99", DeviceAnswer::Unrecognised, kUntouched},
    {"page count only", "V1.0, B4096", DeviceAnswer::Unrecognised, {4096, 528, 32}},
    {"no max records", "V1.0, B4096, S1056", DeviceAnswer::Unrecognised, {4096, 1056, 32}},
    {"sign without digits", "V1.0, B4096, S-, R99", DeviceAnswer::Unrecognised, {4096, 528, 32}},
    {"text ends at a zero byte", QByteArray("V1.0, B4096\0, S1056, R99", 24),
     DeviceAnswer::Unrecognised, {4096, 528, 32}},
    // Values the program cannot work with are not taken.
    {"page size 0", "V1.0, B4096, S0, R99", DeviceAnswer::Unrecognised, {4096, 528, 32}},
    {"negative page size", "V1.0, B4096, S-1056, R99", DeviceAnswer::Unrecognised, {4096, 528, 32}},
    {"page larger than a packet", "V1.0, B4096, S1997, R99", DeviceAnswer::Unrecognised,
     {4096, 528, 32}},
    {"largest page and directory", "V1.0, B4096, S1996, R131", DeviceAnswer::VersionLine,
     {4096, 1996, 131}},
    {"more records than the directory holds", "V1.0, B4096, S1056, R132",
     DeviceAnswer::Unrecognised, {4096, 1056, 32}},
    {"no records", "V1.0, B4096, S1056, R0", DeviceAnswer::Unrecognised, {4096, 1056, 32}},
    {"no page beyond the reserved ones", "V1.0, B5, S1056, R99", DeviceAnswer::Unrecognised,
     kUntouched},
    {"page count beyond 32 bits", "V1.0, B99999999999, S1056, R99", DeviceAnswer::Unrecognised,
     kUntouched},
    {"page count whose volume could overflow", "V1.0, B1075899, S1056, R99", DeviceAnswer::Unrecognised,
     kUntouched},
};

void PrintTo(const AnswerCase &tested, std::ostream *out)
{
    *out << tested.name;
}

class AnswerTest : public testing::TestWithParam<AnswerCase>
{
};

} // namespace

TEST_P(AnswerTest, ManualModeStoresWhatTheVersionLineGaveAndNothingElse)
{
    const AnswerCase &c = GetParam();
    DeviceProfile profile = fixedProfile(DeviceModel::Records32);
    EXPECT_EQ(interpretAnswer(c.reply, profile, false), c.answer);
    EXPECT_EQ(profile, handChosenWith(c.left));
}

INSTANTIATE_TEST_SUITE_P(Answers, AnswerTest, testing::ValuesIn(kAnswers),
                         [](const testing::TestParamInfo<AnswerCase> &tested) {
                             std::string name = tested.param.name;
                             std::replace_if(name.begin(), name.end(),
                                             [](char c) { return !std::isalnum(uchar(c)); }, '_');
                             return name;
                         });

TEST(AutomaticMode, ARecognisedAnswerInstallsItsModelsGeometry)
{
    DeviceProfile profile = startupProfile();
    EXPECT_EQ(interpretAnswer("Select mode. T (test) or L (loading) >", profile, true),
              DeviceAnswer::ModePrompt);
    EXPECT_EQ(profile, fixedProfile(DeviceModel::Records32));

    EXPECT_EQ(interpretAnswer("V1.0, B8192, S528, R32", profile, true), DeviceAnswer::VersionLine);
    EXPECT_EQ(profile.pageCount, 8192);
    EXPECT_EQ(profile.pageSize, 528);
    EXPECT_EQ(profile.maxRecords, 32);
    EXPECT_EQ(profile.blockSize, 528);
    EXPECT_EQ(profile.protocol, ProtocolVariant::PageBlock);
    EXPECT_EQ(profile.reservedPages, 5);
    EXPECT_EQ(profile.maxVolume, (8192 - 5) * 528);

    // The largest geometry taken still has its volume in 32 bits.
    const QByteArray largest = QStringLiteral("V1.0, B%1, S%2, R%3")
                                   .arg(kLargestPageCount)
                                   .arg(kLargestPageSize)
                                   .arg(kLargestMaxRecords)
                                   .toLatin1();
    EXPECT_EQ(interpretAnswer(largest, profile, true), DeviceAnswer::VersionLine);
    EXPECT_EQ(int64_t{profile.maxVolume}, int64_t{kLargestPageCount - 5} * kLargestPageSize);

    const DeviceProfile before = profile;
    EXPECT_EQ(interpretAnswer("Устройство", profile, true), DeviceAnswer::Unrecognised);
    EXPECT_EQ(interpretAnswer({}, profile, true), DeviceAnswer::None);
    EXPECT_EQ(profile, before);
}

// Whatever lies in the receive buffer before the request (the tail of an
// upload, noise) must not spoil the answer.
TEST(DetectDevice, AsksAfterThrowingAwayWhatCameBefore)
{
    PtyPeer device;
    const auto line = makeSerialLine();
    ASSERT_TRUE(openPort(*line, device.path(), 230400).opened());
    device.send("xxV");
    std::array<char, 1> first;
    ASSERT_TRUE(line->setTimeouts({0, 10000, 0, 0}));
    ASSERT_EQ(line->read(first), 1); // the stale bytes have come
    ASSERT_TRUE(line->setTimeouts(kPortTimeouts));

    auto answer = std::async(std::launch::async, [&] {
        const QByteArray request = device.receive(1);
        device.send("V1.0, B8192, S1056, R99\r\n");
        return request;
    });
    DeviceProfile profile = startupProfile();
    const Detection detection = detectDevice(*line, profile, false);
    EXPECT_EQ(answer.get(), "\r");
    EXPECT_EQ(detection.reply, "V1.0, B8192, S1056, R99\r\n");
    EXPECT_EQ(detection.deviceState(), 2);
}
