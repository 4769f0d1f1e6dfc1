#include "engine/platform/sdl/SdlAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "engine/platform/AudioFormat.h"
#include "engine/platform/MixLevels.h"

namespace bd {

namespace {

constexpr int kInitialChannels = 32;
constexpr int kOutputChannels = 2;
constexpr int kChunkFrames = 1024;
constexpr int kBytesPerOutputFrame = 4;  // 16-bit stereo
// Largest buffer a recording may need while it is converted. The need grows
// with the ratio of the output rate to the recording's, so a short file that
// claims a rate of a few hertz would otherwise ask for gigabytes. 64 MiB holds
// over six minutes of converted sound, far more than any effect.
constexpr uint64_t kMaxConvertBytes = uint64_t{64} << 20;

// A recording converted to the device format, once per playback rate asked
// for. Every voice made from one recording holds the same shared instance.
class TSharedSamples {
 public:
  TSharedSamples(const TWaveFormat& format, SDL_AudioFormat sdlFormat, std::vector<uint8_t> source)
      : format_(format), sdlFormat_(sdlFormat), source_(std::move(source)) {}
  ~TSharedSamples() {
    for (auto& [rate, converted] : converted_) Mix_FreeChunk(converted.chunk);
  }
  TSharedSamples(const TSharedSamples&) = delete;
  TSharedSamples& operator=(const TSharedSamples&) = delete;

  // The chunk playing the recording as if it had been made at `rate`
  // (0: its own rate); null if the conversion fails.
  Mix_Chunk* Chunk(uint32_t rate) {
    if (rate == 0) rate = format_.SamplesPerSec;
    auto found = converted_.find(rate);
    if (found != converted_.end()) return found->second.chunk;
    Converted c;
    if (!Convert(rate, c.bytes)) return nullptr;
    c.chunk = Mix_QuickLoad_RAW(c.bytes.data(), static_cast<Uint32>(c.bytes.size()));
    if (c.chunk == nullptr) return nullptr;
    return converted_.emplace(rate, std::move(c)).first->second.chunk;
  }

 private:
  struct Converted {
    std::vector<uint8_t> bytes;  // the chunk points into these; moving a vector keeps its buffer
    Mix_Chunk* chunk = nullptr;
  };

  bool Convert(uint32_t rate, std::vector<uint8_t>& out) const {
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, sdlFormat_, static_cast<Uint8>(format_.Channels), static_cast<int>(rate),
                          AUDIO_S16SYS, kOutputChannels, TSdlAudio::kRate) < 0)
      return false;
    const uint64_t work = uint64_t{source_.size()} * static_cast<uint64_t>(std::max(cvt.len_mult, 1));
    if (work > kMaxConvertBytes) return false;
    out.assign(static_cast<size_t>(work), 0);
    std::memcpy(out.data(), source_.data(), source_.size());
    cvt.buf = out.data();
    cvt.len = static_cast<int>(source_.size());
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return false;
    out.resize(cvt.needed ? static_cast<size_t>(cvt.len_cvt) : source_.size());
    out.resize(out.size() - out.size() % kBytesPerOutputFrame);
    // The conversion needed room for its widest stage (several times the
    // result); give back what the chunk does not use, for the next sound.
    out.shrink_to_fit();
    return !out.empty();
  }

  TWaveFormat format_;
  SDL_AudioFormat sdlFormat_;
  std::vector<uint8_t> source_;
  std::map<uint32_t, Converted> converted_;
};

// Hundredths of a decibel of attenuation as a linear factor.
double Attenuation(int32_t hundredthsDb) { return std::pow(10.0, -std::abs(hundredthsDb) / 2000.0); }

// The mixer's channel volume for a voice at `hundredthsDb`, under the
// headroom every voice leaves for the others and the music.
int ChannelVolume(int32_t hundredthsDb) {
  return static_cast<int>(std::lround(MIX_MAX_VOLUME * kVoiceGain * Attenuation(hundredthsDb)));
}

class TSdlVoice : public ISoundBuffer {
 public:
  TSdlVoice(TSdlAudio& audio, std::shared_ptr<TSharedSamples> samples)
      : audio_(audio), samples_(std::move(samples)), channel_(audio.AcquireChannel()) {}
  ~TSdlVoice() override { audio_.ReleaseChannel(channel_); }
  TSdlVoice(const TSdlVoice&) = delete;
  TSdlVoice& operator=(const TSdlVoice&) = delete;

  std::unique_ptr<ISoundBuffer> Duplicate() override {
    auto copy = std::make_unique<TSdlVoice>(audio_, samples_);
    copy->frequency_ = frequency_;
    copy->pan_ = pan_;
    copy->volume_ = volume_;
    return copy;
  }

  void Play(bool looping) override {
    if (paused_ && !rewound_) {
      Mix_Resume(channel_);  // a stopped voice goes on where it stopped
    } else {
      Mix_Chunk* chunk = samples_->Chunk(frequency_);
      if (chunk == nullptr) return;
      Mix_PlayChannel(channel_, chunk, looping ? -1 : 0);
    }
    paused_ = false;
    rewound_ = false;
    // The mixer forgets a channel's panning whenever the channel ends, so it
    // is set again at every start.
    ApplyPan();
    Mix_Volume(channel_, ChannelVolume(volume_));
  }

  void Stop() override {
    if (!Mix_Playing(channel_) || Mix_Paused(channel_)) return;
    Mix_Pause(channel_);
    paused_ = Mix_Paused(channel_) != 0;
    if (!paused_) {
      // The mixer marks a pause with the tick count, which is still 0 in the
      // first millisecond after start-up; halting is the only sure stop then.
      Mix_HaltChannel(channel_);
      rewound_ = true;
    }
  }

