// Writes the demo recordings into the folder given: run at build time, so
// that the recordings come from the same code as the program.
#include "tools/demo/demo_set.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fputs("usage: demo-recordings FOLDER\n", stderr);
        return 2;
    }
    try {
        writeDemoRecordings(args[1]);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "demo-recordings: %s\n", error.what());
        return 1;
    }
    return 0;
}
