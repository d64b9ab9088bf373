#include "platform/Clipboard.h"

#include <vector>

#include "platform/SysUtils.h"

namespace vk {

namespace {

std::vector<std::string>& RegisteredNames() {
  static std::vector<std::string> names;
  return names;
}

constexpr TClipboardFormat FirstRegisteredFormat = 0xC000;

}  // namespace

TClipboardFormat RegisterClipboardFormat(const std::string& name) {
  auto& names = RegisteredNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) return FirstRegisteredFormat + static_cast<TClipboardFormat>(i);
  names.push_back(name);
  return FirstRegisteredFormat + static_cast<TClipboardFormat>(names.size() - 1);
}

std::string ClipboardFormatName(TClipboardFormat format) {
  auto& names = RegisteredNames();
  if (format < FirstRegisteredFormat || format - FirstRegisteredFormat >= names.size()) return std::string();
  return names[format - FirstRegisteredFormat];
}

std::string_view ClipboardText(std::string_view data) {
  if (data.ends_with('\0')) data.remove_suffix(1);
  return data;
}

std::optional<TClipboardText> TClipboardBackend::GetText() {
  std::optional<std::string> data = GetData(CF_TEXT);
  if (!data) return std::nullopt;
  return TClipboardText{std::string(ClipboardText(*data))};
}

// ---- TMemoryClipboard ----

bool TMemoryClipboard::Open() {
  if (FailOpen) return false;
  FOpen = true;
  return true;
}

bool TMemoryClipboard::Clear() {
  if (!FOpen) return false;
  FData.clear();
  FForeignReplaced = 0;
  return true;
}

bool TMemoryClipboard::SetData(TClipboardFormat format, const std::string& bytes) {
  if (!FOpen || format == FailSet) return false;
  if (format == CF_TEXT) FForeignReplaced = 0;
  for (auto& entry : FData) {
    if (entry.first == format) {
      entry.second = bytes;
      return true;
    }
  }
  FData.emplace_back(format, bytes);
  return true;
}

std::optional<std::string> TMemoryClipboard::GetData(TClipboardFormat format) {
  if (format == FailGet) return std::nullopt;
  for (const auto& entry : FData)
    if (entry.first == format) return entry.second;
  return std::nullopt;
}

std::optional<TClipboardText> TMemoryClipboard::GetText() {
  std::optional<TClipboardText> text = TClipboardBackend::GetText();
  if (text) text->Replaced = FForeignReplaced;
  return text;
}

void TMemoryClipboard::PutForeignText(const std::string& text, int replaced) {
  FData = {{CF_TEXT, text + '\0'}};
  FForeignReplaced = replaced;
  // As the desktop tells when another program takes the clipboard.
  Clipboard().Changed();
}

bool TMemoryClipboard::HasFormat(TClipboardFormat format) {
  for (const auto& entry : FData)
    if (entry.first == format) return true;
  return false;
}

// ---- TClipboard ----

bool TClipboard::Open() {
  if (FOpenCount == 0 && !FBackend->Open()) return false;
  ++FOpenCount;
  return true;
}

void TClipboard::Close() {
  if (FOpenCount == 0) return;
  if (--FOpenCount == 0) FBackend->Close();
}

bool TClipboard::Clear() {
  TClipboardOpen open(*this);
  Changed();
  return open.Opened() && FBackend->Clear();
}

bool TClipboard::SetData(TClipboardFormat format, const std::string& bytes) {
  TClipboardOpen open(*this);
  Changed();
  return open.Opened() && FBackend->SetData(format, bytes);
}

std::optional<std::string> TClipboard::GetData(TClipboardFormat format) { return FBackend->GetData(format); }

bool TClipboard::HasFormat(TClipboardFormat format) { return FBackend->HasFormat(format); }

TClipboardText TClipboard::GetText() { return FBackend->GetText().value_or(TClipboardText{}); }

bool TClipboard::HoldsText() {
  if (!FHoldsText) FHoldsText = FBackend->HasFormat(CF_TEXT);
  return *FHoldsText;
}

bool TClipboard::SetAsText(const std::string& text) {
  TClipboardOpen open(*this);
  Changed();
  return open.Opened() && FBackend->Clear() && FBackend->SetData(CF_TEXT, text + '\0');
}

std::unique_ptr<TClipboardBackend> TClipboard::SetBackend(std::unique_ptr<TClipboardBackend> backend) {
  if (!backend) backend = std::make_unique<TMemoryClipboard>();
  std::swap(backend, FBackend);
  FOpenCount = 0;
  Changed();
  return backend;
}

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

}  // namespace vk
