#pragma once
// The editor that also answers the messages of a multi-line edit control,
// so that code written for one can drive it by message. Character indexes
// count every line break as two characters; line indexes start at 0.

#include <cstdint>
#include <string>

#include "SrcEdit/Source/SrcEdit.h"
#include "platform/EditMessages.h"

namespace vk {

// lo in the low 16 bits, hi in the high 16 bits.
constexpr intptr_t MakeLong(int lo, int hi) {
  return static_cast<intptr_t>((static_cast<uint32_t>(lo) & 0xFFFF) | ((static_cast<uint32_t>(hi) & 0xFFFF) << 16));
}

class TSrcMemo : public TSrcEdit {
public:
  using TSrcEdit::TSrcEdit;
  std::string ClassName() const override { return "TSrcMemo"; }

  void WndProc(TMessage& message) override;

private:
  // EM_GETSEL: the selection's start and end; result MakeLong of both.
  void EMGetSel(TMessage& message);
  // EM_GETSELTEXT: copies the selected text into the buffer of WParam
  // characters, cut to leave room for the closing zero (nothing with a
  // size of 0); the result is the selected text's whole length.
  void EMGetSelText(TMessage& message);
  // EM_REPLACESEL: replaces the selection; with WParam one undo step takes
  // the replacement back. Nothing on a read-only memo.
  void EMReplaceSel(TMessage& message);
  // EM_GETLINE: the buffer's first 16-bit word is its size in characters;
  // at most size - 1 characters of the line are copied and closed with a
  // zero. The result is the number copied.
  void EMGetLine(TMessage& message);
  // EM_CHARFROMPOS: MakeLong(character index, line index) of the point; a
  // point right of a line's end gives the place after its last character,
  // a point below the text the end of the text.
  void EMCharFromPos(TMessage& message);
};

}  // namespace vk
