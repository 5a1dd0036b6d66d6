// Streams: the abstract stream, memory streams and file streams.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vcl/Classes.h"

const TClassInfo& TStream::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TStream", &TObject::StaticClass());
  return info;
}
const TClassInfo& TCustomMemoryStream::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TCustomMemoryStream", &TStream::StaticClass());
  return info;
}
const TClassInfo& TMemoryStream::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Plain("TMemoryStream", &TCustomMemoryStream::StaticClass());
  return info;
}
const TClassInfo& TReadOnlyMemoryStream::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Plain("TReadOnlyMemoryStream", &TCustomMemoryStream::StaticClass());
  return info;
}
const TClassInfo& TFileStream::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TFileStream", &TStream::StaticClass());
  return info;
}

// ---------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::Size() {
  int64_t pos = Seek(0, soFromCurrent);
  int64_t size = Seek(0, soFromEnd);
  Seek(pos, soFromBeginning);
  return size;
}

int64_t TStream::CopyFrom(TStream* source, int64_t count) {
  if (count == 0) {
    source->SetPosition(0);
    count = source->Size();
  }
  int64_t left = count;
  char buf[16384];
  while (left > 0) {
    int64_t n = std::min<int64_t>(left, sizeof buf);
    source->ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    left -= n;
  }
  return count;
}

TComponent* TStream::ReadComponent(TComponent* instance) {
  TReader reader(this, 4096);
  return reader.ReadRootComponent(instance);
}

void TStream::WriteComponent(TComponent* instance) {
  TWriter writer(this, 4096);
  writer.WriteRootComponent(instance);
}

// ---------------------------------------------------------------------------
// Memory streams

void TCustomMemoryStream::SetPointer(const uint8_t* memory, int64_t size) {
  FMemory = memory;
  FSize = size;
}

int64_t TCustomMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || FPosition >= FSize) return 0;
  int64_t n = std::min(count, FSize - FPosition);
  std::memcpy(buffer, FMemory + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, uint16_t origin) {
  int64_t base = origin == soFromCurrent ? FPosition : (origin == soFromEnd ? FSize : 0);
  int64_t pos = base + offset;
  if (pos < 0) throw EStreamError("Stream seek before its beginning");
  FPosition = pos;
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* stream) {
  if (FSize > 0) stream->WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const std::string& fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(&f);
}

TMemoryStream::~TMemoryStream() { std::free(FData); }

void TMemoryStream::Reserve(int64_t capacity) {
  if (capacity <= FCapacity) return;
  // Grows by half again, so that many small writes stay linear.
  int64_t grown = FCapacity > (INT64_MAX - 64) / 3 * 2 ? capacity : FCapacity + FCapacity / 2 + 64;
  grown = std::max(grown, capacity);
  void* p = static_cast<uint64_t>(grown) <= SIZE_MAX ? std::realloc(FData, static_cast<size_t>(grown)) : nullptr;
  if (!p) throw EOutOfMemory("Out of memory while expanding memory stream");
  FData = static_cast<uint8_t*>(p);
  FCapacity = grown;
  FMemory = FData;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FPosition > INT64_MAX - count) throw EStreamError("Stream write beyond the largest size");
  int64_t end = FPosition + count;
  Reserve(end);
  // Bytes skipped by a seek past the end read as zeros.
  if (FPosition > FSize) std::memset(FData + FSize, 0, static_cast<size_t>(FPosition - FSize));
  std::memcpy(FData + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  if (end > FSize) FSize = end;
  return count;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream size");
  Reserve(size);
  if (size > FSize) std::memset(FData + FSize, 0, static_cast<size_t>(size - FSize));
  FSize = size;
  if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear() {
  std::free(FData);
  FData = nullptr;
  FCapacity = 0;
  FMemory = nullptr;
  FSize = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream) {
  stream->SetPosition(0);
  int64_t n = stream->Size();
  SetSize(n);
  if (n > 0) stream->ReadBuffer(FData, n);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(&f);
}

int64_t TReadOnlyMemoryStream::Write(const void*, int64_t) {
  throw EWriteError("Stream write error: the stream is read-only");
}

// ---------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : FFileName(fileName) {
  if (mode == fmCreate) {
    FHandle = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (FHandle < 0)
      throw EFCreateError("Cannot create file \"" + fileName + "\": " + std::strerror(errno));
    return;
  }
  int flags = (mode & 3) == fmOpenWrite ? O_WRONLY : ((mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY);
  FHandle = ::open(fileName.c_str(), flags | O_CLOEXEC);
  if (FHandle < 0)
    throw EFOpenError("Cannot open file \"" + fileName + "\": " + std::strerror(errno));
  struct stat st;
  if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    throw EFOpenError("Cannot open file \"" + fileName + "\": it is a directory");
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  auto* p = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = ::read(FHandle, p + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  const auto* p = static_cast<const char*>(buffer);
  while (done < count) {
    ssize_t n = ::write(FHandle, p + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, uint16_t origin) {
  int whence = origin == soFromCurrent ? SEEK_CUR : (origin == soFromEnd ? SEEK_END : SEEK_SET);
  off_t r = ::lseek(FHandle, static_cast<off_t>(offset), whence);
  if (r < 0) throw EStreamError("Cannot seek in file \"" + FFileName + "\"");
  return r;
}

void TFileStream::SetSize(int64_t size) {
  if (::ftruncate(FHandle, static_cast<off_t>(size)) != 0)
    throw EStreamError("Cannot set the size of file \"" + FFileName + "\"");
  if (Position() > size) Seek(size, soFromBeginning);
}

// ---------------------------------------------------------------------------

// Written beside the target and renamed over it, so that a failure leaves
// the old content whole.
void ReplaceFileContent(const std::string& fileName, const std::string& bytes) {
  std::string tmp = fileName + ".tmp" + std::to_string(::getpid());
  {
    TFileStream f(tmp, fmCreate);
    try {
      f.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    } catch (...) {
      ::unlink(tmp.c_str());
      throw;
    }
  }
  if (std::rename(tmp.c_str(), fileName.c_str()) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    throw EFCreateError("Cannot create file \"" + fileName + "\": " + std::strerror(err));
  }
}
