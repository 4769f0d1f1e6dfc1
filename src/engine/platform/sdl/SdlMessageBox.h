#pragma once
// Message boxes through SDL, over the game's window; the message also goes
// to the standard error stream.

#include <string>

#include "engine/platform/Platform.h"

namespace bd {

class TSdlWindow;

class TSdlMessageBox : public IMessageBox {
 public:
  explicit TSdlMessageBox(TSdlWindow* window) : window_(window) {}
  void Show(const std::string& utf8Title, const std::string& utf8Text) override;

 private:
  TSdlWindow* window_;
};

}  // namespace bd
