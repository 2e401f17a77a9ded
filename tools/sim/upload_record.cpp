#include "tools/sim/upload_record.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QByteArray reportJson(const UploadReport &report, int uploads)
{
    const QJsonObject json{
        {"packets", report.packets},
        {"naks", report.naks},
        {"repeats", report.repeats},
        {"badPackets", report.badPackets},
        {"completed", report.completed},
        {"cancelled", report.cancelled},
        {"bytes", qint64(report.bytes)},
        {"seconds", report.seconds},
        {"uploads", uploads},
    };
    return QJsonDocument(json).toJson();
}

// Replaces the file whole, so that a reader never sees half of it.
QString writeFile(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return {};
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return QStringLiteral("Не удалось записать %1: %2").arg(path, file.errorString());
}

} // namespace

QString saveUpload(const UploadReceiver &upload, int uploads, const QString &outPath,
                   const QString &reportPath)
{
    const QString outProblem = writeFile(outPath, upload.data());
    const QString reportProblem = writeFile(reportPath, reportJson(upload.report(), uploads));
    return outProblem.isEmpty() ? reportProblem : outProblem;
}
