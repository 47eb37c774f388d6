#pragma once
// The stored form of one undo item's snapshot bytes.
//
// Snapshots shorter than 256 bytes are kept as written. Longer ones are kept as
// a 4-byte little-endian length followed by one zlib stream at level 1: the
// history holds many whole-glyph and whole-table snapshots, and the fastest
// level already shrinks them several times over.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tsy {

// The error of the undo history: refused calls, damaged stored data.
class EvnxUndoRedoRepeatStreamerError : public std::runtime_error {
public:
  explicit EvnxUndoRedoRepeatStreamerError(const std::string& message) : std::runtime_error(message) {}
};

extern const char* const kUndoCantPerform;     // "Can't perform this operation."
extern const char* const kUndoCrcMismatch;     // "CRC32 check: corrupted data encountered!"
extern const char* const kUndoBadCompression;  // the stored compressed form does not decode

// Data of this many bytes or more is compressed when its level is closed.
constexpr size_t kUndoCompressThreshold = 256;

// The CRC-32 register (reflected polynomial 0xEDB88320, started at 0xFFFFFFFF)
// after feeding Data, without the usual final inversion.
uint32_t UndoChecksum(const uint8_t* Data, size_t Size);

// Whether data of this size is compressed in its stored form.
inline bool UndoDataIsCompressed(size_t Size) { return Size >= kUndoCompressThreshold; }

// Compresses Data into the stored form (length prefix + zlib stream, level 1).
std::vector<uint8_t> PackUndoData(const uint8_t* Data, size_t Size);

// Decodes a stored form back into the bytes the owner wrote. Hostile input
// fails with EvnxUndoRedoRepeatStreamerError: the declared length must fit what
// a zlib stream of that size can produce at most, the stream must end exactly
// at the declared length, and nothing may follow the stream.
std::vector<uint8_t> UnpackUndoData(const uint8_t* Stored, size_t Size);

// The checksum test plus decoding: what executing an item does before it calls
// the handler. Raises the CRC message when Checksum does not match Stored.
std::vector<uint8_t> DecodeStoredUndoItem(const uint8_t* Stored, size_t Size, bool Compressed, uint32_t Checksum);

}  // namespace tsy
