#pragma once
// Sound output: a mixer of voices that each hold one recording, plus one music
// stream rendered by the music library. The game opens it once; if it cannot
// be opened the game simply runs silent.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace bd {

// The standard wave format record, as stored in a recording's "fmt " chunk.
struct TWaveFormat {
  uint16_t FormatTag = 0;  // 1 integer PCM, 3 IEEE float, others compressed
  uint16_t Channels = 0;
  uint32_t SamplesPerSec = 0;
  uint32_t AvgBytesPerSec = 0;
  uint16_t BlockAlign = 0;
  uint16_t BitsPerSample = 0;
};

// One voice of the mixer. A voice keeps its play position while stopped;
// `Rewind` puts it back to the start.
class ISoundBuffer {
 public:
  virtual ~ISoundBuffer() = default;
  // A new voice playing the same recording; the sample data is shared, not copied.
  virtual std::unique_ptr<ISoundBuffer> Duplicate() = 0;
  virtual void Play(bool looping) = 0;
  virtual void Stop() = 0;
  virtual void Rewind() = 0;
  virtual bool IsPlaying() = 0;
  // Playback rate in samples per second; 0 plays at the recording's own rate.
  virtual void SetFrequency(uint32_t hz) = 0;
  // Hundredths of a decibel: pan -10000 (left only) .. 10000 (right only),
  // volume -10000 (silent) .. 0 (full).
  virtual void SetPan(int32_t pan) = 0;
  virtual void SetVolume(int32_t volume) = 0;
};

// Something that renders music into the output: 16-bit signed stereo frames
// at the output rate. Called from the audio thread.
class IMusicSource {
 public:
  virtual ~IMusicSource() = default;
  virtual void RenderMusic(int16_t* stereo, int frames) = 0;
};

class IAudio {
 public:
  virtual ~IAudio() = default;
  // Opens the output device (once; later calls report the same result).
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Frames per second of the output (valid while open).
  virtual int OutputRate() const = 0;

  // A voice holding `size` bytes of samples in `format`, converted once to the
  // output format. Null when the output is closed or cannot take the format
  // (compressed data, unusual sample sizes, no channels, no whole frame), or
  // when converting it would take an outsized amount of memory (a rate of a
  // few hertz).
  virtual std::unique_ptr<ISoundBuffer> CreateBuffer(const TWaveFormat& format, const uint8_t* samples,
                                                     size_t size) = 0;

  // The music stream mixed under the voices; null for none. The source must
  // outlive its registration.
  virtual void SetMusicSource(IMusicSource* source) = 0;

  // While muted (the game's window has lost the focus) voices play on but are not heard.
  virtual void SetMuted(bool muted) = 0;

  // Frames the output has mixed since it was opened: a sound started now is
  // heard from about this frame on. 0 where nothing is mixed.
  virtual uint64_t FramesMixed() const { return 0; }
};

}  // namespace bd
