// The built songs, played through libxmp as the game's music library does.

#include <gtest/gtest.h>
#include <xmp.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "assets/AssetNames.h"

namespace bd {
namespace {

struct Expect {
  TSongName song;
  int minOrders;
  double minSeconds, maxSeconds;
};

TEST(Songs, EachPlaysThroughItsOrderListAndWrapsToTheStart) {
  const Expect songs[] = {{song::Menu, 4, 60, 90}, {song::Race, 6, 90, 120}, {song::GameOver, 2, 20, 30}};
  ASSERT_EQ(std::size(songs), std::size(assets::kSongs));
  for (const Expect& e : songs) {
    const std::string name(e.song.Text());
    SCOPED_TRACE(name);
    std::ifstream in(std::string(BD_RUN_DIR) + "/Music/" + name + ".xm", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    xmp_context ctx = xmp_create_context();
    ASSERT_EQ(xmp_load_module_from_memory(ctx, bytes.data(), static_cast<long>(bytes.size())), 0);
    xmp_module_info info;
    xmp_get_module_info(ctx, &info);
    EXPECT_GE(info.mod->len, e.minOrders);
    ASSERT_EQ(xmp_start_player(ctx, 8000, XMP_FORMAT_MONO), 0);
    // Play one pass and a little of the next: the position climbs through
    // every order and comes back to 0.
    int highest = 0, lastPos = 0;
    bool wrapped = false;
    double seconds = 0, energy = 0;
    long samples = 0;
    xmp_frame_info fi;
    while (xmp_play_frame(ctx) == 0) {
      xmp_get_frame_info(ctx, &fi);
      if (fi.loop_count > 0 || (lastPos > 0 && fi.pos == 0)) {
        wrapped = fi.pos == 0;
        break;
      }
      highest = std::max(highest, fi.pos);
      lastPos = fi.pos;
      seconds += fi.frame_time / 1e6;
      const auto* pcm = static_cast<const int16_t*>(fi.buffer);
      for (int i = 0; i < fi.buffer_size / 2; ++i) energy += double(pcm[i]) * pcm[i];
      samples += fi.buffer_size / 2;
      ASSERT_LT(seconds, 300) << "the song never wraps";
    }
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(highest, info.mod->len - 1);
    EXPECT_GE(seconds, e.minSeconds);
    EXPECT_LE(seconds, e.maxSeconds);
    // Loud enough to be heard, across the whole pass.
    EXPECT_GT(std::sqrt(energy / samples) / 32768, 0.03);
    xmp_end_player(ctx);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
  }
}

}  // namespace
}  // namespace bd
