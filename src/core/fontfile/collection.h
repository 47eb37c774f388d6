#pragma once
// TrueType and OpenType collections: recognising them, listing the full
// names of their members and extracting members into single-font files.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fontfile/fonttable.h"
#include "fontfile/stream.h"

namespace tsy {

// One member, loaded for extraction or for its name. Only head is typed;
// every other table, outlines included, is carried as its bytes, so a member
// with CFF outlines is extracted as it is.
class TTrueTypeCollectionFont {
public:
  // Reads the member whose table directory starts at DirectoryOffset of
  // File; table offsets count from the start of File. A table outside the
  // file raises FontException.
  void LoadFromStream(const TReadOnlyStream& File, uint64_t DirectoryOffset);
  // Reads the directory and the name table only.
  void ReadNamesOnly(const TReadOnlyStream& File, uint64_t DirectoryOffset);
  // The Microsoft English (United States) full name, else the Macintosh
  // Roman one when the font has no Microsoft names; UTF-8, empty when none.
  std::string GetFullName() const;

  // Writes the member as a single font with fresh directory and checksums.
  void SaveToStream(TStream& S);
  void SaveToFile(const std::string& FileName);

  uint32_t Version = 0x00010000;
  TFontTables Tables;
  std::vector<std::string> OrderLines;
};

class TTrueTypeCollection {
public:
  // "ttcf", version 1.0 or 2.0, and every member offset inside the file.
  static bool IsCollectionFile(const std::string& FileName);
  // The member directory offsets; FontException for a file that is not a
  // collection or whose header or offsets do not fit the file.
  static std::vector<uint32_t> ReadOffsets(const TReadOnlyStream& File);

  // Fills Names with the members' full names.
  void ReadFontNames(const std::string& FileName);
  // Writes each selected member to Folder/Prefix<index>.ttf. Progress goes to
  // OnProgress; a stop request (StopRequested) skips the remaining members.
  // Errors raise; files written before stay.
  void Extract(const std::string& FileName, const std::string& Folder, const std::string& Prefix);
  // Whether member Index is to be extracted: members beyond Selected are.
  bool IsSelected(size_t Index) const { return Index >= Selected.size() || Selected[Index]; }

  std::vector<std::string> Names;
  std::vector<bool> Selected;
  std::function<bool()> StopRequested;
  std::function<void(const std::string& Text, int Percent)> OnProgress;
  // The files Extract wrote, in order.
  std::vector<std::string> Written;
};

}  // namespace tsy
