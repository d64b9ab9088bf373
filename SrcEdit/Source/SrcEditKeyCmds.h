#pragma once
// Editor commands and the keystroke table: every editing action is a
// numbered command with an identifier ("ecUndo") and a readable name
// ("Undo"); the table binds one or two key strokes to a command.

#include <cstdint>
#include <string>

#include "platform/Components.h"
#include "platform/Events.h"
#include "platform/Keyboard.h"
#include "SrcEdit/Source/SrcEditTypes.h"

namespace vk {

class TStream;

constexpr TSrcEditorCommand ecNone = 0;
// Caret movement.
constexpr TSrcEditorCommand ecLeft = 1;
constexpr TSrcEditorCommand ecRight = 2;
constexpr TSrcEditorCommand ecUp = 3;
constexpr TSrcEditorCommand ecDown = 4;
constexpr TSrcEditorCommand ecWordLeft = 5;
constexpr TSrcEditorCommand ecWordRight = 6;
constexpr TSrcEditorCommand ecLineStart = 7;
constexpr TSrcEditorCommand ecLineEnd = 8;
constexpr TSrcEditorCommand ecPageUp = 9;
constexpr TSrcEditorCommand ecPageDown = 10;
constexpr TSrcEditorCommand ecPageLeft = 11;
constexpr TSrcEditorCommand ecPageRight = 12;
constexpr TSrcEditorCommand ecPageTop = 13;
constexpr TSrcEditorCommand ecPageBottom = 14;
constexpr TSrcEditorCommand ecEditorTop = 15;
constexpr TSrcEditorCommand ecEditorBottom = 16;
constexpr TSrcEditorCommand ecGotoXY = 17;
// The same movements extending the selection.
constexpr TSrcEditorCommand ecSelLeft = 101;
constexpr TSrcEditorCommand ecSelRight = 102;
constexpr TSrcEditorCommand ecSelUp = 103;
constexpr TSrcEditorCommand ecSelDown = 104;
constexpr TSrcEditorCommand ecSelWordLeft = 105;
constexpr TSrcEditorCommand ecSelWordRight = 106;
constexpr TSrcEditorCommand ecSelLineStart = 107;
constexpr TSrcEditorCommand ecSelLineEnd = 108;
constexpr TSrcEditorCommand ecSelPageUp = 109;
constexpr TSrcEditorCommand ecSelPageDown = 110;
constexpr TSrcEditorCommand ecSelPageLeft = 111;
constexpr TSrcEditorCommand ecSelPageRight = 112;
constexpr TSrcEditorCommand ecSelPageTop = 113;
constexpr TSrcEditorCommand ecSelPageBottom = 114;
constexpr TSrcEditorCommand ecSelEditorTop = 115;
constexpr TSrcEditorCommand ecSelEditorBottom = 116;
constexpr TSrcEditorCommand ecSelGotoXY = 117;
constexpr TSrcEditorCommand ecSelWord = 198;
constexpr TSrcEditorCommand ecSelectAll = 199;
constexpr TSrcEditorCommand ecCopy = 201;
constexpr TSrcEditorCommand ecScrollUp = 211;
constexpr TSrcEditorCommand ecScrollDown = 212;
constexpr TSrcEditorCommand ecScrollLeft = 213;
constexpr TSrcEditorCommand ecScrollRight = 214;
constexpr TSrcEditorCommand ecInsertMode = 221;
constexpr TSrcEditorCommand ecOverwriteMode = 222;
constexpr TSrcEditorCommand ecToggleMode = 223;
constexpr TSrcEditorCommand ecNormalSelect = 231;
constexpr TSrcEditorCommand ecColumnSelect = 232;
constexpr TSrcEditorCommand ecLineSelect = 233;
constexpr TSrcEditorCommand ecMatchBracket = 250;
constexpr TSrcEditorCommand ecCommentBlock = 251;
// Bookmarks.
constexpr TSrcEditorCommand ecGotoMarker0 = 301;
constexpr TSrcEditorCommand ecGotoMarker1 = 302;
constexpr TSrcEditorCommand ecGotoMarker2 = 303;
constexpr TSrcEditorCommand ecGotoMarker3 = 304;
constexpr TSrcEditorCommand ecGotoMarker4 = 305;
constexpr TSrcEditorCommand ecGotoMarker5 = 306;
constexpr TSrcEditorCommand ecGotoMarker6 = 307;
constexpr TSrcEditorCommand ecGotoMarker7 = 308;
constexpr TSrcEditorCommand ecGotoMarker8 = 309;
constexpr TSrcEditorCommand ecGotoMarker9 = 310;
constexpr TSrcEditorCommand ecSetMarker0 = 351;
constexpr TSrcEditorCommand ecSetMarker1 = 352;
constexpr TSrcEditorCommand ecSetMarker2 = 353;
constexpr TSrcEditorCommand ecSetMarker3 = 354;
constexpr TSrcEditorCommand ecSetMarker4 = 355;
constexpr TSrcEditorCommand ecSetMarker5 = 356;
constexpr TSrcEditorCommand ecSetMarker6 = 357;
constexpr TSrcEditorCommand ecSetMarker7 = 358;
constexpr TSrcEditorCommand ecSetMarker8 = 359;
constexpr TSrcEditorCommand ecSetMarker9 = 360;
constexpr TSrcEditorCommand ecContextHelp = 490;
// Commands that change the text.
constexpr TSrcEditorCommand ecDeleteLastChar = 501;
constexpr TSrcEditorCommand ecDeleteChar = 502;
constexpr TSrcEditorCommand ecDeleteWord = 503;
constexpr TSrcEditorCommand ecDeleteLastWord = 504;
constexpr TSrcEditorCommand ecDeleteBOL = 505;
constexpr TSrcEditorCommand ecDeleteEOL = 506;
constexpr TSrcEditorCommand ecDeleteLine = 507;
constexpr TSrcEditorCommand ecClearAll = 508;
constexpr TSrcEditorCommand ecLineBreak = 509;
constexpr TSrcEditorCommand ecInsertLine = 510;
constexpr TSrcEditorCommand ecChar = 511;
constexpr TSrcEditorCommand ecImeStr = 550;
constexpr TSrcEditorCommand ecUndo = 601;
constexpr TSrcEditorCommand ecRedo = 602;
constexpr TSrcEditorCommand ecCut = 603;
constexpr TSrcEditorCommand ecPaste = 604;
constexpr TSrcEditorCommand ecBlockIndent = 610;
constexpr TSrcEditorCommand ecBlockUnindent = 611;
constexpr TSrcEditorCommand ecTab = 612;
constexpr TSrcEditorCommand ecShiftTab = 613;
constexpr TSrcEditorCommand ecUpperCase = 620;
constexpr TSrcEditorCommand ecLowerCase = 621;
constexpr TSrcEditorCommand ecToggleCase = 622;
constexpr TSrcEditorCommand ecTitleCase = 623;
constexpr TSrcEditorCommand ecUpperCaseBlock = 625;
constexpr TSrcEditorCommand ecLowerCaseBlock = 626;
constexpr TSrcEditorCommand ecToggleCaseBlock = 627;
constexpr TSrcEditorCommand ecString = 630;
constexpr TSrcEditorCommand ecAutoCompletion = 650;
// Commands from here on are the user's: the editor hands them to its
// user-command event instead of executing them.
constexpr TSrcEditorCommand ecUserFirst = 1001;

// Number of entries of the command table (identifier and value).
constexpr int EditorCommandCount = 101;

// Identifier <-> command over the command table, ignoring letter case on the
// way in; false when the table has no such entry.
bool IdentToEditorCommand(const std::string& ident, int& command);
bool EditorCommandToIdent(int command, std::string& ident);
// The identifier, or the decimal number of a command without one.
std::string EditorCommandToCodeString(TSrcEditorCommand command);
// No command carries a description: always empty.
std::string EditorCommandToDescrString(TSrcEditorCommand command);
// The command of table entry 0..EditorCommandCount-1; raises EListError
// "List index out of bounds (%d)" for any other index.
TSrcEditorCommand IndexToEditorCommand(int index);

using TGetStrProc = TDelegate<void(const std::string& S)>;
// Calls the callback with every identifier / readable name, in table order.
void GetEditorCommandValues(TGetStrProc callback);
void GetEditorCommandExtended(TGetStrProc callback);

// Readable name of an identifier: "ecSelWordLeft" -> "Select Word Left",
// "ecSetMarker0" -> "Set Bookmark 0"; a text not starting with "ec" stays.
std::string ConvertCodeStringToExtended(const std::string& code);
// The way back: "Select Word Left" -> "ecSelWordLeft".
std::string ConvertExtendedToCodeString(const std::string& text);
// The command of an identifier (any letter case), ecNone when there is none.
TSrcEditorCommand ConvertCodeStringToCommand(const std::string& code);
TSrcEditorCommand ConvertExtendedToCommand(const std::string& text);

// A binding that would duplicate another one.
class ESrcKeyError : public Exception {
  using Exception::Exception;
};

// One binding: a first key stroke, an optional second one (key2 0 = none),
// and the command they run.
class TSrcEditKeyStroke : public TCollectionItem {
public:
  explicit TSrcEditKeyStroke(TCollection* collection) : TCollectionItem(collection) {}
  std::string ClassName() const override { return "TSrcEditKeyStroke"; }
  // From another keystroke: command, both keys and both shift states.
  void Assign(const TPersistent& source) override;
  // "ecSelectAll - Ctrl+A " : the command, the first shortcut and, when
  // there is one, a blank and the second shortcut's text.
  std::string DisplayName() const override;

