// The builder draws with cairo's fonts; releasing their caches when the
// tests end keeps a leak checker's report clean.

#include <gtest/gtest.h>

#include "Paint.h"

namespace {

class ReleaseFontsAtExit : public ::testing::Environment {
 public:
  void TearDown() override { bd::art::ReleaseFonts(); }
};

const auto* const kRelease = ::testing::AddGlobalTestEnvironment(new ReleaseFontsAtExit);

}  // namespace
