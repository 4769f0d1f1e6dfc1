#pragma once
// The sound device component, and the list of named sounds that plays its
// recordings through it. Sounds are loaded from a ".dxw" archive and played
// by name; each sound keeps a few play copies so that it can sound several
// times at once without copying its samples.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/archive/ArchiveReader.h"
#include "engine/base/Errors.h"
#include "engine/archive/NameIndex.h"
#include "engine/sound/Wave.h"
#include "engine/platform/Audio.h"

namespace bd {

BD_DECLARE_ERROR(EDXSoundError);
BD_DECLARE_ERROR(EDirectSoundError);
BD_DECLARE_ERROR(EWaveCollectionError);

class TDXSound;

enum class TDXSoundNotifyType { Destroying = 0, Initializing = 1, Initialize = 2, Finalize = 3, Restore = 4 };

class IDXSoundListener {
 public:
  virtual ~IDXSoundListener() = default;
  virtual void DXSoundNotify(TDXSound& sender, TDXSoundNotifyType type) = 0;
};

enum TDXSoundOption : uint8_t { soGlobalFocus = 1, soStickyFocus = 2, soExclusive = 4 };

// The mixer as a component: it opens the sound output, tells its listeners
// when it comes up and goes down, and keeps the game silent while another
// application has the focus (unless a focus option says otherwise).
class TDXSound {
 public:
  // `audio` null: there is no output at all and the game runs silent.
  explicit TDXSound(IAudio* audio);
  ~TDXSound();
  TDXSound(const TDXSound&) = delete;
  TDXSound& operator=(const TDXSound&) = delete;

  bool AutoInitialize = true;
  uint8_t Options = 0;  // TDXSoundOption flags
  std::function<void()> OnInitializing, OnInitialize, OnFinalize, OnRestore;

  // Opens the output and brings every listener up. Throws EDirectSoundError
  // "DirectSound cannot be initialized" when no output can be opened.
  void Initialize();
  void Finalize();
  bool Initialized() const { return initialized_; }
  // The form has been built: with AutoInitialize, come up now; a machine
  // without a sound device leaves the game silent instead of failing.
  void Loaded();
  // Asks every listener to load its sound data into the mixer again.
  void Restore();
  // The game's window gained or lost the focus.
  void SetFocused(bool focused);

  IAudio* Audio() const { return initialized_ ? audio_ : nullptr; }

  void RegisterNotifyEvent(IDXSoundListener* listener);
  void UnRegisterNotifyEvent(IDXSoundListener* listener);

 private:
  void Notify(TDXSoundNotifyType type);

  IAudio* audio_;
  bool initialized_ = false;
  bool initializeEventSent_ = false;
  bool focused_ = true;
  std::vector<IDXSoundListener*> listeners_;
};

class TWaveCollection;

// One named sound: its recording, its main voice and its play copies.
class TWaveCollectionItem : public IArchiveObject {
 public:
  explicit TWaveCollectionItem(TWaveCollection& owner);
  TWaveCollectionItem(const TWaveCollectionItem&) = delete;
  TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;
  ~TWaveCollectionItem() override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  bool Looped() const { return looped_; }
  void SetLooped(bool looped);
  int32_t MaxPlayingCount() const { return maxPlayingCount_; }
  void SetMaxPlayingCount(int32_t count);
  TWave& Wave() { return wave_; }
  const TWave& Wave() const { return wave_; }

  // Applied to every voice when it starts; 0 is the recording's own rate,
  // centre and full volume.
  uint32_t Frequency = 0;
  int32_t Pan = 0;
  int32_t Volume = 0;

  // Starts a copy of the sound: a finished copy is reused; with every copy
  // busy a new one is made while under MaxPlayingCount (0: no limit), else
  // the copy restarted longest ago is cut off and restarted. A looped sound
  // only ever restarts its main voice. With `wait`, returns once it ends.
  void PlayWave(bool wait = false);
  // Stops the main voice and every copy.
  void StopWave();

  bool Initialized() const { return initialized_; }
  void Initialize();
  void Finalize();
  // Loads the recording into a main voice (nothing for a recording without samples).
  void Restore();
  size_t CopyCount() const { return copies_.size(); }

  // Archive entries: "Name", "Looped", "MaxPlayingCount" and "Wave.WAVE".
  bool ReadProperty(std::string_view name, TArchiveReader& reader) override;
  IArchiveObject* ObjectProperty(std::string_view name) override;
  bool HasProperty(std::string_view name) override;

 private:
  // The "Wave" property as a path target ("Wave.WAVE": a whole wave file).
  class TWaveProperty : public IArchiveObject {
   public:
    explicit TWaveProperty(TWave& wave) : wave_(wave) {}
    bool ReadProperty(std::string_view name, TArchiveReader& reader) override;
    bool HasProperty(std::string_view name) override;

   private:
    TWave& wave_;
  };

  ISoundBuffer* MainVoice();

  TWaveCollection& owner_;
  std::string name_;
  bool looped_ = false;
  int32_t maxPlayingCount_ = 0;
  TWave wave_;
  TWaveProperty waveProperty_{wave_};
  bool initialized_ = false;
  std::unique_ptr<ISoundBuffer> main_;
  std::vector<std::unique_ptr<ISoundBuffer>> copies_;  // the next to be cut off first
};

// The named sounds in load order, with the name index for FindSound.
class TWaveCollection : public IArchiveObject {
 public:
  TWaveCollection() = default;
  ~TWaveCollection() override;
  TWaveCollection(const TWaveCollection&) = delete;
  TWaveCollection& operator=(const TWaveCollection&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TWaveCollectionItem& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
  TWaveCollectionItem& Add();
  void Clear();

  // Throws EWaveCollectionError "Wave '%s' not found".
  TWaveCollectionItem& FindSound(std::string_view name);
  TWaveCollectionItem* Find(std::string_view name) { return index_.Find(name); }

  // Replaces the sounds with those of a ".dxw" archive file. A file that
  // cannot be opened raises EFOpenError and changes nothing; a broken archive
  // raises its error, its message naming the file (see LoadArchiveFile), and
  // leaves the sounds read so far, none of them restored.
  void LoadArchive(const std::string& fileName);
  void LoadFromMemory(std::span<const uint8_t> data);

  // The collection itself has no archive entries of its own.
  bool ReadProperty(std::string_view, TArchiveReader&) override { return false; }
  bool HasProperty(std::string_view) override { return false; }

  // The sound device the sounds play through, while it is up.
  TDXSound* DXSound() const { return dxSound_; }
  bool Initialized() const { return dxSound_ != nullptr && dxSound_->Initialized(); }
  void Initialize(TDXSound& sound);
  void Finalize();
  void Restore();

 private:
  friend class TWaveCollectionItem;

  std::vector<std::unique_ptr<TWaveCollectionItem>> items_;
  TNameIndex<TWaveCollectionItem> index_;
  TDXSound* dxSound_ = nullptr;
};

// The sound list component: its collection follows the sound device.
class TDXWaveList : public IDXSoundListener {
 public:
  TDXWaveList() = default;
  ~TDXWaveList() override;
  TDXWaveList(const TDXWaveList&) = delete;
  TDXWaveList& operator=(const TDXWaveList&) = delete;

  TDXSound* DXSound() const { return dxSound_; }
  void SetDXSound(TDXSound* sound);
  TWaveCollection& Items() { return items_; }

  void DXSoundNotify(TDXSound& sender, TDXSoundNotifyType type) override;

 private:
  TDXSound* dxSound_ = nullptr;
  TWaveCollection items_;
};

}  // namespace bd
