#pragma once
// Byte streams: files, memory, and files saved safely through a temporary
// file that replaces the old one only when everything was written.

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileStamps.h"
#include "platform/Objects.h"

namespace vk {

class EStreamError : public Exception {
  using Exception::Exception;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
  using EStreamError::EStreamError;
};
// A safe save found its target changed by another program since the stamp
// it was given: it left the target as it was.
class ETargetChangedError : public EWriteError {
  using EWriteError::EWriteError;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
  std::string ClassName() const override { return "TStream"; }
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  // Whole transfers: raise EReadError "Stream read error" when fewer bytes
  // move, and the stream's write error (RaiseWriteError) when fewer are
  // written.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  // Everything from the current position to the end, in one read.
  std::string ReadAll();

protected:
  // A write moved fewer bytes than it was given: EWriteError "Stream write
  // error".
  [[noreturn]] virtual void RaiseWriteError() const;
};

// File open modes as the class library numbers them.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFFFF,
};

class TFileStream : public TStream {
public:
  // fmCreate creates or truncates; the open modes need an existing file.
  // Failures raise EFCreateError / EFOpenError naming the file and the reason.
  TFileStream(const std::string& fileName, uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::string ClassName() const override { return "TFileStream"; }
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  const std::string& FileName() const { return FFileName; }

protected:
  struct TAdoptHandle {};
  // Takes over a handle that is already open.
  TFileStream(std::string fileName, int handle, TAdoptHandle) : FFileName(std::move(fileName)), FHandle(handle) {}
  int Handle() const { return FHandle; }
  // Closes the handle once; false when the system reported an error.
  bool CloseHandle();
  // EWriteError "Cannot write file "<name>". <the system's reason>".
  [[noreturn]] void RaiseWriteError() const override;
  // The system's error of the last write or resize that failed.
  int WriteErrorCode() const { return FWriteError; }

private:
  std::string FFileName;
  int FHandle = -1;
  int FWriteError = 0;
};

// A file that is written completely to a temporary file in the same folder
// and then renamed over the target by Commit. Destroyed without Commit, it
// leaves the old file as it was. A read-only target cannot be replaced.
class TSafeFileStream : public TFileStream {
public:
  explicit TSafeFileStream(const std::string& fileName);
  ~TSafeFileStream() override;
  std::string ClassName() const override { return "TSafeFileStream"; }
  // Flushes to disk and replaces the target. Every failure of the save (a
  // write, the flush, the rename) raises EWriteError "Cannot save file
  // "<name>". <the system's reason>" and leaves the old file as it was.
  void Commit();
  // The stamp the caller saw the target with (a missing target's too):
  // Commit compares it once more just before the rename and, when the
  // target differs, raises ETargetChangedError and leaves it as it is.
  void SetExpectedTarget(const TFileStamp& stamp) { FExpectedTarget = stamp; }

  // Tests replace the rename step to simulate a crash before it.
  using RenameFunction = int (*)(const char* from, const char* to);
  static void SetRenameForTesting(RenameFunction rename);

private:
  // The names as the file system spells them.
  struct TTempFile {
    std::string Target, Name;
    int Handle;
  };
  static TTempFile OpenTemp(const std::string& fileName);
  TSafeFileStream(const std::string& fileName, TTempFile temp);
  [[noreturn]] void RaiseWriteError() const override;
  [[noreturn]] void RaiseSaveError(int error) const;

  std::string FTarget;
  std::string FTempName;
  std::optional<TFileStamp> FExpectedTarget;
  bool FCommitted = false;
};

// Writes the bytes to the file through TSafeFileStream.
void SaveBytesToFile(const std::string& fileName, std::string_view bytes);
// Reads the whole file; raises EFOpenError when it cannot be opened.
std::string LoadBytesFromFile(const std::string& fileName);

class TMemoryStream : public TStream {
public:
  std::string ClassName() const override { return "TMemoryStream"; }
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  void Clear();
  const char* Memory() const { return FData.empty() ? "" : FData.data(); }
  std::string DataString() const { return std::string(Memory(), FData.size()); }
  // The whole file, read once into the stream's own storage; raises as
  // LoadBytesFromFile does and then keeps what the stream held.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

private:
  // Storage that leaves the bytes it grows by as they are: a file read into
  // it is written once, not filled with zeros first.
  template <class T>
  struct TUnfilledAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
      using other = TUnfilledAllocator<U>;
    };
    template <class U>
    void construct(U* place) {
      ::new (static_cast<void*>(place)) U;
    }
    template <class U, class... Args>
    void construct(U* place, Args&&... args) {
      ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
  };
  using TBytes = std::vector<char, TUnfilledAllocator<char>>;

  // Resizes the storage: the bytes it grows by up to zeroTo read as zeros,
  // the caller writes the others.
  void Resize(size_t size, size_t zeroTo);

  TBytes FData;
  int64_t FPosition = 0;
};

// A file name as this platform opens it: one trailing "." of the last name
// is dropped, as the original platform does (FileNameToDisk then spells it
// for the file system).
std::string NativeFileName(const std::string& fileName);

}  // namespace vk
