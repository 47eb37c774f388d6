#include "document/undodata.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace tsy {

const char* const kUndoCantPerform = "Can't perform this operation.";
const char* const kUndoCrcMismatch = "CRC32 check: corrupted data encountered!";
const char* const kUndoBadCompression = "Decompression error: corrupted undo data encountered!";

namespace {

// Deflate cannot expand data by more than about 1032:1, so a declared length
// beyond that for the bytes present is a lie; refusing it up front keeps a
// hostile length from reserving gigabytes.
constexpr uint64_t kMaxInflateRatio = 1032;

void ThrowBad() { throw EvnxUndoRedoRepeatStreamerError(kUndoBadCompression); }

}  // namespace

uint32_t UndoChecksum(const uint8_t* Data, size_t Size) {
  // zlib's crc32 starts at 0xFFFFFFFF and inverts at the end; the stored
  // checksum is the register without that final inversion.
  uLong crc = crc32(0L, Z_NULL, 0);
  while (Size > 0) {
    const uInt chunk = static_cast<uInt>(std::min<size_t>(Size, std::numeric_limits<uInt>::max()));
    crc = crc32(crc, Data, chunk);
    Data += chunk;
    Size -= chunk;
  }
  return static_cast<uint32_t>(crc) ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> PackUndoData(const uint8_t* Data, size_t Size) {
  if (Size > std::numeric_limits<uint32_t>::max() || Size > std::numeric_limits<uLong>::max())
    throw EvnxUndoRedoRepeatStreamerError("Undo data too large to store.");
  uLongf bound = compressBound(static_cast<uLong>(Size));
  std::vector<uint8_t> out(4 + bound);
  const uint32_t length = static_cast<uint32_t>(Size);
  out[0] = uint8_t(length);
  out[1] = uint8_t(length >> 8);
  out[2] = uint8_t(length >> 16);
  out[3] = uint8_t(length >> 24);
  const int rc = compress2(out.data() + 4, &bound, Data, static_cast<uLong>(Size), 1);
  if (rc != Z_OK) throw EvnxUndoRedoRepeatStreamerError("Compression error: undo data could not be stored.");
  out.resize(4 + bound);
  return out;
}

std::vector<uint8_t> UnpackUndoData(const uint8_t* Stored, size_t Size) {
  if (Size < 4) ThrowBad();
  const uint64_t length =
      uint64_t(Stored[0]) | uint64_t(Stored[1]) << 8 | uint64_t(Stored[2]) << 16 | uint64_t(Stored[3]) << 24;
  const uint64_t body = Size - 4;
  // A zlib stream is at least 2 header + 2 body + 4 trailer bytes.
  if (body < 8 || length > body * kMaxInflateRatio) ThrowBad();

  std::vector<uint8_t> out(static_cast<size_t>(length));
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) ThrowBad();
  zs.next_in = const_cast<Bytef*>(Stored + 4);
  zs.next_out = out.data();
  int rc = Z_OK;
  uint64_t inLeft = body, outLeft = length;
  // Feed in chunks that fit uInt; the output buffer is exactly the declared
  // length, so a stream that would produce more stops with Z_BUF_ERROR/Z_OK
  // and is rejected below.
  while (rc == Z_OK) {
    if (zs.avail_in == 0 && inLeft > 0) {
      zs.avail_in = static_cast<uInt>(std::min<uint64_t>(inLeft, std::numeric_limits<uInt>::max()));
      inLeft -= zs.avail_in;
    }
    if (zs.avail_out == 0 && outLeft > 0) {
      zs.avail_out = static_cast<uInt>(std::min<uint64_t>(outLeft, std::numeric_limits<uInt>::max()));
      outLeft -= zs.avail_out;
    }
    const uInt beforeIn = zs.avail_in, beforeOut = zs.avail_out;
    rc = inflate(&zs, Z_NO_FLUSH);
    if (rc == Z_OK && zs.avail_in == beforeIn && zs.avail_out == beforeOut) break;  // no progress possible
  }
  const bool complete = rc == Z_STREAM_END && zs.avail_out == 0 && outLeft == 0 && zs.avail_in == 0 && inLeft == 0;
  inflateEnd(&zs);
  if (!complete) ThrowBad();
  return out;
}

std::vector<uint8_t> DecodeStoredUndoItem(const uint8_t* Stored, size_t Size, bool Compressed, uint32_t Checksum) {
  if (UndoChecksum(Stored, Size) != Checksum) throw EvnxUndoRedoRepeatStreamerError(kUndoCrcMismatch);
  if (Compressed) return UnpackUndoData(Stored, Size);
  return std::vector<uint8_t>(Stored, Stored + Size);
}

}  // namespace tsy
