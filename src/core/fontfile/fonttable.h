#pragma once
// The base of every sfnt table object, the tables held as raw bytes, and the
// registry of one font's tables.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fontfile/primitives.h"
#include "fontfile/stream.h"

namespace tsy {

class TFontTable {
public:
  explicit TFontTable(const std::string& Tag) : FTag(Tag.substr(0, 4)) {}
  virtual ~TFontTable() = default;
  TFontTable(const TFontTable&) = delete;
  TFontTable& operator=(const TFontTable&) = delete;

  const TTag& Tag() const { return FTag; }
  virtual const char* ClassName() const = 0;

  // Replaces the content by parsing S from its position. S spans the table's
  // own bytes only.
  virtual void LoadFromStream(TStream& S) = 0;
  // Writes the file form at S's position.
  virtual void SaveToStream(TStream& S) const = 0;
  // Nothing to write; the table may be dropped before a save.
  virtual bool IsEmpty() const { return false; }

  // Copies Source (of the same class) through its file form.
  void Assign(const TFontTable& Source);
  // Same file form, byte for byte.
  bool IsSameAs(const TFontTable& Other) const;

protected:
  // Typed tables call this from their constructor so they can never carry a
  // foreign tag.
  static void CheckTag(const char* ClassName, const char* OwnTag, const std::string& Given);

private:
  TTag FTag;
};

// Any table the program does not interpret, kept byte for byte.
class TTableUnknown : public TFontTable {
public:
  explicit TTableUnknown(const std::string& Tag) : TFontTable(Tag) {}
  const char* ClassName() const override { return "TTableUnknown"; }
  void LoadFromStream(TStream& S) override;  // everything to the end of S
  void LoadFromStreamSized(TStream& S, int64_t Size);
  void SaveToStream(TStream& S) const override;

  TMemoryStream Data;
};

// cvt, fpgm and prep: the hinting tables, kept as raw bytes.
class TTableHinting : public TFontTable {
public:
  explicit TTableHinting(const std::string& Tag) : TFontTable(Tag) {}
  const char* ClassName() const override { return "TTableHinting"; }
  void LoadFromStream(TStream& S) override;
  void LoadFromStreamSized(TStream& S, int64_t Size);
  void SaveToStream(TStream& S) const override;
  uint64_t Size() const { return Data.Size(); }

  // Counted form for the program's own streams: a 16-bit size, then the bytes.
  void WriteCounted(TStream& S) const;
  void ReadCounted(TStream& S);

  TMemoryStream Data;
};

struct TPreferredTableOffsetOrderItem {
  TFontTable* Table = nullptr;  // not owned
  uint16_t Index = 0;           // registry position, also the directory slot
};

class TPreferredTableOffsetOrder {
public:
  std::vector<TPreferredTableOffsetOrderItem> Items;
  void Clear() { Items.clear(); }
  size_t Count() const { return Items.size(); }
};

// The tables of one font, sorted by tag in unsigned byte order.
class TFontTables {
public:
  // Takes ownership; a second table with an existing tag raises
  // "Table %s already exists!" and the caller keeps the table.
  void Add(std::unique_ptr<TFontTable>& Table);
  void Add(std::unique_ptr<TFontTable>&& Table);
  TFontTable* Find(const std::string& Tag) const;
  void Delete(const std::string& Tag);
  size_t Count() const { return FItems.size(); }
  TFontTable* Items(size_t Index) const { return FItems.at(Index).get(); }
  void Clear();
  void RemoveEmpty();
  void BuildOrder(const std::vector<std::string>& Lines);
  const TPreferredTableOffsetOrder& Order() const { return FOrder; }

private:
  std::vector<std::unique_ptr<TFontTable>> FItems;
  TPreferredTableOffsetOrder FOrder;
};

// Kind number (0 for an unknown tag) and description of a table tag.
int TableKind(const std::string& Tag);
std::string TableDescription(const std::string& Tag);
const std::vector<std::string>& DefaultTableOrder();

struct ThePlatformRecord {
  uint16_t PlatformID;
  uint16_t EncodingID;
  const char* Name;
};
std::string PlatformEncodingName(uint16_t PlatformID, uint16_t EncodingID);

}  // namespace tsy
