// Sound effects by name, one song at a time, and the per-frame watchdog that
// starts a song again once it has played through.
#include <charconv>
#include <iostream>
#include <iterator>

#include "app/CueSounds.h"
#include "app/MainForm.h"
#include "frontend/screens/Screen.h"

namespace bd {

namespace {

// The file name of song number n ("1", "2", "3"); any other number names no song.
std::string SongName(const std::string& number) {
  int n = 0;
  const char* end = number.data() + number.size();
  const auto [ptr, ec] = std::from_chars(number.data(), end, n);
  if (ec != std::errc() || ptr != end || n < 1 || n > static_cast<int>(std::size(assets::kSongs))) return "";
  return std::string(assets::kSongs[n - 1].Text());
}

// How long a sound plays, in seconds, at the rate it is played at.
double PlayingSeconds(const TWaveCollectionItem& sound) {
  const TWaveFormat f = sound.Wave().Format();
  const uint32_t rate = sound.Frequency != 0 ? sound.Frequency : f.SamplesPerSec;
  if (f.BlockAlign == 0 || rate == 0) return 0;
  return static_cast<double>(sound.Wave().Size() / f.BlockAlign) / rate;
}

}  // namespace

void TMainForm::PlaySound(TSoundName name, bool wait) {
  // With sound off nothing is looked up, so a missing name goes unnoticed.
  if (!GameSound.Checked) return;
  TWaveCollectionItem* sound = SoundNamed(name);
  if (sound == nullptr) return;
  if (IsCueSound(name)) music_->DuckUnderCue(PlayingSeconds(*sound));
  sound->PlayWave(wait);
  if (FrameLog != nullptr)
    if (IAudio* audio = DXSound.Audio())
      FrameLog->SoundStarted(std::string(name.Text()), audio->FramesMixed());
}

TWaveCollectionItem* TMainForm::SoundNamed(TSoundName name) {
  TWaveCollection& sounds = DXWaveList.Items();
  // A sound archive that failed to load was reported then; the sounds it
  // could not give are skipped rather than reported at every use.
  return soundArchiveFailed_ ? sounds.Find(name.Text()) : &sounds.FindSound(name.Text());
}

void TMainForm::StopSound(TSoundName name) {
  // Of the single sounds only the hover tick is ever stopped; any other name is ignored.
  if (name == snd::ButtonUp)
    if (TWaveCollectionItem* sound = SoundNamed(name)) sound->StopWave();
}

void TMainForm::StopAllSounds() {
  TWaveCollection& sounds = DXWaveList.Items();
  for (int i = 0; i < sounds.Count(); ++i) sounds.Items(i).StopWave();
}

void TMainForm::PlayMusic(const std::string& number) {
  if (!GameMusic.Checked) return;
  LastOrder = 0;
  if (SongHandle != 0) music_->SongFree(SongHandle);
  // A song that fails to load leaves the handle at 0: silence until the next
  // song. It is noted once on the error output, for whoever looks there.
  const std::string path = "Music/" + SongName(number) + ".xm";
  TimedLoad(path, [&] { SongHandle = music_->SongLoadFromFile(path); });
  if (SongHandle != 0)
    music_->SongPlay(SongHandle);
  else if (silentSongs_.insert(path).second)
    std::cerr << "Cannot play '" << path << "' (missing, or not an XM song): no music there\n";
}

void TMainForm::StopMusic() {
  if (SongHandle != 0) music_->SongFree(SongHandle);
  SongHandle = 0;
}

void TMainForm::MusicWatchdog() {
  if (SongHandle == 0) return;
  if (music_->SongGetOrder(SongHandle) != 0 || LastOrder == 0) {
    LastOrder = music_->SongGetOrder(SongHandle);
    return;
  }
  // Back at position 0 after having been further on: the song has played
  // through, and the screen's song starts again from its beginning.
  // The exit screen lets the song play on as the library plays it.
  if (const char* song = Screen().Song()) PlayMusic(song);
}

void TMainForm::SetMusicLibrary(IMusicLibrary& library) {
  StopMusic();
  music_ = &library;
}

void TMainForm::LoadSounds() {
  // A missing or broken archive is reported once, and the display still
  // finishes coming up: the game plays on without the sounds it lacks.
  soundArchiveFailed_ = false;
  try {
    DXWaveList.Items().LoadArchive(SoundArchivePath);
  } catch (EError& e) {
    soundArchiveFailed_ = true;
    e.SetMessage(std::string(e.what()) + "\nThe game goes on without the sound effects it could not read.");
    Application.ShowException(e);
  } catch (const std::exception& e) {
    soundArchiveFailed_ = true;
    Application.ShowException(e);
  }
}

}  // namespace bd
