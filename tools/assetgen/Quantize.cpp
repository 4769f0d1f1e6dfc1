#include "Quantize.h"

#include <algorithm>
#include <map>

namespace bd::art {

namespace {

struct Entry {
  uint32_t rgb;
  uint32_t count;
  int Channel(int c) const { return static_cast<int>((rgb >> (16 - 8 * c)) & 0xFF); }
};

struct Box {
  std::vector<Entry> entries;
  int axis = 0;
  int range = 0;
  uint64_t weight = 0;
  void Measure() {
    range = -1;
    weight = 0;
    for (const Entry& e : entries) weight += e.count;
    for (int c = 0; c < 3; ++c) {
      int lo = 255, hi = 0;
      for (const Entry& e : entries) {
        lo = std::min(lo, e.Channel(c));
        hi = std::max(hi, e.Channel(c));
      }
      if (hi - lo > range) {
        range = hi - lo;
        axis = c;
      }
    }
  }
  uint32_t Average() const {
    uint64_t sum[3] = {0, 0, 0};
    for (const Entry& e : entries)
      for (int c = 0; c < 3; ++c) sum[c] += static_cast<uint64_t>(e.Channel(c)) * e.count;
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) out = (out << 8) | static_cast<uint32_t>((sum[c] + weight / 2) / weight);
    return out;
  }
};

}  // namespace

std::vector<uint32_t> MedianCut(const std::vector<uint32_t>& pixels, int maxColors, uint32_t reserved) {
  std::map<uint32_t, uint32_t> counts;  // ordered, so the result never depends on hashing
  for (uint32_t p : pixels)
    if (p != reserved) ++counts[p];
  std::vector<uint32_t> table = {reserved};
  if (static_cast<int>(counts.size()) <= maxColors - 1) {
    for (const auto& [rgb, n] : counts) table.push_back(rgb);
    return table;
  }
  std::vector<Box> boxes(1);
  for (const auto& [rgb, n] : counts) boxes[0].entries.push_back({rgb, n});
  boxes[0].Measure();
  while (static_cast<int>(boxes.size()) < maxColors - 1) {
    // Split the box whose spread, weighted by its pixels, is largest.
    size_t pick = boxes.size();
    double best = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].entries.size() < 2) continue;
      double score = static_cast<double>(boxes[i].range) * static_cast<double>(boxes[i].weight);
      if (score > best) {
        best = score;
        pick = i;
      }
    }
    if (pick == boxes.size()) break;
    Box& b = boxes[pick];
    int axis = b.axis;
    std::sort(b.entries.begin(), b.entries.end(), [axis](const Entry& x, const Entry& y) {
      return x.Channel(axis) != y.Channel(axis) ? x.Channel(axis) < y.Channel(axis) : x.rgb < y.rgb;
    });
    uint64_t half = b.weight / 2, run = 0;
    size_t cut = 1;
    for (size_t i = 0; i + 1 < b.entries.size(); ++i) {
      run += b.entries[i].count;
      cut = i + 1;
      if (run >= half) break;
    }
    Box other;
    other.entries.assign(b.entries.begin() + static_cast<std::ptrdiff_t>(cut), b.entries.end());
    b.entries.resize(cut);
    b.Measure();
    other.Measure();
    boxes.push_back(std::move(other));
  }
  for (const Box& b : boxes) {
    uint32_t c = b.Average();
    if (c == reserved) c ^= 0x010000;
    table.push_back(c);
  }
  return table;
}

}  // namespace bd::art
