#pragma once
// The game's one window and everything it owns for the whole run: the
// display, the frame timer, the plain timers, the state flags and the text
// buffers. It starts the game, decides which screen is shown, runs the frame
// handler and closes the program in an orderly way.
//
// The class is spread over several files, one job each:
//   MainForm.cpp   creation, start-up, display and activation events, closing
//   FrameLoop.cpp  the frame handler and the plain timers' handlers
//   Screens.cpp    SwitchScreen and the frame's dispatch to the current screen
//   Input.cpp      keys and the pointer from the window, handed to the screen
//   FullScreen.cpp switching between window and full screen
//   SoundControl.cpp sound effects, music and the music watchdog
//   Options.cpp    the settings file and the sound and music toggles
//   Race.cpp       the doors into the race (race/): new game, levels, frame, recording
//   Watch.cpp      watching a recorded game: from a recording or a file
//   ScoreEntry.cpp entering a score into the table with its recording,
//                  reporting it online, and clearing the table
//   Questions.cpp  the exit and clear questions' flags, kept by the overlay
//                  objects of frontend/overlays/
//   ScoreDialogs.cpp the name entry and its send box
//   ShellLinks.cpp links out of the game and the way to the exit screen

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "app/FormFrontEndHost.h"
#include "app/FormRaceHost.h"
#include "app/FrameLog.h"
#include "app/MusicLibrary.h"
#include "app/Settings.h"
#include "app/TableRecordings.h"
#include "assets/AssetNames.h"
#include "engine/base/Types.h"
#include "engine/display/DXDraw.h"
#include "engine/images/DXImageList.h"
#include "engine/loop/Application.h"
#include "engine/loop/DXTimer.h"
#include "engine/platform/Platform.h"
#include "engine/sound/DXSounds.h"
#include "engine/sprites/DXSpriteEngine.h"
#include "frontend/HighScores.h"
#include "frontend/ScoreReport.h"
#include "frontend/ShareScreen.h"
#include "frontend/screens/ScreenNumbers.h"
#include "http/HttpClient.h"
#include "race/RaceSession.h"
#include "race/RaceState.h"

namespace bd {

// A checkable item of the never-shown popup menu; its check state is one of
// the program's boolean flags.
struct TMenuItem {
  std::string Caption;
  bool Checked = false;
};

// An invisible single-line edit box, used only as a text buffer.
struct TEdit {
  std::string Text;  // Windows-1251
  int MaxLength = 10;
};

class TOverlays;
class TQuestion;
class TScreen;
class TScreenTable;

class TMainForm : public IEventHandler {
 public:
  // Creates the components and runs FormCreate. An error during start-up is
  // reported and the remaining start-up steps are skipped, as for any
  // handler; the form still exists and the loop runs. With a frame log the
  // form records its frame and loading times there.
  explicit TMainForm(TApplication& application, TFrameLog* frameLog = nullptr);
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Shows the window; the first showing brings the display up.
  void Show();
  // A close request: asks FormCloseQuery and, when allowed, runs FormClose
  // and ends the message loop.
  void Close();

  // Components, in the order they are created.
  TApplication& Application;
  TFrameLog* const FrameLog;  // null: no timing is recorded
  IWindow& Window;
  TDXDraw DXDraw;
  TDXImageList ImageList;
  TDXTimer DXTimer;
  TDXSpriteEngine SpriteEngine;
  TTimer Timer1;
  TTimer sharetimer;
  TDXSound DXSound;
  TDXWaveList DXWaveList;
  TEdit Edit1;  // the country
  TEdit Edit2;  // the player's name

  // The state flags (popup-menu items).
  TMenuItem GameFullScreen{"FullScreen"};
  TMenuItem GameSound{"Sound"};
  TMenuItem GameMusic{"Music"};
  TMenuItem GameMainExit{"MainExit"};
  TMenuItem GameEnterName{"EnterName"};
  TMenuItem GameSendResult{"SendResult"};
  TMenuItem GamegoEdit{"goEdit"};
  TMenuItem GameClearHighScore{"ClearHighScore"};

  // Form state.
  uint8_t CurrentScreen = screen::None;
  // When the current screen took over, on the game's clock. Keys pressed
  // before then were meant for the screen the player saw.
  std::optional<uint32_t> ScreenShownAt;
  std::string Country;     // mirror of Edit1
  std::string PlayerName;  // mirror of Edit2
  THighScoreTable HighScores{};
  TShareScreen ShareScreen;  // the exit screen, configured at start-up

  // Program-wide state of the shell.
  std::string TextFont;  // face name of every text drawn on the display
  uint8_t TypingDelay = 0;
  uint8_t CaretBlink = 0;
  bool ResizePending = false;
  bool MenuMusicPending = false;
  std::array<uint8_t, 256> KeyDown{};
  TRandom Random;  // seeded from the clock at start-up; the race draws from its own (RaceSession)

