// lrzsz's XMODEM receiver rx, which nobody here wrote, takes the short-block
// upload of the command line. What rx does that the test works around: it
// sends a NAK of its own as it starts; it takes our 04 FB for a damaged
// header, NAKs after a second of quiet and waits; a lone 04 then ends its
// receiving; and it empties its input right after each ACK, which a small
// library preloaded into it stops (rx_keep_input.cpp).
#include "tests/link/upload_device.h"
#include "tests/support/cli_run.h"
#include "tests/support/recording_files.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr char kNak = 0x15;
constexpr char kEndOfTransmission = 0x04;

// Two pseudo-terminals joined by socat.
class SocatPair
{
public:
    SocatPair()
    {
        // socat names both terminals on stderr: "... N PTY is /dev/pts/7".
        socat_.setReadChannel(QProcess::StandardError);
        socat_.start(QStringLiteral("socat"), {"-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0"});
        while (paths_.size() < 2 && (socat_.canReadLine() || socat_.waitForReadyRead(10000))) {
            const QByteArray line = socat_.readLine().trimmed();
            if (const qsizetype at = line.indexOf("PTY is "); at >= 0)
                paths_ << QString::fromLocal8Bit(line.mid(at + 7));
        }
    }

    ~SocatPair()
    {
        socat_.kill();
        socat_.waitForFinished();
    }

    bool ready() const { return paths_.size() == 2; }
    QString end(int i) const { return paths_.value(i); }

private:
    QProcess socat_;
    QStringList paths_;
};

// An end of the pair the test holds open, so that socat goes on while the
// uploader closes its own.
class HeldEnd
{
public:
    explicit HeldEnd(const QString &path) : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY))
    {
        termios tio;
        if (fd_ >= 0 && tcgetattr(fd_, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~HeldEnd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    // The next byte that arrives within the wait, or none.
    std::optional<char> receive(std::chrono::milliseconds wait)
    {
        pollfd readable = {fd_, POLLIN, 0};
        char byte = 0;
        if (::poll(&readable, 1, int(wait.count())) > 0 && ::read(fd_, &byte, 1) == 1)
            return byte;
        return std::nullopt;
    }

    void send(char byte) { EXPECT_EQ(::write(fd_, &byte, 1), 1); }

private:
    int fd_;
};

} // namespace

TEST(LrzszPeer, RxStoresTheShortBlockUploadPaddedWithFF)
{
    if (QStandardPaths::findExecutable("rx").isEmpty() || QStandardPaths::findExecutable("socat").isEmpty())
        GTEST_SKIP() << "rx (lrzsz) and socat come with scripts/deps";
    QTemporaryDir dir;
    for (const qsizetype size : {300, 4096}) {
        SCOPED_TRACE(size);
        SocatPair pair;
        ASSERT_TRUE(pair.ready());
        HeldEnd ours(pair.end(0));
        const QString image = writeFile(dir.filePath(QStringLiteral("image%1.bkr").arg(size)), imageBytes(size));
        const QString stored = QStringLiteral("stored%1.bin").arg(size);

        // rx writes only into its working folder.
        QProcess rx;
        rx.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(RX_KEEP_INPUT));
        rx.setProcessEnvironment(environment);
        rx.start(QStringLiteral("/bin/sh"), {"-c", "exec rx -X -b \"$1\" <\"$2\" >\"$2\"", "sh", stored, pair.end(1)});
        ASSERT_EQ(ours.receive(10s), kNak) << "rx's own NAK as it starts";

        const CliRun upload = runCli({"upload", "--no-detect", "--model", "32", "--port", pair.end(0), image});
        ASSERT_EQ(upload.status, 0) << upload.err.toStdString();
        EXPECT_TRUE(upload.out.endsWith("Заливка завершена\n"));

        ASSERT_EQ(ours.receive(10s), kNak) << "rx's answer to 04 FB";
        ours.send(kEndOfTransmission);
        ASSERT_TRUE(rx.waitForFinished(20000)) << rx.readAllStandardError().toStdString();
        EXPECT_EQ(rx.exitCode(), 0) << rx.readAllStandardError().toStdString();
        QFile file(dir.filePath(stored));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), paddedToBlocks(imageBytes(size), 128));
    }
}
