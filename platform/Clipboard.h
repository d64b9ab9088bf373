#pragma once
// The clipboard: data kept under numbered formats, plain text (CF_TEXT) and
// formats registered by name. The process talks to one TClipboard; where the
// data really lives is a backend: memory for tests and headless use, the
// desktop's clipboard in the Qt program.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/SysUtils.h"

namespace vk {

// The clipboard did not take a copied text.
class EClipboardError : public Exception {
  using Exception::Exception;
};

using TClipboardFormat = unsigned;
// Plain text in the ANSI code page, ended by a NUL.
constexpr TClipboardFormat CF_TEXT = 1;

// The text of data laid out as a text and a closing NUL (CF_TEXT, the
// editor's block after its mode byte): all of it but that NUL. The data's
// size ends the text, so that NUL bytes inside it travel too.
std::string_view ClipboardText(std::string_view data);

// Plain text taken from the clipboard. Another program's text reaches the
// program converted into the code page, where a character the code page has
// no form for becomes '?': Replaced counts those.
struct TClipboardText {
  std::string Text;
  int Replaced = 0;
};

// The number of a format registered by name: the same name (any letter case)
// always gives the same number, from 0xC000 on.
TClipboardFormat RegisterClipboardFormat(const std::string& name);
// The name a format was registered with; "" for CF_TEXT and unknown numbers.
std::string ClipboardFormatName(TClipboardFormat format);

// Where clipboard data lives. Every operation answers false (or no data)
// when it fails.
class TClipboardBackend {
public:
  virtual ~TClipboardBackend() = default;
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool Clear() = 0;
  virtual bool SetData(TClipboardFormat format, const std::string& bytes) = 0;
  virtual std::optional<std::string> GetData(TClipboardFormat format) = 0;
  virtual bool HasFormat(TClipboardFormat format) = 0;
  // The CF_TEXT data without its closing NUL; here nothing was converted.
  virtual std::optional<TClipboardText> GetText();
};

// The clipboard in memory, with faults that tests can switch on.
class TMemoryClipboard : public TClipboardBackend {
public:
  bool Open() override;
  void Close() override { FOpen = false; }
  bool Clear() override;
  bool SetData(TClipboardFormat format, const std::string& bytes) override;
  std::optional<std::string> GetData(TClipboardFormat format) override;
  bool HasFormat(TClipboardFormat format) override;
  std::optional<TClipboardText> GetText() override;

  // Another program's text as a desktop hands it over: its bytes in the code
  // page, where `replaced` characters it had no form for stand as '?'.
  void PutForeignText(const std::string& text, int replaced);

  bool IsOpen() const { return FOpen; }
  bool FailOpen = false;
  // Refuse to take / to hand out data of this format (0: none).
  TClipboardFormat FailSet = 0;
  TClipboardFormat FailGet = 0;

private:
  bool FOpen = false;
  std::vector<std::pair<TClipboardFormat, std::string>> FData;
  int FForeignReplaced = 0;
};

class TClipboard {
public:
  // Opening nests; the backend is opened by the first Open and closed by
  // the last Close. False when the backend refuses.
  bool Open();
  void Close();
  bool Clear();
  bool SetData(TClipboardFormat format, const std::string& bytes);
  std::optional<std::string> GetData(TClipboardFormat format);
  bool HasFormat(TClipboardFormat format);
  // The CF_TEXT data without its closing NUL, every byte before it kept;
  // "" when there is none.
  std::string AsText() { return GetText().Text; }
  // The same with the count of another program's characters that became '?'.
  TClipboardText GetText();
  // Replaces the clipboard's contents with the text; false when that fails.
  bool SetAsText(const std::string& text);

  // The contents changed, or may have: the backend tells when another
  // program takes the clipboard, and a menu about to open asks afresh.
  // Answers kept from before are dropped.
  void Changed() { FHoldsText.reset(); }
  // CF_TEXT is on the clipboard: asked of the backend once after each
  // change, so that the commands' idle updates cost no round trip to the
  // desktop while nothing changes.
  bool HoldsText();

  TClipboardBackend& Backend() { return *FBackend; }
  // Installs a backend (the memory clipboard when null) and returns the old.
  std::unique_ptr<TClipboardBackend> SetBackend(std::unique_ptr<TClipboardBackend> backend);

private:
  std::unique_ptr<TClipboardBackend> FBackend = std::make_unique<TMemoryClipboard>();
  int FOpenCount = 0;
  std::optional<bool> FHoldsText;
};

// Keeps the clipboard open for a scope, also when an exception passes.
class TClipboardOpen {
public:
  explicit TClipboardOpen(TClipboard& clipboard) : FClipboard(clipboard), FOpened(clipboard.Open()) {}
  ~TClipboardOpen() {
    if (FOpened) FClipboard.Close();
  }
  TClipboardOpen(const TClipboardOpen&) = delete;
  TClipboardOpen& operator=(const TClipboardOpen&) = delete;
  bool Opened() const { return FOpened; }

private:
  TClipboard& FClipboard;
  bool FOpened;
};

// The process's clipboard.
TClipboard& Clipboard();

}  // namespace vk
