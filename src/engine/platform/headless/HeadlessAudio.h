#pragma once
// Sound output for tests and benchmarks: nothing is heard, but every voice is
// tracked and every start and stop is recorded, so the play policy of the
// sound list can be checked exactly. Voices play until a test finishes them.

#include <cstdint>
#include <vector>

#include "engine/platform/Audio.h"

namespace bd {

class THeadlessAudio : public IAudio {
 public:
  struct Event {
    enum class Kind { Create, Duplicate, Play, Stop, Rewind, Destroy };
    Kind kind = Kind::Create;
    int voice = 0;           // voices are numbered from 1 in order of creation
    bool looping = false;    // Play
    bool fromStart = false;  // Play: the voice was at its start
    int source = 0;          // Duplicate: the voice it was made from
  };

  struct Voice {
    bool alive = true;
    bool playing = false;
    bool looping = false;
    bool atStart = true;
    int data = 0;  // the voice whose recording this one shares (itself for an original)
    uint32_t frequency = 0;
    int32_t pan = 0;
    int32_t volume = 0;
  };

  // `deviceAvailable` false makes Open fail, as on a machine without sound.
  explicit THeadlessAudio(bool deviceAvailable = true, int rate = 44100);

  bool Open() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  int OutputRate() const override { return rate_; }
  std::unique_ptr<ISoundBuffer> CreateBuffer(const TWaveFormat& format, const uint8_t* samples,
                                             size_t size) override;
  void SetMusicSource(IMusicSource* source) override { music_ = source; }
  void SetMuted(bool muted) override { muted_ = muted; }

  // What the tests look at and drive.
  const std::vector<Event>& Events() const { return events_; }
  void ClearEvents() { events_.clear(); }
  const Voice& VoiceState(int voice) const { return voices_.at(static_cast<size_t>(voice - 1)); }
  int VoiceCount() const { return static_cast<int>(voices_.size()); }
  int LiveVoices() const;
  int PlayingVoices() const;
  // A voice reaches its end (looping voices never do by themselves).
  void Finish(int voice);
  void FinishAll();
  bool Muted() const { return muted_; }
  // Renders `frames` stereo frames of music, as the device would ask for them.
  std::vector<int16_t> PullMusic(int frames);

 private:
  class TVoice;
  friend class TVoice;
  int AddVoice(int data);
  void Record(Event e) { events_.push_back(e); }

  bool deviceAvailable_;
  int rate_;
  bool open_ = false;
  bool muted_ = false;
  IMusicSource* music_ = nullptr;
  std::vector<Voice> voices_;
  std::vector<Event> events_;
};

}  // namespace bd
