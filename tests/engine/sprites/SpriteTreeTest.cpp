#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/sprites/SpriteTree.h"
#include "engine/display/Surface.h"

namespace bd {
namespace {

// A sprite whose behaviours are supplied by the test and which writes what
// happens to it into a shared log.
class TLogSprite : public TSprite {
 public:
  TLogSprite(TSprite* parent, std::string name, std::vector<std::string>* log)
      : TSprite(parent), name_(std::move(name)), log_(log) {}
  ~TLogSprite() override {
    if (log_ != nullptr) log_->push_back("free " + name_);
  }

  void Step(int32_t moveCount) override {
    if (log_ != nullptr) log_->push_back("step " + name_ + " " + std::to_string(moveCount));
    if (onStep) onStep();
  }
  void HandleCollision(TSprite& other, bool& done) override {
    if (log_ != nullptr) log_->push_back("hit " + name_ + ">" + Name(other));
    if (onHit) onHit(other, done);
  }
  bool HitTest(TSprite& other) override {
    if (log_ != nullptr && logHitTests) log_->push_back("test " + name_ + "?" + Name(other));
    return hitTestAnswer;
  }
  void Render() override {
    if (log_ != nullptr) log_->push_back("draw " + name_);
  }

  static std::string Name(const TSprite& s) {
    auto* l = dynamic_cast<const TLogSprite*>(&s);
    return l != nullptr ? l->name_ : "?";
  }

  std::function<void()> onStep;
  std::function<void(TSprite&, bool&)> onHit;
  bool hitTestAnswer = true;
  bool logHitTests = false;

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

// An engine on an 800 x 600 surface, with helpers to make logged sprites.
class SpriteTreeTest : public ::testing::Test {
 protected:
  SpriteTreeTest() : surface(800, 600) { engine.AttachSurface(&surface); }

  TLogSprite* Make(const std::string& name, TSprite* parent = nullptr, double x = 0, double y = 0,
                   int32_t w = 10, int32_t h = 10) {
    auto* s = new TLogSprite(parent != nullptr ? parent : &engine, name, &log);
    s->X = x;
    s->Y = y;
    s->Width = w;
    s->Height = h;
    return s;
  }

  static std::vector<std::string> Names(const std::vector<TSprite*>& list) {
    std::vector<std::string> out;
    for (auto* s : list) out.push_back(TLogSprite::Name(*s));
    return out;
  }

  std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

