#include "engine/sound/DXSounds.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/archive/ArchiveFile.h"

namespace bd {

// ---- TDXSound ---------------------------------------------------------------

TDXSound::TDXSound(IAudio* audio) : audio_(audio) {}

TDXSound::~TDXSound() {
  Notify(TDXSoundNotifyType::Destroying);
  Finalize();
}

void TDXSound::Initialize() {
  Finalize();
  Notify(TDXSoundNotifyType::Initializing);
  if (OnInitializing) OnInitializing();
  if (audio_ == nullptr || !audio_->Open())
    throw EDirectSoundError(Format("%s cannot be initialized", "DirectSound"));
  initialized_ = true;
  try {
    SetFocused(focused_);
    Notify(TDXSoundNotifyType::Initialize);
    if (OnInitialize) OnInitialize();
    initializeEventSent_ = true;
    Restore();
  } catch (...) {
    Finalize();
    throw;
  }
}

void TDXSound::Finalize() {
  if (initializeEventSent_ && OnFinalize) OnFinalize();
  initializeEventSent_ = false;
  if (!initialized_) return;
  Notify(TDXSoundNotifyType::Finalize);
  initialized_ = false;
  audio_->Close();
}

void TDXSound::Loaded() {
  if (!AutoInitialize) return;
  try {
    Initialize();
  } catch (const EDirectSoundError&) {
    // No sound device on this machine: the game goes on without sound.
  }
}

void TDXSound::Restore() {
  if (!initialized_) return;
  Notify(TDXSoundNotifyType::Restore);
  if (OnRestore) OnRestore();
}

void TDXSound::SetFocused(bool focused) {
  focused_ = focused;
  if (initialized_) audio_->SetMuted(!focused && (Options & (soGlobalFocus | soStickyFocus)) == 0);
}

void TDXSound::RegisterNotifyEvent(IDXSoundListener* listener) {
  UnRegisterNotifyEvent(listener);
  listeners_.push_back(listener);
  if (initialized_) {
    listener->DXSoundNotify(*this, TDXSoundNotifyType::Initialize);
    listener->DXSoundNotify(*this, TDXSoundNotifyType::Restore);
  }
}

void TDXSound::UnRegisterNotifyEvent(IDXSoundListener* listener) {
  auto it = std::find(listeners_.begin(), listeners_.end(), listener);
  if (it == listeners_.end()) return;
  if (initialized_) listener->DXSoundNotify(*this, TDXSoundNotifyType::Finalize);
  listeners_.erase(std::find(listeners_.begin(), listeners_.end(), listener));
}

void TDXSound::Notify(TDXSoundNotifyType type) {
  // From the last registered to the first; a copy, since a listener may
  // unregister itself while it is told.
  const auto listeners = listeners_;
  for (auto it = listeners.rbegin(); it != listeners.rend(); ++it) (*it)->DXSoundNotify(*this, type);
}

// ---- TWaveCollectionItem ----------------------------------------------------

TWaveCollectionItem::TWaveCollectionItem(TWaveCollection& owner) : owner_(owner) { owner_.index_.Add(this); }

TWaveCollectionItem::~TWaveCollectionItem() {
  Finalize();
  owner_.index_.Remove(this, name_);
}

void TWaveCollectionItem::SetName(const std::string& name) {
  if (name == name_) return;
  owner_.index_.Rename(this, name_, name);
  name_ = name;
}

void TWaveCollectionItem::SetLooped(bool looped) {
  if (looped == looped_) return;
  StopWave();
  looped_ = looped;
}

void TWaveCollectionItem::SetMaxPlayingCount(int32_t count) {
  count = std::max(count, 0);
  if (count == maxPlayingCount_) return;
  maxPlayingCount_ = count;
  if (initialized_) copies_.clear();
}

void TWaveCollectionItem::Initialize() {
  Finalize();
  initialized_ = owner_.Initialized();
}

void TWaveCollectionItem::Finalize() {
  copies_.clear();
  main_.reset();
  initialized_ = false;
}

void TWaveCollectionItem::Restore() {
  if (wave_.Size() == 0) return;
  if (!initialized_) {
    Initialize();
    if (!initialized_) return;
  }
  MainVoice();
}

ISoundBuffer* TWaveCollectionItem::MainVoice() {
  IAudio* audio = owner_.dxSound_ != nullptr ? owner_.dxSound_->Audio() : nullptr;
  if (main_ == nullptr && wave_.Size() != 0 && audio != nullptr) {
    // A format the mixer cannot take gives no voice: the sound stays silent.
    main_ = audio->CreateBuffer(wave_.Format(), wave_.Data(), wave_.Size());
    if (main_ != nullptr) {
      main_->SetFrequency(Frequency);
      main_->SetPan(Pan);
      main_->SetVolume(Volume);
    }
  }
  return main_.get();
}

void TWaveCollectionItem::PlayWave(bool wait) {
  if (!initialized_) return;
  ISoundBuffer* main = MainVoice();
  if (main == nullptr) return;

  ISoundBuffer* voice = nullptr;
  if (looped_) {
    // A looped sound never layers: its one voice starts over.
    main->Stop();
    main->Rewind();
    main->Play(true);
    voice = main;
  } else {
    for (auto& copy : copies_)
      if (!copy->IsPlaying()) {
        voice = copy.get();  // a finished copy is reused where it stands
        break;
      }
    if (voice == nullptr) {
      if (maxPlayingCount_ == 0 || copies_.size() < static_cast<size_t>(maxPlayingCount_)) {
        copies_.push_back(main->Duplicate());
      } else {
        // At the limit the copy restarted longest ago is cut off and goes to
        // the end of the list.
        std::rotate(copies_.begin(), copies_.begin() + 1, copies_.end());
      }
      voice = copies_.back().get();
    }
    voice->Stop();
    voice->Rewind();
    voice->SetFrequency(Frequency);
    voice->SetPan(Pan);
    voice->SetVolume(Volume);
    voice->Play(false);
  }

  // A looped sound never ends by itself, so there is nothing to wait for.
  while (wait && !looped_ && voice->IsPlaying()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void TWaveCollectionItem::StopWave() {
  if (!initialized_) return;
  if (main_ != nullptr) main_->Stop();
  for (auto& copy : copies_) copy->Stop();
}

bool TWaveCollectionItem::ReadProperty(std::string_view name, TArchiveReader& reader) {
  if (SameText(name, "Name")) {
    SetName(reader.ReadString());
  } else if (SameText(name, "Looped")) {
    SetLooped(reader.ReadBoolean());
  } else if (SameText(name, "MaxPlayingCount")) {
    SetMaxPlayingCount(reader.ReadInteger());
  } else {
    return false;
  }
  return true;
}

IArchiveObject* TWaveCollectionItem::ObjectProperty(std::string_view name) {
  return SameText(name, "Wave") ? &waveProperty_ : nullptr;
}

bool TWaveCollectionItem::HasProperty(std::string_view name) {
  for (const char* p : {"Name", "Looped", "MaxPlayingCount", "Wave"})
    if (SameText(name, p)) return true;
  return false;
}

bool TWaveCollectionItem::TWaveProperty::ReadProperty(std::string_view name, TArchiveReader& reader) {
  if (!SameText(name, "WAVE")) return false;
  const std::span<const uint8_t> file = reader.ReadBinary();
  wave_.LoadFromBytes(file.data(), file.size());
  return true;
}

bool TWaveCollectionItem::TWaveProperty::HasProperty(std::string_view name) { return SameText(name, "WAVE"); }

// ---- TWaveCollection --------------------------------------------------------

void TWaveCollection::LoadArchive(const std::string& fileName) {
  LoadArchiveFile(fileName, [this](std::span<const uint8_t> data) { LoadFromMemory(data); });
}

void TWaveCollection::LoadFromMemory(std::span<const uint8_t> data) {
  Clear();
  TArchiveListRoot root(*this);
  TArchiveReader(data).ReadRoot(root);
  if (Initialized()) {
    Initialize(*dxSound_);
    Restore();
  }
}

TWaveCollection::~TWaveCollection() { Clear(); }

TWaveCollectionItem& TWaveCollection::Add() {
  items_.push_back(std::make_unique<TWaveCollectionItem>(*this));
  return *items_.back();
}

void TWaveCollection::Clear() {
  while (!items_.empty()) items_.pop_back();
}

TWaveCollectionItem& TWaveCollection::FindSound(std::string_view name) {
  TWaveCollectionItem* item = index_.Find(name);
  if (item == nullptr) throw EWaveCollectionError(Format("Wave '%s' not found", std::string(name).c_str()));
  return *item;
}

void TWaveCollection::Initialize(TDXSound& sound) {
  Finalize();
  dxSound_ = &sound;
  for (auto& item : items_) item->Initialize();
}

void TWaveCollection::Finalize() {
  for (auto& item : items_) item->Finalize();
  dxSound_ = nullptr;
}

void TWaveCollection::Restore() {
  for (auto& item : items_) item->Restore();
}

// ---- TDXWaveList ------------------------------------------------------------

TDXWaveList::~TDXWaveList() { SetDXSound(nullptr); }

void TDXWaveList::SetDXSound(TDXSound* sound) {
  if (sound == dxSound_) return;
  if (dxSound_ != nullptr) dxSound_->UnRegisterNotifyEvent(this);
  dxSound_ = sound;
  if (dxSound_ != nullptr) dxSound_->RegisterNotifyEvent(this);
}

void TDXWaveList::DXSoundNotify(TDXSound& sender, TDXSoundNotifyType type) {
  switch (type) {
    case TDXSoundNotifyType::Destroying:
      if (dxSound_ == &sender) {
        sender.UnRegisterNotifyEvent(this);
        dxSound_ = nullptr;
      }
      break;
    case TDXSoundNotifyType::Initialize:
      items_.Initialize(sender);
      break;
    case TDXSoundNotifyType::Finalize:
      items_.Finalize();
      break;
    case TDXSoundNotifyType::Restore:
      items_.Restore();
      break;
    case TDXSoundNotifyType::Initializing:
      break;
  }
}

}  // namespace bd
