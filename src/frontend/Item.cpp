#include "frontend/Item.h"

#include "app/MainForm.h"
#include "frontend/MenuSprites.h"

namespace bd {

void AddItemPictures(TMainForm& form, std::span<const TItem> items) {
  for (const TItem& item : items)
    if (item.Picture.Image)
      AddPicture<TImageSprite>(form, *item.Picture.Image, item.Picture.X, item.Picture.Y, item.Picture.Z);
}

bool HoverItems(TMainForm& form, std::span<const TItem> items, int x, int y, bool rearmOnMiss) {
  for (const TItem& item : items) {
    if (item.MakeHighlight == nullptr || !item.Hover.Contains(x, y)) continue;
    form.Window.SetPointer(PointerShape::Hand);
    item.MakeHighlight(form, item.Highlight);
    if (form.HoverSoundArmed) HoverSound(form);
    form.HoverSoundArmed = false;
    return true;
  }
  if (rearmOnMiss) form.HoverSoundArmed = true;
  return false;
}

bool ClickItems(TMainForm& form, std::span<const TItem> items, int x, int y) {
  for (const TItem& item : items) {
    if (item.Action == nullptr || !item.Click.Contains(x, y)) continue;
    item.Action(form);
    return true;
  }
  return false;
}

void ClickSound(TMainForm& form) { form.PlaySound(snd::ButtonDown); }

void HoverSound(TMainForm& form) {
  form.StopSound(snd::ButtonUp);
  form.PlaySound(snd::ButtonUp);
}

}  // namespace bd
