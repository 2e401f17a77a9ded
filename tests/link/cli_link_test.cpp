#include "link/port_enumeration.h"
#include "link/serial_line.h"
#include "tests/link/simulator.h"
#include "tests/support/cli_run.h"


#include <gtest/gtest.h>

TEST(CliDetect, FindsEitherModelAsTheWindowDoes)
{
    Simulator slow({"--model", "32", "--baud", "115200"});
    ASSERT_FALSE(slow.path().isEmpty());
    const CliRun automatic = runCli({"detect", "--port", slow.portName()});
    EXPECT_EQ(automatic.status, 0) << automatic.err.toStdString();
    EXPECT_TRUE(automatic.out.contains("Модель: K 3/32")) << automatic.out.toStdString();
    EXPECT_TRUE(automatic.out.contains("Скорость: 115200 бод"));
    EXPECT_TRUE(automatic.err.contains("230400 бод: нет ответа"));

    Simulator fast({"--model", "99"});
    ASSERT_FALSE(fast.path().isEmpty());
    const CliRun manual = runCli({"detect", "--port", fast.path(), "--model", "99"});
    EXPECT_EQ(manual.status, 0) << manual.err.toStdString();
    EXPECT_TRUE(manual.out.contains("Модель: K 4/99")) << manual.out.toStdString();
    EXPECT_TRUE(manual.out.contains("8192 страниц по 1056 байт, до 99 записей"));
}

TEST(CliDetect, FailsWithTheReason)
{
    Simulator silent({"--model", "32", "--silent"});
    Simulator stranger({"--model", "32", "--reply", "Hello\\r\\n"});
    Simulator taken({"--model", "32"});
    ASSERT_FALSE(silent.path().isEmpty() || stranger.path().isEmpty() || taken.path().isEmpty());
    const auto otherProgram = makeSerialLine();
    ASSERT_TRUE(otherProgram->open(taken.path()).opened());

    const struct {
        QStringList args;
        int status;
        QString told;
    } cases[] = {
        {{"--port", silent.portName(), "--timeout", "1"}, 1, "не опознано за 1 с"},
        {{"--port", stranger.portName(), "--timeout", "1"}, 1, "ответ \"Hello\\r\\n\""},
        {{"--port", taken.portName()}, 1, "занят другой программой"},
        {{"--port", "ttyGone"}, 1, "/dev/ttyGone не найден"},
        {{"--port", silent.portName(), "--model", "42"}, 2, "Неверное значение --model: 42"},
        {{"--port", silent.portName(), "--timeout", "0"}, 2, "Неверное значение --timeout: 0"},
        {{"--model", "32"}, 2, "Не указан порт"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(QStringList{"detect"} + c.args);
        EXPECT_EQ(run.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.told)) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
}

TEST(CliPorts, ListsWhatThePortSelectorOffers)
{
    const CliRun run = runCli({"ports"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.split('\n', Qt::SkipEmptyParts), enumeratePortNames());
}
