#include <gtest/gtest.h>

#include <memory>

#include "engine/display/DXDraw.h"
#include "engine/sprites/DXSpriteEngine.h"
#include "engine/platform/headless/Headless.h"

namespace bd {
namespace {

// A sprite in the middle of the picture, so every DrawAll that runs renders it.
TSprite* MakeVisibleSprite(TSpriteEngine& engine) {
  auto* s = new TSprite(&engine);
  s->X = 100;
  s->Y = 100;
  s->Width = s->Height = 10;
  return s;
}

TEST(DXSpriteEngine, FollowsTheDisplayUpAndDown) {
  THeadlessWindow window;
  TDXDraw draw(&window);
  TDXSpriteEngine component;
  TSpriteEngine& engine = component.Engine();
  MakeVisibleSprite(engine);

  // Without a display, and with one that is not up, DrawAll does nothing.
  component.DrawAll();
  component.SetDXDraw(&draw);
  component.DrawAll();
  EXPECT_EQ(engine.DrawnCount(), 0);
  EXPECT_EQ(engine.Surface(), nullptr);

  draw.InitializeDisplay();
  EXPECT_EQ(engine.Surface(), draw.BackBuffer());
  EXPECT_EQ(engine.SurfaceRect(), Bounds(0, 0, 800, 600));
  EXPECT_EQ(engine.Width, 800);
  component.DrawAll();
  EXPECT_EQ(engine.DrawnCount(), 1);

  // A new back buffer while the display stays up: drawing follows it, the
  // rectangle keeps the size taken at initialisation.
  draw.SetSurfaceSize(400, 300);
  EXPECT_EQ(engine.Surface(), draw.BackBuffer());
  EXPECT_EQ(engine.SurfaceRect(), Bounds(0, 0, 800, 600));

  draw.FinalizeDisplay();
  EXPECT_EQ(engine.Surface(), nullptr);
  EXPECT_EQ(engine.SurfaceRect(), Bounds(0, 0, 800, 600));
  component.MoveAll(16);
  component.RemoveDead();
  component.DrawAll();
  EXPECT_EQ(engine.DrawnCount(), 1);  // unchanged: nothing was drawn
}

TEST(DXSpriteEngine, ChangingOrLosingTheDisplay) {
  THeadlessWindow window;
  TDXDraw first(&window);
  TDXDraw second(&window);
  TDXSpriteEngine component;
  first.InitializeDisplay();
  second.InitializeDisplay();

  // Joining an up display attaches at once; leaving it detaches.
  component.SetDXDraw(&first);
  EXPECT_EQ(component.Engine().Surface(), first.BackBuffer());
  component.SetDXDraw(&second);
  EXPECT_EQ(component.Engine().Surface(), second.BackBuffer());
  first.FinalizeDisplay();  // no longer listened to
  EXPECT_EQ(component.Engine().Surface(), second.BackBuffer());

  // A display that goes away takes itself out of the component.
  auto doomed = std::make_unique<TDXDraw>(&window);
  component.SetDXDraw(doomed.get());
  doomed->InitializeDisplay();
  doomed.reset();
  EXPECT_EQ(component.DXDraw(), nullptr);
  EXPECT_EQ(component.Engine().Surface(), nullptr);
  component.DrawAll();
}

}  // namespace
}  // namespace bd
