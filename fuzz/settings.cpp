// The settings file "Config.cfg": any text applies line by line over the
// defaults without failing, and the state it leaves behind, once saved, must
// read back to exactly the same state with nothing to complain about.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  bd::TSettingsValues values;
  (void)bd::ApplySettingsText(text, values);

  bd::TSettingsValues reread = values;
  if (!bd::ApplySettingsText(bd::SettingsFileText(values), reread).empty()) std::abort();
  if (!(reread == values)) std::abort();
  return 0;
}
