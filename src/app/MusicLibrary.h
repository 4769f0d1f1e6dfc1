#pragma once
// The music library: tracker songs in the XM format, loaded from files and
// played in the background into the game's sound output. The game knows a
// song only by a 32-bit handle; 0 stands for "no song".

#include <xmp.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/MusicDucking.h"
#include "engine/platform/Audio.h"

namespace bd {

class IMusicLibrary {
 public:
  virtual ~IMusicLibrary() = default;
  // A handle for the song in the file (a relative path may use '\'), or 0
  // when it is missing or not an XM module.
  virtual uint32_t SongLoadFromFile(const std::string& path) = 0;
  // Starts the song from its beginning; it goes on in the background.
  virtual void SongPlay(uint32_t song) = 0;
  // The song's position in its order list: 0 at the start, rising as it
  // plays, and 0 again once it has played through and starts over.
  virtual int32_t SongGetOrder(uint32_t song) = 0;
  // Stops the song and forgets the handle.
  virtual void SongFree(uint32_t song) = 0;
  // A cue of `seconds` starts: the music steps back under it for that long
  // and then comes back (see TMusicDucking).
  virtual void DuckUnderCue(double seconds) = 0;
  // While paused the music fades out and stands still where it was; it
  // fades in from there when play resumes. Songs started meanwhile wait too.
  virtual void SetPaused(bool paused) = 0;
};

// The library over libxmp. The audio thread renders the playing song through
// the output's music hook; the game thread only loads, starts, frees and
// reads the published position.
class TXmpMusicLibrary : public IMusicLibrary, private IMusicSource {
 public:
  // `audio` null: songs load and play but are not heard and do not advance.
  explicit TXmpMusicLibrary(IAudio* audio);
  ~TXmpMusicLibrary() override;
  TXmpMusicLibrary(const TXmpMusicLibrary&) = delete;
  TXmpMusicLibrary& operator=(const TXmpMusicLibrary&) = delete;

  uint32_t SongLoadFromFile(const std::string& path) override;
  void SongPlay(uint32_t song) override;
  int32_t SongGetOrder(uint32_t song) override;
  void SongFree(uint32_t song) override;
  void DuckUnderCue(double seconds) override;
  void SetPaused(bool paused) override;
  // How many times the playing song has wrapped round to its start.
  int32_t SongLoopCount(uint32_t song);

  // Frames over which a song fades in when it starts and out when it stops:
  // 10 ms at the output rate, short enough not to be heard as a fade.
  static constexpr int kFadeFrames = 441;

 private:
  void RenderMusic(int16_t* stereo, int frames) override;
  void Detach(xmp_context context);
  int Rate() const;  // the output's frames per second

  IAudio* audio_;
  std::map<uint32_t, xmp_context> songs_;  // game thread only
  uint32_t nextHandle_ = 1;
  uint32_t playingHandle_ = 0;

  // Starting or stopping a song never jumps the wave: a new song fades in,
  // and the last moments of the one it replaces (or of one that is freed)
  // are rendered ahead and fade out under it.
  void FadeOutPlaying();

  std::mutex mutex_;               // guards playing_, lastLoop_, the fades, ducking_ and paused_
  xmp_context playing_ = nullptr;  // the context the audio thread renders
  int lastLoop_ = 0;
  int fadeInDone_ = 0;             // frames of the playing song already faded in
  std::vector<int16_t> tail_;      // the faded end of the song before, stereo
  size_t tailAt_ = 0;              // samples of tail_ already mixed
  TMusicDucking ducking_;          // the music's gain under the cues
  bool paused_ = false;            // the game is in the background: nothing is rendered
  std::atomic<int32_t> order_{0};  // published by the audio thread
  std::atomic<int32_t> loops_{0};
};

}  // namespace bd
