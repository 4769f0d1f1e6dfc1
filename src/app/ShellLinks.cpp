// Links out of the game: local files and web addresses handed to the
// desktop, and the way from the menus to the exit screen.
#include <filesystem>

#include "app/MainForm.h"
#include "frontend/InternetShortcut.h"

namespace bd {

void TMainForm::ShellOpenFile(const std::string& path) {
  // Optional files: one that is not there is silently skipped.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return;
  Application.GetPlatform().shell->Open(ShellTarget(path));
}

void TMainForm::GoWeb(const std::string& address) { Application.GetPlatform().shell->Open(address); }

void TMainForm::LeaveGame() {
  // The exit screen's builder decides between showing the promotional
  // screen and closing the program at once.
  SwitchScreen(screen::Exit);
}

}  // namespace bd
