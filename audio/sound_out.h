#pragma once

#include <QByteArray>

#include <memory>

class QAudioSink;
class LoopingSamples;

// Plays a preview's WAV image from memory in a loop through the default
// audio output. Without an output device, or when the output refuses the
// sound, it plays nothing and says nothing: the preview goes on as if it
// played.
class SoundOut
{
public:
    SoundOut();
    ~SoundOut();
    SoundOut(const SoundOut &) = delete;
    SoundOut &operator=(const SoundOut &) = delete;

    // Starts playing at once and returns; any earlier sound stops first.
    // wavImage is an image as readPreviewImage builds it.
    void playLooped(const QByteArray &wavImage);

    // When it returns, the sound has stopped and nothing more is read.
    void stop();

private:
    std::unique_ptr<LoopingSamples> samples_;
    std::unique_ptr<QAudioSink> sink_;
};
