#include "app/MusicLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace bd {

namespace {

constexpr int kDefaultRate = 44100;
constexpr int kBytesPerFrame = 4;  // 16-bit stereo

// The game names its files the way its data folders are written, with '\'.
std::string LocalPath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool IsXmFile(const std::string& path) {
  // Only a regular file is opened: a pipe in a song's place would block.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  static constexpr char kSignature[] = "Extended Module: ";
  char head[sizeof kSignature - 1] = {};
  std::ifstream file(path, std::ios::binary);
  return file.read(head, sizeof head) && std::memcmp(head, kSignature, sizeof head) == 0;
}

}  // namespace

TXmpMusicLibrary::TXmpMusicLibrary(IAudio* audio) : audio_(audio) {
  if (audio_ != nullptr) audio_->SetMusicSource(this);
}

int TXmpMusicLibrary::Rate() const {
  return audio_ != nullptr && audio_->IsOpen() ? audio_->OutputRate() : kDefaultRate;
}

TXmpMusicLibrary::~TXmpMusicLibrary() {
  if (audio_ != nullptr) audio_->SetMusicSource(nullptr);
  while (!songs_.empty()) SongFree(songs_.begin()->first);
}

uint32_t TXmpMusicLibrary::SongLoadFromFile(const std::string& path) {
  const std::string local = LocalPath(path);
  if (!IsXmFile(local)) return 0;
  xmp_context context = xmp_create_context();
  if (context == nullptr) return 0;
  if (xmp_load_module(context, local.c_str()) != 0) {
    xmp_free_context(context);
    return 0;
  }
  const uint32_t handle = nextHandle_++;
  if (nextHandle_ == 0) nextHandle_ = 1;
  songs_[handle] = context;
  return handle;
}

void TXmpMusicLibrary::SongPlay(uint32_t song) {
  auto found = songs_.find(song);
  if (found == songs_.end()) return;
  xmp_context context = found->second;
  const int rate = Rate();
  std::lock_guard<std::mutex> lock(mutex_);
  FadeOutPlaying();
  if (playing_ != nullptr) xmp_end_player(playing_);
  playing_ = nullptr;
  playingHandle_ = 0;
  order_.store(0);
  loops_.store(0);
  lastLoop_ = 0;
  fadeInDone_ = 0;
  if (xmp_start_player(context, rate, 0) != 0) return;
  playing_ = context;
  playingHandle_ = song;
}

// Called with the lock held, before the playing context is stopped: the
// next few milliseconds it would have played, ramped down to silence, for
// the audio thread to mix in where the song left off.
void TXmpMusicLibrary::FadeOutPlaying() {
  // A paused song is silent already: nothing of it is to be heard.
  if (playing_ == nullptr || paused_ || audio_ == nullptr || !audio_->IsOpen()) return;
  std::vector<int16_t> tail(static_cast<size_t>(kFadeFrames) * 2, 0);
  xmp_play_buffer(playing_, tail.data(), kFadeFrames * kBytesPerFrame, 0);
  for (size_t i = 0; i < tail.size(); ++i) {
    double v = tail[i] * (1.0 - static_cast<double>(i / 2) / kFadeFrames);
    // A tail still sounding from an earlier stop goes on under this one.
    if (tailAt_ + i < tail_.size()) v += tail_[tailAt_ + i];
    tail[i] = static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
  }
  tail_ = std::move(tail);
  tailAt_ = 0;
}

int32_t TXmpMusicLibrary::SongGetOrder(uint32_t song) {
  return song != 0 && song == playingHandle_ ? order_.load() : 0;
}

int32_t TXmpMusicLibrary::SongLoopCount(uint32_t song) {
  return song != 0 && song == playingHandle_ ? loops_.load() : 0;
}

void TXmpMusicLibrary::SongFree(uint32_t song) {
  auto found = songs_.find(song);
  if (found == songs_.end()) return;
  xmp_context context = found->second;
  songs_.erase(found);
  Detach(context);
  if (song == playingHandle_) playingHandle_ = 0;
  xmp_release_module(context);
  xmp_free_context(context);
}

void TXmpMusicLibrary::DuckUnderCue(double seconds) {
  const int rate = Rate();
  std::lock_guard<std::mutex> lock(mutex_);
  ducking_.SetRate(rate);
  ducking_.Duck(seconds);
}

void TXmpMusicLibrary::SetPaused(bool paused) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (paused == paused_) return;
  // Pausing: the song's next moments fade out, and it stands still after
  // them. Resuming: it comes back from silence.
  if (paused) FadeOutPlaying();
  fadeInDone_ = 0;
  paused_ = paused;
}

void TXmpMusicLibrary::Detach(xmp_context context) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (playing_ != context) return;
  FadeOutPlaying();
  xmp_end_player(context);
  playing_ = nullptr;
  order_.store(0);
}

void TXmpMusicLibrary::RenderMusic(int16_t* stereo, int frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  // The faded end of the song before, added under whatever plays now.
  const auto mixTail = [&] {
    const size_t n = std::min(tail_.size() - tailAt_, static_cast<size_t>(frames) * 2);
    for (size_t i = 0; i < n; ++i)
      stereo[i] = static_cast<int16_t>(std::clamp(stereo[i] + tail_[tailAt_ + i], -32768, 32767));
    tailAt_ += n;
    if (tailAt_ == tail_.size()) {
      tail_.clear();
      tailAt_ = 0;
    }
  };
  if (playing_ == nullptr || paused_) {
    mixTail();
    ducking_.Apply(stereo, frames);
    return;
  }
  xmp_play_buffer(playing_, stereo, frames * kBytesPerFrame, 0);
  for (int f = 0; f < frames && fadeInDone_ < kFadeFrames; ++f, ++fadeInDone_) {
    const double gain = static_cast<double>(fadeInDone_) / kFadeFrames;
    stereo[2 * f] = static_cast<int16_t>(std::lround(stereo[2 * f] * gain));
    stereo[2 * f + 1] = static_cast<int16_t>(std::lround(stereo[2 * f + 1] * gain));
  }
  mixTail();
  ducking_.Apply(stereo, frames);
  xmp_frame_info info;
  xmp_get_frame_info(playing_, &info);
  int32_t order = info.pos;
  if (info.loop_count > lastLoop_) {
    lastLoop_ = info.loop_count;
    // A module may restart at a later order position; the game expects a
    // song that has played through to begin again at position 0.
    if (order != 0) {
      xmp_set_position(playing_, 0);
      order = 0;
    }
  }
  order_.store(order);
  loops_.store(info.loop_count);
}

}  // namespace bd
