#include "frontend/Item.h"

#include "frontend/FrontEndHost.h"
#include "frontend/MenuSprites.h"

namespace bd {

void AddItemPictures(IFrontEndHost& host, std::span<const TItem> items) {
  for (const TItem& item : items)
    if (item.Picture.Image)
      AddPicture<TImageSprite>(host, *item.Picture.Image, item.Picture.X, item.Picture.Y, item.Picture.Z);
}

bool HoverItems(IFrontEndHost& host, std::span<const TItem> items, int x, int y, bool rearmOnMiss) {
  for (const TItem& item : items) {
    if (item.MakeHighlight == nullptr || !item.Hover.Contains(x, y)) continue;
    host.SetPointer(PointerShape::Hand);
    item.MakeHighlight(host, item.Highlight);
    if (host.HoverSoundArmed()) HoverSound(host);
    host.HoverSoundArmed() = false;
    return true;
  }
  if (rearmOnMiss) host.HoverSoundArmed() = true;
  return false;
}

bool ClickItems(IFrontEndHost& host, std::span<const TItem> items, int x, int y) {
  for (const TItem& item : items) {
    if (item.Action == nullptr || !item.Click.Contains(x, y)) continue;
    item.Action(host);
    return true;
  }
  return false;
}

void ClickSound(IFrontEndHost& host) { host.PlaySound(snd::ButtonDown); }

void HoverSound(IFrontEndHost& host) {
  host.StopSound(snd::ButtonUp);
  host.PlaySound(snd::ButtonUp);
}

}  // namespace bd