  // Music state: the loaded song (0: none) and the order position the
  // watchdog saw at the previous drawn frame.
  uint32_t SongHandle = 0;
  int32_t LastOrder = 0;

  // Screens.
  void SwitchScreen(uint8_t n);
  // The object of the screen CurrentScreen names.
  TScreen& Screen() const;
  // The questions that open over the screens.
  TOverlays& Overlays() const { return *overlays_; }
  // The uppermost question open over the screen; null when none is. The
  // menu column does not answer while one is.
  TQuestion* OpenQuestion() const;
  // Steps, cleans up and draws the sprites; `clear` blacks the frame first.
  void SpriteFrame(int moveCount, bool clear);

  // Sound effects and music.
  void PlaySound(TSoundName name, bool wait = false);
  void StopSound(TSoundName name);
  void StopAllSounds();
  void PlayMusic(const std::string& number);
  void StopMusic();
  // Once per drawn frame: restarts the screen's song once it has wrapped
  // round to its first order position.
  void MusicWatchdog();
  IMusicLibrary& Music() { return *music_; }
  // Plays the songs through another library from now on (tests script one).
  void SetMusicLibrary(IMusicLibrary& library);

  // Handlers.
  void FormCreate();
  bool FormCloseQuery();
  void FormClose();
  void FormResize();
  void FormKeyDown(int key, uint8_t shift);
  void FormKeyUp(int key, uint8_t shift);
  void FormKeyPress(uint8_t key);  // one Windows-1251 character
  void DXDrawKeyPress(uint8_t key);
  void DXDrawInitializing();
  void DXDrawInitialize();
  void DXDrawFinalize();
  void DXTimerTimer(int lagCount);
  void DXTimerActivate();
  void DXTimerDeactivate();
  void Timer1Timer();
  void sharetimerTimer();

  // Operations used across the game.
  void LoadGraphics(const std::string& path);
  // Brings the menu archive back when a race is left; when it cannot be
  // read, the game is left without a screen and the error passes on.
  void LoadMenuGraphicsAfterRace();
  // The built-in table on the high-score screen (start-up begins with it).
  void ResetHighScores();
  // The player cleared the table: the built-in one, and the old entries'
  // recordings go with them.
  void ClearHighScores();
  // The recording kept for the table entry at `index` (0: the best), for
  // watching: none when the entry has no recording, or when its file was
  // refused (damaged, or another game's), with the reason for a log.
  TTableRecordingLookup TableRecording(int index) const;
  void GameFullScreenClick();
  void GameSoundClick();
  void GameMusicClick();
  // Reads "Config.cfg" into the options, the two text fields and the table.
  void LoadSettings();
  // Writes them to "Config.cfg", replacing the file whole.
  void SaveSettings();
  // Seeds the menus' random generator from the high-resolution counter.
  void Randomize();

  // The race.
  TRaceState RaceState;
  // The game's race as a function of its seed and inputs: its generator,
  // clocks and inputs, and the recording of the game.
  TRaceSession RaceSession;
  void StartGame();
  void NextLevel();
  // Ends the current life: rebuilds the road for the next one, or sets
  // GameOver when it was the last.
  void ByeByeMyCar();
  // A race frame on the race screen: the race's clocks, the sprites moved by
  // `lagCount` frame intervals, then the race's part of the frame, with the
  // race keys held now.
  void RaceFrame(int lagCount);
  // The next game starts with this seed (one the score server issued, or the
  // day's) instead of seeding itself from the clock.
  void SetNextRaceSeed(const TRaceSeed& seed) { nextRaceSeed_ = seed; }
  // The recording of the last game, once it is over (the last life lost or
  // the game left); null before, and while a game is being played.
  const TRecording* LastRecording() const;
  // The name the player entered for the last game goes into its recording.
  void NameLastRecording(const std::string& name);
  // The race sprites reach the form through this.
  IRaceHost& RaceHost() { return raceHost_; }

  // Watching a recorded game on the replay screen. Its race has a state and
  // session of its own: the game's race, its recording and the table are
  // left as they were.
  TRaceState WatchedState;
  TRaceSession WatchedSession;
  // Plays `recording` on the replay screen, which goes back to screen
  // `backTo` when it ends or is left. A recording made under other race
  // rules cannot play the same: it is refused with a message, and the game
  // goes to `backTo` at once.
  void WatchRecording(const TRecording& recording, uint8_t backTo);
  // Plays the recording file at `path` (the game's command line), then goes
  // to the main menu. A file that cannot be read, is damaged or was made
  // under other race rules is refused with a message, and the game goes to
  // the main menu at once.
  void WatchRecordingFile(const std::string& path);
  // The recording being watched and the screen the replay goes back to.
  const TRecording& WatchedRecording() const { return watched_; }
  uint8_t WatchReturnScreen() const { return watchBackTo_; }
  // Sets up the watched race: the race's pictures and song, the recorded
  // game begun. Throws when the pictures cannot be read, after going back.
  void StartWatchedRace();
  // The race host of the watched game; see TFormRaceHost::SetDrawing.
  TFormRaceHost& WatchedRaceHost() { return watchedHost_; }
  // The screens and the menus' helpers reach the form through this.
  IFrontEndHost& FrontEnd() { return frontEnd_; }

