#pragma once
// A question that opens over a screen and waits for its answer: whether to
// leave the game, whether to clear the high-score table. Like a screen it is
// one object with a small set of operations; the form hands it the keys and
// the pointer presses before the screen under it, and it takes what its
// answers answer. Its picture carries the answers' words; only their
// highlights are sprites of their own.

#include <cstdint>
#include <span>
#include <vector>

#include "frontend/Item.h"

namespace bd {

class IFrontEndHost;

class TQuestion {
 public:
  explicit TQuestion(IFrontEndHost& host) : host_(host) {}
  virtual ~TQuestion() = default;
  TQuestion(const TQuestion&) = delete;
  TQuestion& operator=(const TQuestion&) = delete;

  // Whether it stands open over the screen shown now.
  virtual bool IsOpen() const = 0;
  // Whether it may open over the screen shown now.
  virtual bool MayOpen() const = 0;
  // Puts its pictures up and holds what it holds while it waits.
  virtual void Open() = 0;
  // Takes it down again; the screen under it goes on.
  virtual void Close() = 0;
  // The click on its flag: opens it where it may open, or closes it.
  virtual void Click() = 0;
  // A key while it is open; false leaves the key to the screen under it.
  virtual bool KeyDown(int key, uint8_t shift) = 0;
  // A game controller's key while it is open: the pad's B goes back as
  // Escape does. False leaves the key to the screen.
  bool PadKeyDown(int key, uint8_t shift);
  // The pointer is over (x, y) while it is open. This runs after the
  // screen's own hover, so the answer under the pointer has the last word on
  // the pointer's shape and the hover sound.
  void PointerMove(int x, int y);
  // A press while it is open, acting where the pointer last moved; true when
  // an answer took it.
  bool PointerDown(int button);
  // Its answers, in visual order: what the keys' focus moves among.
  std::vector<TItem> FocusItems() const;

 protected:
  virtual std::span<const TItem> Answers() const = 0;
  // Whether moving off the answers arms the hover sound again.
  virtual bool RearmsHoverSound() const { return true; }
  // Whether a press of any button answers, not only the left one.
  virtual bool AnyButtonAnswers() const { return false; }
  // Puts up the question's frame (a sprite of class TFrame), centred on the
  // display just above the middle, at depth `z`, and its words (TWords) one
  // layer above it.
  template <class TFrame, class TWords>
  void AddPictures(TPictureName words, int32_t z) {
    double x = 0, y = 0;
    FramePlace(x, y);
    AddPicture<TFrame>(host_, pic::QuestionFrame, x, y, z);
    AddPicture<TWords>(host_, words, 188, 195, z + 1);
  }
  // Where the frame's top left corner stands.
  void FramePlace(double& x, double& y) const;
  // Takes away the pictures of every question and panel over the screen,
  // and the answers' highlights.
  void RemovePictures();

  IFrontEndHost& host_;
};

// "Да" and "Нет" as rows: parts of the question's picture, with their
// highlights above the question's words.
constexpr TItem YesAnswer(void (*action)(IFrontEndHost&)) {
  return {.Highlight = {pic::YesHover, 240, 340, 902},
          .MakeHighlight = &HighlightAs<TMainExit_Yes>,
          .Hover = hit::Yes,
          .Click = hit::Yes,
          .Action = action};
}

constexpr TItem NoAnswer(void (*action)(IFrontEndHost&)) {
  return {.Highlight = {pic::NoHover, 414, 340, 902},
          .MakeHighlight = &HighlightAs<TMainExit_No>,
          .Hover = hit::No,
          .Click = hit::No,
          .Action = action};
}

}  // namespace bd
