// The video file through FFmpeg's libraries: the container and its two streams, the pictures
// converted by libswscale, the sound by libswresample.
#include "platform/video/encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cctype>
#include <functional>
#include <new>
#include <vector>

#include "platform/api/forms.h"

namespace platform {

namespace {

struct FreeFrame {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

// What a kind of video is made of, by FFmpeg's names.
struct Codecs {
    const char* container;
    const char* picture;
    AVPixelFormat pixels;
    const char* sound;
    AVSampleFormat samples;
};

Codecs CodecsOf(VideoKind kind) {
    switch (kind) {
        case VideoKind::Matroska:
            return {"matroska", "ffv1", AV_PIX_FMT_BGR0, "flac", AV_SAMPLE_FMT_S16};
        case VideoKind::Mp4:
            return {"mp4", "libx264", AV_PIX_FMT_YUV420P, "aac", AV_SAMPLE_FMT_FLTP};
        case VideoKind::WebM:
            break;
    }
    return {"webm", "libvpx-vp9", AV_PIX_FMT_YUV420P, "libopus", AV_SAMPLE_FMT_S16};
}

std::string ErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

// The encoder's settings that make a picture worth sharing at a pace faster than the game's.
void SetPictureOptions(AVCodecContext& codec, VideoKind kind) {
    switch (kind) {
        case VideoKind::WebM:
            av_opt_set(codec.priv_data, "deadline", "realtime", 0);
            av_opt_set(codec.priv_data, "cpu-used", "8", 0);
            av_opt_set(codec.priv_data, "row-mt", "1", 0);
            av_opt_set(codec.priv_data, "crf", "30", 0);
            codec.bit_rate = 0;  // with crf: constant quality
            break;
        case VideoKind::Matroska:
            codec.level = 3;  // slices coded side by side
            codec.slices = 4;
            break;
        case VideoKind::Mp4:
            av_opt_set(codec.priv_data, "preset", "veryfast", 0);
            av_opt_set(codec.priv_data, "crf", "20", 0);
            break;
    }
}

}  // namespace

std::optional<VideoKind> VideoKindOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) {
        return std::nullopt;
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "webm") {
        return VideoKind::WebM;
    }
    if (extension == "mkv") {
        return VideoKind::Matroska;
    }
    if (extension == "mp4") {
        return VideoKind::Mp4;
    }
    return std::nullopt;
}

struct VideoEncoder::Streams {
    std::string name;
    AVFormatContext* file = nullptr;
    AVCodecContext* picture = nullptr;
    AVStream* pictureStream = nullptr;
    AVCodecContext* sound = nullptr;
    AVStream* soundStream = nullptr;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    std::int64_t pictures = 0;
    std::int64_t soundFrames = 0;
    std::vector<std::int16_t> held;  // sound not yet a whole frame of the encoder's

    ~Streams() {
        if (file != nullptr && file->pb != nullptr) {
            avio_closep(&file->pb);
        }
        avformat_free_context(file);
        avcodec_free_context(&picture);
        avcodec_free_context(&sound);
        sws_freeContext(scaler);
        swr_free(&resampler);
        av_frame_free(&frame);
        av_packet_free(&packet);
    }

    void Check(int result, const char* doing) const {
        if (result < 0) {
            throw Exception(std::string("Cannot ") + doing + " the video " + name + ": " +
                            ErrorText(result));
        }
    }

    AVCodecContext* OpenCodec(const char* codecName, AVStream*& stream,
                              const std::function<void(AVCodecContext&)>& settings) {
        const AVCodec* codec = avcodec_find_encoder_by_name(codecName);
        if (codec == nullptr) {
            throw Exception("Cannot make the video " + name + ": this FFmpeg has no " + codecName +
                            " encoder");
        }
        AVCodecContext* context = avcodec_alloc_context3(codec);
        if (context == nullptr) {
            throw std::bad_alloc();
        }
        settings(*context);
        if ((file->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
            context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        const int opened = avcodec_open2(context, codec, nullptr);
        if (opened < 0) {
            avcodec_free_context(&context);
            Check(opened, "start encoding");
        }
        stream = avformat_new_stream(file, nullptr);
        if (stream == nullptr) {
            avcodec_free_context(&context);
            throw std::bad_alloc();
        }
        stream->time_base = context->time_base;
        Check(avcodec_parameters_from_context(stream->codecpar, context), "start encoding");
        return context;
    }

    // Sends a frame to the encoder (none: the end) and writes the packets it gives back.
    void Encode(AVCodecContext* codec, AVStream* stream, AVFrame* input) {
        Check(avcodec_send_frame(codec, input), "encode");
        for (;;) {
            const int received = avcodec_receive_packet(codec, packet);
            if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
                return;
            }
            Check(received, "encode");
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            Check(av_interleaved_write_frame(file, packet), "write");
        }
    }

    // The sound's frames an encoder's frame holds.
    int SoundFrameSize() const {
        const bool any = (sound->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) != 0;
        return sound->frame_size > 0 && !any ? sound->frame_size : 1024;
    }

    // Encodes the held sound's first frames: a whole frame of the encoder's, or at the end what
    // is left, padded with silence where the encoder takes no shorter last frame.
    void EncodeSound(int frames) {
        const int capabilities = sound->codec->capabilities;
        int size = frames;
        if ((capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) ==
            0) {
            size = std::max(size, SoundFrameSize());
        }
        held.resize(std::max(held.size(), static_cast<std::size_t>(size) * kVideoSoundChannels));
        const std::unique_ptr<AVFrame, FreeFrame> samples(av_frame_alloc());
        if (!samples) {
            throw std::bad_alloc();
        }
        samples->nb_samples = size;
        samples->format = sound->sample_fmt;
        samples->sample_rate = kVideoSoundRate;
        Check(av_channel_layout_copy(&samples->ch_layout, &sound->ch_layout), "encode");
        Check(av_frame_get_buffer(samples.get(), 0), "encode");
        const auto* from = reinterpret_cast<const std::uint8_t*>(held.data());
        Check(swr_convert(resampler, samples->data, size, &from, size), "encode");
        samples->pts = soundFrames;
        soundFrames += size;
        Encode(sound, soundStream, samples.get());
        held.erase(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                                    held.size(), static_cast<std::size_t>(size) *
                                                                     kVideoSoundChannels)));
    }
};

