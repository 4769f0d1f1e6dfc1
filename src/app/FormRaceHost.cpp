#include "app/FormRaceHost.h"

#include "app/MainForm.h"
#include "assets/PictureLookup.h"

namespace bd {

TRaceState& TFormRaceHost::RaceState() { return form_.RaceState; }
TSpriteEngine& TFormRaceHost::Engine() { return form_.SpriteEngine.Engine(); }
TPictureCollectionItem& TFormRaceHost::FindImage(TPictureName name) {
  return FindPicture(form_.ImageList, name);
}
void TFormRaceHost::PlaySound(TSoundName name) { form_.PlaySound(name); }
void TFormRaceHost::StopSound(TSoundName name) { form_.StopSound(name); }
int32_t TFormRaceHost::Random(int32_t n) { return form_.Random.Next(n); }
void TFormRaceHost::Randomize() { form_.Randomize(); }
bool TFormRaceHost::KeyDown(int key) const { return form_.KeyDown[static_cast<uint8_t>(key)] != 0; }
void TFormRaceHost::ByeByeMyCar() { form_.ByeByeMyCar(); }
bool TFormRaceHost::LevelTimerEnabled() const { return form_.Timer_Level.Enabled(); }
bool TFormRaceHost::LevelCompleteTimerEnabled() const { return form_.Timer_LevCompl.Enabled(); }
bool TFormRaceHost::NitroTimerEnabled() const { return form_.Timer_Nitro.Enabled(); }
void TFormRaceHost::SetNitroTimerEnabled(bool enabled) { form_.Timer_Nitro.SetEnabled(enabled); }

}  // namespace bd
