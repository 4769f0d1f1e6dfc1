#include "engine/platform/headless/HeadlessAudio.h"

#include "engine/platform/AudioFormat.h"

namespace bd {

class THeadlessAudio::TVoice : public ISoundBuffer {
 public:
  TVoice(THeadlessAudio& owner, int id) : owner_(owner), id_(id) {}
  ~TVoice() override {
    State().alive = false;
    State().playing = false;
    owner_.Record({Event::Kind::Destroy, id_});
  }

  std::unique_ptr<ISoundBuffer> Duplicate() override {
    const int copy = owner_.AddVoice(State().data);
    owner_.Record({Event::Kind::Duplicate, copy, false, false, id_});
    return std::make_unique<TVoice>(owner_, copy);
  }
  void Play(bool looping) override {
    owner_.Record({Event::Kind::Play, id_, looping, State().atStart});
    State().playing = true;
    State().looping = looping;
    State().atStart = false;  // a playing voice leaves its start at once
  }
  void Stop() override {
    owner_.Record({Event::Kind::Stop, id_});
    State().playing = false;
  }
  void Rewind() override {
    owner_.Record({Event::Kind::Rewind, id_});
    State().atStart = true;
  }
  bool IsPlaying() override { return State().playing; }
  void SetFrequency(uint32_t hz) override { State().frequency = hz; }
  void SetPan(int32_t pan) override { State().pan = pan; }
  void SetVolume(int32_t volume) override { State().volume = volume; }

 private:
  Voice& State() { return owner_.voices_[static_cast<size_t>(id_ - 1)]; }
  THeadlessAudio& owner_;
  int id_;
};

THeadlessAudio::THeadlessAudio(bool deviceAvailable, int rate)
    : deviceAvailable_(deviceAvailable), rate_(rate) {}

bool THeadlessAudio::Open() {
  open_ = deviceAvailable_;
  return open_;
}

void THeadlessAudio::Close() { open_ = false; }

std::unique_ptr<ISoundBuffer> THeadlessAudio::CreateBuffer(const TWaveFormat& format, const uint8_t* samples,
                                                           size_t size) {
  const size_t frame = FrameBytes(format);
  if (!open_ || samples == nullptr || frame == 0 || size < frame) return nullptr;
  const int id = static_cast<int>(voices_.size()) + 1;
  AddVoice(id);
  Record({Event::Kind::Create, id});
  return std::make_unique<TVoice>(*this, id);
}

int THeadlessAudio::AddVoice(int data) {
  voices_.push_back(Voice{});
  voices_.back().data = data;
  return static_cast<int>(voices_.size());
}

int THeadlessAudio::LiveVoices() const {
  int n = 0;
  for (const Voice& v : voices_) n += v.alive ? 1 : 0;
  return n;
}

int THeadlessAudio::PlayingVoices() const {
  int n = 0;
  for (const Voice& v : voices_) n += v.playing ? 1 : 0;
  return n;
}

void THeadlessAudio::Finish(int voice) {
  Voice& v = voices_.at(static_cast<size_t>(voice - 1));
  if (v.looping) return;
  v.playing = false;
}

void THeadlessAudio::FinishAll() {
  for (int i = 1; i <= VoiceCount(); ++i) Finish(i);
}

std::vector<int16_t> THeadlessAudio::PullMusic(int frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 0);
  if (music_ != nullptr && frames > 0) music_->RenderMusic(out.data(), frames);
  return out;
}

}  // namespace bd
