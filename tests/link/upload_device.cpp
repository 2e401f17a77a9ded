#include "tests/link/upload_device.h"

#include <QFile>
#include <QJsonDocument>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList simulatorArgs(const QTemporaryDir &dir, DeviceModel model, const QStringList &args)
{
    return QStringList{"--model", model == DeviceModel::Records32 ? "32" : "99",
                       "--out",   dir.filePath("received.bin"),
                       "--report", dir.filePath("report.json")}
           + args;
}

} // namespace

UploadDevice::UploadDevice(DeviceModel model, const QStringList &args)
    : simulator_(simulatorArgs(dir_, model, args))
{
}

QByteArray UploadDevice::received() const
{
    return contentsOf(dir_.filePath("received.bin"));
}

QJsonObject UploadDevice::report() const
{
    return QJsonDocument::fromJson(contentsOf(dir_.filePath("report.json"))).object();
}

QByteArray paddedToBlocks(const QByteArray &image, int blockSize)
{
    const qsizetype tail = image.size() % blockSize;
    return tail == 0 ? image : image + QByteArray(blockSize - tail, '\xFF');
}

QByteArray imageBytes(qsizetype size)
{
    QByteArray bytes(size, '\0');
    uint32_t state = 12345;
    for (char &byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = char(state >> 24);
    }
    return bytes;
}
