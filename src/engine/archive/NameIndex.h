#pragma once
// Lookup of named items (images, sounds) by a case-insensitive name through
// 256 buckets keyed on the name's length and two of its bytes. Within a bucket
// the item named most recently comes first, so among equal names the last one
// named wins.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bd {

// Lower case of a Windows-1251 text (Latin and Cyrillic letters).
std::string AnsiLowerCase(std::string_view text);
bool AnsiSameText(std::string_view a, std::string_view b);

// The bucket of a name: with L its length, (L * 16 + first byte + second-to-last
// byte) mod 256 for L >= 2, (L * 16) mod 256 otherwise, on the lower-cased name.
uint8_t NameBucket(std::string_view name);

// `Item` must offer `const std::string& Name() const`. The index does not own
// its items; the owner tells it when an item is added, renamed or destroyed.
template <class Item>
class TNameIndex {
 public:
  // A new item sits in the bucket of the empty name.
  void Add(Item* item) { Chain("").push_back(item); }

  // Moves the item to the head of its new name's chain. Call only when the
  // name really changed (compared case-sensitively).
  void Rename(Item* item, std::string_view oldName, std::string_view newName) {
    Unlink(Chain(oldName), item);
    Chain(newName).push_back(item);
  }

  void Remove(Item* item, std::string_view name) { Unlink(Chain(name), item); }

  void Clear() {
    for (auto& chain : buckets_) chain.clear();
  }

  // The first item of the name's chain whose name matches ignoring case; null if none.
  Item* Find(std::string_view name) const {
    const auto& chain = buckets_[NameBucket(name)];
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
      if (AnsiSameText((*it)->Name(), name)) return *it;
    return nullptr;
  }

 private:
  // Each chain is stored with its head at the back.
  using TChain = std::vector<Item*>;
  TChain& Chain(std::string_view name) { return buckets_[NameBucket(name)]; }
  static void Unlink(TChain& chain, Item* item) {
    for (auto it = chain.begin(); it != chain.end(); ++it)
      if (*it == item) {
        chain.erase(it);
        return;
      }
  }

  std::array<TChain, 256> buckets_;
};

}  // namespace bd