  uint16_t Key() const { return FKey; }
  void SetKey(uint16_t value) { FKey = value; }
  TShiftState Shift() const { return FShift; }
  void SetShift(TShiftState value) { FShift = value; }
  uint16_t Key2() const { return FKey2; }
  void SetKey2(uint16_t value) { FKey2 = value; }
  TShiftState Shift2() const { return FShift2; }
  void SetShift2(TShiftState value) { FShift2 = value; }
  TSrcEditorCommand Command() const { return FCommand; }
  void SetCommand(TSrcEditorCommand value) { FCommand = value; }

  TShortCut ShortCut() const { return vk::ShortCut(FKey, FShift); }
  TShortCut ShortCut2() const { return vk::ShortCut(FKey2, FShift2); }
  // Raise ESrcKeyError "Shortcut already exists" when another item of the
  // collection already has the resulting (first, second) pair; 0 is never
  // refused.
  void SetShortCut(TShortCut value);
  void SetShortCut2(TShortCut value);

  // The item's 8 bytes: key (2), shift (1), key2 (2), shift2 (1), command (2),
  // little-endian.
  static constexpr int StreamSize = 8;
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

private:
  friend class TSrcEditKeyStrokes;
  void Encode(unsigned char* bytes) const;
  void Decode(const unsigned char* bytes);
  // Refuses a pair another item of the collection already binds.
  void CheckUnique(TShortCut shortCut, TShortCut shortCut2) const;

