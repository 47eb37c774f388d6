#include "document/backupfile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "fontfile/stream.h"

namespace tsy {

const char* const kBackupNote = "To restore this backup open it in the Tessary and save it back with the ttf extension.";

namespace {
constexpr size_t kNoteSize = 200;

void PutLE32(std::vector<uint8_t>& Out, uint32_t V) {
  for (int i = 0; i < 4; ++i) Out.push_back(uint8_t(V >> (8 * i)));
}

bool SameNameIgnoringCase(const std::string& A, const std::string& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           return std::tolower(static_cast<unsigned char>(X)) == std::tolower(static_cast<unsigned char>(Y));
         });
}
}  // namespace

std::string BackupFileName(const std::string& FileName) {
  std::filesystem::path name(FileName);
  name.replace_extension(".bak");
  return name.string();
}

std::vector<uint8_t> BuildBackup(const std::vector<uint8_t>& FontBytes) {
  std::vector<uint8_t> out;
  out.reserve(kBackupFontOffset + FontBytes.size());
  PutLE32(out, 1);
  PutLE32(out, kBackupFontOffset);
  const size_t noteLength = std::min(std::strlen(kBackupNote), kNoteSize);
  out.insert(out.end(), kBackupNote, kBackupNote + noteLength);
  out.resize(kBackupFontOffset, 0x20);
  out.insert(out.end(), FontBytes.begin(), FontBytes.end());
  return out;
}

int64_t BackupFontOffset(const std::vector<uint8_t>& BackupBytes) {
  if (BackupBytes.size() < 8) return -1;
  uint32_t offset = 0;
  for (int i = 0; i < 4; ++i) offset |= uint32_t(BackupBytes[4 + i]) << (8 * i);
  return offset > BackupBytes.size() ? -1 : int64_t(offset);
}

bool CreateBackup(const std::string& FileName) {
  const std::string backup = BackupFileName(FileName);
  if (SameNameIgnoringCase(backup, FileName)) return false;
  try {
    WriteFileAtomically(backup, BuildBackup(*ReadWholeFile(FileName)));
    return true;
  } catch (const std::exception&) {
    // A backup is a courtesy: its failure must not stop the save itself.
    return false;
  }
}

}  // namespace tsy