  void Rewind() override {
    Mix_HaltChannel(channel_);
    paused_ = false;
    rewound_ = true;
  }

  bool IsPlaying() override { return Mix_Playing(channel_) != 0 && Mix_Paused(channel_) == 0; }

  void SetFrequency(uint32_t hz) override { frequency_ = hz; }
  void SetPan(int32_t pan) override {
    pan_ = std::clamp(pan, -10000, 10000);
    if (IsPlaying()) ApplyPan();
  }
  void SetVolume(int32_t volume) override {
    volume_ = std::clamp(volume, -10000, 0);
    if (IsPlaying())
      Mix_Volume(channel_, ChannelVolume(volume_));
  }

 private:
  void ApplyPan() {
    const auto side = static_cast<Uint8>(std::lround(255 * Attenuation(pan_)));
    // A pan to the right quietens the left side and the other way round.
    Mix_SetPanning(channel_, pan_ > 0 ? side : 255, pan_ < 0 ? side : 255);
  }

  TSdlAudio& audio_;
  std::shared_ptr<TSharedSamples> samples_;
  int channel_;
  bool paused_ = false;
  bool rewound_ = true;
  uint32_t frequency_ = 0;
  int32_t pan_ = 0;
  int32_t volume_ = 0;
};

}  // namespace

TSdlAudio::~TSdlAudio() { Close(); }

bool TSdlAudio::Open() {
  if (open_) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // No format changes allowed: SDL converts to the hardware for us, so the
  // recordings and the music are always made for 16-bit stereo at kRate.
  if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, kOutputChannels, kChunkFrames, nullptr, 0) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  open_ = true;
  channelCount_ = Mix_AllocateChannels(kInitialChannels);
  freeChannels_.clear();
  for (int ch = channelCount_ - 1; ch >= 0; --ch) freeChannels_.push_back(ch);
  Mix_MasterVolume(muted_ ? 0 : MIX_MAX_VOLUME);
  if (music_ != nullptr) Mix_HookMusic(&TSdlAudio::MusicHook, music_);
  framesMixed_.store(0);
  Mix_SetPostMix(&TSdlAudio::CountMixed, this);
  return true;
}

void TSdlAudio::Close() {
  if (!open_) return;
  Mix_HookMusic(nullptr, nullptr);
  Mix_SetPostMix(nullptr, nullptr);
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  open_ = false;
  channelCount_ = 0;
  freeChannels_.clear();
}

std::unique_ptr<ISoundBuffer> TSdlAudio::CreateBuffer(const TWaveFormat& format, const uint8_t* samples,
                                                      size_t size) {
  SDL_AudioFormat sdlFormat;
  const size_t frame = FrameBytes(format);
  if (!open_ || samples == nullptr || frame == 0 || !SdlSampleFormat(format, sdlFormat)) return nullptr;
  const size_t whole = size - size % frame;  // a torn last frame is dropped
  if (whole == 0) return nullptr;
  auto shared =
      std::make_shared<TSharedSamples>(format, sdlFormat, std::vector<uint8_t>(samples, samples + whole));
  if (shared->Chunk(0) == nullptr) return nullptr;  // convert now, not at the first play
  return std::make_unique<TSdlVoice>(*this, std::move(shared));
}

void TSdlAudio::SetMusicSource(IMusicSource* source) {
  music_ = source;
  // Hooking takes the mixer's lock, so once this returns the old source is
  // no longer being called.
  if (open_) Mix_HookMusic(source != nullptr ? &TSdlAudio::MusicHook : nullptr, source);
}

void TSdlAudio::SetMuted(bool muted) {
  muted_ = muted;
  if (open_) Mix_MasterVolume(muted ? 0 : MIX_MAX_VOLUME);
}

int TSdlAudio::AcquireChannel() {
  if (freeChannels_.empty()) {
    const int grown = Mix_AllocateChannels(std::max(channelCount_ * 2, kInitialChannels));
    for (int ch = grown - 1; ch >= channelCount_; --ch) freeChannels_.push_back(ch);
    channelCount_ = grown;
  }
  const int channel = freeChannels_.back();
  freeChannels_.pop_back();
  Mix_Volume(channel, ChannelVolume(0));
  return channel;
}

void TSdlAudio::ReleaseChannel(int channel) {
  if (!open_) return;
  Mix_HaltChannel(channel);
  freeChannels_.push_back(channel);
}

// Runs on the audio thread. The source travels as the hook's own argument,
// so nothing here reads state that the game thread writes.
void TSdlAudio::MusicHook(void* source, uint8_t* stream, int len) {
  std::memset(stream, 0, static_cast<size_t>(len));
  auto* samples = reinterpret_cast<int16_t*>(stream);
  const int frames = len / kBytesPerOutputFrame;
  static_cast<IMusicSource*>(source)->RenderMusic(samples, frames);
  // The music's share of the headroom; the voices are added on top of it.
  for (int i = 0; i < frames * kOutputChannels; ++i)
    samples[i] = static_cast<int16_t>(std::lround(samples[i] * kMusicGain));
}

// Runs on the audio thread after every mixed buffer.
void TSdlAudio::CountMixed(void* audio, uint8_t* /*stream*/, int len) {
  static_cast<TSdlAudio*>(audio)->framesMixed_.fetch_add(static_cast<uint64_t>(len / kBytesPerOutputFrame));
}

}  // namespace bd