  uint16_t FKey = 0;
  TShiftState FShift;
  uint16_t FKey2 = 0;
  TShiftState FShift2;
  TSrcEditorCommand FCommand = ecNone;
};

// The keystroke table of an editor (its owner). Items keep the order they
// were added in; every lookup answers the first match, -1 when none.
class TSrcEditKeyStrokes : public TCollection {
public:
  explicit TSrcEditKeyStrokes(TPersistent* owner) : TCollection(owner) {}
  std::string ClassName() const override { return "TSrcEditKeyStrokes"; }

  TSrcEditKeyStroke* Add() { return static_cast<TSrcEditKeyStroke*>(TCollection::Add()); }
  // A single-stroke binding, appended without a duplicate check.
  TSrcEditKeyStroke* AddKey(TSrcEditorCommand command, uint16_t key, TShiftState shift);
  // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  TSrcEditKeyStroke* Items(int index) const { return static_cast<TSrcEditKeyStroke*>(TCollection::Items(index)); }
  void SetItem(int index, const TSrcEditKeyStroke& value) { Items(index)->Assign(value); }

  int FindCommand(TSrcEditorCommand command) const;
  // Single-stroke bindings only (key2 = 0).
  int FindKeycode(uint16_t key, TShiftState shift) const;
  int FindKeycode2(uint16_t key, TShiftState shift, uint16_t key2, TShiftState shift2) const;
  // By first shortcut, whatever the second stroke.
  int FindShortcut(TShortCut shortCut) const;
  int FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const;

  // A signed 32-bit count, then the items. A count of 0 or less loads an
  // empty table; a count larger than the bytes left in the stream raises
  // EReadError "Stream read error" and leaves the table as it was.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  // The 82 default bindings, in their fixed order.
  void ResetDefaults();

protected:
  TCollectionItem* CreateItem() override { return new TSrcEditKeyStroke(this); }

private:
  // The index of the first item that matches, -1 when none does.
  template <class Match>
  int FindFirst(Match match) const {
    for (int i = 0; i < Count(); ++i)
      if (match(*Items(i))) return i;
    return -1;
  }
};

}  // namespace vk
