#include <cstdio>

#include "Art.h"
#include "ContactSheet.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::vector<const bd::art::ArtItem*> items;
  auto race = bd::art::MakeRaceArt();
  auto menu = bd::art::MakeMenuArt();
  for (auto& it : menu) items.push_back(&it);
  for (auto& it : race) items.push_back(&it);
  return bd::art::WriteContactSheet(argv[1], items) ? 0 : 1;
}
