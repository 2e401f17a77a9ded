#pragma once

#include "tools/sim/upload_receiver.h"

#include <QString>

// Writes the data of an upload to outPath and its figures, as JSON, to
// reportPath (each skipped when empty); uploads counts the uploads of the
// run so far. Returns what went wrong, empty when both were written.
QString saveUpload(const UploadReceiver &upload, int uploads, const QString &outPath,
                   const QString &reportPath);
