#pragma once
// The replay screen: a recorded game played again on the live game, with
// its pictures, sounds and music, at 1, 2, 4 or 8 race frames to each drawn
// frame. The keys change the speed, pause and leave; none of them reaches
// the race, whose inputs all come from the recording. A caption over the
// road says that it is a replay, whose, and how fast. When the recorded
// game ends the screen shows it for a moment and goes back.

#include <memory>

#include "frontend/screens/Screen.h"

namespace bd {

class TRecordingDriver;

class TReplayScreen : public TScreen {
 public:
  explicit TReplayScreen(IFrontEndHost& host);
  ~TReplayScreen() override;
  void Build() override;
  void Leave() override;
  void Frame(int lagCount) override;
  void KeyDown(int key, uint8_t shift) override;
  // The window's close button leaves the replay, as Escape does.
  bool CloseQuery() override;
  const char* Song() const override { return "2"; }

 private:
  void GoBack();
  void Play(int lagCount);
  void DrawCaption();

  std::unique_ptr<TRecordingDriver> driver_;
  int speed_ = 1;  // race frames to each drawn frame
  bool paused_ = false;
  int endShown_ = 0;  // drawn frames since the recorded game ended
};

}  // namespace bd
