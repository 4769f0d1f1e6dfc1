#pragma once
// A name entered with a game controller, as arcade machines take one: the
// d-pad's Up and Down turn the last letter through the alphabet, Right adds
// a letter after it and Left takes the last one back.

#include <string>

namespace bd {

// The longest name the table keeps.
constexpr size_t kNameWheelLength = 10;

// Applies the arrow `key` to `name` (Windows-1251). Returns false for keys
// that are not arrows, leaving the name alone.
bool TurnNameWheel(std::string& name, int key);

}  // namespace bd
