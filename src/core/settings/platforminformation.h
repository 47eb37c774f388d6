#pragma once
// The platform/encoding pairs a font uses, in the order first met: the naming
// records first, then the cmap subtables. Dialogs offer them as a list and
// start at the pair chosen last anywhere in the program.
#include <cstdint>
#include <string>
#include <vector>

namespace tsy {

class TRegistrySettings;

struct TEncodingEntry {
  uint16_t PlatformID = 0;
  uint16_t EncodingID = 0;
  // Passed around as one number: platform in the low 16 bits, encoding above.
  uint32_t Pair() const { return uint32_t(PlatformID) | uint32_t(EncodingID) << 16; }
  static TEncodingEntry FromPair(uint32_t Pair) { return {uint16_t(Pair & 0xFFFF), uint16_t(Pair >> 16)}; }
  bool operator==(const TEncodingEntry&) const = default;
};

// One line of a platform list: its caption and the entry it stands for.
struct TPlatformLine {
  std::string Text;
  TEncodingEntry Entry;
};
using TPlatformStrings = std::vector<TPlatformLine>;

class TPlatformInformation {
public:
  void Clear() { FItems.clear(); }
  bool Contains(uint32_t Pair) const;
  // Ignored when the pair is already present.
  void Add(uint32_t Pair);
  size_t Count() const { return FItems.size(); }
  const TEncodingEntry& Items(size_t Index) const { return FItems.at(Index); }

  // Clears, then adds the pairs of the naming records in record order and then
  // those of the cmap subtables in subtable order. The lists come from the
  // font's name and cmap tables.
  void Build(const std::vector<TEncodingEntry>& NamePairs, const std::vector<TEncodingEntry>& CmapPairs);
  // Build, then one line per entry captioned with its platform/encoding name.
  void FillStrings(TPlatformStrings& Strings, const std::vector<TEncodingEntry>& NamePairs,
                   const std::vector<TEncodingEntry>& CmapPairs);

private:
  std::vector<TEncodingEntry> FItems;
};

// The line to select first in a platform list: the first line with the saved
// platform and encoding, else the first with the saved platform, else 0; -1
// for an empty list.
int DefaultPlatformIndex(TRegistrySettings& Settings, const TPlatformStrings& Strings);

}  // namespace tsy
