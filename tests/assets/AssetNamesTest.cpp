// The names of the game's pictures, sounds and songs can only come from the
// constants, and each list names every entry once.

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "assets/AssetNames.h"

namespace bd {
namespace {

// A string, literal or not, makes no name; so a misspelt name is a compile
// error wherever the game asks for a picture, sound or song.
template <class Name>
constexpr bool kOnlyFromConstants =
    !std::is_constructible_v<Name, const char*> && !std::is_constructible_v<Name, std::string_view> &&
    !std::is_constructible_v<Name, std::string> && !std::is_default_constructible_v<Name> &&
    std::is_copy_constructible_v<Name>;
static_assert(kOnlyFromConstants<TPictureName>);
static_assert(kOnlyFromConstants<TSoundName>);
static_assert(kOnlyFromConstants<TSongName>);
// The kinds do not mix: a sound's name is no picture's.
static_assert(!std::is_convertible_v<TSoundName, TPictureName>);
static_assert(!std::is_convertible_v<TPictureName, TSoundName>);

template <class Name>
void ExpectDistinctAndNonEmpty(std::span<const Name> names, const char* list) {
  std::set<std::string_view> seen;
  for (Name n : names) {
    EXPECT_FALSE(n.Text().empty()) << list;
    EXPECT_TRUE(seen.insert(n.Text()).second) << list << " names \"" << n.Text() << "\" twice";
  }
}

TEST(AssetNames, EachListNamesEveryEntryOnce) {
  ExpectDistinctAndNonEmpty<TPictureName>(assets::kMenuImages, "menu pictures");
  ExpectDistinctAndNonEmpty<TPictureName>(assets::kRaceImages, "race pictures");
  ExpectDistinctAndNonEmpty<TSoundName>(assets::kSounds, "sounds");
  ExpectDistinctAndNonEmpty<TSongName>(assets::kSongs, "songs");
}

}  // namespace
}  // namespace bd
