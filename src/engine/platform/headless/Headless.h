#pragma once
// The platform for tests and benchmarks: no window, no real time. The clock
// moves only when the test (or the message loop's wait) moves it, input is a
// script of events, the presented picture is kept in memory, and message
// boxes and shell requests are recorded instead of shown.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/display/Surface.h"
#include "engine/platform/Controller.h"
#include "engine/platform/Platform.h"
#include "engine/platform/headless/HeadlessAudio.h"

namespace bd {

class THeadlessClock : public IClock {
 public:
  uint32_t Milliseconds() override { return now_; }
  uint64_t Microseconds() override { return static_cast<uint64_t>(now_) * 1000; }
  uint64_t HighResCounter() override { return static_cast<uint64_t>(now_) * 1000; }
  void Set(uint32_t ms) { now_ = ms; }
  void Advance(uint32_t ms) { now_ += ms; }

 private:
  uint32_t now_ = 0;
};

// Scripted input: events queued now, or at a moment of the virtual clock.
class THeadlessEvents : public IEventSource {
 public:
  explicit THeadlessEvents(THeadlessClock& clock) : clock_(clock) {}

  void Push(const PlatformEvent& event) { PushAt(clock_.Milliseconds(), event); }
  // Delivered once the clock has reached `ms`.
  void PushAt(uint32_t ms, const PlatformEvent& event);
  // Shorthands for the common events.
  void KeyDown(int key, uint8_t shift = 0, bool repeat = false);
  void KeyUp(int key, uint8_t shift = 0);
  void Char(uint8_t cp1251);
  void MouseMove(int x, int y);
  void MouseDown(int x, int y, int button = 1);
  void PointerLeave();
  void Activate(bool active);
  void CloseRequest();
  // Scripted game-controller input, turned into key events when it is
  // delivered, by the same translator the SDL platform feeds real pads to.
  void Pad(const ControllerInput& input) { PadAt(clock_.Milliseconds(), input); }
  void PadAt(uint32_t ms, const ControllerInput& input);

  bool Poll(PlatformEvent& event) override;
  // Nothing really waits: the clock jumps to the deadline, or to the next
  // scripted event if that comes earlier.
  void WaitUntil(uint32_t deadlineMs) override;
  bool Empty() const { return queue_.empty() && translated_.empty(); }

 private:
  struct Timed {
    uint32_t at;
    PlatformEvent event;
    std::optional<ControllerInput> pad;
  };
  void Insert(Timed timed);

  THeadlessClock& clock_;
  std::deque<Timed> queue_;  // in delivery order
  TControllerTranslator pads_;
  std::deque<PlatformEvent> translated_;  // key events of pads, not yet delivered
};

class THeadlessWindow : public IWindow {
 public:
  THeadlessWindow();

  void Show() override { shown_ = true; }
  bool IsShown() const override { return shown_; }
  void SetCaption(const std::string& cp1251Caption) override { caption_ = cp1251Caption; }
  std::string Caption() const override { return caption_; }
  WindowState State() const override { return state_; }
  void SetState(WindowState state) override { state_ = state; }
  void SetBorderless(bool borderless) override { borderless_ = borderless; }
  bool Borderless() const { return borderless_; }
  void SavePlacement() override { ++placementSaves_; }
  void RestorePlacement() override { ++placementRestores_; }
  bool IsActive() const override { return active_; }
  void SetActive(bool active) { active_ = active; }

  std::vector<DisplayMode> DisplayModes() override { return modes_; }
  void SetDisplayModes(std::vector<DisplayMode> modes) { modes_ = std::move(modes); }
  bool SetFullScreen(const DisplayMode* mode) override;
  bool IsFullScreen() const override { return fullScreenMode_.Width != 0; }
  DisplayMode FullScreenMode() const { return fullScreenMode_; }

  void Present(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank) override;
  // The last presented picture in window client coordinates (800 x 600).
  const TDirectDrawSurface& Screen() const { return screen_; }
  uint64_t PresentCount() const { return presentCount_; }
  TRect LastDest() const { return lastDest_; }

  bool SurfacesLost() const override { return lost_; }
  bool RestoreSurfaces() override;
  // Simulates another program taking the display; `restorable` decides
  // whether the next restore works.
  void LoseSurfaces(bool restorable) {
    lost_ = true;
    restorable_ = restorable;
  }

  void SetPointer(PointerShape shape) override { pointer_ = shape; }
  PointerShape Pointer() const { return pointer_; }
  void WarpPointer(int x, int y) override {
    warpX_ = x;
    warpY_ = y;
  }
  int WarpX() const { return warpX_; }
  int WarpY() const { return warpY_; }

  int PlacementSaves() const { return placementSaves_; }
  int PlacementRestores() const { return placementRestores_; }

 private:
  bool shown_ = false;
  bool active_ = true;
  bool borderless_ = false;
  bool lost_ = false;
  bool restorable_ = true;
  std::string caption_;
  WindowState state_ = WindowState::Normal;
  std::vector<DisplayMode> modes_;
  DisplayMode fullScreenMode_;
  TDirectDrawSurface screen_{800, 600};
  uint64_t presentCount_ = 0;
  TRect lastDest_;
  PointerShape pointer_ = PointerShape::Arrow;
  int warpX_ = -1;
  int warpY_ = -1;
  int placementSaves_ = 0;
  int placementRestores_ = 0;
};

class THeadlessMessageBox : public IMessageBox {
 public:
  struct Message {
    std::string title;
    std::string text;
  };
  // Records the message and prints it on stderr, so that a failing run
  // shows why.
  void Show(const std::string& utf8Title, const std::string& utf8Text) override;
  const std::vector<Message>& Messages() const { return messages_; }
  void Clear() { messages_.clear(); }

 private:
  std::vector<Message> messages_;
};

class THeadlessShell : public IShell {
 public:
  bool Open(const std::string& target) override {
    opened_.push_back(target);
    return true;
  }
  const std::vector<std::string>& Opened() const { return opened_; }

 private:
  std::vector<std::string> opened_;
};

// Everything a headless run needs, wired together.
struct THeadlessPlatform {
  THeadlessPlatform() = default;
  THeadlessPlatform(const THeadlessPlatform&) = delete;
  THeadlessPlatform& operator=(const THeadlessPlatform&) = delete;

  THeadlessClock clock;
  THeadlessEvents events{clock};
  THeadlessWindow window;
  THeadlessMessageBox messageBox;
  THeadlessShell shell;
  THeadlessAudio audio;

  Platform Get() {
    Platform p;
    p.clock = &clock;
    p.events = &events;
    p.window = &window;
    p.messageBox = &messageBox;
    p.shell = &shell;
    p.audio = &audio;
    return p;
  }
};

}  // namespace bd
