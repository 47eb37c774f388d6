#pragma once
// Table snapshots for undo items: a table's snapshot is its file form, and
// restoring reads that form back through a window of exactly its bytes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fontfile/fonttable.h"
#include "fontfile/stream.h"
#include "fontfile/truetypefont.h"

namespace tsy {

template <class T>
T* FindTyped(const TTrueTypeFont& Font, const char* Tag) {
  return dynamic_cast<T*>(Font.FindTable(Tag));
}

// The file form of a table.
std::vector<uint8_t> TableBytes(const TFontTable& Table);
// Replaces the table's content by Size bytes of file form.
void LoadTableBytes(TFontTable& Table, const uint8_t* Data, size_t Size);
inline void LoadTableBytes(TFontTable& Table, const std::vector<uint8_t>& Bytes) {
  LoadTableBytes(Table, Bytes.data(), Bytes.size());
}
// A new, empty table of the class the program uses for Tag (raw bytes for
// tags it does not interpret).
std::unique_ptr<TFontTable> CreateTableForTag(const std::string& Tag);
// The rest of S from its position.
std::vector<uint8_t> ReadRest(TStream& S);

// A piece of a multi-table snapshot: a 32-bit length, then the bytes.
void WritePiece(TStream& S, const std::vector<uint8_t>& Bytes);
std::vector<uint8_t> ReadPiece(TStream& S);

}  // namespace tsy
