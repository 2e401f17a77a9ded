#pragma once

#include "core/device_profile.h"
#include "tools/sim/upload_faults.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// How the simulated device behaves, from the command line.
struct SimOptions {
    DeviceModel model = DeviceModel::Records32;
    QByteArray versionLine = "V1.0, B8192, S1056, R99"; // what the 99-record model reports
    std::optional<QByteArray> reply;   // answers the identification request with this instead
    bool silent = false;               // never answers
    std::optional<int32_t> baudRate;   // answers only while the line is set to this speed
    QString linkPath;                  // a symbolic link to the terminal, if any
    std::optional<double> exitAfterSeconds;
    QString outPath;                   // what each upload brought, written at its end
    QString reportPath;                // each upload's figures, as JSON
    UploadFaults faults;
};

extern const char *const kSimUsage;

// Reads the command line (without the program name). On a mistake returns
// nothing and says what is wrong in problem.
std::optional<SimOptions> parseSimOptions(const QStringList &args, QString &problem);

// "\r", "\n", "\t", "\\" and "\xHH" in text become the bytes they stand for.
std::optional<QByteArray> decodeEscapes(const QString &text);
