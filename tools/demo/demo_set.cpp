#include "tools/demo/demo_set.h"

#include "table/list_file.h"
#include "tools/demo/sound_signals.h"

#include <QDir>
#include <QSaveFile>

#include <stdexcept>

namespace {

constexpr double kAmplitude = 12000; // loud, and far from the decoder's clamps

// The tones hold whole periods, so a looped preview joins them seamlessly.
struct Sound {
    const char *name;
    std::vector<int16_t> signal;
};

std::vector<Sound> sounds()
{
    return {
        {"tone-440hz", toneSamples(440, 2 * kSignalRate, kAmplitude)},
        {"tone-1000hz", toneSamples(1000, kSignalRate, kAmplitude)},
        {"sweep-200-4000hz", sweepSamples(200, 4000, 3 * kSignalRate, kAmplitude)},
    };
}

const char *suffixOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Adpcm:
        return "adpcm";
    case Encoding::Pcm8:
        return "pcm8";
    case Encoding::Pcm16:
        break;
    }
    return "pcm16";
}

} // namespace

std::vector<DemoRecording> demoRecordings()
{
    std::vector<DemoRecording> recordings;
    for (Encoding encoding : {Encoding::Adpcm, Encoding::Pcm8, Encoding::Pcm16}) {
        for (Sound &sound : sounds())
            recordings.push_back({QStringLiteral("%1-%2.krd").arg(sound.name, suffixOf(encoding)),
                                  encoding, std::move(sound.signal)});
    }
    return recordings;
}

QStringList writeDemoRecordings(const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw std::runtime_error("cannot make the folder " + folder.toStdString());
    QStringList paths;
    QStringList names;
    for (const DemoRecording &recording : demoRecordings()) {
        const QString path = QDir(folder).filePath(recording.fileName);
        QSaveFile file(path);
        const QByteArray bytes = encodedRecording(recording.signal, recording.encoding);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw std::runtime_error("cannot write " + path.toStdString() + ": "
                                     + file.errorString().toStdString());
        paths << path;
        names << recording.fileName;
    }
    writeList(QDir(folder).filePath(QLatin1String(kDemoListName)), names);
    return paths;
}