  // The pointer, the menus' state, the questions and the links out.
  int32_t PointerX = 0;  // where the pointer was at its last move
  int32_t PointerY = 0;
  bool PointerInWindow = false;  // no move since the pointer went out of the window
  bool HoverSoundArmed = false;  // the next item the pointer comes onto sounds
  int KeyFocus = -1;             // the item the arrow keys focused (frontend/KeyFocus); -1: none
  uint8_t HelpPage = 0;          // 1 to 3
  int32_t CaretTextWidth = 0;    // width of the country text, measured by the caret
  void DXDrawMouseMove(uint8_t shift, int x, int y);
  // What the pointer highlights at (x, y): the screen's items, then an open
  // question's answers over them.
  void HoverAt(int x, int y);
  // The key went down before the current screen took over.
  bool KeyPressedBeforeScreen(const PlatformEvent& event) const;
  void DXDrawMouseDown(int button, uint8_t shift, int x, int y);
  // Open or close the exit question and the clear question, whose flags are
  // GameMainExit and GameClearHighScore.
  void GameMainExitClick();
  void GameClearHighScoreClick();
  void GameEnterNameClick();
  void GameSendResultClick();
  void GoWeb(const std::string& address);
  // Opens an optional local file (an Internet shortcut by its address).
  void ShellOpenFile(const std::string& path);
  // Goes to the exit screen, which shows itself or closes the program.
  void LeaveGame();

  // Puts PlayerName and Score into the table, reports them online when the
  // player asked for it, and shows the table.
  void EnterHighScore();
  std::unique_ptr<THttpClient> IdHTTP1 = std::make_unique<THttpClient>();
  // Scheme, host and port of the score server; the build's choice, which a
  // test points at a server of its own.
  std::string ScoreServer{ScoreServerBase()};

  // IEventHandler
  void HandleEvent(const PlatformEvent& event) override;

 private:
  // Replaces the sound list with the sound archive's contents.
  void LoadSounds();
  // The sound of that name; raises when there is none, except after a
  // failed sound archive, when it is null.
  TWaveCollectionItem* SoundNamed(TSoundName name);
  // Runs `load`, which reads `path`; with a frame log, records how long it took.
  void TimedLoad(const std::string& path, const std::function<void()>& load);
  // A key sent by a game controller, where the pad means something of its
  // own; false leaves it to FormKeyDown.
  bool PadKeyDown(int key, uint8_t shift);
  // The seed of a game about to start: the one set for it, or the game's own.
  TRaceSeed TakeRaceSeed();
  void SendResultOnline();
  // Moves the table's recordings along with a game that entered the table
  // at `index`, and keeps its own; a failure is reported and costs nothing
  // else.
  void KeepTableRecording(int index);

  TFormRaceHost raceHost_{*this, RaceState, RaceSession, TFormRaceHost::TKind::Game};
  TRecording watched_;
  uint8_t watchBackTo_ = screen::MainMenu;
  TFormRaceHost watchedHost_{*this, WatchedState, WatchedSession, TFormRaceHost::TKind::Watched};
  TFormFrontEndHost frontEnd_{*this};
  std::unique_ptr<TScreenTable> screens_;
  std::unique_ptr<TOverlays> overlays_;
  // The sound archive could not be loaded whole: missing sounds are skipped.
  bool soundArchiveFailed_ = false;
  // Songs already noted as not playable.
  std::set<std::string> silentSongs_;
  uint64_t seedCounter_ = 0;  // the counter value of the last seeding
  bool seeded_ = false;
  std::optional<TRaceSeed> nextRaceSeed_;
  // The table's recordings, in a folder beside the settings file.
  TTableRecordings tableRecordings_{std::filesystem::path(SettingsFileName).parent_path() /
                                    TableRecordingsFolder};

  std::unique_ptr<IMusicLibrary> ownMusic_;
  IMusicLibrary* music_;
};

// Paths of the game's data, relative to the run directory.
inline constexpr const char* GraphicsMenuPath = "Data/GraphicsMenu.dxg";
inline constexpr const char* GraphicsMainPath = "Data/GraphicsMain.dxg";
inline constexpr const char* SoundArchivePath = "Data/Sound.dxw";

// The captions of the window while the game runs and while it is paused.
std::string RunningCaption();
std::string PausedCaption();

}  // namespace bd
