#pragma once

#include "tests/support/recording_files.h"
#include "tests/support/window_fixture.h"

#include <QTemporaryDir>

#include <ostream>
#include <vector>

// What a refresh of the table showed.
struct Refresh {
    int recordings;     // recording rows
    int messagesBefore; // messages shown before it
    bool operator==(const Refresh &) const = default;
    friend void PrintTo(const Refresh &refresh, std::ostream *out)
    {
        *out << "{" << refresh.recordings << " rows after " << refresh.messagesBefore
             << " messages}";
    }
};

// A main window with a folder for recording and list files, and a log of
// the table's refreshes.
class TableWindowTest : public WindowTest
{
protected:
    void SetUp() override;

    QString path(const QString &name) const { return dir.filePath(name); }
    // Writes a valid recording file into the folder and returns its path.
    QString recording(const QString &name, const RecordingFields &fields = {1000, 2000, 2500, 0, {}});
    QStringList column(int column) const; // that column of every recording row

    QTemporaryDir dir;
    std::vector<Refresh> refreshes;
};