VideoEncoder::VideoEncoder(const std::string& path, const std::string& name, VideoKind kind,
                           int width, int height)
    : streams_(std::make_unique<Streams>()) {
    // What goes wrong is said once, in the program's words; the encoders' reports stay unsaid.
    av_log_set_level(AV_LOG_QUIET);
    Streams& s = *streams_;
    s.name = name;
    const Codecs codecs = CodecsOf(kind);
    s.Check(avformat_alloc_output_context2(&s.file, nullptr, codecs.container, path.c_str()),
            "make");
    s.picture = s.OpenCodec(codecs.picture, s.pictureStream, [&](AVCodecContext& c) {
        c.width = width;
        c.height = height;
        c.pix_fmt = codecs.pixels;
        c.time_base = AVRational{1, kVideoFramesPerSecond};
        c.framerate = AVRational{kVideoFramesPerSecond, 1};
        c.gop_size = 4 * kVideoFramesPerSecond;
        c.thread_count = 0;  // as many as the processor has
        if (codecs.pixels == AV_PIX_FMT_BGR0) {
            c.colorspace = AVCOL_SPC_RGB;
        } else {
            c.colorspace = AVCOL_SPC_BT709;
            c.color_primaries = AVCOL_PRI_BT709;
            c.color_trc = AVCOL_TRC_BT709;
            c.color_range = AVCOL_RANGE_MPEG;
        }
        SetPictureOptions(c, kind);
    });
    s.sound = s.OpenCodec(codecs.sound, s.soundStream, [&](AVCodecContext& c) {
        c.sample_fmt = codecs.samples;
        c.sample_rate = kVideoSoundRate;
        c.time_base = AVRational{1, kVideoSoundRate};
        av_channel_layout_default(&c.ch_layout, kVideoSoundChannels);
        if (kind != VideoKind::Matroska) {
            c.bit_rate = 160'000;
        }
    });

    s.scaler = sws_getContext(width, height, AV_PIX_FMT_BGR0, width, height, codecs.pixels,
                              SWS_POINT, nullptr, nullptr, nullptr);
    if (s.scaler == nullptr) {
        throw std::bad_alloc();
    }
    if (codecs.pixels != AV_PIX_FMT_BGR0) {
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(s.scaler, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
    AVChannelLayout stereo{};
    av_channel_layout_default(&stereo, kVideoSoundChannels);
    s.Check(swr_alloc_set_opts2(&s.resampler, &stereo, s.sound->sample_fmt, kVideoSoundRate,
                                &stereo, AV_SAMPLE_FMT_S16, kVideoSoundRate, 0, nullptr),
            "make");
    s.Check(swr_init(s.resampler), "make");
    s.frame = av_frame_alloc();
    s.packet = av_packet_alloc();
    if (s.frame == nullptr || s.packet == nullptr) {
        throw std::bad_alloc();
    }
    s.frame->width = width;
    s.frame->height = height;
    s.frame->format = codecs.pixels;
    s.Check(av_frame_get_buffer(s.frame, 0), "make");

    s.Check(avio_open(&s.file->pb, path.c_str(), AVIO_FLAG_WRITE), "write");
    AVDictionary* options = nullptr;
    if (kind == VideoKind::Mp4) {
        // The index at the front, so that a browser plays the file while it loads.
        av_dict_set(&options, "movflags", "+faststart", 0);
    }
    const int written = avformat_write_header(s.file, &options);
    av_dict_free(&options);
    s.Check(written, "write");
}

VideoEncoder::~VideoEncoder() = default;

void VideoEncoder::AddPicture(const std::uint8_t* pixels) {
    Streams& s = *streams_;
    s.Check(av_frame_make_writable(s.frame), "encode");
    const int width = s.picture->width;
    const std::uint8_t* const rows[] = {pixels};
    const int pitches[] = {4 * width};
    sws_scale(s.scaler, rows, pitches, 0, s.picture->height, s.frame->data, s.frame->linesize);
    s.frame->pts = s.pictures++;
    s.Encode(s.picture, s.pictureStream, s.frame);
}

void VideoEncoder::AddSound(const std::int16_t* samples, std::size_t frames) {
    Streams& s = *streams_;
    s.held.insert(s.held.end(), samples, samples + frames * kVideoSoundChannels);
    const int size = s.SoundFrameSize();
    while (s.held.size() >= static_cast<std::size_t>(size) * kVideoSoundChannels) {
        s.EncodeSound(size);
    }
}

void VideoEncoder::Finish() {
    Streams& s = *streams_;
    if (!s.held.empty()) {
        s.EncodeSound(static_cast<int>(s.held.size() / kVideoSoundChannels));
    }
    s.Encode(s.picture, s.pictureStream, nullptr);
    s.Encode(s.sound, s.soundStream, nullptr);
    s.Check(av_write_trailer(s.file), "write");
    s.Check(avio_closep(&s.file->pb), "write");
}

}  // namespace platform
