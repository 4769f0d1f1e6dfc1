#pragma once
// The exit screen: one last picture with buttons, shown when the player
// leaves the game. Link buttons open files of the installation; the exit
// button ends the program, but only once a countdown has run out. Everything
// comes from the optional description file (see ShareConfig.h); without a
// usable one the screen stays disabled and the game closes directly.
//
// The screen draws straight onto the display's canvas, not with sprites.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/display/Surface.h"
#include "frontend/ShareConfig.h"

namespace bd {

class TCanvas;

// One button: where its three looks are drawn, its rectangle and command,
// and what the pointer and the countdown make of it.
struct TButton_2 : TShareButtonConfig {
  explicit TButton_2(const TShareButtonConfig& config)
      : TShareButtonConfig(config), Enabled(!config.IsExit()) {}

  bool Hovered = false;  // the pointer is inside the rectangle, edges included
  bool Enabled;          // false only for the exit button during the countdown
  bool Visible = true;
};

class TShareScreen {
 public:
  // Reads the description `file` (relative paths inside it are taken from
  // `root`) and loads every picture it names. A missing or wrong description,
  // or a picture that cannot be decoded, leaves the screen disabled.
  void Configure(const std::filesystem::path& file = ShareConfigFile, const std::filesystem::path& root = {});

  bool Enabled = false;
  int32_t ButtonCount = 0;
  std::vector<TButton_2> Buttons;  // in file order, the exit button last
  std::string PicturePath;
  int32_t Countdown = 0;  // tenths of a second until the exit button works
  bool ExplicitFontSize = false;
  int32_t FontSize = 0;
  int32_t CountdownX = 0, CountdownY = 0;  // centre of the countdown text
  uint32_t CountdownColor = 0;             // 0x00BBGGRR

  // Every 100 ms while the screen is shown.
  void Tick() {
    if (Countdown > 0) --Countdown;
  }

  // The pointer is at (x, y) in client coordinates: the buttons under it
  // are hovered, the others not.
  void PointAt(int x, int y);
  // One frame: the picture, the buttons as hovered and the countdown, all
  // drawn on `canvas`.
  void Frame(TCanvas& canvas);

  // The number shown now: whole seconds left, counted up, so a countdown of
  // 5 s shows 6 for its first tenth and 1 for its last second; "" at 0.
  std::string CountdownText() const;

  // A click with the left button: every hovered button, in list order, runs
  // its command. "exit" asks the form to close (which it allows only once the
  // countdown is 0); any other command is a file to open.
  void Click(const std::function<void(const std::string&)>& openFile,
             const std::function<void()>& requestClose);

 private:
  const TDirectDrawSurface* Image(const std::string& path) const;

  std::unique_ptr<TDirectDrawSurface> picture_;
  // Button images by path, decoded once at start-up.
  std::map<std::string, std::unique_ptr<TDirectDrawSurface>> images_;
};

}  // namespace bd
