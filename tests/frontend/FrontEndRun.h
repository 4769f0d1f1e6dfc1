#pragma once
// The whole game on the headless platform with the stand-in game data,
// driven through the pointer handlers, with helpers to look at what the
// front end showed and played.

#include <fstream>
#include <string>
#include <vector>

#include "app/GameRun.h"
#include "engine/display/Surface.h"
#include "frontend/MenuSprites.h"

namespace bd::test {

// A music library that only records what it is asked to do.
class TRecordingMusic : public IMusicLibrary {
 public:
  uint32_t SongLoadFromFile(const std::string& path) override {
    loaded.push_back(path);
    return ++next_;
  }
  void SongPlay(uint32_t song) override { playing = song; }
  int32_t SongGetOrder(uint32_t) override { return 0; }
  void SongFree(uint32_t song) override {
    if (playing == song) playing = 0;
  }
  void DuckUnderCue(double) override { ++ducks; }
  void SetPaused(bool p) override { paused = p; }
  std::vector<std::string> loaded;
  int ducks = 0;
  bool paused = false;
  uint32_t playing = 0;

 private:
  uint32_t next_ = 0;
};

class FrontEndRun : public GameRun {
 public:
  void SetUp() override {
    GameRun::SetUp();
    std::ofstream("moregames.url") << "[InternetShortcut]\r\nURL=http://games.bumperdash.example/\r\n";
    Start();
    form->SetMusicLibrary(music);
  }

  void Go(uint8_t screen) { form->SwitchScreen(screen); }
  void Move(int x, int y) { form->DXDrawMouseMove(0, x, y); }
  // A press where the pointer last moved; the press's own position is
  // ignored by the game, so it is given a different one here.
  void Click(int button = 1) { form->DXDrawMouseDown(button, 0, 0, 0); }
  // A press at (x, y) without moving the pointer there first, as after a
  // screen change.
  void ClickAt(int x, int y, int button = 1) {
    form->PointerX = x;
    form->PointerY = y;
    Click(button);
  }

  // Sounds started since the last ClearSounds.
  int SoundsPlayed() const {
    int n = 0;
    for (const auto& e : platform.audio.Events()) n += e.kind == THeadlessAudio::Event::Kind::Play ? 1 : 0;
    return n;
  }
  void ClearSounds() { platform.audio.ClearEvents(); }

  // Draws one frame and reads the presented picture.
  void Frame() { RunFor(16); }
  uint32_t Color(int x, int y) const { return RawToColor(platform.window.Screen().Pixel(x, y)); }
  // Whether any pixel of the inclusive area has the colour.
  bool AnyPixel(int left, int top, int right, int bottom, uint32_t color) const {
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x)
        if (Color(x, y) == color) return true;
    return false;
  }

  template <class T>
  int CountOf() const {
    TSprite& engine = form->SpriteEngine.Engine();
    int n = 0;
    for (int i = 0; i < engine.ChildCount(); ++i)
      if (dynamic_cast<T*>(engine.ChildAt(i)) != nullptr && !engine.ChildAt(i)->IsDead()) ++n;
    return n;
  }

  TRecordingMusic music;
};

}  // namespace bd::test
