#pragma once
// The small sprite classes of the front end. Menu items have no widgets:
// a highlight picture is laid over an item's normal picture while the pointer
// is on it, and the confirmations and the name entry are pictures too. The
// classes add nothing to an image sprite; they exist so that the pointer
// handlers can find and remove them by class.

#include <cstdint>

#include "assets/AssetNames.h"
#include "engine/sprites/ImageSprite.h"

namespace bd {

class IFrontEndHost;
class TPictureCollectionItem;

// Base of every hover highlight; all of them are removed at each pointer move.
class TMenuGame : public TImageSprite {
 public:
  explicit TMenuGame(TSprite* parent) : TImageSprite(parent) {}
};

// Base of the pictures of the confirmations and of the name entry; removed
// when a confirmation closes.
class TMenu : public TImageSprite {
 public:
  explicit TMenu(TSprite* parent) : TImageSprite(parent) {}
};

#define BD_MENU_SPRITE(Name, Base)                          \
  class Name : public Base {                                \
   public:                                                  \
    explicit Name(TSprite* parent) : Base(parent) {}        \
  }

// Highlights of the menu column, the "more games" badge, the panels' buttons
// and the confirmations' answers.
BD_MENU_SPRITE(Start_Game, TMenuGame);
BD_MENU_SPRITE(Options, TMenuGame);
BD_MENU_SPRITE(High_Score, TMenuGame);
BD_MENU_SPRITE(Help, TMenuGame);
BD_MENU_SPRITE(Visit_Web_Site, TMenuGame);
BD_MENU_SPRITE(Exit_, TMenuGame);
BD_MENU_SPRITE(fggActive, TMenuGame);
BD_MENU_SPRITE(HelpGame_Down, TMenuGame);
BD_MENU_SPRITE(HelpGame_Back, TMenuGame);
BD_MENU_SPRITE(HelpGame_Up, TMenuGame);
BD_MENU_SPRITE(HighScore_Clear, TMenuGame);
BD_MENU_SPRITE(HighScore_Back, TMenuGame);
BD_MENU_SPRITE(HighScore_View, TMenuGame);
BD_MENU_SPRITE(TMainExit_Yes, TMenuGame);
BD_MENU_SPRITE(TMainExit_No, TMenuGame);

// Pictures of the exit and clear confirmations and of the name entry.
BD_MENU_SPRITE(TMainExit, TMenu);
BD_MENU_SPRITE(TMainExit_Word, TMenu);
BD_MENU_SPRITE(TClearHighScore, TMenu);
BD_MENU_SPRITE(TClearHighScore_Word, TMenu);
BD_MENU_SPRITE(TEnter_Name, TMenu);
BD_MENU_SPRITE(TEnter_Name_Send, TMenu);

#undef BD_MENU_SPRITE

// The text caret. It places itself after the text being edited every frame,
// where the current screen says (after the country on the options screen,
// after the centred name on the game-over screen).
class Palka : public TImageSprite {
 public:
  Palka(TSprite* parent, IFrontEndHost& host);
  void Step(int32_t moveCount) override;

 private:
  IFrontEndHost& host_;
};

// The caret's blink, once per drawn frame: while a field is being edited a
// caret is added in each of the first 14 frames of every 30 (all at the same
// place), and all carets are removed in the other 16.
void BlinkCaret(IFrontEndHost& host);

// Gives `sprite` the image, the position, the depth and the image's size.
void PlacePicture(TImageSprite& sprite, TPictureCollectionItem& image, double x, double y, int32_t z);

// Creates a sprite of class T as a direct child of the form's sprite engine,
// showing the named image at (x, y) and depth z.
template <class T>
T& AddPicture(IFrontEndHost& host, TPictureName image, double x, double y, int32_t z);

// The engine that owns every sprite of the form, and a named menu image.
TSprite& EngineRoot(IFrontEndHost& host);
TPictureCollectionItem& MenuImage(IFrontEndHost& host, TPictureName name);

template <class T>
T& AddPicture(IFrontEndHost& host, TPictureName image, double x, double y, int32_t z) {
  TPictureCollectionItem& item = MenuImage(host, image);
  T* sprite = new T(&EngineRoot(host));
  PlacePicture(*sprite, item, x, y, z);
  return *sprite;
}

// Kills every direct child of the engine that is of class T (the kill is
// deferred, so the walk is safe).
template <class T>
void KillAll(TSprite& engine) {
  for (int32_t i = 0; i < engine.ChildCount(); ++i)
    if (dynamic_cast<T*>(engine.ChildAt(i)) != nullptr) engine.ChildAt(i)->Kill();
}

}  // namespace bd
