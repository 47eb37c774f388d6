#include "settings/platforminformation.h"

#include "fontfile/fonttable.h"
#include "settings/registrysettings.h"

namespace tsy {

bool TPlatformInformation::Contains(uint32_t Pair) const {
  for (const TEncodingEntry& e : FItems)
    if (e.Pair() == Pair) return true;
  return false;
}

void TPlatformInformation::Add(uint32_t Pair) {
  if (!Contains(Pair)) FItems.push_back(TEncodingEntry::FromPair(Pair));
}

void TPlatformInformation::Build(const std::vector<TEncodingEntry>& NamePairs,
                                 const std::vector<TEncodingEntry>& CmapPairs) {
  Clear();
  for (const TEncodingEntry& e : NamePairs) Add(e.Pair());
  for (const TEncodingEntry& e : CmapPairs) Add(e.Pair());
}

void TPlatformInformation::FillStrings(TPlatformStrings& Strings, const std::vector<TEncodingEntry>& NamePairs,
                                       const std::vector<TEncodingEntry>& CmapPairs) {
  Build(NamePairs, CmapPairs);
  Strings.clear();
  for (const TEncodingEntry& e : FItems) Strings.push_back({PlatformEncodingName(e.PlatformID, e.EncodingID), e});
}

int DefaultPlatformIndex(TRegistrySettings& Settings, const TPlatformStrings& Strings) {
  if (Strings.empty()) return -1;
  const int32_t platform = Settings.FindPlatformID();
  const int32_t encoding = Settings.FindPlatformSpecificEncodingID();
  for (size_t i = 0; i < Strings.size(); ++i)
    if (Strings[i].Entry.PlatformID == platform && Strings[i].Entry.EncodingID == encoding) return int(i);
  for (size_t i = 0; i < Strings.size(); ++i)
    if (Strings[i].Entry.PlatformID == platform) return int(i);
  return 0;
}

}  // namespace tsy
