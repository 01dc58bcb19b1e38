#include "tools/kelvane-render/video_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <vector>

namespace {

constexpr int kAudioRate = 44100;
constexpr std::int64_t kAudioBitRate = 192000;
constexpr const char* kVideoQuality = "18";  // x264's constant rate factor: visually lossless
constexpr const char* kVideoPreset = "medium";
constexpr std::size_t kConverterOverread = 64;

std::string AvErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

struct EncodedStream {
  AVCodecContext* encoder = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  std::int64_t nextPts = 0;
};

// x264's AVX-512 routines (core 164) read bytes they never wrote, so the same frames encoded twice
// come out differently, depending on what the heap held. Held to AVX2, the encoder gives the same
// file every time, which a render in several processes relies on; at these sizes it is hardly slower.
void HoldX264ToAvx2WhereAvx512Is([[maybe_unused]] AVCodecContext& encoder) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  if (__builtin_cpu_supports("avx512f")) av_opt_set(encoder.priv_data, "x264-params", "asm=AVX2", 0);
#endif
}

}  // namespace

struct VideoFile::Parts {
  std::string path;
  AVFormatContext* container = nullptr;
  EncodedStream video;
  EncodedStream audio;
  bool withAudio = false;
  SwsContext* converter = nullptr;
  AVPacket* packet = nullptr;
  std::vector<float> pendingAudio;  // interleaved stereo not yet a whole encoder frame
  std::vector<std::uint8_t> paddedRgb;
  bool headerWritten = false;
  bool finished = false;

  ~Parts() {
    if (headerWritten && !finished) av_write_trailer(container);
    for (EncodedStream* part : {&video, &audio}) {
      avcodec_free_context(&part->encoder);
      av_frame_free(&part->frame);
    }
    sws_freeContext(converter);
    av_packet_free(&packet);
    if (container && container->pb) avio_closep(&container->pb);
    avformat_free_context(container);
  }

  bool Fail(std::string& error, const std::string& what, int code = 0) {
    error = path + ": " + what + (code ? " (" + AvErrorText(code) + ")" : "");
    return false;
  }

  bool OpenEncoder(EncodedStream& part, std::string& error) {
    if (container->oformat->flags & AVFMT_GLOBALHEADER) part.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int status = avcodec_open2(part.encoder, part.encoder->codec, nullptr);
    if (status < 0) return Fail(error, std::string("cannot open the encoder ") + part.encoder->codec->name, status);
    part.stream = avformat_new_stream(container, nullptr);
    if (!part.stream) return Fail(error, "cannot add a stream");
    part.stream->time_base = part.encoder->time_base;
    status = avcodec_parameters_from_context(part.stream->codecpar, part.encoder);
    if (status < 0) return Fail(error, "cannot describe a stream", status);
    part.frame = av_frame_alloc();
    return part.frame != nullptr || Fail(error, "out of memory");
  }

