#include "app/port_selector.h"
#include "tests/link/simulator.h"
#include "tests/support/window_fixture.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);

class LinkWindowTest : public WindowTest
{
protected:
    // Drops the list down and picks name, as the user does.
    void choosePort(const QString &name)
    {
        window->ComSelectDropDown();
        window->ComSelect->addItem(name);
        window->ComSelect->setCurrentIndex(window->ComSelect->count() - 1);
        window->ComSelectCloseUp();
    }

    int32_t lineSpeed()
    {
        LineSettings settings;
        return window->port().getSettings(settings) ? settings.baudRate : 0;
    }

    QColor connectionColour() const
    {
        return window->Connection->palette().color(QPalette::WindowText);
    }
};

} // namespace

TEST_F(LinkWindowTest, AutomaticModeFindsA32RecordDeviceAt115200OnTheSecondTickThenStays)
{
    Simulator device({"--model", "32", "--baud", "115200"});
    ASSERT_FALSE(device.path().isEmpty());
    choosePort(device.portName());
    EXPECT_EQ(lineSpeed(), 115200);

    window->Timer2Timer(); // asks at 230400
    EXPECT_EQ(window->deviceState(), 0);
    EXPECT_EQ(window->Connection->text(), "");
    EXPECT_TRUE(window->RadioButton3->isChecked());

    window->Timer2Timer();
    EXPECT_EQ(window->deviceState(), 1);
    EXPECT_EQ(window->Connection->text(), "Устройство\r\nподключено");
    EXPECT_EQ(connectionColour(), kGreen);
    EXPECT_TRUE(window->RadioButton1->isChecked());
    EXPECT_EQ(window->profile(), fixedProfile(DeviceModel::Records32));
    EXPECT_EQ(lineSpeed(), 115200);

    window->Timer2Timer();
    EXPECT_EQ(window->deviceState(), 1);
    EXPECT_EQ(lineSpeed(), 115200);
}

TEST_F(LinkWindowTest, AutomaticModeFindsA99RecordDeviceAt230400AndInstallsItsFixedProfile)
{
    Simulator device({"--model", "99", "--baud", "230400", "--version-line", "V1.0, B8192, S528, R32"});
    ASSERT_FALSE(device.path().isEmpty());
    choosePort(device.portName());

    window->Timer2Timer();
    EXPECT_EQ(window->deviceState(), 2);
    EXPECT_EQ(window->Connection->text(), "Устройство подключено");
    EXPECT_EQ(connectionColour(), kGreen);
    EXPECT_TRUE(window->RadioButton2->isChecked());
    EXPECT_FALSE(window->RadioButton3->isChecked());
    // The model button's profile replaces the geometry the device reported.
    EXPECT_EQ(window->profile(), fixedProfile(DeviceModel::Records99));
    EXPECT_EQ(window->L_max2->text(), "8645472");
    EXPECT_EQ(lineSpeed(), 230400);

    window->Timer2Timer();
    EXPECT_EQ(window->deviceState(), 2);
    EXPECT_EQ(lineSpeed(), 230400);
}

namespace {

struct HandChosenCase {
    const char *name;
    QStringList simulator;
    int state;
    QString text;
    QColor colour;
    int32_t pageCount, pageSize, maxRecords; // what the profile holds afterwards
};

const QColor kEarlier(0, 0, 255);

const HandChosenCase kHandChosen[] = {
    {"PromptBehindOtherText", {"--model", "32", "--reply", "\\r\\nK3\\r\\nSelect mode. T (test) or L (loading) >\\r\\n"},
     1, "Устройство\r\nподключено", kGreen, 8192, 528, 32},
    {"VersionLineWithoutBlanks", {"--model", "99", "--version-line", "V1.0,B8192,S1056,R99"},
     2, "Устройство подключено", kGreen, 8192, 1056, 99},
    {"ForeignGeometryIsStoredAlone", {"--model", "99", "--version-line", "V1.0, B4096, S1056, R99"},
     2, "Устройство подключено", kGreen, 4096, 1056, 99},
    {"LeadingBlank", {"--model", "99", "--reply", " V1.0, B8192, S1056, R99\\r\\n"},
     0, "Устройство не опознано", kRed, 8192, 528, 32},
    {"LeadingLineEnd", {"--model", "99", "--reply", "\\r\\nV1.0, B8192, S1056, R99\\r\\n"},
     0, "Устройство не опознано", kRed, 8192, 528, 32},
    {"PageCountOnly", {"--model", "99", "--version-line", "V1.0, B4096"},
     0, "Устройство не опознано", kRed, 4096, 528, 32},
    {"Silent", {"--model", "32", "--silent"}, 0, "", kEarlier, 8192, 528, 32},
};

void PrintTo(const HandChosenCase &tested, std::ostream *out)
{
    *out << tested.name;
}

class HandChosenModelTest : public LinkWindowTest, public testing::WithParamInterface<HandChosenCase>
{
};

} // namespace

