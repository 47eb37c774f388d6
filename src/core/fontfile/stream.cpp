#include "fontfile/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <filesystem>

#include "fontfile/fontexception.h"

namespace tsy {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string result(n > 0 ? size_t(n) : 0, '\0');
  if (n > 0) std::vsnprintf(result.data(), result.size() + 1, format, args);
  va_end(args);
  return result;
}

void TStream::ReadExact(void* Buffer, size_t Count) {
  const uint64_t start = Position();
  if (Remaining() < Count) throw EStreamError("Stream read error");
  if (Read(Buffer, Count) != Count) {
    Seek(start);
    throw EStreamError("Stream read error");
  }
}

// ---- TMemoryStream

size_t TMemoryStream::Read(void* Buffer, size_t Count) {
  if (FPosition >= FData.size()) return 0;
  const size_t n = size_t(std::min<uint64_t>(Count, FData.size() - FPosition));
  if (n) std::memcpy(Buffer, FData.data() + FPosition, n);
  FPosition += n;
  return n;
}

void TMemoryStream::Write(const void* Buffer, size_t Count) {
  if (Count == 0) return;
  const uint64_t end = FPosition + Count;
  if (end > FData.size()) {
    if (FData.capacity() < end) FData.reserve(std::max<uint64_t>(end, FData.capacity() * 2));
    FData.resize(end);
  }
  std::memcpy(FData.data() + FPosition, Buffer, Count);
  FPosition = end;
}

void TMemoryStream::SetSize(uint64_t NewSize) {
  FData.resize(NewSize);
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::LoadFrom(TStream& Source, uint64_t Count) {
  FData.resize(Count);
  FPosition = 0;
  if (Count) Source.ReadExact(FData.data(), Count);
}

// ---- TReadOnlyStream

TReadOnlyStream::TReadOnlyStream(std::shared_ptr<const std::vector<uint8_t>> Owner, uint64_t Offset,
                                 uint64_t Length)
    : FOwner(std::move(Owner)) {
  if (!FOwner || Offset > FOwner->size() || Length > FOwner->size() - Offset)
    throw EStreamError("Stream window outside its data");
  FData = FOwner->data() + Offset;
  FSize = Length;
}

TReadOnlyStream::TReadOnlyStream(std::shared_ptr<const std::vector<uint8_t>> Owner)
    : TReadOnlyStream(Owner, 0, Owner ? Owner->size() : 0) {}

size_t TReadOnlyStream::Read(void* Buffer, size_t Count) {
  if (FPosition >= FSize) return 0;
  const size_t n = size_t(std::min<uint64_t>(Count, FSize - FPosition));
  if (n) std::memcpy(Buffer, FData + FPosition, n);
  FPosition += n;
  return n;
}

void TReadOnlyStream::Write(const void*, size_t) { throw EStreamError("Stream write error: stream is read-only"); }

TReadOnlyStream TReadOnlyStream::Sub(uint64_t Offset, uint64_t Length) const {
  if (Offset > FSize || Length > FSize - Offset) throw EStreamError("Stream window outside its data");
  TReadOnlyStream child(FData + Offset, Length);
  child.FOwner = FOwner;
  return child;
}

// ---- TFileStream

TFileStream::TFileStream(const std::string& FileName, TMode Mode) : FFileName(FileName) {
  FFile = std::fopen(FileName.c_str(), Mode == TMode::Read ? "rb" : "w+b");
  if (!FFile)
    throw EStreamError(Format("Cannot open file \"%s\". %s", FileName.c_str(), std::strerror(errno)));
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

size_t TFileStream::Read(void* Buffer, size_t Count) { return std::fread(Buffer, 1, Count, FFile); }

void TFileStream::Write(const void* Buffer, size_t Count) {
  if (Count && std::fwrite(Buffer, 1, Count, FFile) != Count)
    throw EStreamError(Format("Stream write error on \"%s\"", FFileName.c_str()));
}

uint64_t TFileStream::Position() const { return uint64_t(ftello(FFile)); }

void TFileStream::Seek(uint64_t Position) {
  if (fseeko(FFile, off_t(Position), SEEK_SET) != 0)
    throw EStreamError(Format("Seek error on \"%s\"", FFileName.c_str()));
}

uint64_t TFileStream::Size() const {
  const off_t here = ftello(FFile);
  fseeko(FFile, 0, SEEK_END);
  const off_t size = ftello(FFile);
  fseeko(FFile, here, SEEK_SET);
  return uint64_t(size);
}

// ---- whole files

std::shared_ptr<const std::vector<uint8_t>> ReadWholeFile(const std::string& FileName) {
  std::FILE* f = std::fopen(FileName.c_str(), "rb");
  if (!f) throw EStreamError(Format("Cannot open file \"%s\". %s", FileName.c_str(), std::strerror(errno)));
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  // One allocation when the size is known (a regular file); a pipe grows. A
  // folder opens for reading too, but its "size" is meaningless.
  struct stat st{};
  if (::fstat(fileno(f), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      std::fclose(f);
      throw EStreamError(Format("Cannot open file \"%s\". %s", FileName.c_str(), std::strerror(EISDIR)));
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) bytes->reserve(size_t(st.st_size));
  }
  uint8_t chunk[1 << 16];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->insert(bytes->end(), chunk, chunk + n);
  const bool failed = std::ferror(f);
  std::fclose(f);
  if (failed) throw EStreamError(Format("Could not read file \"%s\".", FileName.c_str()));
  return bytes;
}

void WriteFileAtomically(const std::string& FileName, const std::vector<uint8_t>& Bytes) {
  namespace fs = std::filesystem;
  const fs::path target(FileName);
  fs::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  std::string tmpl = (dir / ("." + target.filename().string() + ".tsy-XXXXXX")).string();
  const int fd = mkstemp(tmpl.data());
  if (fd < 0)
    throw EStreamError(Format("Cannot create file \"%s\". %s", FileName.c_str(), std::strerror(errno)));

  auto fail = [&](const char* what) {
    const int err = errno;
    ::close(fd);
    ::unlink(tmpl.c_str());
    throw EStreamError(Format("%s \"%s\". %s", what, FileName.c_str(), std::strerror(err)));
  };

  size_t done = 0;
  while (done < Bytes.size()) {
    const ssize_t w = ::write(fd, Bytes.data() + done, Bytes.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      fail("Cannot write file");
    }
    done += size_t(w);
  }
  struct stat st{};
  // Keep the permissions of the file being replaced; a new file gets the
  // usual mode for documents, not mkstemp's private 0600.
  if (::stat(FileName.c_str(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  if (::fsync(fd) != 0) fail("Cannot write file");
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmpl.c_str());
    throw EStreamError(Format("Cannot write file \"%s\". %s", FileName.c_str(), std::strerror(err)));
  }
  if (::rename(tmpl.c_str(), FileName.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmpl.c_str());
    throw EStreamError(Format("Cannot replace file \"%s\". %s", FileName.c_str(), std::strerror(err)));
  }
}

}  // namespace tsy
