#include "audio/sound_out.h"

#include "audio/wav_image.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

// The samples of an image as an endless stream: the sink pulls from it and
// it starts again from the first sample after the last.
class LoopingSamples final : public QIODevice
{
public:
    // image must hold at least one sample.
    explicit LoopingSamples(QByteArray image) : image_(std::move(image)) {}

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        qint64 done = 0;
        while (done < maxSize) {
            const qint64 piece = std::min(maxSize - done, image_.size() - position_);
            std::memcpy(data + done, image_.constData() + position_, piece);
            done += piece;
            position_ += piece;
            if (position_ == image_.size())
                position_ = kWavHeaderSize;
        }
        return done;
    }

    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray image_;
    qint64 position_ = kWavHeaderSize;
};

SoundOut::SoundOut() = default;

SoundOut::~SoundOut()
{
    stop();
}

void SoundOut::playLooped(const QByteArray &wavImage)
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || wavImage.size() <= kWavHeaderSize)
        return;

    QAudioFormat format;
    format.setSampleRate(kPreviewSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);

    samples_ = std::make_unique<LoopingSamples>(wavImage);
    // Unbuffered: a buffered device would read ahead of the sink.
    samples_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->start(samples_.get());
    if (sink_->error() != QAudio::NoError)
        stop();
}

void SoundOut::stop()
{
    if (sink_)
        sink_->stop();
    sink_.reset();
    samples_.reset();
}
