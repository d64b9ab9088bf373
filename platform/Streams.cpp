#include "platform/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/FilePaths.h"

namespace vk {

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) RaiseWriteError();
}

void TStream::RaiseWriteError() const { throw EWriteError("Stream write error"); }

int64_t TStream::Size() {
  int64_t position = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) {}

std::string TStream::ReadAll() {
  int64_t position = Position();
  int64_t size = Size();
  std::string bytes(size > position ? size - position : 0, '\0');
  ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

std::string NativeFileName(const std::string& fileName) {
  size_t slash = fileName.rfind('/');
  std::string last = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  if (last.size() > 1 && last != ".." && last.back() == '.') return fileName.substr(0, fileName.size() - 1);
  return fileName;
}

namespace {

std::string Reason() { return std::strerror(errno); }

int OpenFlags(uint16_t mode) {
  switch (mode & 3) {
    case fmOpenWrite: return O_WRONLY;
    case fmOpenReadWrite: return O_RDWR;
    default: return O_RDONLY;
  }
}

int OpenFile(const std::string& fileName, uint16_t mode) {
  std::string name = FileNameToDisk(NativeFileName(fileName));
  int handle;
  if (mode == fmCreate) {
    handle = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (handle < 0) throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), Reason().c_str()));
  } else {
    handle = ::open(name.c_str(), OpenFlags(mode) | O_CLOEXEC);
    if (handle < 0) throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), Reason().c_str()));
    struct stat info;
    if (fstat(handle, &info) == 0 && S_ISDIR(info.st_mode)) {
      ::close(handle);
      errno = EISDIR;
      throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), Reason().c_str()));
    }
  }
  return handle;
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, uint16_t mode)
    : FFileName(fileName), FHandle(OpenFile(fileName, mode)) {}

TFileStream::~TFileStream() { CloseHandle(); }

bool TFileStream::CloseHandle() {
  bool ok = FHandle < 0 || ::close(FHandle) == 0;
  FHandle = -1;
  return ok;
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::read(FHandle, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(FHandle, static_cast<const char*>(buffer) + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A write that takes nothing without an error: the device is full.
      FWriteError = n < 0 ? errno : ENOSPC;
      break;
    }
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t result = ::lseek(FHandle, offset, whence);
  return result < 0 ? -1 : result;
}

void TFileStream::SetSize(int64_t size) {
  if (::ftruncate(FHandle, size) == 0) return;
  FWriteError = errno;
  RaiseWriteError();
}

void TFileStream::RaiseWriteError() const {
  throw EWriteError(Format("Cannot write file \"%s\". %s", FFileName.c_str(), std::strerror(FWriteError)));
}

// ---- TSafeFileStream ----

namespace {

TSafeFileStream::RenameFunction renameStep = &::rename;

// The file that a save replaces, as the file system spells it: the target of
// a symbolic link, so that the link itself survives the save.
std::string ResolveTarget(const std::string& fileName) {
  std::string name = FileNameToDisk(NativeFileName(fileName));
  struct stat info;
  if (lstat(name.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(name.c_str(), resolved)) return resolved;
  }
  return name;
}

int CreateTemp(const std::string& fileName, const std::string& target, std::string& tempName) {
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  tempName = folder + "." + base + ".XXXXXX";
  int handle = mkostemp(tempName.data(), O_CLOEXEC);
  if (handle < 0)
    throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), std::strerror(errno)));
  return handle;
}

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

TSafeFileStream::TTempFile TSafeFileStream::OpenTemp(const std::string& fileName) {
  TTempFile temp{ResolveTarget(fileName), "", -1};
  struct stat info;
  bool exists = stat(temp.Target.c_str(), &info) == 0;
  bool readOnly = exists && IsReadOnlyFile(temp.Target, info.st_mode);
  if (exists && (S_ISDIR(info.st_mode) || readOnly)) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
    throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), std::strerror(errno)));
  }
  temp.Handle = CreateTemp(fileName, temp.Target, temp.Name);
  // The new file keeps the old one's permissions.
  fchmod(temp.Handle, exists ? (info.st_mode & 07777) : NewFileMode());
  return temp;
}

TSafeFileStream::TSafeFileStream(const std::string& fileName) : TSafeFileStream(fileName, OpenTemp(fileName)) {}

TSafeFileStream::TSafeFileStream(const std::string& fileName, TTempFile temp)
    : TFileStream(fileName, temp.Handle, TAdoptHandle{}), FTarget(std::move(temp.Target)), FTempName(std::move(temp.Name)) {}

TSafeFileStream::~TSafeFileStream() {
  if (!FCommitted) {
    CloseHandle();
    ::unlink(FTempName.c_str());
  }
}

void TSafeFileStream::Commit() {
  if (FCommitted) return;
  FCommitted = true;
  // The first step that fails gives the reason.
  int error = ::fdatasync(Handle()) == 0 ? 0 : errno;
  if (!CloseHandle() && error == 0) error = errno;
  if (error == 0 && FExpectedTarget && FileStampOf(FileName()) != *FExpectedTarget) {
    ::unlink(FTempName.c_str());
    throw ETargetChangedError(
        Format("Cannot save file \"%s\". Another program changed it meanwhile.", FileName().c_str()));
  }
  if (error == 0 && renameStep(FTempName.c_str(), FTarget.c_str()) != 0) error = errno;
  if (error == 0) return;
  ::unlink(FTempName.c_str());
  RaiseSaveError(error);
}

void TSafeFileStream::RaiseWriteError() const { RaiseSaveError(WriteErrorCode()); }

void TSafeFileStream::RaiseSaveError(int error) const {
  throw EWriteError(Format("Cannot save file \"%s\". %s", FileName().c_str(), std::strerror(error)));
}

void TSafeFileStream::SetRenameForTesting(RenameFunction rename) { renameStep = rename ? rename : &::rename; }

void SaveBytesToFile(const std::string& fileName, std::string_view bytes) {
  TSafeFileStream stream(fileName);
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.Commit();
}

std::string LoadBytesFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
  return stream.ReadAll();
}

// ---- TMemoryStream ----

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t available = static_cast<int64_t>(FData.size()) - FPosition;
  int64_t n = count < available ? count : available;
  if (n <= 0) return 0;
  std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FPosition + count > static_cast<int64_t>(FData.size()))
    Resize(static_cast<size_t>(FPosition + count), static_cast<size_t>(FPosition));
  std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : static_cast<int64_t>(FData.size());
  if (base + offset < 0) return -1;
  FPosition = base + offset;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
  const size_t bytes = static_cast<size_t>(size < 0 ? 0 : size);
  Resize(bytes, bytes);
  if (FPosition > size) FPosition = size;
}

void TMemoryStream::Resize(size_t size, size_t zeroTo) {
  const size_t old = FData.size();
  FData.resize(size);
  if (zeroTo > old) std::memset(FData.data() + old, 0, zeroTo - old);
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
  TBytes bytes(static_cast<size_t>(std::max<int64_t>(file.Size(), 0)));
  file.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  FData = std::move(bytes);
  FPosition = 0;
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  SaveBytesToFile(fileName, std::string_view(Memory(), FData.size()));
}

}  // namespace vk
