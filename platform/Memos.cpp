#include "platform/Memos.h"

#include <algorithm>

#include "platform/Keyboard.h"
#include "platform/Printers.h"
#include "platform/SysUtils.h"

namespace vk {

namespace {

// The lines of a text split at CR LF, CR or LF; a final break leaves an
// empty last line.
std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find_first_of("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

size_t SizeOfLines(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size();
  return size;
}

}  // namespace

// ---------------------------------------------------------------- TMemoStrings

void TMemoStrings::CheckIndex(int index, int limit) const {
  CheckListIndex(index, limit + 1);
}

int TMemoStrings::GetCount() const {
  const auto& lines = FMemo.FTextLines;
  return static_cast<int>(lines.size()) - (lines.back().empty() ? 1 : 0);
}

std::string TMemoStrings::Get(int index) const {
  CheckIndex(index, GetCount() - 1);
  return FMemo.FTextLines[static_cast<size_t>(index)];
}

void TMemoStrings::Clear() {
  FMemo.SetTextLines({""});
  FMemo.LinesChanged(0);
}

void TMemoStrings::Delete(int index) {
  CheckIndex(index, GetCount() - 1);
  auto& lines = FMemo.FTextLines;
  FMemo.FTextSize -= lines[static_cast<size_t>(index)].size();
  lines.erase(lines.begin() + index);
  if (lines.empty()) lines.push_back("");
  FMemo.LinesChangedFrom(index);
  FMemo.LinesChanged(FMemo.LineOffset(index));
}

void TMemoStrings::Insert(int index, const std::string& text) {
  CheckIndex(index, GetCount());
  auto& lines = FMemo.FTextLines;
  std::vector<std::string> inserted = SplitTextLines(text);
  FMemo.FTextSize += SizeOfLines(inserted);
  // A line goes before the line at index with its own break, or after the
  // last line (which has none) with a break before it.
  lines.insert(lines.begin() + std::min(index, static_cast<int>(lines.size())), inserted.begin(), inserted.end());
  FMemo.LinesChangedFrom(index);
  FMemo.LinesChanged(FMemo.LineOffset(index + static_cast<int>(inserted.size())));
}

void TMemoStrings::Put(int index, const std::string& text) {
  CheckIndex(index, GetCount() - 1);
  auto& lines = FMemo.FTextLines;
  std::vector<std::string> replacement = SplitTextLines(text);
  FMemo.FTextSize = FMemo.FTextSize - lines[static_cast<size_t>(index)].size() + SizeOfLines(replacement);
  lines.erase(lines.begin() + index);
  lines.insert(lines.begin() + index, replacement.begin(), replacement.end());
  FMemo.LinesChangedFrom(index);
  FMemo.LinesChanged(FMemo.LineOffset(index + static_cast<int>(replacement.size())));
}

void TMemoStrings::SetTextStr(const std::string& text) {
  FMemo.SetTextLines(SplitTextLines(text));
  FMemo.LinesChanged(0);
}

void TMemoStrings::SetUpdateState(bool updating) {
  if (!updating) FMemo.LinesChanged(FMemo.SelStart());
}

// ---------------------------------------------------------------- TCustomMemo

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  SetBounds(0, 0, 185, 89);
  SetAutoSelect(false);
}

TCustomMemo::~TCustomMemo() { Withdraw(); }

void TCustomMemo::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  NotifyPeer(ppStyle);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  NotifyPeer(ppStyle);
}

std::string TCustomMemo::StoredText() const {
  size_t size = 0;
  for (const std::string& line : FTextLines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : FTextLines) {
    if (&line != &FTextLines.front()) text += "\r\n";
    text += line;
  }
  return text;
}

void TCustomMemo::StoreText(const std::string& text) { SetTextLines(SplitTextLines(text)); }

void TCustomMemo::SetTextLines(std::vector<std::string> lines) {
  FTextLines = std::move(lines);
  FTextSize = SizeOfLines(FTextLines);
  LinesChangedFrom(0);
}

int TCustomMemo::LineOffset(int index) const {
  // Counted from the nearer end, so that adding a line at the end (as the
  // build's output is) costs no walk over the whole text.
  const size_t lineCount = FTextLines.size();
  const size_t count = std::min(static_cast<size_t>(std::max(index, 0)), lineCount);
  size_t offset = 0;
  if (count <= lineCount / 2) {
    for (size_t i = 0; i < count; ++i) offset += FTextLines[i].size() + 2;
  } else {
    offset = FTextSize + 2 * lineCount;
    for (size_t i = count; i < lineCount; ++i) offset -= FTextLines[i].size() + 2;
  }
  // Past the last line: the end of the text.
  return static_cast<int>(count == lineCount ? offset - 2 : offset);
}

void TCustomMemo::LinesChanged(int caret) {
  if (FLines.UpdateCount() == 0) StoredTextChanged(caret);
}

// A pasted text keeps its lines, each ended by CR LF.
std::string TCustomMemo::PastedText(const std::string& text) const {
  std::vector<std::string> lines = SplitTextLines(text);
  std::string pasted;
  for (size_t i = 0; i < lines.size(); ++i) pasted += (i ? "\r\n" : "") + lines[i];
  return pasted;
}

void TCustomMemo::TypeChar(const std::string& chars) {
  if (chars[0] != '\r') {
    TCustomEdit::TypeChar(chars);
  } else if (FWantReturns) {
    UserReplace("\r\n", true);
  }
}

void TCustomMemo::WndProc(TMessage& message) {
  if (message.Msg == WM_GETDLGCODE) {
    // Tab moves on; Enter is the memo's own when it wants returns. Esc,
    // which a memo has no use for, is its form's (the cancel button's).
    const bool wantsAll = FWantReturns && message.WParam != VK_ESCAPE;
    message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | (wantsAll ? DLGC_WANTALLKEYS : 0);
    return;
  }
  TCustomEdit::WndProc(message);
}

// ---------------------------------------------------------------- TRichEdit

void TRichEdit::Print(const std::string& title) { PrintTextLines(Printer(), title, Lines(), Font()); }

}  // namespace vk
