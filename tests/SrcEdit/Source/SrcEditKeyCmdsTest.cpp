#include "SrcEdit/Source/SrcEditKeyCmds.h"

#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "platform/IdentMaps.h"
#include "platform/StringLists.h"
#include "platform/Streams.h"

namespace vk {
namespace {

constexpr TShiftState Ctrl{ssCtrl};
constexpr TShiftState ShiftCtrl{ssShift, ssCtrl};

// ---- command table ----

TEST(EditorCommandTest, EveryIdentifierRoundTripsThroughBothConversions) {
  std::set<int> values;
  std::set<std::string> idents;
  for (int index = 0; index < EditorCommandCount; ++index) {
    TSrcEditorCommand command = IndexToEditorCommand(index);
    std::string ident;
    ASSERT_TRUE(EditorCommandToIdent(command, ident)) << index;
    values.insert(command);
    idents.insert(ident);
    for (const std::string& spelling : {ident, UpperCase(ident), LowerCase(ident)}) {
      int back = -1;
      EXPECT_TRUE(IdentToEditorCommand(spelling, back)) << spelling;
      EXPECT_EQ(command, back) << spelling;
      EXPECT_EQ(command, ConvertCodeStringToCommand(spelling)) << spelling;
    }
    std::string readable = ConvertCodeStringToExtended(ident);
    EXPECT_EQ(ident, ConvertExtendedToCodeString(readable)) << readable;
    EXPECT_EQ(command, ConvertExtendedToCommand(readable)) << readable;
    EXPECT_EQ(ident, EditorCommandToCodeString(command));
  }
  EXPECT_EQ(101u, values.size()) << "values are unique";
  EXPECT_EQ(101u, idents.size()) << "identifiers are unique";
}

TEST(EditorCommandTest, TableOrderAndBounds) {
  struct Case {
    int index;
    TSrcEditorCommand command;
  } cases[] = {{0, ecNone},       {17, ecGotoXY},      {18, ecSelLeft},     {51, ecCut},
               {52, ecCopy},      {70, ecAutoCompletion}, {71, ecUserFirst}, {72, ecContextHelp},
               {83, ecSetMarker0}, {100, ecString}};
  for (const Case& c : cases) EXPECT_EQ(c.command, IndexToEditorCommand(c.index)) << c.index;
  EXPECT_EQ(601, ecUndo);
  EXPECT_EQ(602, ecRedo);
  EXPECT_EQ(507, ecDeleteLine);
  EXPECT_EQ(1001, ecUserFirst);
  for (int index : {-1, 101, 1 << 30}) {
    try {
      IndexToEditorCommand(index);
      ADD_FAILURE() << index;
    } catch (const EListError& e) {
      EXPECT_EQ(Format("List index out of bounds (%d)", index), e.Message());
    }
  }
}

TEST(EditorCommandTest, CodeStringsOfCommandsWithoutIdentifier) {
  EXPECT_EQ("ecUserFirst", EditorCommandToCodeString(1001));
  EXPECT_EQ("1002", EditorCommandToCodeString(1002));
  EXPECT_EQ("480", EditorCommandToCodeString(480));
  EXPECT_EQ("", EditorCommandToDescrString(ecUndo));
  std::string ident = "kept";
  EXPECT_FALSE(EditorCommandToIdent(1002, ident));
  EXPECT_EQ("kept", ident);
  EXPECT_EQ(ecNone, ConvertCodeStringToCommand("ecNoSuchCommand"));
  EXPECT_EQ(ecNone, ConvertCodeStringToCommand(""));
  EXPECT_EQ(ecUndo, ConvertCodeStringToCommand("ECUNDO"));
}

TEST(EditorCommandTest, ReadableNames) {
  struct Case {
    const char* code;
    const char* readable;
  } cases[] = {
      {"ecSelWordLeft", "Select Word Left"}, {"ecGotoXY", "Goto XY"},         {"ecSetMarker0", "Set Bookmark 0"},
      {"ecDeleteBOL", "Delete BOL"},        {"ecSelectAll", "Select All"},     {"ecSelWord", "Select Word"},
      {"ecUserFirst", "User First"},        {"ecNone", "None"},                {"ecUpperCaseBlock", "Upper Case Block"},
      {"NotACode", "NotACode"},             {"ec", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.readable, ConvertCodeStringToExtended(c.code)) << c.code;
  EXPECT_EQ("ecSelPageUp", ConvertExtendedToCodeString("Select Page Up"));
  EXPECT_EQ("ecGotoMarker9", ConvertExtendedToCodeString("Goto Bookmark 9"));
  EXPECT_EQ("ecAlready", ConvertExtendedToCodeString("ecAlready"));
  EXPECT_EQ(ecSetMarker3, ConvertExtendedToCommand("Set Bookmark 3"));
  EXPECT_EQ(ecNone, ConvertExtendedToCommand("Make Coffee"));
}

struct TCollect {
  std::vector<std::string> Texts;
  void Add(const std::string& s) { Texts.push_back(s); }
};

TEST(EditorCommandTest, EnumerationsFollowTheTable) {
  TCollect idents, readable;
  GetEditorCommandValues(TGetStrProc(&idents, &TCollect::Add));
  GetEditorCommandExtended(TGetStrProc(&readable, &TCollect::Add));
  ASSERT_EQ(101u, idents.Texts.size());
  ASSERT_EQ(101u, readable.Texts.size());
  EXPECT_EQ("ecNone", idents.Texts[0]);
  EXPECT_EQ("ecUserFirst", idents.Texts[71]);
  EXPECT_EQ("ecString", idents.Texts[100]);
  EXPECT_EQ("Select All", readable.Texts[36]);
  EXPECT_EQ("Goto Bookmark 0", readable.Texts[73]);
}

TEST(EditorCommandTest, StoredFormsFindTheConversions) {
  TIdentToInt identToInt = FindIdentToInt("TSrcEditorCommand");
  TIntToIdent intToIdent = FindIntToIdent("TSrcEditorCommand");
  ASSERT_NE(nullptr, identToInt);
  ASSERT_NE(nullptr, intToIdent);
  int command = 0;
  EXPECT_TRUE(identToInt("ecLineBreak", command));
  EXPECT_EQ(ecLineBreak, command);
  std::string ident;
  EXPECT_TRUE(intToIdent(ecContextHelp, ident));
  EXPECT_EQ("ecContextHelp", ident);
}

// ---- keystroke table ----

TEST(KeyStrokesTest, DefaultBindings) {
  TSrcEditKeyStrokes strokes(nullptr);
  strokes.ResetDefaults();
  ASSERT_EQ(82, strokes.Count());
  struct Case {
    int index;
    TSrcEditorCommand command;
    uint16_t key;
    TShiftState shift;
  } cases[] = {
      {0, ecUp, VK_UP, {}},
      {9, ecSelWordLeft, VK_LEFT, ShiftCtrl},
      {14, ecPageDown, VK_NEXT, {}},
      {31, ecCopy, VK_INSERT, Ctrl},
      {32, ecCut, VK_DELETE, {ssShift}},
      {38, ecUndo, VK_BACK, {ssAlt}},
      {39, ecRedo, VK_BACK, {ssShift, ssAlt}},
      {41, ecLineBreak, VK_RETURN, {ssShift}},
      {44, ecContextHelp, VK_F1, {}},
      {45, ecSelectAll, 'A', Ctrl},
      {58, ecGotoMarker0, '0', Ctrl},
      {77, ecSetMarker9, '9', ShiftCtrl},
      {81, ecMatchBracket, 'B', ShiftCtrl},
  };
  for (const Case& c : cases) {
    const TSrcEditKeyStroke* item = strokes.Items(c.index);
    EXPECT_EQ(c.command, item->Command()) << c.index;
    EXPECT_EQ(c.key, item->Key()) << c.index;
    EXPECT_EQ(c.shift, item->Shift()) << c.index;
  }
  std::map<TSrcEditorCommand, int> bindings;
  std::set<TShortCut> shortCuts;
  for (int i = 0; i < strokes.Count(); ++i) {
    EXPECT_EQ(0, strokes.Items(i)->Key2()) << "the defaults hold no chord";
    ++bindings[strokes.Items(i)->Command()];
    shortCuts.insert(strokes.Items(i)->ShortCut());
  }
  EXPECT_EQ(82u, shortCuts.size()) << "no two defaults share a shortcut";
  for (TSrcEditorCommand twice : {ecCopy, ecPaste, ecCut, ecUndo, ecRedo, ecDeleteLastChar})
    EXPECT_EQ(2, bindings[twice]) << twice;
  EXPECT_EQ(3, bindings[ecLineBreak]);

  EXPECT_EQ(0, strokes.FindKeycode(VK_UP, {}));
  EXPECT_EQ(41, strokes.FindShortcut(8205));  // Shift+Enter
  EXPECT_EQ(44, strokes.FindShortcut(112));   // F1
  EXPECT_EQ(40, strokes.FindCommand(ecLineBreak));
  EXPECT_EQ(-1, strokes.FindCommand(ecUserFirst));
  EXPECT_EQ(-1, strokes.FindKeycode('K', Ctrl));
}

TEST(KeyStrokesTest, ChordsAreFoundOnlyAsChords) {
  TSrcEditKeyStrokes strokes(nullptr);
  TSrcEditKeyStroke* chord = strokes.Add();
  chord->SetCommand(ecUserFirst);
  chord->SetShortCut(scCtrl | 'K');
  chord->SetShortCut2(scCtrl | 'B');
  strokes.AddKey(ecMatchBracket, 'B', Ctrl);
  strokes.AddKey(ecSelectAll, 'K', Ctrl);

  EXPECT_EQ(2, strokes.FindKeycode('K', Ctrl)) << "a chord's first stroke is no single binding";
  EXPECT_EQ(1, strokes.FindKeycode('B', Ctrl));
  EXPECT_EQ(0, strokes.FindKeycode2('K', Ctrl, 'B', Ctrl));
  EXPECT_EQ(-1, strokes.FindKeycode2('K', Ctrl, 'B', ShiftCtrl));
  EXPECT_EQ(-1, strokes.FindKeycode2('K', {}, 'B', Ctrl));
  EXPECT_EQ(0, strokes.FindShortcut(scCtrl | 'K')) << "whatever the second stroke";
  EXPECT_EQ(0, strokes.FindShortcut2(scCtrl | 'K', scCtrl | 'B'));
  EXPECT_EQ(2, strokes.FindShortcut2(scCtrl | 'K', 0));
  EXPECT_EQ(-1, strokes.FindShortcut2(scCtrl | 'B', scCtrl | 'K'));
  EXPECT_EQ("ecUserFirst - Ctrl+K Ctrl+B", chord->DisplayName());
}

TEST(KeyStrokesTest, DuplicateShortcutsAreRefused) {
  TSrcEditKeyStrokes strokes(nullptr);
  strokes.ResetDefaults();
  TSrcEditKeyStroke* item = strokes.Add();
  item->SetCommand(ecUserFirst);
  item->SetShortCut(scCtrl | 'K');
  try {
    item->SetShortCut(scCtrl | 'A');
    ADD_FAILURE() << "Ctrl+A is bound already";
  } catch (const ESrcKeyError& e) {
    EXPECT_EQ("Shortcut already exists", e.Message());
  }
  EXPECT_EQ(scCtrl | 'K', item->ShortCut()) << "a refused shortcut changes nothing";
  EXPECT_NO_THROW(item->SetShortCut(scCtrl | 'K')) << "its own value";
  EXPECT_NO_THROW(strokes.Items(45)->SetShortCut(scCtrl | 'A'));
  EXPECT_NO_THROW(item->SetShortCut2(scCtrl | 'A')) << "Ctrl+K Ctrl+A is new";

  TSrcEditKeyStroke* second = strokes.Add();
  second->SetShortCut(scCtrl | 'K');
  EXPECT_THROW(second->SetShortCut2(scCtrl | 'A'), ESrcKeyError) << "the chord Ctrl+K Ctrl+A exists";
  EXPECT_EQ(0, second->Key2());
}

TEST(KeyStrokesTest, ZeroIsNeverADuplicate) {
  TSrcEditKeyStrokes strokes(nullptr);
  strokes.Add();
  TSrcEditKeyStroke* item = strokes.Add();
  EXPECT_NO_THROW(item->SetShortCut(0));
  EXPECT_NO_THROW(item->SetShortCut2(0));
  EXPECT_EQ("ecNone - ", item->DisplayName());
}

TEST(KeyStrokesTest, DisplayNameOfASingleStroke) {
  TSrcEditKeyStrokes strokes(nullptr);
  strokes.ResetDefaults();
  EXPECT_EQ("ecSelectAll - Ctrl+A ", strokes.Items(45)->DisplayName());
  strokes.Items(45)->SetCommand(1234);
  EXPECT_EQ("1234 - Ctrl+A ", strokes.Items(45)->DisplayName());
}

TEST(KeyStrokesTest, AssignCopiesEveryItemInOrder) {
  TSrcEditKeyStrokes source(nullptr), copy(nullptr);
  source.ResetDefaults();
  TSrcEditKeyStroke* chord = source.Add();
  chord->SetCommand(ecUserFirst);
  chord->SetShortCut(scCtrl | 'K');
  chord->SetShortCut2(scShift | 'B');
  copy.AddKey(ecUndo, 'Q', Ctrl);
  copy.Assign(source);
  ASSERT_EQ(83, copy.Count());
  for (int i = 0; i < copy.Count(); ++i) EXPECT_EQ(source.Items(i)->DisplayName(), copy.Items(i)->DisplayName());
  EXPECT_EQ(TShiftState{ssShift}, copy.Items(82)->Shift2());

  copy.SetItem(0, *chord);
  EXPECT_EQ(ecUserFirst, copy.Items(0)->Command());
  EXPECT_EQ('B', copy.Items(0)->Key2());
  EXPECT_THROW(copy.SetItem(83, *chord), EListError);
}

// ---- stream form ----

std::string SavedBytes(const TSrcEditKeyStrokes& strokes) {
  TMemoryStream stream;
  strokes.SaveToStream(stream);
  return stream.DataString();
}

TMemoryStream StreamOf(const std::string& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  return stream;
}

TEST(KeyStrokesStreamTest, Layout) {
  TSrcEditKeyStrokes strokes(nullptr);
  TSrcEditKeyStroke* chord = strokes.Add();
  chord->SetShortCut(scShift | scCtrl | 'K');
  chord->SetShortCut2(scAlt | VK_F1);
  chord->SetCommand(0x1234);
  strokes.AddKey(ecUndo, VK_BACK, {ssAlt});
  const std::string expected(
      "\x02\x00\x00\x00"                          // count
      "\x4B\x00\x05\x70\x00\x02\x34\x12"          // Shift+Ctrl+K, Alt+F1, 0x1234
      "\x08\x00\x02\x00\x00\x00\x59\x02",         // Alt+BkSp, ecUndo (601)
      4 + 2 * 8);
  EXPECT_EQ(expected, SavedBytes(strokes));

  TMemoryStream one;
  chord->SaveToStream(one);
  EXPECT_EQ(expected.substr(4, 8), one.DataString());
}

TEST(KeyStrokesStreamTest, RoundTripKeepsItemsAndOrder) {
  TSrcEditKeyStrokes strokes(nullptr), loaded(nullptr);
  strokes.ResetDefaults();
  while (strokes.Count() > 10) strokes.Delete(strokes.Count() - 1);
  std::string bytes = SavedBytes(strokes);
  EXPECT_EQ(84u, bytes.size());
  TMemoryStream stream = StreamOf(bytes + "tail");
  loaded.LoadFromStream(stream);
  EXPECT_EQ(84, stream.Position()) << "reading stops after the items";
  EXPECT_EQ(bytes, SavedBytes(loaded));

  strokes.ResetDefaults();
  TMemoryStream all = StreamOf(SavedBytes(strokes));
  loaded.LoadFromStream(all);
  ASSERT_EQ(82, loaded.Count());
  EXPECT_EQ(SavedBytes(strokes), SavedBytes(loaded));

  TSrcEditKeyStroke single(nullptr);
  TMemoryStream item = StreamOf(bytes.substr(4 + 8, 8));
  single.LoadFromStream(item);
  EXPECT_EQ(ecSelUp, single.Command());
  EXPECT_EQ(TShiftState{ssShift}, single.Shift());
}

TEST(KeyStrokesStreamTest, CountsOfZeroOrLessLoadAnEmptyTable) {
  for (const char* count : {"\x00\x00\x00\x00", "\xFF\xFF\xFF\xFF", "\x00\x00\x00\x80"}) {
    TSrcEditKeyStrokes strokes(nullptr);
    strokes.ResetDefaults();
    TMemoryStream stream = StreamOf(std::string(count, 4));
    strokes.LoadFromStream(stream);
    EXPECT_EQ(0, strokes.Count());
  }
}

TEST(KeyStrokesStreamTest, CutOrLyingStreamsLeaveTheTableAsItWas) {
  TSrcEditKeyStrokes source(nullptr);
  source.ResetDefaults();
  const std::string good = SavedBytes(source);
  std::string lying = good;
  lying[0] = 83;  // one item more than there is
  const std::string cases[] = {
      "",
      std::string("\x01\x00", 2),                            // count cut short
      good.substr(0, good.size() - 1),                       // last item cut short
      lying,
      std::string("\xFF\xFF\xFF\x7F", 4) + good.substr(4),  // a count of 2^31-1
      std::string("\x00\x00\x00\x20", 4) + good.substr(4),  // count * 8 wraps 32 bits
  };
  for (const std::string& bytes : cases) {
    TSrcEditKeyStrokes strokes(nullptr);
    strokes.AddKey(ecUserFirst, 'Q', Ctrl);
    strokes.AddKey(ecUndo, 'Z', Ctrl);
    const std::string before = SavedBytes(strokes);
    TMemoryStream stream = StreamOf(bytes);
    try {
      strokes.LoadFromStream(stream);
      ADD_FAILURE() << "loaded " << bytes.size() << " bytes";
    } catch (const EReadError& e) {
      EXPECT_EQ("Stream read error", e.Message());
    }
    EXPECT_EQ(before, SavedBytes(strokes)) << bytes.size();
  }
}

}  // namespace
}  // namespace vk
