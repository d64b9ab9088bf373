#pragma once
// The editor that also answers the messages of a multi-line edit control,
// so that code written for one can drive it by message. Character indexes
// count every line break as two characters; line indexes start at 0.

#include <cstdint>
#include <string>

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

// The edit-control messages the memo answers.
constexpr uint32_t EM_GETSEL = 0x00B0;    // WParam, LParam: int32_t* or 0 for start, end
constexpr uint32_t EM_SETSEL = 0x00B1;    // WParam: start, LParam: end
constexpr uint32_t EM_GETMODIFY = 0x00B8;
constexpr uint32_t EM_SETMODIFY = 0x00B9;  // WParam: flag
constexpr uint32_t EM_GETLINECOUNT = 0x00BA;
constexpr uint32_t EM_REPLACESEL = 0x00C2;  // WParam: can undo, LParam: const char*
constexpr uint32_t EM_GETLINE = 0x00C4;     // WParam: line index, LParam: buffer
constexpr uint32_t EM_CANUNDO = 0x00C6;
constexpr uint32_t EM_UNDO = 0x00C7;
constexpr uint32_t EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr uint32_t EM_CHARFROMPOS = 0x00D7;            // LParam: x | y << 16
constexpr uint32_t EM_GETSELTEXT = WM_USER + 62;      // WParam: buffer size, LParam: char*

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
