#pragma once
// The description of the exit screen: an optional text file naming a
// background picture, buttons with their images and commands, and a countdown
// before the exit button may be used. Anything wrong in it switches the
// screen off, and the game then closes directly when the player leaves.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bd {

// Where the game looks for the description, relative to its directory.
inline constexpr const char* ShareConfigFile = "pdata/config.ini";
// The command of the button that ends the program.
inline constexpr const char* ShareExitCommand = "exit";

// One button as the file describes it. Paths are ready to open: backslashes
// turned into slashes and relative paths placed under the reader's root.
struct TShareButtonConfig {
  int32_t HoverX = 0, HoverY = 0;
  int32_t HoverHeight = 0, HoverWidth = 0;  // read, not used
  int32_t X = 0, Y = 0;                     // the normal image and the button's rectangle
  int32_t Height = 0, Width = 0;
  int32_t DisabledX = 0, DisabledY = 0;
  int32_t DisabledHeight = 0, DisabledWidth = 0;  // read, not used
  std::string Command;                            // "exit" or the file a click opens
  std::string HoverImage, NormalImage, DisabledImage;

  bool IsExit() const { return Command == ShareExitCommand; }
};

struct TShareConfig {
  bool Enabled = false;
  int32_t ButtonCount = 0;
  std::vector<TShareButtonConfig> Buttons;  // in file order, the exit button last
  std::string PicturePath;
  int32_t Countdown = 0;  // tenths of a second
  bool ExplicitFontSize = false;
  int32_t FontSize = 0;  // 0 when neither given nor derivable (no exit button)
  int32_t CountdownX = 0, CountdownY = 0;
  uint32_t CountdownColor = 0;  // 0x00BBGGRR
};

// Reads the description from `file`. Relative paths inside it are taken
// relative to `root` (the game's directory; empty means the current one).
// Returns a record with Enabled false when the file is missing or anything in
// it is wrong; the other fields are then meaningless.
TShareConfig ReadShareConfig(const std::filesystem::path& file, const std::filesystem::path& root = {});
// The same for the description's text already in memory.
TShareConfig ReadShareConfigText(std::string text, const std::filesystem::path& root = {});

}  // namespace bd