  TDirectDrawSurface surface;
  std::vector<std::string> log;  // declared before the engine: the engine's sprites log as they go
  TSpriteEngine engine;
  using Log = std::vector<std::string>;
};

TEST_F(SpriteTreeTest, LinksCountsAndClearing) {
  auto* a = Make("a");
  auto* b = Make("b");
  auto* a1 = Make("a1", a);
  EXPECT_EQ(a->Engine(), &engine);
  EXPECT_EQ(a1->Engine(), &engine);
  EXPECT_EQ(a1->Parent(), a);
  EXPECT_EQ(engine.Engine(), nullptr);
  EXPECT_EQ(engine.Parent(), nullptr);
  EXPECT_EQ(engine.SpriteCount(), 3);
  EXPECT_EQ(engine.ChildAt(1), b);
  EXPECT_TRUE(a->CanMove && a->CanCollide && a->Visible && !a->IsDead());

  a1->X = 5.25;
  a->X = 100;
  EXPECT_DOUBLE_EQ(a1->AbsoluteX(), 105.25);

  // Children go last first, each after its own children.
  engine.ClearChildren();
  EXPECT_EQ(TakeLog(), (Log{"free b", "free a", "free a1"}));
  EXPECT_EQ(engine.SpriteCount(), 0);
  EXPECT_EQ(engine.ChildCount(), 0);
  EXPECT_TRUE(engine.DrawList().empty());

  // A tree without an engine still links, but nothing is counted or killed.
  TSprite root(nullptr);
  auto* loose = new TSprite(&root);
  EXPECT_EQ(loose->Engine(), nullptr);
  loose->Kill();
  EXPECT_FALSE(loose->IsDead());
  EXPECT_EQ(root.ChildCount(), 1);
}

TEST_F(SpriteTreeTest, ChildAtErrors) {
  struct Case {
    bool withChildren;
    int32_t index;
    const char* errorClass;
    const char* message;
  };
  const Case cases[] = {
      {false, 0, "ESpriteError", "Index of the list exceeds the range. (0)"},
      {false, -3, "ESpriteError", "Index of the list exceeds the range. (-3)"},
      {true, 2, "EListError", "List index out of bounds (2)"},
      {true, -1, "EListError", "List index out of bounds (-1)"},
  };
  for (const Case& c : cases) {
    engine.ClearChildren();
    if (c.withChildren) Make("a"), Make("b");
    try {
      engine.ChildAt(c.index);
      ADD_FAILURE() << "no error for index " << c.index;
    } catch (const EError& e) {
      EXPECT_EQ(e.ClassName(), c.errorClass);
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  // Removing the last child empties the list again.
  engine.ClearChildren();
  Make("c");
  delete engine.ChildAt(0);
  EXPECT_THROW(engine.ChildAt(0), ESpriteError);
}

TEST_F(SpriteTreeTest, DrawOrderByDepth) {
  // Equal depths: the sprite created (or re-sorted) last is drawn first.
  auto* a = Make("a");
  auto* b = Make("b");
  auto* c = Make("c");
  EXPECT_EQ(Names(engine.DrawList()), (Log{"c", "b", "a"}));
  b->ChangeZ(0);  // the current value: keeps its place among equals
  EXPECT_EQ(Names(engine.DrawList()), (Log{"c", "b", "a"}));
  a->ChangeZ(5);
  EXPECT_EQ(Names(engine.DrawList()), (Log{"c", "b", "a"}));
  c->ChangeZ(5);
  EXPECT_EQ(Names(engine.DrawList()), (Log{"b", "c", "a"}));
  a->ChangeZ(-1);
  a->ChangeZ(5);  // back among its equals, now ahead of them
  EXPECT_EQ(Names(engine.DrawList()), (Log{"b", "a", "c"}));
  EXPECT_EQ(Names({engine.ChildAt(0), engine.ChildAt(1), engine.ChildAt(2)}), (Log{"a", "b", "c"}));

  // A mix of depths inserted one by one stays sorted, equals newest first.
  engine.ClearChildren();
  const int32_t depths[] = {3, 1, 3, 2, 1, 7, 0, 3};
  for (size_t i = 0; i < std::size(depths); ++i) Make(std::to_string(i))->ChangeZ(depths[i]);
  EXPECT_EQ(Names(engine.DrawList()), (Log{"6", "4", "1", "3", "7", "2", "0", "5"}));

  // Drawing follows the list, children after their parent.
  engine.ClearChildren();
  TakeLog();
  auto* p = Make("p");
  Make("p1", p)->ChangeZ(1);
  Make("p0", p);
  Make("q")->ChangeZ(-1);
  engine.DrawAll();
  EXPECT_EQ(TakeLog(), (Log{"draw q", "draw p", "draw p0", "draw p1"}));
}

TEST_F(SpriteTreeTest, BoundsTruncateTowardZero) {
  const std::pair<double, int32_t> cases[] = {{-0.5, 0},  {-0.7, 0}, {10.99, 10},
                                              {-1.5, -1}, {3.0, 3},  {-2e12, -1000000000}};
  auto* s = Make("s", nullptr, 0, 0, 20, 30);
  for (auto [pos, px] : cases) {
    s->X = pos;
    s->Y = pos;
    EXPECT_EQ(s->GetBounds(), Bounds(px, px, 20, 30)) << pos;
  }
  // A child's box is in engine coordinates.
  s->X = 100.5;
  s->Y = 0;
  auto* child = Make("c", s, -0.75, 2, 4, 4);
  EXPECT_EQ(child->GetBounds(), Bounds(99, 2, 4, 4));
}

TEST_F(SpriteTreeTest, KillAndRemoveDead) {
  auto* a = Make("a");
  auto* b = Make("b");
  auto* b1 = Make("b1", b);
  auto* c = Make("c");
  a->Kill();
  a->Kill();  // a second kill changes nothing
  engine.Kill();
  EXPECT_FALSE(engine.IsDead());
  b1->Kill();
  b->Kill();
  EXPECT_EQ(Names(engine.DeadList()), (Log{"a", "b1", "b"}));
  EXPECT_TRUE(a->IsDead());

  // Killed sprites still step and draw until RemoveDead.
  engine.MoveTree(1);
  engine.DrawAll();
  EXPECT_EQ(engine.DrawnCount(), 4);
  TakeLog();

  // The last killed goes first; b1 goes with b and only once.
  engine.RemoveDead();
  EXPECT_EQ(TakeLog(), (Log{"free b", "free b1", "free a"}));
  EXPECT_TRUE(engine.DeadList().empty());
  EXPECT_EQ(engine.SpriteCount(), 1);
  EXPECT_EQ(engine.ChildAt(0), c);

  // Destroying a killed sprite directly takes it off the list too.
  auto* d = Make("d");
  d->Kill();
  delete d;
  EXPECT_TRUE(engine.DeadList().empty());
}

TEST_F(SpriteTreeTest, MoveTreeTakesTheCountOnce) {
  auto* a = Make("a");
  auto* frozen = Make("frozen");
  Make("frozen child", frozen);
  frozen->CanMove = false;
  auto* b = Make("b");
  Make("b1", b);
  a->onStep = [&] {
    Make("late");  // appended behind: waits for the next frame
    a->Kill();     // killed sprites are still stepped this frame and the next
  };
  engine.MoveTree(16);
  EXPECT_EQ(TakeLog(), (Log{"step a 16", "step b 16", "step b1 16"}));
  a->onStep = nullptr;
  engine.MoveTree(2);
  EXPECT_EQ(TakeLog(), (Log{"step a 2", "step b 2", "step b1 2", "step late 2"}));
}

TEST_F(SpriteTreeTest, MoveTreeSurvivesSpritesFreedDuringTheWalk) {
  // Freeing (rather than killing) sprites in Step is not how the game removes
  // them, but it must not touch freed memory: the walk ends early instead.
  auto* a = Make("a");
  auto* b = Make("b");
  Make("b1", b);
  auto* c = Make("c");
  a->onStep = [&] { delete c; };
  b->onStep = [&] { delete b; };
  engine.MoveTree(1);
  EXPECT_EQ(TakeLog(), (Log{"step a 1", "free c", "step b 1", "free b", "free b1"}));
  a->onStep = [&] { engine.ClearChildren(); };
  engine.MoveTree(1);
  EXPECT_EQ(TakeLog(), (Log{"step a 1", "free a"}));
  EXPECT_EQ(engine.SpriteCount(), 0);
}

TEST_F(SpriteTreeTest, DrawsOnlyWhatOverlapsTheSurface) {
  struct Case {
    double x, y;
    int32_t w, h;
    bool drawn;
  };
  const Case cases[] = {
      {-10, 0, 10, 10, false},                            // Right edge touches the surface's Left
      {800, 0, 10, 10, false},                            // Left edge touches the surface's Right
      {0, 600, 10, 10, false},  {-9.9, 0, 10, 10, true},  // box at 0 after truncation
      {795, 595, 10, 10, true}, {400, 300, 0, 0, true},   // an empty box inside the surface still counts
      {0, 0, 0, 0, false},                                // ...but not on the edge
  };
  for (const Case& c : cases) {
    engine.ClearChildren();
    TakeLog();
    Make("s", nullptr, c.x, c.y, c.w, c.h);
    engine.DrawAll();
    EXPECT_EQ(engine.DrawnCount(), c.drawn ? 1 : 0) << c.x << "," << c.y;
    EXPECT_EQ(TakeLog(), c.drawn ? Log{"draw s"} : Log{}) << c.x << "," << c.y;
  }

  // An invisible sprite hides its subtree; an off-screen one does not.
  engine.ClearChildren();
  TakeLog();
  auto* hidden = Make("hidden");
  Make("under hidden", hidden);
  hidden->Visible = false;
  auto* away = Make("away", nullptr, -500, 0);
  Make("under away", away, 500, 0);
  engine.DrawAll();
  EXPECT_EQ(TakeLog(), (Log{"draw under away"}));
  EXPECT_EQ(engine.DrawnCount(), 1);
}

TEST_F(SpriteTreeTest, SurfaceRectFollowsAttachOnly) {
  EXPECT_EQ(engine.SurfaceRect(), Bounds(0, 0, 800, 600));
  EXPECT_EQ(engine.Width, 800);
  EXPECT_EQ(engine.Height, 600);
  engine.AttachSurface(nullptr);
  EXPECT_EQ(engine.Surface(), nullptr);
  EXPECT_EQ(engine.SurfaceRect(), Bounds(0, 0, 800, 600));
  TDirectDrawSurface small(64, 32);
  engine.AttachSurface(&small);
  EXPECT_EQ(engine.SurfaceRect(), Bounds(0, 0, 64, 32));
  EXPECT_EQ(engine.Width, 64);
}

TEST_F(SpriteTreeTest, CollideReportsEveryOverlapInCreationOrder) {
  auto* probe = Make("probe", nullptr, 100, 100, 20, 20);
  Make("left touch", nullptr, 80, 100, 20, 20);    // Right == probe's Left: no hit
  Make("below touch", nullptr, 100, 120, 20, 20);  // Top == probe's Bottom: no hit
  auto* t1 = Make("t1", nullptr, 110, 110, 20, 20);
  Make("t1 child", t1, 0, 0, 5, 5);
  auto* dead = Make("dead", nullptr, 95, 95, 10, 10);
  dead->Kill();  // still reported until RemoveDead
  auto* off = Make("off", nullptr, 100, 100, 20, 20);
  off->CanCollide = false;
  Make("under off", off, 0, 0, 20, 20);  // skipped with its parent
  auto* nested = Make("nested parent", nullptr, 0, 0, 5, 5);
  Make("nested", nested, 101, 101, 1, 1);  // found through a parent that misses
  bool spawned = false;
  probe->onHit = [&](TSprite&, bool&) {
    probe->X = 500;                                            // ProbeRect stays
    if (!spawned) Make("spawned", nullptr, 100, 100, 20, 20);  // not tested in this pass
    spawned = true;
  };
  EXPECT_EQ(probe->Collide(), 4);
  EXPECT_EQ(TakeLog(), (Log{"hit probe>t1", "hit probe>t1 child", "hit probe>dead", "hit probe>nested"}));
  EXPECT_EQ(engine.ProbeRect(), Bounds(100, 100, 20, 20));
  EXPECT_EQ(engine.ProbeSprite(), probe);
  EXPECT_EQ(engine.HitCount(), 4);

  // Sprites do not collide with themselves, and a probe that cannot collide finds nothing.
  probe->CanCollide = false;
  EXPECT_EQ(probe->Collide(), 0);
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(SpriteTreeTest, CollideStopPrunesOnlyChildren) {
  auto* probe = Make("probe", nullptr, 0, 0, 50, 50);
  auto* a = Make("a");
  Make("a1", a);
  auto* b = Make("b");
  Make("b1", b);
  // Setting done, switching collisions off or being killed: each stops the
  // descent into a1 and b1 but not the walk over the top level.
  const std::function<void(bool&)> stoppers[] = {
      [](bool& done) { done = true; },
      [&](bool&) { probe->CanCollide = false; },
      [&](bool&) { probe->Kill(); },
  };
  for (const auto& stopper : stoppers) {
    probe->onHit = [&](TSprite&, bool& done) { stopper(done); };
    EXPECT_EQ(probe->Collide(), 2);
    EXPECT_EQ(TakeLog(), (Log{"hit probe>a", "hit probe>b"}));
    EXPECT_TRUE(engine.CollideStop());
    probe->CanCollide = true;
  }
  // A killed probe finds nothing and calls nothing.
  ASSERT_TRUE(probe->IsDead());
  EXPECT_EQ(probe->Collide(), 0);
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(SpriteTreeTest, CollideAsksBothHitTestsInOrder) {
  auto* probe = Make("p");
  auto* t = Make("t");
  probe->logHitTests = t->logHitTests = true;
  struct Case {
    bool probeSays, targetSays;
    Log expected;
  };
  const Case cases[] = {
      {true, true, {"test p?t", "test t?p", "hit p>t"}},
      {true, false, {"test p?t", "test t?p"}},
      {false, true, {"test p?t"}},
  };
  for (const Case& c : cases) {
    probe->hitTestAnswer = c.probeSays;
    t->hitTestAnswer = c.targetSays;
    EXPECT_EQ(probe->Collide(), c.expected.size() == 3 ? 1 : 0);
    EXPECT_EQ(TakeLog(), c.expected);
  }
}

TEST_F(SpriteTreeTest, CollideSurvivesSpritesFreedInHandleCollision) {
  auto* probe = Make("probe");
  auto* a = Make("a");
  Make("a1", a);
  Make("b");
  // Freed outright (not killed): its children are not visited, and b, which
  // moves into its place, is passed over in this walk.
  probe->onHit = [&](TSprite& other, bool&) {
    if (&other == a) delete a;
  };
  EXPECT_EQ(probe->Collide(), 1);
  EXPECT_EQ(TakeLog(), (Log{"hit probe>a", "free a", "free a1"}));
  // A probe that frees itself ends the walk.
  probe->onHit = [&](TSprite&, bool&) { delete probe; };
  EXPECT_EQ(engine.ChildAt(0)->Collide(), 1);
  EXPECT_EQ(TakeLog(), (Log{"hit probe>b", "free probe"}));
  EXPECT_EQ(engine.ProbeSprite(), nullptr);
}

}  // namespace
}  // namespace bd