// With "K 3/32" chosen by hand a tick stores what a version line gives but
// keeps the rest of the profile, the model choice and the table as they were.
TEST_P(HandChosenModelTest, ATickShowsTheAnswerAndKeepsTheChoice)
{
    const HandChosenCase &c = GetParam();
    Simulator device(c.simulator);
    ASSERT_FALSE(device.path().isEmpty());
    window->RadioButton1->setChecked(true);
    addRecordings(1);
    window->table().setCell(1, ColNumber, QString()); // a refresh would number it again
    choosePort(device.portName());
    QPalette palette = window->Connection->palette();
    palette.setColor(QPalette::WindowText, kEarlier);
    window->Connection->setPalette(palette);
    window->Connection->setText(QStringLiteral("earlier"));

    window->Timer2Timer();
    EXPECT_EQ(window->deviceState(), c.state);
    EXPECT_EQ(window->Connection->text(), c.text);
    EXPECT_EQ(connectionColour(), c.colour);
    DeviceProfile expected = fixedProfile(DeviceModel::Records32);
    expected.pageCount = c.pageCount;
    expected.pageSize = c.pageSize;
    expected.maxRecords = c.maxRecords;
    EXPECT_EQ(window->profile(), expected);
    EXPECT_TRUE(window->RadioButton1->isChecked());
    EXPECT_EQ(window->table().cell(1, ColNumber), "");
    EXPECT_EQ(lineSpeed(), 115200);
}

INSTANTIATE_TEST_SUITE_P(Answers, HandChosenModelTest, testing::ValuesIn(kHandChosen),
                         [](const testing::TestParamInfo<HandChosenCase> &tested) {
                             return std::string(tested.param.name);
                         });

TEST_F(LinkWindowTest, ThePortOpensAtTheChosenModelsSpeedAndThePollTakesOver)
{
    Simulator device({"--model", "32"});
    ASSERT_FALSE(device.path().isEmpty());
    const struct {
        QRadioButton *model;
        int32_t speed;
    } cases[] = {
        {window->RadioButton2, 230400},
        {window->RadioButton1, 115200},
        {window->RadioButton3, 115200},
    };
    for (const auto &c : cases) {
        c.model->setChecked(true);
        window->Timer1->start();
        choosePort(device.portName());
        EXPECT_TRUE(window->port().isOpen());
        EXPECT_EQ(lineSpeed(), c.speed) << c.model->text().toStdString();
        EXPECT_FALSE(window->Timer1->isActive());
        EXPECT_TRUE(window->Timer2->isActive());
        EXPECT_EQ(window->Connection->toolTip(), "");
    }
}

TEST_F(LinkWindowTest, DroppingTheListDownClosesThePortAndStopsThePoll)
{
    Simulator device({"--model", "32"});
    ASSERT_FALSE(device.path().isEmpty());
    choosePort(device.portName());
    ASSERT_TRUE(window->Timer2->isActive());

    window->ComSelectDropDown();
    EXPECT_FALSE(window->port().isOpen());
    EXPECT_FALSE(window->Timer2->isActive());
    EXPECT_EQ(window->ComSelect->currentIndex(), -1);
    EXPECT_EQ(window->ComSelect->findText(TFmain::kPortPlaceholder), -1);
    window->Timer2Timer(); // with no port nothing is read
    EXPECT_EQ(window->deviceState(), 0);

    // The same port again opens it again.
    window->ComSelect->addItem(device.portName());
    window->ComSelect->setCurrentIndex(window->ComSelect->count() - 1);
    window->ComSelectCloseUp();
    EXPECT_TRUE(window->Timer2->isActive());
    window->Timer2Timer();
    EXPECT_EQ(window->deviceState(), 1);
}

TEST_F(LinkWindowTest, AFailedOpenIsSilentKeepsTheLastResultAndTellsWhyInTheTooltip)
{
    Simulator device({"--model", "32"});
    ASSERT_FALSE(device.path().isEmpty());
    choosePort(device.portName());
    window->Timer2Timer();
    ASSERT_EQ(window->deviceState(), 1);
    const QString recognised = window->Connection->text();

    window->ComSelectDropDown();
    window->ComSelectCloseUp(); // nothing chosen: the bare "/dev/"
    EXPECT_FALSE(window->port().isOpen());
    EXPECT_FALSE(window->Timer2->isActive());
    EXPECT_EQ(window->Connection->text(), recognised);
    EXPECT_EQ(window->deviceState(), 1);
    EXPECT_EQ(window->Connection->toolTip(), "Порт не выбран");

    const auto otherProgram = makeSerialLine();
    ASSERT_TRUE(otherProgram->open(device.path()).opened());
    choosePort(device.portName());
    EXPECT_FALSE(window->Timer2->isActive());
    EXPECT_TRUE(window->Connection->toolTip().contains("занят"));

    choosePort(QStringLiteral("ttyGone"));
    EXPECT_TRUE(window->Connection->toolTip().contains("/dev/ttyGone не найден"));
    EXPECT_TRUE(prompts.messages.empty());

    otherProgram->close();
    choosePort(device.portName());
    EXPECT_TRUE(window->Timer2->isActive());
    EXPECT_EQ(window->Connection->toolTip(), "");
}

TEST_F(LinkWindowTest, ThePollRunsOnItsOwnEveryTwoSeconds)
{
    Simulator device({"--model", "99"});
    ASSERT_FALSE(device.path().isEmpty());
    choosePort(device.portName());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->deviceState() == 2; }, 20000));
    EXPECT_TRUE(window->RadioButton2->isChecked());
}
