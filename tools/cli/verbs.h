#pragma once

#include <QStringList>

// One function per verb; args are the words after the verb's name.
struct Verb {
    const char *name;
    const char *summary;
    int (*run)(const QStringList &args);
};

int runBuild(const QStringList &args);
int runInspect(const QStringList &args);
int runPorts(const QStringList &args);
int runDetect(const QStringList &args);
int runDecode(const QStringList &args);
int runInfo(const QStringList &args);
int runUpload(const QStringList &args);
