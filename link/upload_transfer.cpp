#include "link/upload_transfer.h"

#include "core/operation_error.h"
#include "link/port_opening.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <thread>

QString blockSizeProblem(int32_t blockSize)
{
    if (blockSize >= 1 && blockSize <= kMaxBlockSize)
        return {};
    return QStringLiteral("Размер блока %1 байт не подходит для заливки: допустимо от 1 до %2")
        .arg(blockSize)
        .arg(kMaxBlockSize);
}

std::unique_ptr<QIODevice> openUploadFile(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw OperationError(QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file->errorString()));
    return file;
}

UploadTransfer::UploadTransfer(SerialLine &line, const DeviceProfile &profile,
                               std::unique_ptr<QIODevice> file, UploadEvents &events)
    : line_(line),
      blockSize_(profile.blockSize),
      protocol_(profile.protocol),
      file_(std::move(file)),
      length_(file_->size()),
      events_(events)
{
    if (const QString problem = blockSizeProblem(profile.blockSize); !problem.isEmpty())
        throw OperationError(problem);
}

void UploadTransfer::sendFirstMessage()
{
    if (protocol_ == ProtocolVariant::ShortBlock) {
        const char loadingMode = char(wire::kLoadingMode);
        line_.write({&loadingMode, 1});
    } else {
        SendBlock();
    }
}

void UploadTransfer::ReceiveStep()
{
    char reply = 0;
    if (line_.read({&reply, 1}) != 1) {
        // A closed port answers at once; wait as a read would, rather than spin.
        if (!line_.isOpen())
            std::this_thread::sleep_for(std::chrono::milliseconds(
                kPortTimeouts.readMultiplierMs + kPortTimeouts.readConstantMs));
        return;
    }
    if (ending_.over())
        return;
    switch (uint8_t(reply)) {
    case wire::kNak:
        SendBlock();
        break;
    case wire::kAck:
        // Before the first packet nothing awaits an ACK: it is noise, and
        // counting it would number the first packet out of turn.
        if (!packetSent_.load())
            break;
        watchdogCount_.store(0);
        resend_ = false;
        if (protocol_ == ProtocolVariant::ShortBlock)
            ++blockNumber_; // 255 + 1 gives 0
        else
            ++blockCounter_;
        SendBlock();
        break;
    case wire::kCancel:
        cancelByDevice();
        break;
    default:
        break;
    }
}

void UploadTransfer::SendBlock()
{
    if (resend_) {
        writePacket();
        return;
    }
    std::array<uint8_t, kMaxBlockSize> buffer;
    const std::span<uint8_t> block(buffer.data(), size_t(blockSize_));
    std::ranges::fill(block, uint8_t{0xFF}); // what the last packet lacks stays FF
    const int64_t got = readBlock(block);
    if (got < 0) {
        readFailure();
        return;
    }
    if (got == 0) {
        endOfFile();
        return;
    }
    const uint32_t sequence = protocol_ == ProtocolVariant::ShortBlock ? blockNumber_ : blockCounter_;
    buildPacket(protocol_, sequence, block, std::span(packet_).first(packetSizeOf(blockSize_)));
    // Set before the write, so that the ACK of this packet always finds it set.
    resend_ = true;
    writePacket();
    packetSent_.store(true);
    sent_ = std::min(sent_ + blockSize_, length_);
    events_.progressed({sent_, length_});
}

// Up to block.size() bytes of the file: fewer only at its end; -1 when it
// cannot be read.
int64_t UploadTransfer::readBlock(std::span<uint8_t> block)
{
    int64_t got = 0;
    while (got < int64_t(block.size())) {
        const qint64 n = file_->read(reinterpret_cast<char *>(block.data()) + got,
                                     qint64(block.size()) - got);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

// One write of the whole packet; its result is not examined, as a packet
// that never arrives shows in the missing ACK.
void UploadTransfer::writePacket()
{
    line_.write({reinterpret_cast<const char *>(packet_.data()), size_t(packetSizeOf(blockSize_))});
}

void UploadTransfer::endOfFile()
{
    if (!ending_.claim(UploadEnd::Completed))
        return;
    line_.write({reinterpret_cast<const char *>(wire::kEndOfTransmission),
                 sizeof wire::kEndOfTransmission});
    file_->close();
    events_.completed();
}

void UploadTransfer::cancelByDevice()
{
    if (!ending_.claim(UploadEnd::Cancelled))
        return;
    file_->close();
    line_.close();
    events_.cancelled();
}

// Ending as if the file were complete would report a partial image as
// uploaded; the device gets no end of transmission and the user is told.
void UploadTransfer::readFailure()
{
    if (!ending_.claim(UploadEnd::ReadFailure))
        return;
    const auto *file = qobject_cast<const QFile *>(file_.get());
    const QString problem = QStringLiteral("Не удалось прочитать файл %1: %2")
                                .arg(file ? file->fileName() : QString(), file_->errorString());
    file_->close();
    events_.failed(problem);
}
