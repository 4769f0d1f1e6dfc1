// A name entered with a pad's d-pad.
#include <gtest/gtest.h>

#include "codec/Cp1251.h"
#include "engine/platform/Platform.h"
#include "frontend/NameWheel.h"

namespace bd {
namespace {

TEST(NameWheel, TheArrowsTurnAddAndTakeBackLetters) {
  struct Case {
    const char* what;
    std::string before;
    int key;
    std::string after;
  };
  const Case cases[] = {
      {"Up starts an empty name", "", vk::Up, W("А")},
      {"Down starts from the wheel's end", "", vk::Down, "9"},
      {"Up turns the last letter", W("ИВ"), vk::Up, W("ИГ")},
      {"Down turns it back", W("ИГ"), vk::Down, W("ИВ")},
      {"Ё comes after Е", W("Е"), vk::Up, W("Ё")},
      {"and Ж after Ё", W("Ё"), vk::Up, W("Ж")},
      {"Ё before Ж", W("Ж"), vk::Down, W("Ё")},
      {"after Я come the Latin letters", W("Я"), vk::Up, "A"},
      {"after Z the digits", "Z", vk::Up, "0"},
      {"after 9 round to А", "9", vk::Up, W("А")},
      {"before А the digits' end", W("А"), vk::Down, "9"},
      {"a small typed letter turns from the start", "Ab", vk::Up, W("AА")},
      {"Right adds a letter", "AB", vk::Right, W("ABА")},
      {"no more than ten", "ABCDEFGHIJ", vk::Right, "ABCDEFGHIJ"},
      {"Left takes the last one back", "AB", vk::Left, "A"},
      {"Left on nothing", "", vk::Left, ""},
  };
  for (const Case& c : cases) {
    std::string name = c.before;
    EXPECT_TRUE(TurnNameWheel(name, c.key)) << c.what;
    EXPECT_EQ(name, c.after) << c.what;
  }
  std::string name = "AB";
  EXPECT_FALSE(TurnNameWheel(name, vk::Return));
  EXPECT_EQ(name, "AB");
}

}  // namespace
}  // namespace bd
