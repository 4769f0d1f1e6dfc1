#include "Web.h"

#include "Icon.h"
#include "Paint.h"
#include "Scenery.h"

namespace bd::art {

std::vector<OutputFile> MakeWebFiles() {
  // 1040 x 260 pixels, shown at 520 x 130.
  Canvas logo(1040, 260);
  TitleLogo(logo.cr(), 540, 130, 104);
  return {{"www/logo.png", logo.Png()}, {"www/favicon.png", IconPng(64)}};
}

}  // namespace bd::art
