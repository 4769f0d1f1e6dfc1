#pragma once
// The small interfaces behind which the game reaches the operating system.
// There are two implementations: SDL (the real game) and headless (tests and
// benchmarks, driven by a virtual clock and scripted input).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/base/Types.h"

struct SDL_Surface;

namespace bd {

// Platform-independent virtual-key codes, as the game's key table uses them.
namespace vk {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18;  // Alt
constexpr int Pause = 19;
constexpr int Capital = 20;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Prior = 33;
constexpr int Next = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
// '0'..'9' are 48..57 and 'A'..'Z' are 65..90, as their upper-case ASCII codes.
constexpr int F1 = 112;
}  // namespace vk

// Modifier flags delivered with key and pointer events.
enum ShiftFlags : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };

enum class PointerShape { Arrow, Hand, IBeam, Hidden };
enum class WindowState { Normal, Minimized, Maximized };

struct DisplayMode {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;
  bool operator==(const DisplayMode&) const = default;
};

struct PlatformEvent {
  enum class Type {
    KeyDown,       // Key, Shift, Repeat
    KeyUp,         // Key, Shift
    Char,          // Char (one Windows-1251 byte)
    MouseMove,     // X, Y, Shift
    MouseDown,     // X, Y, Button, Shift
    MouseUp,       // X, Y, Button, Shift
    PointerLeft,   // the pointer went out of the window
    Activate,      // the application came to the front
    Deactivate,    // another application came to the front
    CloseRequest,  // the window's close button
    Resized,       // the window's size or state changed
    Expose,        // the window must be repainted
    Quit,          // the session ends (the process is asked to stop)
  };
  Type type = Type::KeyDown;
  int Key = 0;
  uint8_t Shift = 0;
  bool Repeat = false;
  uint8_t Char = 0;
  int X = 0;
  int Y = 0;
  int Button = 0;  // 1 left, 2 middle, 3 right
  // The key event was made by a game controller standing in for the
  // keyboard: the game may give a pad's button another meaning off the race.
  bool FromPad = false;
  // When a key of the keyboard went down, on the game's clock, if known: a
  // key pressed before the screen it reaches was shown is not meant for it.
  std::optional<uint32_t> PressedAt;
};

// Millisecond clock (32-bit, wrapping) and a high-resolution counter.
class IClock {
 public:
  virtual ~IClock() = default;
  virtual uint32_t Milliseconds() = 0;
  // The same clock in microseconds: Milliseconds() is this divided by 1000,
  // cut to 32 bits.
  virtual uint64_t Microseconds() = 0;
  virtual uint64_t HighResCounter() = 0;
};

// Where events come from and how the loop waits for the next one.
class IEventSource {
 public:
  virtual ~IEventSource() = default;
  virtual bool Poll(PlatformEvent& event) = 0;
  // Block until an event arrives or the clock reaches `deadlineMs`
  // (compared with wrapping arithmetic against IClock::Milliseconds).
  virtual void WaitUntil(uint32_t deadlineMs) = 0;
};

// The one game window and the way the back buffer reaches the screen.
class IWindow {
 public:
  virtual ~IWindow() = default;
  virtual void Show() = 0;
  virtual bool IsShown() const = 0;
  virtual void SetCaption(const std::string& cp1251Caption) = 0;
  virtual std::string Caption() const = 0;  // Windows-1251
  virtual WindowState State() const = 0;
  virtual void SetState(WindowState state) = 0;
  virtual void SetBorderless(bool borderless) = 0;
  virtual void SavePlacement() = 0;
  virtual void RestorePlacement() = 0;
  virtual bool IsActive() const = 0;

  // The display modes the screen offers (any order).
  virtual std::vector<DisplayMode> DisplayModes() = 0;
  // Enter full screen at `mode`, or go back to a window when `mode` is null.
  // Returns false when the mode cannot be set.
  virtual bool SetFullScreen(const DisplayMode* mode) = 0;
  virtual bool IsFullScreen() const = 0;

  // Show the XRGB8888 back buffer in `dest`, given in the 800 x 600 client
  // coordinates of the window (scaled when dest differs from its size).
  // With waitVBlank the copy is synchronised with the display's refresh.
  virtual void Present(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank) = 0;

  // Whether what the window shows was taken away (another program took the
  // display) and must be re-created before drawing; most platforms never
  // lose it. RestoreSurfaces answers whether the re-creation worked.
  virtual bool SurfacesLost() const { return false; }
  virtual bool RestoreSurfaces() { return true; }

  virtual void SetPointer(PointerShape shape) = 0;
  virtual void WarpPointer(int x, int y) = 0;
};

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Blocks until the player closes it (headless: records and returns).
  virtual void Show(const std::string& utf8Title, const std::string& utf8Text) = 0;
};

class IShell {
 public:
  virtual ~IShell() = default;
  // Opens a local file or a web address with the desktop's default handler.
  virtual bool Open(const std::string& target) = 0;
};

class IAudio;  // sound output: see engine/platform/Audio.h

// The set of services one run of the game uses.
struct Platform {
  IClock* clock = nullptr;
  IEventSource* events = nullptr;
  IWindow* window = nullptr;
  IMessageBox* messageBox = nullptr;
  IShell* shell = nullptr;
  IAudio* audio = nullptr;  // null: the game runs silent
};

}  // namespace bd
