#pragma once
// Seekable byte streams: the one way font code reads and writes bytes.
//
// Reads never look outside the stream they are given. A table is handed a
// view that spans exactly its own bytes, so a hostile length inside a table
// can at worst read zeros, never a neighbour's data.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tsy {

class TStream {
public:
  virtual ~TStream() = default;
  // Reads up to Count bytes; returns how many were read (fewer at the end).
  virtual size_t Read(void* Buffer, size_t Count) = 0;
  virtual void Write(const void* Buffer, size_t Count) = 0;
  virtual uint64_t Position() const = 0;
  virtual void Seek(uint64_t Position) = 0;
  virtual uint64_t Size() const = 0;

  uint64_t Remaining() const {
    const uint64_t p = Position(), s = Size();
    return p < s ? s - p : 0;
  }
  // Reads exactly Count bytes or raises EStreamError (position unchanged then).
  void ReadExact(void* Buffer, size_t Count);
  void Skip(uint64_t Count) { Seek(Position() + Count); }
};

// A growable in-memory stream. Seeking past the end is allowed; a later write
// there fills the gap with zeros.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> Bytes) : FData(std::move(Bytes)) {}

  size_t Read(void* Buffer, size_t Count) override;
  void Write(const void* Buffer, size_t Count) override;
  uint64_t Position() const override { return FPosition; }
  void Seek(uint64_t Position) override { FPosition = Position; }
  uint64_t Size() const override { return FData.size(); }

  void Clear() { FData.clear(); FPosition = 0; }
  void SetSize(uint64_t NewSize);
  const std::vector<uint8_t>& Bytes() const { return FData; }
  std::vector<uint8_t>& Bytes() { return FData; }
  const uint8_t* Memory() const { return FData.data(); }
  // Copies Count bytes from Source's position into this stream, replacing it.
  void LoadFrom(TStream& Source, uint64_t Count);

private:
  std::vector<uint8_t> FData;
  uint64_t FPosition = 0;
};

// A read-only window onto bytes owned elsewhere (kept alive by Owner).
class TReadOnlyStream : public TStream {
public:
  TReadOnlyStream(std::shared_ptr<const std::vector<uint8_t>> Owner, uint64_t Offset, uint64_t Length);
  explicit TReadOnlyStream(std::shared_ptr<const std::vector<uint8_t>> Owner);
  // A window onto bytes the caller keeps alive for the stream's life.
  TReadOnlyStream(const uint8_t* Data, uint64_t Length) : FData(Data), FSize(Length) {}

  size_t Read(void* Buffer, size_t Count) override;
  void Write(const void* Buffer, size_t Count) override;
  uint64_t Position() const override { return FPosition; }
  void Seek(uint64_t Position) override { FPosition = Position; }
  uint64_t Size() const override { return FSize; }
  const uint8_t* Memory() const { return FData; }

  // A child window of Length bytes at Offset (relative to this window); the
  // range must lie inside this window.
  TReadOnlyStream Sub(uint64_t Offset, uint64_t Length) const;

private:
  std::shared_ptr<const std::vector<uint8_t>> FOwner;
  const uint8_t* FData = nullptr;
  uint64_t FSize = 0;
  uint64_t FPosition = 0;
};

// A stream on a file of the file system.
class TFileStream : public TStream {
public:
  enum class TMode { Read, Create };
  TFileStream(const std::string& FileName, TMode Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* Buffer, size_t Count) override;
  void Write(const void* Buffer, size_t Count) override;
  uint64_t Position() const override;
  void Seek(uint64_t Position) override;
  uint64_t Size() const override;

private:
  std::FILE* FFile = nullptr;
  std::string FFileName;
};

// Reads a whole file into memory; raises EStreamError naming the file.
std::shared_ptr<const std::vector<uint8_t>> ReadWholeFile(const std::string& FileName);

// Writes Bytes to FileName without ever leaving a damaged file behind: the data
// goes to a new file beside the target, is flushed to disk, and then replaces
// the target in one rename. On failure the target is untouched and the new
// file is removed. An existing target's permissions are kept.
void WriteFileAtomically(const std::string& FileName, const std::vector<uint8_t>& Bytes);

}  // namespace tsy
