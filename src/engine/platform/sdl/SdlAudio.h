#pragma once
// Sound output through SDL2_mixer: every voice owns one mixer channel, the
// recordings are converted once to the device format and shared between a
// voice and its duplicates, and the music source fills the mixer's music hook.

#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/platform/Audio.h"

namespace bd {

class TSdlAudio : public IAudio {
 public:
  TSdlAudio() = default;
  ~TSdlAudio() override;
  TSdlAudio(const TSdlAudio&) = delete;
  TSdlAudio& operator=(const TSdlAudio&) = delete;

  bool Open() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  int OutputRate() const override { return kRate; }
  std::unique_ptr<ISoundBuffer> CreateBuffer(const TWaveFormat& format, const uint8_t* samples,
                                             size_t size) override;
  void SetMusicSource(IMusicSource* source) override;
  void SetMuted(bool muted) override;
  uint64_t FramesMixed() const override { return framesMixed_.load(); }

  // Channels are handed out to voices and come back when a voice is destroyed.
  int AcquireChannel();
  void ReleaseChannel(int channel);

  static constexpr int kRate = 44100;

 private:
  static void MusicHook(void* source, uint8_t* stream, int len);
  static void CountMixed(void* audio, uint8_t* stream, int len);

  bool open_ = false;
  bool muted_ = false;
  IMusicSource* music_ = nullptr;
  std::atomic<uint64_t> framesMixed_{0};  // written by the audio thread
  int channelCount_ = 0;
  std::vector<int> freeChannels_;
};

}  // namespace bd
