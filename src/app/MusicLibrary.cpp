#include "app/MusicLibrary.h"

#include <algorithm>
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
  const int rate = audio_ != nullptr && audio_->IsOpen() ? audio_->OutputRate() : kDefaultRate;
  std::lock_guard<std::mutex> lock(mutex_);
  if (playing_ != nullptr) xmp_end_player(playing_);
  playing_ = nullptr;
  playingHandle_ = 0;
  order_.store(0);
  loops_.store(0);
  lastLoop_ = 0;
  if (xmp_start_player(context, rate, 0) != 0) return;
  playing_ = context;
  playingHandle_ = song;
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

void TXmpMusicLibrary::Detach(xmp_context context) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (playing_ != context) return;
  xmp_end_player(context);
  playing_ = nullptr;
  order_.store(0);
}

void TXmpMusicLibrary::RenderMusic(int16_t* stereo, int frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (playing_ == nullptr) return;
  xmp_play_buffer(playing_, stereo, frames * kBytesPerFrame, 0);
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