  bool OpenVideo(const VideoFormat& format, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) return Fail(error, "this libavcodec has no libx264 encoder");
    video.encoder = avcodec_alloc_context3(codec);
    AVCodecContext& encoder = *video.encoder;
    encoder.width = format.width;
    encoder.height = format.height;
    encoder.time_base = AVRational{1, format.fps};
    encoder.framerate = AVRational{format.fps, 1};
    encoder.pix_fmt = AV_PIX_FMT_YUV420P;
    encoder.color_range = AVCOL_RANGE_MPEG;
    encoder.colorspace = AVCOL_SPC_SMPTE170M;
    encoder.color_primaries = AVCOL_PRI_SMPTE170M;
    encoder.color_trc = AVCOL_TRC_SMPTE170M;
    av_opt_set(encoder.priv_data, "crf", kVideoQuality, 0);
    av_opt_set(encoder.priv_data, "preset", kVideoPreset, 0);
    HoldX264ToAvx2WhereAvx512Is(encoder);
    if (!OpenEncoder(video, error)) return false;
    converter = sws_getContext(format.width, format.height, AV_PIX_FMT_RGB24, format.width, format.height,
                               AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!converter) return Fail(error, "cannot convert RGB to yuv420p at this size");
    video.frame->format = AV_PIX_FMT_YUV420P;
    video.frame->width = format.width;
    video.frame->height = format.height;
    const int status = av_frame_get_buffer(video.frame, 0);
    return status >= 0 || Fail(error, "out of memory", status);
  }

  bool OpenAudio(std::string& error) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec) return Fail(error, "this libavcodec has no AAC encoder");
    audio.encoder = avcodec_alloc_context3(codec);
    AVCodecContext& encoder = *audio.encoder;
    encoder.sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder.sample_rate = kAudioRate;
    encoder.bit_rate = kAudioBitRate;
    encoder.time_base = AVRational{1, kAudioRate};
    av_channel_layout_default(&encoder.ch_layout, 2);
    if (!OpenEncoder(audio, error)) return false;
    audio.frame->format = AV_SAMPLE_FMT_FLTP;
    audio.frame->sample_rate = kAudioRate;
    audio.frame->nb_samples = encoder.frame_size;
    av_channel_layout_copy(&audio.frame->ch_layout, &encoder.ch_layout);
    const int status = av_frame_get_buffer(audio.frame, 0);
    return status >= 0 || Fail(error, "out of memory", status);
  }

  bool Open(const VideoFormat& format, std::string& error) {
    int status = avformat_alloc_output_context2(&container, nullptr, "mp4", path.c_str());
    if (status < 0 || !container) return Fail(error, "cannot make an MP4 container", status);
    packet = av_packet_alloc();
    if (!packet) return Fail(error, "out of memory");
    if (!OpenVideo(format, error) || (withAudio && !OpenAudio(error))) return false;
    status = avio_open(&container->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (status < 0) return Fail(error, "cannot write the file", status);
    status = avformat_write_header(container, nullptr);
    if (status < 0) return Fail(error, "cannot write the file's header", status);
    headerWritten = true;
    return true;
  }

  // Hands `frame` (null: the end) to the encoder and writes every packet it gives back.
  bool Encode(EncodedStream& part, AVFrame* frame, std::string& error) {
    int status = avcodec_send_frame(part.encoder, frame);
    if (status < 0) return Fail(error, "the encoder refused a frame", status);
    for (;;) {
      status = avcodec_receive_packet(part.encoder, packet);
      if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) return true;
      if (status < 0) return Fail(error, "the encoder failed", status);
      if (packet->duration == 0 && &part == &video) packet->duration = 1;  // one frame: the last one counts too
      av_packet_rescale_ts(packet, part.encoder->time_base, part.stream->time_base);
      packet->stream_index = part.stream->index;
      status = av_interleaved_write_frame(container, packet);
      if (status < 0) return Fail(error, "cannot write to the file", status);
    }
  }

  bool EncodeAudioFrame(const float* stereo, int samples, std::string& error) {
    const int status = av_frame_make_writable(audio.frame);
    if (status < 0) return Fail(error, "out of memory", status);
    auto* left = reinterpret_cast<float*>(audio.frame->data[0]);
    auto* right = reinterpret_cast<float*>(audio.frame->data[1]);
    const int frameSize = audio.encoder->frame_size;
    for (int i = 0; i < frameSize; ++i) {
      left[i] = i < samples ? stereo[2 * i] : 0.0f;
      right[i] = i < samples ? stereo[2 * i + 1] : 0.0f;
    }
    const bool shortLastFrame = audio.encoder->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
    audio.frame->nb_samples = shortLastFrame ? samples : frameSize;
    audio.frame->pts = audio.nextPts;
    audio.nextPts += samples;
    return Encode(audio, audio.frame, error);
  }

  bool EncodeWholeAudioFrames(std::string& error) {
    const std::size_t frameValues = std::size_t(audio.encoder->frame_size) * 2;
    std::size_t used = 0;
    while (pendingAudio.size() - used >= frameValues) {
      if (!EncodeAudioFrame(pendingAudio.data() + used, audio.encoder->frame_size, error)) return false;
      used += frameValues;
    }
    pendingAudio.erase(pendingAudio.begin(), pendingAudio.begin() + std::ptrdiff_t(used));
    return true;
  }
};

std::unique_ptr<VideoFile> VideoFile::Create(const std::string& path, const VideoFormat& format, std::string& error) {
  av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are not for the user
  auto parts = std::make_unique<Parts>();
  parts->path = path;
  parts->withAudio = format.withAudio;
  if (!parts->Open(format, error)) return nullptr;
  return std::unique_ptr<VideoFile>(new VideoFile(std::move(parts)));
}

VideoFile::VideoFile(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
VideoFile::~VideoFile() = default;

bool VideoFile::AddFrame(const std::uint8_t* rgb, std::string& error) {
  Parts& parts = *parts_;
  AVFrame* frame = parts.video.frame;
  const int status = av_frame_make_writable(frame);
  if (status < 0) return parts.Fail(error, "out of memory", status);
  // The converter reads whole vectors, past the end of the last row: it gets a copy with room for that.
  const std::size_t bytes = std::size_t(frame->width) * std::size_t(frame->height) * 3;
  parts.paddedRgb.resize(bytes + kConverterOverread);
  std::copy(rgb, rgb + bytes, parts.paddedRgb.begin());
  const std::uint8_t* const source[1] = {parts.paddedRgb.data()};
  const int sourceStride[1] = {frame->width * 3};
  sws_scale(parts.converter, source, sourceStride, 0, frame->height, frame->data, frame->linesize);
  frame->pts = parts.video.nextPts++;
  return parts.Encode(parts.video, frame, error);
}

bool VideoFile::AddAudio(const float* stereo, std::size_t frames, std::string& error) {
  Parts& parts = *parts_;
  if (!parts.withAudio) return true;
  parts.pendingAudio.insert(parts.pendingAudio.end(), stereo, stereo + 2 * frames);
  return parts.EncodeWholeAudioFrames(error);
}

bool VideoFile::Finish(std::string& error) {
  Parts& parts = *parts_;
  if (!parts.Encode(parts.video, nullptr, error)) return false;
  if (parts.withAudio) {
    const int rest = int(parts.pendingAudio.size() / 2);
    if (rest > 0 && !parts.EncodeAudioFrame(parts.pendingAudio.data(), rest, error)) return false;
    parts.pendingAudio.clear();
    if (!parts.Encode(parts.audio, nullptr, error)) return false;
  }
  parts.finished = true;
  const int status = av_write_trailer(parts.container);
  if (status < 0) return parts.Fail(error, "cannot finish the file", status);
  const int closed = avio_closep(&parts.container->pb);
  return closed >= 0 || parts.Fail(error, "cannot close the file", closed);
}
