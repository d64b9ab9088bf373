// The memo's edit-control messages, each mapped onto the editor's own
// operations.

#include "SrcEdit/Source/SrcMemo.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vk {

void TSrcMemo::WndProc(TMessage& message) {
  switch (message.Msg) {
    case EM_GETSEL: EMGetSel(message); break;
    case EM_SETSEL:
      SetSelStart(static_cast<int>(message.WParam));
      SetSelEnd(static_cast<int>(message.LParam));
      break;
    case EM_GETMODIFY: message.Result = Modified() ? 1 : 0; break;
    case EM_SETMODIFY: SetModified(message.WParam != 0); break;
    case EM_GETLINECOUNT: message.Result = Lines().Count(); break;
    case EM_GETSELTEXT: EMGetSelText(message); break;
    case EM_REPLACESEL: EMReplaceSel(message); break;
    case EM_GETLINE: EMGetLine(message); break;
    case EM_CANUNDO: message.Result = CanUndo() ? 1 : 0; break;
    case EM_UNDO: {
      const bool couldUndo = CanUndo();
      if (couldUndo) Undo();
      message.Result = couldUndo ? 1 : 0;
      break;
    }
    // With word wrap the top row may be inside a line.
    case EM_GETFIRSTVISIBLELINE: message.Result = RowToLine(TopLine()) - 1; break;
    case EM_CHARFROMPOS: EMCharFromPos(message); break;
    default: TSrcEdit::WndProc(message);
  }
}

void TSrcMemo::EMGetSel(TMessage& message) {
  const int start = SelStart();
  const int end = SelEnd();
  if (auto* startOut = reinterpret_cast<int32_t*>(message.WParam)) *startOut = start;
  if (auto* endOut = reinterpret_cast<int32_t*>(message.LParam)) *endOut = end;
  message.Result = MakeLong(start, end);
}

void TSrcMemo::EMGetSelText(TMessage& message) {
  auto* buffer = reinterpret_cast<char*>(message.LParam);
  if (!buffer) return;
  const std::string text = SelText();
  if (message.WParam > 0) {
    const size_t copied = std::min<size_t>(text.size(), message.WParam - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
  }
  message.Result = static_cast<intptr_t>(text.size());
}

void TSrcMemo::EMReplaceSel(TMessage& message) {
  if (GetReadOnly()) return;
  const bool canUndo = message.WParam != 0;
  const char* text = reinterpret_cast<const char*>(message.LParam);
  DoOnPaintTransient(ttBefore);
  {
    TSrcEditScope edit(*this);
    TSrcEditUndoBlock block(*this);
    const bool hadSelection = SelAvail();
    if (hadSelection && canUndo)
      UndoList().AddChange(crDelete, BlockBegin(), BlockEnd(), SelText(), ActiveSelectionMode());
    // The text goes where the selection starts, or at the caret.
    const TBufferCoord begin = BlockBegin();
    const TBufferCoord end = BlockEnd();
    const TBufferCoord start = hadSelection ? begin : CaretXY();
    // The block in text order.
    SetBlockBegin(begin);
    SetBlockEnd(end);
    {
      // The entries above and below stand for the replacement.
      TSrcUndoLock lock(*this);
      SetSelText(text ? std::string_view(text) : std::string_view());
    }
    if (canUndo) {
      UndoList().AddChange(crPaste, start, BlockEnd(), SelText(), smNormal);
    } else if (hadSelection || (text && *text)) {
      // The text changed in a way undo cannot take back: what was recorded
      // before would be replayed against a text it no longer fits.
      ClearUndo();
      SetModified(true);
    }
  }
  EnsureCursorPosVisible();
  StatusChanged({scSelection});
  DoOnPaintTransient(ttAfter);
}

void TSrcMemo::EMGetLine(TMessage& message) {
  message.Result = 0;
  auto* buffer = reinterpret_cast<char*>(message.LParam);
  const auto index = static_cast<intptr_t>(message.WParam);
  if (!buffer || index < 0 || index >= Lines().Count()) return;
  uint16_t size = 0;
  std::memcpy(&size, buffer, sizeof size);
  if (size == 0) return;
  const std::string line = Lines().Get(static_cast<int>(index));
  const size_t copied = std::min<size_t>(line.size(), size - 1u);
  std::memcpy(buffer, line.data(), copied);
  buffer[copied] = '\0';
  message.Result = static_cast<intptr_t>(copied);
}

void TSrcMemo::EMCharFromPos(TMessage& message) {
  const auto point = static_cast<uint32_t>(message.LParam);
  const TBufferCoord pos = DisplayToBufferPos(PixelsToRowColumn(point & 0xFFFF, point >> 16));
  const int count = Lines().Count();
  TBufferCoord at = pos;
  if (pos.Line > count) {
    // Below the text: its end.
    at.Line = std::max(count, 1);
    at.Char = static_cast<int>(Lines().Get(at.Line - 1).size()) + 1;
  } else {
    at.Char = std::min(pos.Char, static_cast<int>(Lines().Get(pos.Line - 1).size()) + 1);
  }
  message.Result = MakeLong(RowColToCharIndex(at), at.Line - 1);
}

}  // namespace vk
