#pragma once

// ffmpeg's adpcm_ima_ssi decoder (libavcodec) as an independent reference:
// raw IMA ADPCM, high nibble first, one continuous state, the layout of a
// type 0 recording; it differs only by clamping the low end at -32768.
extern "C" {
#include <libavcodec/avcodec.h>
}

#include <QByteArray>

#include <cstring>
#include <stdexcept>
#include <vector>

class FfmpegImaSsi
{
public:
    explicit FfmpegImaSsi(const QByteArray &bytes)
    {
        const AVCodec *codec = avcodec_find_decoder(AV_CODEC_ID_ADPCM_IMA_SSI);
        context_ = avcodec_alloc_context3(codec);
        packet_ = av_packet_alloc();
        frame_ = av_frame_alloc();
        if (!codec || !context_ || !packet_ || !frame_)
            throw std::runtime_error("libavcodec has no adpcm_ima_ssi decoder");
        context_->sample_rate = 22050;
        av_channel_layout_default(&context_->ch_layout, 1);
        if (avcodec_open2(context_, codec, nullptr) < 0 || av_new_packet(packet_, static_cast<int>(bytes.size())) < 0)
            throw std::runtime_error("cannot open the adpcm_ima_ssi decoder");
        std::memcpy(packet_->data, bytes.constData(), static_cast<size_t>(bytes.size()));
        if (context_->sample_fmt != AV_SAMPLE_FMT_S16 && context_->sample_fmt != AV_SAMPLE_FMT_S16P)
            throw std::runtime_error("adpcm_ima_ssi gives samples other than 16-bit");
    }

    ~FfmpegImaSsi()
    {
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        avcodec_free_context(&context_);
    }

    FfmpegImaSsi(const FfmpegImaSsi &) = delete;
    FfmpegImaSsi &operator=(const FfmpegImaSsi &) = delete;

    // Decodes the bytes from a fresh state, two samples per byte, handing
    // each decoded frame to take(const int16_t *samples, int count).
    template <typename Take>
    void decode(Take &&take)
    {
        avcodec_flush_buffers(context_);
        if (avcodec_send_packet(context_, packet_) < 0)
            throw std::runtime_error("adpcm_ima_ssi refused the data");
        while (avcodec_receive_frame(context_, frame_) == 0)
            take(reinterpret_cast<const int16_t *>(frame_->data[0]), frame_->nb_samples);
    }

    std::vector<int16_t> decodeAll()
    {
        std::vector<int16_t> samples;
        decode([&samples](const int16_t *decoded, int count) { samples.insert(samples.end(), decoded, decoded + count); });
        return samples;
    }

private:
    AVCodecContext *context_ = nullptr;
    AVPacket *packet_ = nullptr;
    AVFrame *frame_ = nullptr;
};
