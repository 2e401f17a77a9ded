#pragma once

#include "core/device_profile.h"
#include "tests/link/simulator.h"

#include <QJsonObject>
#include <QTemporaryDir>

// The simulated device of either model, keeping what an upload brings and
// its report in a folder of its own.
class UploadDevice
{
public:
    // args: the simulator's further options, faults among them.
    explicit UploadDevice(DeviceModel model, const QStringList &args = {});

    const QString &path() const { return simulator_.path(); }
    QString portName() const { return simulator_.portName(); }

    // Switch the device off first: it saves an upload under way as it stops.
    void stop() { simulator_.stop(); }
    QByteArray received() const;
    QJsonObject report() const;

private:
    QTemporaryDir dir_;
    Simulator simulator_;
};

// The image as the device keeps it: its last block filled up with FF.
QByteArray paddedToBlocks(const QByteArray &image, int blockSize);

// Bytes of no pattern a block size would hide.
QByteArray imageBytes(qsizetype size);
