#pragma once
// Value types shared by the editor control and everything around it.

#include <cstdint>
#include <string>

#include "platform/Events.h"
#include "platform/Graphics.h"  // TPoint
#include "platform/Sets.h"

namespace vk {

// A position in the text: Char is the 1-based byte index in the stored line
// (a TAB counts as one), Line the 1-based line number.
struct TBufferCoord {
  int Char = 0;
  int Line = 0;
  friend bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
};

// A position on screen after tab expansion and word wrap, both 1-based.
struct TDisplayCoord {
  int Column = 0;
  int Row = 0;
  friend bool operator==(const TDisplayCoord&, const TDisplayCoord&) = default;
};

inline TBufferCoord BufferCoord(int charIndex, int line) { return {charIndex, line}; }
inline TDisplayCoord DisplayCoord(int column, int row) { return {column, row}; }

enum TSrcSelectionMode : uint8_t { smNormal, smLine, smColumn };

enum TSrcSearchOption : uint8_t {
  ssoMatchCase,
  ssoWholeWord,
  ssoBackwards,
  ssoEntireScope,
  ssoSelectedOnly,
  ssoReplace,
  ssoReplaceAll,
  ssoPrompt
};
using TSrcSearchOptions = TSet<TSrcSearchOption>;

enum TSrcStatusChange : uint8_t {
  scAll,
  scCaretX,
  scCaretY,
  scLeftChar,
  scTopLine,
  scInsertMode,
  scModified,
  scSelection,
  scReadOnly
};
using TSrcStatusChanges = TSet<TSrcStatusChange>;

enum TSrcReplaceAction : uint8_t { raCancel, raSkip, raReplace, raReplaceAll };

enum TStringType : uint8_t {
  stNone,
  stHalfNumAlpha,
  stHalfSymbol,
  stHalfKatakana,
  stWideNumAlpha,
  stWideSymbol,
  stWideKatakana,
  stHiragana,
  stIdeograph,
  stControl,
  stKashida
};

// The identifier characters of a highlighter: a set of the 256 bytes.
class TSrcIdentChars {
public:
  TSrcIdentChars() = default;
  explicit TSrcIdentChars(const char* members) {
    for (; *members; ++members) Include(static_cast<unsigned char>(*members));
  }
  bool Contains(unsigned char c) const { return (FBits[c >> 6] >> (c & 63)) & 1; }
  void Include(unsigned char c) { FBits[c >> 6] |= uint64_t(1) << (c & 63); }
  void IncludeRange(unsigned char first, unsigned char last) {
    for (unsigned c = first; c <= last; ++c) Include(static_cast<unsigned char>(c));
  }
  friend bool operator==(const TSrcIdentChars&, const TSrcIdentChars&) = default;

private:
  uint64_t FBits[4] = {};
};

enum TSrcEditorOption : uint8_t {
  eoAltSetsColumnMode,
  eoAutoIndent,
  eoAutoSizeMaxScrollWidth,
  eoDisableScrollArrows,
  eoDragDropEditing,
  eoDropFiles,
  eoEnhanceHomeKey,
  eoEnhanceEndKey,
  eoGroupUndo,
  eoHalfPageScroll,
  eoHideShowScrollbars,
  eoKeepCaretX,
  eoNoCaret,
  eoNoSelection,
  eoRightMouseMovesCursor,
  eoScrollByOneLess,
  eoScrollHintFollows,
  eoScrollPastEof,
  eoScrollPastEol,
  eoShowScrollHint,
  eoShowSpecialChars,
  eoSmartTabDelete,
  eoSmartTabs,
  eoSpecialLineDefaultFg,
  eoTabIndent,
  eoTabsToSpaces,
  eoTrimTrailingSpaces
};
using TSrcEditorOptions = TSet<TSrcEditorOption>;
// Switches an option on for a scope (a step that needs it) and back after.
using TOptionOn = TSetIncludeScope<TSrcEditorOption>;

// Switches an option off for a scope (when off is true) and back on after
// it, also when an exception passes.
class TOptionOff {
public:
  TOptionOff(TSet<TSrcEditorOption>& options, TSrcEditorOption option, bool off = true)
      : FOptions(options), FOption(option), FWasOn(off && options.Contains(option)) {
    if (FWasOn) FOptions.Exclude(FOption);
  }
  ~TOptionOff() {
    if (FWasOn) FOptions.Include(FOption);
  }
  TOptionOff(const TOptionOff&) = delete;
  TOptionOff& operator=(const TOptionOff&) = delete;

private:
  TSet<TSrcEditorOption>& FOptions;
  TSrcEditorOption FOption;
  bool FWasOn;
};

// The options a new editor starts with.
constexpr uint32_t SRCEDIT_DEFAULT_OPTIONS = 0x026C0192;

// The highlighter state stored at the end of each line: opaque to the line
// store, defined by the highlighter; -1 until the line has been scanned.
using TSrcEditRange = intptr_t;
constexpr TSrcEditRange SrcEditRangeUnscanned = -1;

// A 16-bit editor command number; the named commands live with the
// command table.
using TSrcEditorCommand = uint16_t;

// Tab converters: (line, tab width) to the expanded text; the extended form
// also tells whether the line holds a TAB.
using TConvertTabsProc = std::string (*)(const std::string& line, int tabWidth);
using TConvertTabsProcEx = std::string (*)(const std::string& line, int tabWidth, bool& hasTabs);

}  // namespace vk
