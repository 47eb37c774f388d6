#pragma once
// The editor's backup copy of a font file: a small header with a note for the
// user, then the old font file byte for byte. Opening a backup loads the font
// from the offset the header names.
#include <cstdint>
#include <string>
#include <vector>

namespace tsy {

// Where the font data starts in a backup written by this program.
constexpr uint32_t kBackupFontOffset = 208;
extern const char* const kBackupNote;  // the text in bytes 8..207

// FileName with its extension replaced by ".bak" (added when it has none).
std::string BackupFileName(const std::string& FileName);
// The whole backup file for the given font bytes: 1 and the font offset as
// little-endian 32-bit numbers, the note padded with blanks to 200 bytes, the
// font.
std::vector<uint8_t> BuildBackup(const std::vector<uint8_t>& FontBytes);
// The offset a backup's header names (bytes 4..7), or -1 when the bytes are
// too short to hold a header or the offset points past their end.
int64_t BackupFontOffset(const std::vector<uint8_t>& BackupBytes);

// Copies the font file as it is on disk into its backup, written beside it
// and renamed into place. Nothing happens when the backup name equals the
// file name (ignoring case) or the file cannot be read; a backup that cannot
// be written is skipped too. Returns whether a backup was written.
bool CreateBackup(const std::string& FileName);

}  // namespace tsy
