// Creation and start-up of the main form, the display's and the frame
// timer's events, and closing.
#include "app/MainForm.h"

#include <filesystem>

#include "app/Settings.h"
#include "app/Version.h"
#include "codec/Cp1251.h"
#include "frontend/overlays/Overlays.h"
#include "frontend/screens/ScreenTable.h"
#include "race/RaceFlow.h"

namespace bd {

std::string RunningCaption() { return kGameTitle; }
std::string PausedCaption() { return std::string(kGameTitle) + W(" [Пауза]"); }

TMainForm::TMainForm(TApplication& application, TFrameLog* frameLog)
    : Application(application),
      FrameLog(frameLog),
      Window(*application.GetPlatform().window),
      DXDraw(&Window),
      DXTimer(application.Clock(), application.Active()),
      Timer1(application, 4000, [this] { Timer1Timer(); }),
      sharetimer(application, 100, [this] { sharetimerTimer(); }),
      DXSound(application.GetPlatform().audio),
      screens_(std::make_unique<TScreenTable>(frontEnd_)),
      overlays_(std::make_unique<TOverlays>(frontEnd_)),
      ownMusic_(std::make_unique<TXmpMusicLibrary>(application.GetPlatform().audio)),
      music_(ownMusic_.get()) {
  Window.SetCaption(RunningCaption());

  // The sound list plays through the sound device, which comes up at once;
  // without a sound device the game runs silent.
  DXWaveList.SetDXSound(&DXSound);
  Application.Guard([this] { DXSound.Loaded(); });

  // The display fills the 800 x 600 client area and goes full screen at
  // 800 x 600 x 32.
  using O = TDXDrawOption;
  DXDraw.Color = 0;
  DXDraw.SetOptions(
      {O::doAllowReboot, O::doWaitVBlank, O::doFlip, O::doDirectX7Mode, O::doRetainedMode, O::doHardware});
  DXDraw.SetDisplayWidth(800);
  DXDraw.SetDisplayHeight(600);
  DXDraw.SetDisplayBitCount(32);
  DXDraw.SetComponentSize(800, 600);
  DXDraw.SetSurfaceSize(800, 600);
  DXDraw.OnInitializing = [this](TDXDraw&) { DXDrawInitializing(); };
  DXDraw.OnInitialize = [this](TDXDraw&) { DXDrawInitialize(); };
  DXDraw.OnFinalize = [this](TDXDraw&) { DXDrawFinalize(); };
  ImageList.SetDXDraw(&DXDraw);
  SpriteEngine.SetDXDraw(&DXDraw);

  // The frame timer runs every 15 ms, only while the game is in front. The
  // race's clocks count its intervals.
  DXTimer.SetInterval(RaceFrameMs);
  DXTimer.SetActiveOnly(true);
  DXTimer.OnTimer = [this](TDXTimer&, int lagCount) { DXTimerTimer(lagCount); };
  DXTimer.OnActivate = [this](TDXTimer&) { DXTimerActivate(); };
  DXTimer.OnDeactivate = [this](TDXTimer&) { DXTimerDeactivate(); };
  Application.AddFrameTimer(&DXTimer);
  Application.SetEventHandler(this);

  Application.Guard([this] { FormCreate(); });
}

TMainForm::~TMainForm() {
  Application.SetEventHandler(nullptr);
  Application.RemoveFrameTimer(&DXTimer);
  DXTimer.SetEnabled(false);
}

void TMainForm::Randomize() {
  // Seeding twice from the same counter value would repeat the same draws;
  // while the counter has not moved the running sequence goes on instead.
  const uint64_t counter = Application.Clock().HighResCounter();
  if (seeded_ && counter == seedCounter_) return;
  seeded_ = true;
  seedCounter_ = counter;
  Random.SetSeed(static_cast<uint32_t>(counter));
}

void TMainForm::FormCreate() {
  KeyDown.fill(0);
  TextFont = "Arial Cyr";
  ResizePending = false;
  Randomize();
  Window.SetPointer(PointerShape::Hidden);
  LoadGraphics(GraphicsMenuPath);
  GamegoEdit.Checked = false;
  GameMainExit.Checked = false;
  GameEnterName.Checked = false;
  GameSendResult.Checked = false;
  GameClearHighScore.Checked = false;
  GameFullScreen.Checked = false;
  GameSound.Checked = true;
  GameMusic.Checked = true;
  // Building the high-score screen here means that leaving it for the splash
  // writes the settings file: it exists after every start.
  ResetHighScores();
  if (std::filesystem::exists(SettingsFileName)) LoadSettings();
  ShareScreen.Configure();
  SwitchScreen(screen::Splash);
}

void TMainForm::LoadGraphics(const std::string& path) {
  // All previous images are replaced; the archive's colours become the
  // display's colour tables.
  TimedLoad(path, [&] { ImageList.Items().LoadArchive(path); });
  ImageList.Items().BuildColorTable();
  DXDraw.PaletteTable = ImageList.Items().ColorTable;
  DXDraw.DefaultPaletteTable = ImageList.Items().ColorTable;
  DXDraw.ApplyPalette();
}

void TMainForm::TimedLoad(const std::string& path, const std::function<void()>& load) {
  if (FrameLog == nullptr) {
    load();
    return;
  }
  IClock& clock = Application.Clock();
  const uint64_t start = clock.Microseconds();
  load();
  FrameLog->Loaded(path, clock.Microseconds() - start);
}

void TMainForm::ResetHighScores() {
  HighScores = DefaultHighScores();
  SwitchScreen(screen::HighScores);
}

void TMainForm::Show() {
  Window.Show();
  Application.Guard([this] { DXDraw.WindowShown(); });
}

void TMainForm::DXDrawInitializing() {
  if (DXDraw.Options().Has(TDXDrawOption::doFullScreen)) {
    Window.SetBorderless(true);
  } else {
    Window.SetState(WindowState::Normal);
    Window.SetBorderless(false);
  }
}

void TMainForm::DXDrawInitialize() {
  Window.SetState(WindowState::Normal);
  DXTimer.SetEnabled(true);
  TimedLoad(SoundArchivePath, [this] { LoadSounds(); });
}

void TMainForm::DXDrawFinalize() { DXTimer.SetEnabled(false); }

void TMainForm::DXTimerActivate() {
  if (Screen().RunsRace()) RaceSession.Focus(true);
  Window.SetCaption(RunningCaption());
  DXSound.SetFocused(true);
  music_->SetPaused(false);
}

void TMainForm::DXTimerDeactivate() {
  if (Screen().RunsRace()) RaceSession.Focus(false);
  Window.SetCaption(PausedCaption());
  DXSound.SetFocused(false);
  // The effects fall silent with the race; the music waits with them.
  music_->SetPaused(true);
}

void TMainForm::FormResize() { ResizePending = true; }

void TMainForm::Close() {
  if (!FormCloseQuery()) return;
  FormClose();
  Application.Terminate();
}

bool TMainForm::FormCloseQuery() { return Screen().CloseQuery(); }

void TMainForm::FormClose() {
  // An Internet shortcut: the address it holds goes to the desktop's browser.
  ShellOpenFile("play.url");
  PlaySound(snd::ButtonDown);
}

bool TMainForm::KeyPressedBeforeScreen(const PlatformEvent& event) const {
  if (!event.PressedAt || !ScreenShownAt) return false;
  return static_cast<int32_t>(*event.PressedAt - *ScreenShownAt) < 0;
}

void TMainForm::HandleEvent(const PlatformEvent& event) {
  using T = PlatformEvent::Type;
  switch (event.type) {
    case T::KeyDown:
      if (KeyPressedBeforeScreen(event)) {
        // Held, as the race reads it, but no command: Enter pressed as the
        // splash gives way must not start a race on the menu it never saw.
        // Alt+Enter is about the display, not the screen, and still works.
        KeyDown[static_cast<uint8_t>(event.Key)] = 1;
        if (event.Key == vk::Return && (event.Shift & ssAlt) != 0) GameFullScreenClick();
      } else if (!event.FromPad || !PadKeyDown(event.Key, event.Shift)) {
        FormKeyDown(event.Key, event.Shift);
      }
      break;
    case T::KeyUp:
      FormKeyUp(event.Key, event.Shift);
      // A pad's B may have gone down as Escape.
      if (event.FromPad && event.Key == vk::Control) FormKeyUp(vk::Escape, event.Shift);
      break;
    case T::Char:
      // Both the form and the display see a typed character.
      FormKeyPress(event.Char);
      DXDrawKeyPress(event.Char);
      break;
    case T::CloseRequest:
      Close();
      break;
    case T::Resized:
      FormResize();
      break;
    case T::Expose:
      DXDraw.Repaint();
      break;
    case T::MouseMove:
      // The pointer was used last: its hover replaces the keys' focus.
      KeyFocus = -1;
      DXDrawMouseMove(event.Shift, event.X, event.Y);
      break;
    case T::MouseDown:
      DXDrawMouseDown(event.Button, event.Shift, event.X, event.Y);
      break;
    case T::PointerLeft:
      PointerInWindow = false;
      break;
    case T::MouseUp:
    case T::Activate:
    case T::Deactivate:
    case T::Quit:
      break;
  }
}

}  // namespace bd
