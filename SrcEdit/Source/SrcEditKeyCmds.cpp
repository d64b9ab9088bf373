#include "SrcEdit/Source/SrcEditKeyCmds.h"

#include <iterator>
#include <string_view>
#include <vector>

#include "platform/IdentMaps.h"
#include "platform/StringLists.h"  // EListError
#include "platform/Streams.h"
#include "platform/SysUtils.h"

namespace vk {

namespace {

#define EC(name) {name, #name}
// The command table; its order is visible through IndexToEditorCommand and
// the enumerations.
constexpr TIdentMapEntry EditorCommandTable[EditorCommandCount] = {
    EC(ecNone),          EC(ecLeft),           EC(ecRight),          EC(ecUp),
    EC(ecDown),          EC(ecWordLeft),       EC(ecWordRight),      EC(ecLineStart),
    EC(ecLineEnd),       EC(ecPageUp),         EC(ecPageDown),       EC(ecPageLeft),
    EC(ecPageRight),     EC(ecPageTop),        EC(ecPageBottom),     EC(ecEditorTop),
    EC(ecEditorBottom),  EC(ecGotoXY),         EC(ecSelLeft),        EC(ecSelRight),
    EC(ecSelUp),         EC(ecSelDown),        EC(ecSelWordLeft),    EC(ecSelWordRight),
    EC(ecSelLineStart),  EC(ecSelLineEnd),     EC(ecSelPageUp),      EC(ecSelPageDown),
    EC(ecSelPageLeft),   EC(ecSelPageRight),   EC(ecSelPageTop),     EC(ecSelPageBottom),
    EC(ecSelEditorTop),  EC(ecSelEditorBottom), EC(ecSelGotoXY),     EC(ecSelWord),
    EC(ecSelectAll),     EC(ecDeleteLastChar), EC(ecDeleteChar),     EC(ecDeleteWord),
    EC(ecDeleteLastWord), EC(ecDeleteBOL),     EC(ecDeleteEOL),      EC(ecDeleteLine),
    EC(ecClearAll),      EC(ecLineBreak),      EC(ecInsertLine),     EC(ecChar),
    EC(ecImeStr),        EC(ecUndo),           EC(ecRedo),           EC(ecCut),
    EC(ecCopy),          EC(ecPaste),          EC(ecScrollUp),       EC(ecScrollDown),
    EC(ecScrollLeft),    EC(ecScrollRight),    EC(ecInsertMode),     EC(ecOverwriteMode),
    EC(ecToggleMode),    EC(ecBlockIndent),    EC(ecBlockUnindent),  EC(ecTab),
    EC(ecShiftTab),      EC(ecMatchBracket),   EC(ecCommentBlock),   EC(ecNormalSelect),
    EC(ecColumnSelect),  EC(ecLineSelect),     EC(ecAutoCompletion), EC(ecUserFirst),
    EC(ecContextHelp),   EC(ecGotoMarker0),    EC(ecGotoMarker1),    EC(ecGotoMarker2),
    EC(ecGotoMarker3),   EC(ecGotoMarker4),    EC(ecGotoMarker5),    EC(ecGotoMarker6),
    EC(ecGotoMarker7),   EC(ecGotoMarker8),    EC(ecGotoMarker9),    EC(ecSetMarker0),
    EC(ecSetMarker1),    EC(ecSetMarker2),     EC(ecSetMarker3),     EC(ecSetMarker4),
    EC(ecSetMarker5),    EC(ecSetMarker6),     EC(ecSetMarker7),     EC(ecSetMarker8),
    EC(ecSetMarker9),    EC(ecUpperCase),      EC(ecLowerCase),      EC(ecToggleCase),
    EC(ecTitleCase),     EC(ecUpperCaseBlock), EC(ecLowerCaseBlock), EC(ecToggleCaseBlock),
    EC(ecString),
};
#undef EC

// Stored forms read and write commands by identifier.
const bool EditorCommandConstsRegistered =
    (RegisterIntegerConsts("TSrcEditorCommand", IdentToEditorCommand, EditorCommandToIdent), true);

struct TDefaultKeyStroke {
  TSrcEditorCommand Command;
  uint16_t Key;
  TShiftState Shift;
};

constexpr TShiftState None{};
constexpr TShiftState Shift{ssShift};
constexpr TShiftState Ctrl{ssCtrl};
constexpr TShiftState Alt{ssAlt};
constexpr TShiftState ShiftCtrl{ssShift, ssCtrl};
constexpr TShiftState ShiftAlt{ssShift, ssAlt};

constexpr TDefaultKeyStroke DefaultKeyStrokes[] = {
    {ecUp, VK_UP, None},
    {ecSelUp, VK_UP, Shift},
    {ecScrollUp, VK_UP, Ctrl},
    {ecDown, VK_DOWN, None},
    {ecSelDown, VK_DOWN, Shift},
    {ecScrollDown, VK_DOWN, Ctrl},
    {ecLeft, VK_LEFT, None},
    {ecSelLeft, VK_LEFT, Shift},
    {ecWordLeft, VK_LEFT, Ctrl},
    {ecSelWordLeft, VK_LEFT, ShiftCtrl},
    {ecRight, VK_RIGHT, None},
    {ecSelRight, VK_RIGHT, Shift},
    {ecWordRight, VK_RIGHT, Ctrl},
    {ecSelWordRight, VK_RIGHT, ShiftCtrl},
    {ecPageDown, VK_NEXT, None},
    {ecSelPageDown, VK_NEXT, Shift},
    {ecPageBottom, VK_NEXT, Ctrl},
    {ecSelPageBottom, VK_NEXT, ShiftCtrl},
    {ecPageUp, VK_PRIOR, None},
    {ecSelPageUp, VK_PRIOR, Shift},
    {ecPageTop, VK_PRIOR, Ctrl},
    {ecSelPageTop, VK_PRIOR, ShiftCtrl},
    {ecLineStart, VK_HOME, None},
    {ecSelLineStart, VK_HOME, Shift},
    {ecEditorTop, VK_HOME, Ctrl},
    {ecSelEditorTop, VK_HOME, ShiftCtrl},
    {ecLineEnd, VK_END, None},
    {ecSelLineEnd, VK_END, Shift},
    {ecEditorBottom, VK_END, Ctrl},
    {ecSelEditorBottom, VK_END, ShiftCtrl},
    {ecToggleMode, VK_INSERT, None},
    {ecCopy, VK_INSERT, Ctrl},
    {ecCut, VK_DELETE, Shift},
    {ecPaste, VK_INSERT, Shift},
    {ecDeleteChar, VK_DELETE, None},
    {ecDeleteLastChar, VK_BACK, None},
    {ecDeleteLastChar, VK_BACK, Shift},
    {ecDeleteLastWord, VK_BACK, Ctrl},
    {ecUndo, VK_BACK, Alt},
    {ecRedo, VK_BACK, ShiftAlt},
    {ecLineBreak, VK_RETURN, None},
    {ecLineBreak, VK_RETURN, Shift},
    {ecTab, VK_TAB, None},
    {ecShiftTab, VK_TAB, Shift},
    {ecContextHelp, VK_F1, None},
    {ecSelectAll, 'A', Ctrl},
    {ecCopy, 'C', Ctrl},
    {ecPaste, 'V', Ctrl},
    {ecCut, 'X', Ctrl},
    {ecBlockIndent, 'I', ShiftCtrl},
    {ecBlockUnindent, 'U', ShiftCtrl},
    {ecLineBreak, 'M', Ctrl},
    {ecInsertLine, 'N', Ctrl},
    {ecDeleteWord, 'T', Ctrl},
    {ecDeleteLine, 'Y', Ctrl},
    {ecDeleteEOL, 'Y', ShiftCtrl},
    {ecUndo, 'Z', Ctrl},
    {ecRedo, 'Z', ShiftCtrl},
    {ecGotoMarker0, '0', Ctrl},
    {ecGotoMarker1, '1', Ctrl},
    {ecGotoMarker2, '2', Ctrl},
    {ecGotoMarker3, '3', Ctrl},
    {ecGotoMarker4, '4', Ctrl},
    {ecGotoMarker5, '5', Ctrl},
    {ecGotoMarker6, '6', Ctrl},
    {ecGotoMarker7, '7', Ctrl},
    {ecGotoMarker8, '8', Ctrl},
    {ecGotoMarker9, '9', Ctrl},
    {ecSetMarker0, '0', ShiftCtrl},
    {ecSetMarker1, '1', ShiftCtrl},
    {ecSetMarker2, '2', ShiftCtrl},
    {ecSetMarker3, '3', ShiftCtrl},
    {ecSetMarker4, '4', ShiftCtrl},
    {ecSetMarker5, '5', ShiftCtrl},
    {ecSetMarker6, '6', ShiftCtrl},
    {ecSetMarker7, '7', ShiftCtrl},
    {ecSetMarker8, '8', ShiftCtrl},
    {ecSetMarker9, '9', ShiftCtrl},
    {ecNormalSelect, 'N', ShiftCtrl},
    {ecColumnSelect, 'C', ShiftCtrl},
    {ecLineSelect, 'L', ShiftCtrl},
    {ecMatchBracket, 'B', ShiftCtrl},
};
static_assert(std::size(DefaultKeyStrokes) == 82);

bool IsUpperOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

void PutUInt16(unsigned char* bytes, uint16_t value) {
  bytes[0] = static_cast<unsigned char>(value);
  bytes[1] = static_cast<unsigned char>(value >> 8);
}

uint16_t GetUInt16(const unsigned char* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

void PutUInt32(unsigned char* bytes, uint32_t value) {
  PutUInt16(bytes, static_cast<uint16_t>(value));
  PutUInt16(bytes + 2, static_cast<uint16_t>(value >> 16));
}

uint32_t GetUInt32(const unsigned char* bytes) { return GetUInt16(bytes) | uint32_t(GetUInt16(bytes + 2)) << 16; }

}  // namespace

// ---- command conversions ----

bool IdentToEditorCommand(const std::string& ident, int& command) {
  return IdentToInt(ident, command, EditorCommandTable);
}

bool EditorCommandToIdent(int command, std::string& ident) { return IntToIdent(command, ident, EditorCommandTable); }

std::string EditorCommandToCodeString(TSrcEditorCommand command) {
  std::string ident;
  return EditorCommandToIdent(command, ident) ? ident : IntToStr(command);
}

std::string EditorCommandToDescrString(TSrcEditorCommand) { return ""; }

TSrcEditorCommand IndexToEditorCommand(int index) {
  if (index < 0 || index >= EditorCommandCount) throw EListError(Format("List index out of bounds (%d)", index));
  return static_cast<TSrcEditorCommand>(EditorCommandTable[index].Value);
}

void GetEditorCommandValues(TGetStrProc callback) {
  for (const TIdentMapEntry& entry : EditorCommandTable) callback(entry.Name);
}

void GetEditorCommandExtended(TGetStrProc callback) {
  for (const TIdentMapEntry& entry : EditorCommandTable) callback(ConvertCodeStringToExtended(entry.Name));
}

std::string ConvertCodeStringToExtended(const std::string& code) {
  if (code.compare(0, 2, "ec") != 0) return code;
  // A blank before each run of capitals or digits: "SelWordLeft" -> "Sel Word Left".
  std::string words;
  for (size_t i = 2; i < code.size(); ++i) {
    if (i > 2 && IsUpperOrDigit(code[i]) && !IsUpperOrDigit(code[i - 1])) words += ' ';
    words += code[i];
  }
  words = ReplaceAll(words, "Sel ", "Select ");
  words = ReplaceAll(words, "Marker ", "Bookmark ");
  return Trim(words);
}

std::string ConvertExtendedToCodeString(const std::string& text) {
  if (text.compare(0, 2, "ec") == 0) return text;
  std::string code = text;
  // "Select All" is the one identifier that spells "Select" out.
  if (code.find("Select All") == std::string::npos) code = ReplaceAll(code, "Select ", "Sel ");
  code = ReplaceAll(code, "Bookmark ", "Marker ");
  std::erase(code, ' ');
  return "ec" + code;
}

TSrcEditorCommand ConvertCodeStringToCommand(const std::string& code) {
  int command = ecNone;
  return IdentToEditorCommand(code, command) ? static_cast<TSrcEditorCommand>(command) : ecNone;
}

TSrcEditorCommand ConvertExtendedToCommand(const std::string& text) {
  return ConvertCodeStringToCommand(ConvertExtendedToCodeString(text));
}

// ---- TSrcEditKeyStroke ----

void TSrcEditKeyStroke::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TSrcEditKeyStroke*>(&source);
  if (!other) return TCollectionItem::Assign(source);
  FCommand = other->FCommand;
  FKey = other->FKey;
  FKey2 = other->FKey2;
  FShift = other->FShift;
  FShift2 = other->FShift2;
}

std::string TSrcEditKeyStroke::DisplayName() const {
  std::string name = EditorCommandToCodeString(FCommand) + " - " + ShortCutToText(ShortCut());
  if (ShortCut() != scNone) name += ' ' + ShortCutToText(ShortCut2());
  return name;
}

void TSrcEditKeyStroke::CheckUnique(TShortCut shortCut, TShortCut shortCut2) const {
  auto* strokes = dynamic_cast<const TSrcEditKeyStrokes*>(Collection());
  if (!strokes) return;
  for (int i = 0; i < strokes->Count(); ++i) {
    const TSrcEditKeyStroke* item = strokes->Items(i);
    if (item != this && item->ShortCut() == shortCut && item->ShortCut2() == shortCut2)
      throw ESrcKeyError("Shortcut already exists");
  }
}

void TSrcEditKeyStroke::SetShortCut(TShortCut value) {
  if (value != scNone) CheckUnique(value, ShortCut2());
  ShortCutToKey(value, FKey, FShift);
}

void TSrcEditKeyStroke::SetShortCut2(TShortCut value) {
  if (value != scNone) CheckUnique(ShortCut(), value);
  ShortCutToKey(value, FKey2, FShift2);
}

void TSrcEditKeyStroke::Encode(unsigned char* bytes) const {
  PutUInt16(bytes, FKey);
  bytes[2] = FShift.Mask();
  PutUInt16(bytes + 3, FKey2);
  bytes[5] = FShift2.Mask();
  PutUInt16(bytes + 6, FCommand);
}

void TSrcEditKeyStroke::Decode(const unsigned char* bytes) {
  FKey = GetUInt16(bytes);
  FShift = TShiftState::FromMask(bytes[2]);
  FKey2 = GetUInt16(bytes + 3);
  FShift2 = TShiftState::FromMask(bytes[5]);
  FCommand = GetUInt16(bytes + 6);
}

void TSrcEditKeyStroke::LoadFromStream(TStream& stream) {
  unsigned char bytes[StreamSize];
  stream.ReadBuffer(bytes, StreamSize);
  Decode(bytes);
}

void TSrcEditKeyStroke::SaveToStream(TStream& stream) const {
  unsigned char bytes[StreamSize];
  Encode(bytes);
  stream.WriteBuffer(bytes, StreamSize);
}

// ---- TSrcEditKeyStrokes ----

TSrcEditKeyStroke* TSrcEditKeyStrokes::AddKey(TSrcEditorCommand command, uint16_t key, TShiftState shift) {
  TSrcEditKeyStroke* item = Add();
  item->SetKey(key);
  item->SetShift(shift);
  item->SetCommand(command);
  return item;
}

int TSrcEditKeyStrokes::FindCommand(TSrcEditorCommand command) const {
  return FindFirst([&](const TSrcEditKeyStroke& item) { return item.Command() == command; });
}

int TSrcEditKeyStrokes::FindKeycode(uint16_t key, TShiftState shift) const {
  return FindFirst(
      [&](const TSrcEditKeyStroke& item) { return item.Key() == key && item.Shift() == shift && item.Key2() == 0; });
}

int TSrcEditKeyStrokes::FindKeycode2(uint16_t key, TShiftState shift, uint16_t key2, TShiftState shift2) const {
  return FindFirst([&](const TSrcEditKeyStroke& item) {
    return item.Key() == key && item.Shift() == shift && item.Key2() == key2 && item.Shift2() == shift2;
  });
}

int TSrcEditKeyStrokes::FindShortcut(TShortCut shortCut) const {
  return FindFirst([&](const TSrcEditKeyStroke& item) { return item.ShortCut() == shortCut; });
}

int TSrcEditKeyStrokes::FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const {
  return FindFirst(
      [&](const TSrcEditKeyStroke& item) { return item.ShortCut() == shortCut && item.ShortCut2() == shortCut2; });
}

void TSrcEditKeyStrokes::LoadFromStream(TStream& stream) {
  unsigned char countBytes[4];
  stream.ReadBuffer(countBytes, sizeof countBytes);
  int32_t count = static_cast<int32_t>(GetUInt32(countBytes));
  // The count is checked against what the stream holds before anything is
  // read, so a cut or lying stream neither allocates nor half-fills the table.
  int64_t bytesLeft = stream.Size() - stream.Position();
  if (count > 0 && int64_t(count) * TSrcEditKeyStroke::StreamSize > bytesLeft) throw EReadError("Stream read error");
  std::vector<unsigned char> bytes(count > 0 ? size_t(count) * TSrcEditKeyStroke::StreamSize : 0);
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));

  TCollectionUpdate update(*this);
  Clear();
  for (size_t at = 0; at < bytes.size(); at += TSrcEditKeyStroke::StreamSize) Add()->Decode(&bytes[at]);
}

void TSrcEditKeyStrokes::SaveToStream(TStream& stream) const {
  std::vector<unsigned char> bytes(4 + size_t(Count()) * TSrcEditKeyStroke::StreamSize);
  PutUInt32(&bytes[0], static_cast<uint32_t>(Count()));
  for (int i = 0; i < Count(); ++i) Items(i)->Encode(&bytes[4 + size_t(i) * TSrcEditKeyStroke::StreamSize]);
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TSrcEditKeyStrokes::ResetDefaults() {
  TCollectionUpdate update(*this);
  Clear();
  for (const TDefaultKeyStroke& stroke : DefaultKeyStrokes) AddKey(stroke.Command, stroke.Key, stroke.Shift);
}

}  // namespace vk
