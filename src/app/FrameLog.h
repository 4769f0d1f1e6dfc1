#pragma once
// An optional record of the running game's timing, so that it can be
// measured from outside (scripts/measure.sh): how late each frame starts
// after the moment it became due, when the first picture was presented, and
// how long each archive and song took to load. It is only made when the
// environment variable BUMPERDASH_FRAME_LOG names a file; without it the
// game keeps no log and pays nothing but a null check per frame.
//
// The file gets one record per line, appended; every number is in
// microseconds:
//   start TIME          wall-clock time (since 1970) at the start of the program
//   load PATH DURATION  how long loading that file took
//   present TIME CPU    wall-clock time at which the first frame was
//                       presented, and the processor time the game had used
//                       until then (all its threads)
//   screen NUMBER       the game switched to that screen (1 splash, 2 main
//                       menu, 3 race, ... 9 game over)
//   sound NAME FRAME    a sound effect was started while the output had
//                       mixed FRAME frames (it is heard from about there on)
//   frame UPTIME LATENESS
//                       when a frame started, on the clock of /proc/uptime
//                       (which, unlike the wall clock, does not jump when
//                       the clock is set or a virtual machine is paused),
//                       and how late that was after the frame became due

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace bd {

class TFrameLog {
 public:
  // The variable that names the log file.
  static constexpr const char* kVariable = "BUMPERDASH_FRAME_LOG";

  // A log appending to the file named by the variable; null when the
  // variable is unset or empty, or when the file cannot be opened (said on
  // the standard error).
  static std::unique_ptr<TFrameLog> FromEnvironment();

  // Appends to `file`, which the log closes at the end.
  explicit TFrameLog(std::FILE* file);
  ~TFrameLog();
  TFrameLog(const TFrameLog&) = delete;
  TFrameLog& operator=(const TFrameLog&) = delete;

  // Microseconds by which a frame due at clock value `dueMs` (milliseconds,
  // wrapping) is late at `nowUs` (microseconds on the same clock); negative
  // when early.
  static int64_t Lateness(uint32_t dueMs, uint64_t nowUs);

  void Started();
  void FrameStarted(uint32_t dueMs, uint64_t nowUs);
  // Only the first call writes a record.
  void Presented();
  void Loaded(const std::string& path, uint64_t microseconds);
  void ScreenShown(int screen);
  void SoundStarted(const std::string& name, uint64_t outputFrame);

 private:
  // Written records reach the file at once (the frame records are only
  // buffered), so that they are there even if the game is killed.
  void Flush();

  std::FILE* file_;
  bool presented_ = false;
};

}  // namespace bd
