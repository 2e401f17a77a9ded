// Walks the window through its states on a real X display and takes a
// screenshot of each: docs/make-screenshots runs it under Xvfb at 96 dpi.
// The states are reached through the window's own handlers; the dialogs
// are answered by a script.
#include "app/port_selector.h"
#include "app/tfmain.h"
#include "table/recording_file.h"
#include "table/recording_grid.h"
#include "tests/link/simulator.h"
#include "tests/support/scripted_prompts.h"
#include "tools/demo/demo_set.h"
#include "tools/demo/recording_writer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSkipped = 77;

class Tour
{
public:
    Tour(const QString &shotsDir, const QString &demoDir)
        : shotsDir_(shotsDir), demoList_(QDir(demoDir).filePath(QLatin1String(kDemoListName))),
          window_(&prompts_)
    {
        window_.show();
        exposed_ = QTest::qWaitForWindowExposed(&window_);
    }

    bool exposed() const { return exposed_; }

    // The window's area of the screen, read on the window's thread.
    QRect area() const { return window_.frameGeometry(); }

    bool shoot(const QString &name) const { return shootArea(name, area()); }

    // Taken by another process, so the window may be busy meanwhile.
    bool shootArea(const QString &name, const QRect &area) const
    {
        const QString crop = QStringLiteral("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y());
        const QString path = QDir(shotsDir_).filePath(name + QStringLiteral(".png"));
        const bool taken = QProcess::execute(QStringLiteral("import"), {"-window", "root", "-crop", crop, "+repage", path}) == 0
                           && QImage(path).size() == area.size();
        std::printf("%s %s\n", taken ? "wrote" : "could not write", qPrintable(path));
        return taken;
    }

    void settle() const { QTest::qWait(300); }

    void addDemoList(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            prompts_.choices.push_back({demoList_});
            window_.GetListBtnClick();
        }
        settle();
    }

    // A row that takes no part in numbering, and a selected one.
    void markRows()
    {
        window_.table().setCell(4, ColEnabled, QStringLiteral("0"));
        window_.RefreshTable();
        window_.sgrid->setRow(2);
        settle();
    }

    // The build is held while it reads a recording that a pipe feeds, so the
    // status plate is on screen when the shot is taken. The build then fails
    // on rewinding the pipe; its message goes to the script.
    bool shootDuringBuild(const QString &name)
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("held.krd"));
        if (mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0)
            return false;
        RecordingHeader header;
        header.dataLength = 1000;
        appendRecordingRow(window_.table(), pipe, header);
        window_.RefreshTable();
        settle();

        bool taken = false;
        const QRect shotArea = area();
        std::thread feeder([&] {
            // Opens once the build opens its end, with the plate shown.
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY);
            QThread::msleep(300);
            taken = shootArea(name, shotArea);
            const QByteArray bytes = recordingHeader(1000, 2000, 91, 0) + QByteArray(1000, '\0');
            if (fd >= 0) {
                taken = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size() && taken;
                ::close(fd);
            }
        });
        window_.BuildTableImage(dir.filePath(QStringLiteral("image.bkr")));
        feeder.join();
        window_.sgrid->setRow(window_.table().rowCount() - 1);
        window_.B_delClick();
        return taken;
    }

    // Drops the port list down, picks name and waits for the device's answer.
    bool shootPortChoice(const QString &listShot, const QString &name, const QString &recognisedShot)
    {
        window_.ComSelect->showPopup();
        const int index = window_.ComSelect->findText(name);
        if (index < 0)
            return false;
        window_.ComSelect->setCurrentIndex(index);
        window_.ComSelect->view()->setCurrentIndex(window_.ComSelect->model()->index(index, 0));
        settle();
        const bool listTaken = shoot(listShot);
        window_.ComSelect->hidePopup();
        for (int i = 0; i < 60 && window_.Connection->text().isEmpty(); ++i)
            QTest::qWait(100);
        settle();
        return listTaken && !window_.Connection->text().isEmpty() && shoot(recognisedShot);
    }

    TFmain &window() { return window_; }

private:
    QString shotsDir_;
    QString demoList_;
    ScriptedPrompts prompts_;
    TFmain window_;
    bool exposed_ = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("usage: window-tour SHOTS_FOLDER DEMO_RECORDINGS_FOLDER\n", stderr);
        return 2;
    }
    Tour tour(args[1], args[2]);
    if (!tour.exposed()) {
        std::fputs("the window did not show\n", stderr);
        return 1;
    }
    bool ok = tour.shoot(QStringLiteral("window-empty"));

    tour.addDemoList();
    tour.markRows();
    ok = tour.shoot(QStringLiteral("window-recordings")) && ok;
    ok = tour.shootDuringBuild(QStringLiteral("window-building")) && ok;

    tour.addDemoList(9);
    ok = tour.shoot(QStringLiteral("window-overflow")) && ok;
    tour.window().B_delallClick();
    tour.addDemoList();

    // The port list finds the simulators, as ./run starts them, through their links in /dev.
    Simulator small({"--model", "32", "--link", "/dev/ttySIM-32"});
    Simulator large({"--model", "99", "--link", "/dev/ttySIM-99"});
    if (small.path().isEmpty() || large.path().isEmpty()) {
        std::fputs("no simulator: the port shots need root to link the ports into /dev\n", stderr);
        return kSkipped;
    }
    ok = tour.shootPortChoice(QStringLiteral("window-port-list"), QStringLiteral("ttySIM-99"),
                              QStringLiteral("window-device-found"))
         && ok;
    return ok ? 0 : 1;
}
