#include "SrcEdit/Source/SrcHighlighterMulti.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "SrcEdit/Source/SrcHighlighterErrorWarning.h"
#include "SrcEdit/Source/SrcRegex.h"
#include "tests/SrcEdit/Source/EditorFixture.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

TScheme& AddScheme(TSrcMultiHl& multi, const char* name, const char* start, const char* end,
                   TSrcCustomHighlighter* highlighter, bool caseSensitive = true) {
  TScheme& scheme = *multi.Schemes()->Add();
  scheme.SetSchemeName(name);
  scheme.SetStartExpr(start);
  scheme.SetEndExpr(end);
  scheme.SetCaseSensitive(caseSensitive);
  scheme.SetHighlighter(highlighter);
  return scheme;
}

bool Owns(const TSrcCustomHighlighter& hl, const TSrcHighlighterAttributes* attribute) {
  for (int i = 0; i < hl.GetAttribCount(); ++i)
    if (hl.GetAttribute(i) == attribute) return true;
  return false;
}

// Build output (the default) with embedded C: "<c>".."</c>" with case, and
// "asm{".."}" in any case.
struct TMix {
  TMix() {
    Multi.SetDefaultHighlighter(&Output);
    AddScheme(Multi, "C", "<c>", "</c>", &Avr);
    AddScheme(Multi, "Asm", "asm\\{", "\\}", &Avr, false);
  }

  // Each token as its owner's sign and its text ('.' default text, '#'
  // region text, '@' marker), joined by "|"; the range is carried from line
  // to line.
  std::vector<std::string> Render(const std::vector<std::string>& lines) {
    std::vector<std::string> result;
    Multi.ResetRange();
    for (const std::string& line : lines) {
      std::string text;
      for (Multi.SetLine(line, 0); !Multi.GetEol(); Multi.Next()) {
        const TSrcHighlighterAttributes* attribute = Multi.GetTokenAttribute();
        const char sign = Owns(Output, attribute) ? '.' : Owns(Avr, attribute) ? '#' : attribute ? '@' : '?';
        text += (text.empty() ? "" : "|") + std::string(1, sign) + Multi.GetToken();
      }
      result.push_back(text);
      Multi.SetRange(Multi.GetRange());
    }
    return result;
  }

  TSrcMultiHl Multi{nullptr};
  TErrorWarningHl Output{nullptr};
  TSrcAvrHl Avr{nullptr};
};

struct TStreamCase {
  const char* Name;
  std::vector<std::string> Lines;
  std::vector<std::string> Tokens;
};

void ExpectStreams(TMix& mix, const std::vector<TStreamCase>& cases) {
  for (const TStreamCase& c : cases) EXPECT_EQ(c.Tokens, mix.Render(c.Lines)) << c.Name;
}

TEST(SrcHighlighterMultiTest, RegionsAreHandedToTheSchemeHighlighter) {
  TMix mix;
  ExpectStreams(mix, {
      {"no marker", {"error: x"}, {".error|.:|. |.x"}},
      {"region inside a line", {"a <c>int</c> b"}, {".a|. |@<c>|#int|@</c>|. |.b"}},
      {"markers at both ends", {"<c>x</c>"}, {"@<c>|#x|@</c>"}},
      {"empty region", {"<c></c>z"}, {"@<c>|@</c>|.z"}},
      {"end then start at once", {"<c>a</c><c>b"}, {"@<c>|#a|@</c>|@<c>|#b"}},
      {"nested-looking markers", {"<c>a<c>b</c>c</c>"}, {"@<c>|#a|#<|#c|#>|#b|@</c>|.c|.<|./|.c|.>"}},
      {"across lines", {"x <c>int a;", "", "b</c> y"}, {".x|. |@<c>|#int|# |#a|#;", "", "#b|@</c>|. |.y"}},
      {"default comment resumes after the region", {"/* a <c>int</c> b */ c"},
       {"./* a |@<c>|#int|@</c>|. b */|. |.c"}},
      {"region comment carried", {"<c>/* x", "y */</c>z"}, {"@<c>|#/* x", "#y */|@</c>|.z"}},
      {"any case", {"ASM{nop}"}, {"@ASM{|#nop|@}"}},
      {"with case", {"<C>x"}, {".<|.C|.>|.x"}},
      {"the first scheme wins", {"asm{ <c>"}, {".asm|.{|. |@<c>"}},
      {"marker at the line end", {"x <c>", "y"}, {".x|. |@<c>", "#y"}},
  });
}

// The default text's state waits beside the region's in one highlighter.
TEST(SrcHighlighterMultiTest, OneHighlighterCanColourTheDefaultTextAndTheRegions) {
  TMix mix;
  mix.Multi.SetDefaultHighlighter(&mix.Avr);
  ExpectStreams(mix, {{"comment around a region over two lines",
                       {"/* a <c>int", "y z</c> b */ c"},
                       {"#/* a |@<c>|#int", "#y|# |#z|@</c>|# b */|# |#c"}}});
}

TEST(SrcHighlighterMultiTest, OnlyMatchesOfAtLeastOneCharacterOpenOrClose) {
  const struct {
    const char* Start;
    const char* End;
    const char* Line;
    const char* Tokens;
  } cases[] = {
      {"a*", "z*", "bbaabzz", ".bb|@aa|#b|@zz"},
      {"^", "$", "abc", ".abc"},
      {"x?", "^", "x1", "@x|#1"},
      {"^a", "^b", "aab", "@a|#ab"},  // "^" anchors at the rest of the line after a cut
  };
  for (const auto& c : cases) {
    TMix mix;
    mix.Multi.Schemes()->Clear();
    AddScheme(mix.Multi, "S", c.Start, c.End, &mix.Avr);
    EXPECT_EQ(std::vector<std::string>{c.Tokens}, mix.Render({c.Line})) << c.Start << " " << c.End;
  }
}

// Costly expressions (found by fuzzing): the searches of one line share the
// work of one search, and the split stops, the rest of the line counted as
// no match, once that is spent. ".*.*.*.*=|." backtracks about a million
// times on a run of x before it takes a single x.
TEST(SrcHighlighterMultiTest, TheSearchesOfALineTogetherDoNoMoreThanOneSearchMay) {
  const std::string xs(169, 'x');
  const struct {
    const char* Expression;  // start and end
    std::string Line;
    int Markers;  // 0: fewer than the line's length, the work spent
  } cases[] = {
      {"x", xs, 169},
      {"...*.+......*..", std::string(169, 'a'), 1},
      {".*.*.*.*=|.", xs, 0},
  };
  for (const auto& c : cases) {
    TMix mix;
    mix.Multi.Schemes()->Clear();
    AddScheme(mix.Multi, "S", c.Expression, c.Expression, &mix.Avr);
    mix.Render({c.Line});
    if (c.Markers > 0) {
      EXPECT_EQ(mix.Multi.MarkerCount(), c.Markers) << c.Expression;
    } else {
      EXPECT_LT(mix.Multi.MarkerCount(), static_cast<int>(c.Line.size()) / 4) << c.Expression;
    }
  }
}

TEST(SrcHighlighterMultiTest, SchemesThatCannotOpen) {
  const std::pair<const char*, std::function<void(TMix&, TScheme&)>> cases[] = {
      {"no highlighter", [](TMix&, TScheme& s) { s.SetHighlighter(nullptr); }},
      {"disabled highlighter", [](TMix& m, TScheme&) { m.Avr.SetEnabled(false); }},
      {"no end", [](TMix&, TScheme& s) { s.SetEndExpr(""); }},
      {"its own highlighter", [](TMix& m, TScheme& s) { s.SetHighlighter(&m.Multi); }},
  };
  for (const auto& [name, change] : cases) {
    TMix mix;
    change(mix, *mix.Multi.Schemes()->Items(0));
    EXPECT_EQ(std::vector<std::string>{".<|.c|.>|.x"}, mix.Render({"<c>x"})) << name;
  }
}

struct TChangeCounter : TObject {
  explicit TChangeCounter(int& count) : Count(count) {}
  void Changed(TObject*) { ++Count; }
  TNotifyEvent Event() { return TNotifyEvent(this, &TChangeCounter::Changed); }
  int& Count;
};

struct TMarkerCheck : TObject {
  void Check(TObject* sender, int& startPos, int& markerLen, std::string& markerText, int line) {
    EXPECT_NE(nullptr, dynamic_cast<TSrcMultiHl*>(sender));
    Seen.push_back(Format("%d,%d,%s,%d", startPos, markerLen, markerText.c_str(), line));
    Change(startPos, markerLen, markerText);
  }
  TOnCheckMarker Event() { return TOnCheckMarker(this, &TMarkerCheck::Check); }
  std::function<void(int&, int&, std::string&)> Change;
  std::vector<std::string> Seen;
};

TEST(SrcHighlighterMultiTest, MarkerHandlersAreCheckedAgainstTheLine) {
  const struct {
    const char* Name;
    bool Start;
    std::function<void(int&, int&, std::string&)> Change;
    const char* Tokens;
  } cases[] = {
      {"unchanged", true, [](int&, int&, std::string&) {}, "./*a|@<c>|#b|@</c>|.c*/|.d"},
      // Without its start marker the end marker closes nothing and the
      // default text stays in its comment.
      {"no length", true, [](int&, int& len, std::string&) { len = 0; }, "./*a<c>b|@</c>|.c*/|.d"},
      {"no text", true, [](int&, int&, std::string& text) { text.clear(); }, "./*a<c>b|@</c>|.c*/|.d"},
      {"widened", true, [](int&, int& len, std::string&) { len = 4; }, "./*a|@<c>b|@</c>|.c*/|.d"},
      {"past the line", true, [](int& pos, int&, std::string&) { pos = 100; }, "./*a<c>b|@</c>|.c*/|.d"},
      {"too long", true, [](int&, int& len, std::string&) { len = 1 << 30; }, "./*a<c>b|@</c>|.c*/|.d"},
      {"before the column", true, [](int& pos, int&, std::string&) { pos = 0; }, "./*a<c>b|@</c>|.c*/|.d"},
      {"over the start marker", false, [](int& pos, int&, std::string&) { pos = 3; },
       "./*a|@<c>|#b|#<|#/|#c|#>|#c|#*|#/|#d"},
  };
  for (const auto& c : cases) {
    TMarkerCheck check;
    TMix mix;
    check.Change = c.Change;
    (c.Start ? mix.Multi.Schemes()->Items(0)->OnCheckStartMarker : mix.Multi.Schemes()->Items(0)->OnCheckEndMarker) =
        check.Event();
    EXPECT_EQ(std::vector<std::string>{c.Tokens}, mix.Render({"/*a<c>b</c>c*/d"})) << c.Name;
    EXPECT_EQ(c.Start ? "4,3,<c>,0" : "8,4,</c>,0", check.Seen.at(0)) << c.Name;
  }
}

TEST(SrcHighlighterMultiTest, WithoutADefaultHighlighterTheLineIsOneToken) {
  TMix mix;
  mix.Multi.SetDefaultHighlighter(nullptr);
  mix.Multi.SetLine("a <c>b", 0);
  EXPECT_EQ("a <c>b", mix.Multi.GetToken());
  EXPECT_EQ(nullptr, mix.Multi.GetTokenAttribute());
  mix.Multi.Next();
  EXPECT_TRUE(mix.Multi.GetEol());
  EXPECT_THROW(mix.Multi.GetMarkers(1), EListError);
}

// A highlighter that only keeps a range.
class TRangeStub : public TSrcCustomHighlighter {
public:
  TRangeStub() : TSrcCustomHighlighter(nullptr) {}
  TSrcHighlighterAttributes* GetDefaultAttribute(int) const override { return nullptr; }
  bool GetEol() const override { return true; }
  std::string GetToken() const override { return {}; }
  TSrcHighlighterAttributes* GetTokenAttribute() const override { return nullptr; }
  int GetTokenKind() const override { return 0; }
  int GetTokenPos() const override { return 0; }
  void Next() override {}
  void SetLine(std::string_view, int) override {}
  TSrcEditRange GetRange() const override { return Range; }
  void SetRange(TSrcEditRange range) override { Range = range; }
  void ResetRange() override { Range = 0; }
  TSrcEditRange Range = 0;
};

struct TRangeRig {
  explicit TRangeRig(int schemes) : Stubs(schemes) {
    Multi.SetDefaultHighlighter(&Default);
    for (TRangeStub& stub : Stubs) AddScheme(Multi, "S", "s", "e", &stub);
  }
  // Restores the state from the value and answers whether it packs back to it.
  void ExpectRoundTrip(TSrcEditRange value, int scheme, TSrcEditRange outside, TSrcEditRange inside) {
    SCOPED_TRACE(value);
    Multi.SetRange(value);
    EXPECT_EQ(scheme, Multi.CurrentScheme());
    if (scheme >= 0) {
      EXPECT_EQ(inside, Stubs[scheme].Range);
    }
    if (scheme < 0 || !OnlyActive) {
      EXPECT_EQ(outside, Default.Range);
    }
    EXPECT_EQ(value, Multi.GetRange());
  }
  TRangeStub Default;
  std::vector<TRangeStub> Stubs;
  TSrcMultiHl Multi{nullptr};
  bool OnlyActive = false;
};

TEST(SrcHighlighterMultiTest, TheNewPackingRoundTripsEveryStateAndRaisesWhatDoesNotFit) {
  TRangeRig rig(8);
  for (TSrcEditRange outside : {0, 5, (1 << 25) - 1}) {
    rig.ExpectRoundTrip(outside << 3, -1, outside, 0);
    for (int scheme = 0; scheme <= 6; ++scheme)
      for (TSrcEditRange inside : {0, 15})
        rig.ExpectRoundTrip(outside << 7 | inside << 3 | (scheme + 1), scheme, outside, inside);
  }
  rig.ExpectRoundTrip(TSrcEditRange{(1 << 29) - 1} << 3, -1, (1 << 29) - 1, 0);
  const std::pair<const char*, std::function<void()>> misfits[] = {
      {"scheme 7", [&] { rig.Multi.SetCurrentScheme(7); }},
      {"inner 16", [&] { rig.Multi.SetRange(1), rig.Stubs[0].Range = 16; }},
      {"outer 2^25 inside", [&] { rig.Multi.SetRange(0), rig.Default.Range = 1 << 25, rig.Multi.SetLine("s", 0); }},
      {"outer 2^29", [&] { rig.Multi.SetRange(0), rig.Default.Range = 1 << 29; }},
      {"negative", [&] { rig.Multi.SetRange(0), rig.Default.Range = -1; }},
  };
  for (const auto& [name, setUp] : misfits) {
    setUp();
    EXPECT_THROW(rig.Multi.GetRange(), ESrcMultiHlAssertion) << name;
  }
  // A state stored for a scheme that has gone starts outside a region.
  rig.Multi.Schemes()->Delete(7);
  rig.Multi.Schemes()->Delete(6);
  rig.Multi.SetRange(5 << 7 | 3 << 3 | 7);
  EXPECT_EQ(-1, rig.Multi.CurrentScheme());
  EXPECT_EQ(5 << 3, rig.Multi.GetRange());
}

TEST(SrcHighlighterMultiTest, TheOldPackingRoundTripsTheActiveStateWhenASchemeIsMulti) {
  TRangeRig rig(15);
  rig.OnlyActive = true;
  TRangeStub innerDefault;
  TSrcMultiHl inner(nullptr);
  inner.SetDefaultHighlighter(&innerDefault);
  rig.Multi.Schemes()->Items(0)->SetHighlighter(&inner);
  // Inside a region the default text's state is not kept: it starts afresh.
  rig.Default.Range = 7;
  rig.Multi.SetRange(3);
  EXPECT_EQ(0, rig.Default.Range);
  for (TSrcEditRange range : {0, 255}) {
    rig.ExpectRoundTrip(range << 4 | 1, -1, range, 0);
    for (int scheme = 1; scheme <= 13; ++scheme) rig.ExpectRoundTrip(range << 4 | (scheme + 2), scheme, 0, range);
  }
  const TSrcEditRange wide = TSrcEditRange{(1 << 24) - 1} << 3;  // the inner multi's own packing
  rig.Multi.SetRange(wide << 4 | 2);
  EXPECT_EQ(wide << 4 | 2, rig.Multi.GetRange());
  rig.Multi.SetCurrentScheme(14);
  EXPECT_THROW(rig.Multi.GetRange(), ESrcMultiHlAssertion);
  rig.Multi.SetRange(3);
  rig.Stubs[1].Range = 256;
  EXPECT_THROW(rig.Multi.GetRange(), ESrcMultiHlAssertion);
}

struct TCustomRange : TObject {
  void Handle(TSrcMultiHl* sender, TRangeOperation operation, TSrcEditRange& range) {
    if (operation == roGet) {
      range = (Default->Range << 8) | (sender->CurrentScheme() + 1);
    } else {
      sender->SetCurrentScheme(static_cast<int>(range & 0xFF) - 1);
      Default->SetRange(range >> 8);
    }
  }
  TRangeStub* Default;
};

TEST(SrcHighlighterMultiTest, ACustomRangeHandlerDoesAllThePacking) {
  TRangeRig rig(2);
  TCustomRange custom;
  custom.Default = &rig.Default;
  rig.Multi.SetOnCustomRange(TCustomRangeEvent(&custom, &TCustomRange::Handle));
  for (TSrcEditRange outside : {TSrcEditRange{0}, TSrcEditRange{1} << 40})
    for (int scheme = -1; scheme <= 1; ++scheme) {
      rig.Multi.SetRange(outside << 8 | (scheme + 1));
      EXPECT_EQ(scheme, rig.Multi.CurrentScheme());
      EXPECT_EQ(outside << 8 | (scheme + 1), rig.Multi.GetRange());
    }
  rig.Multi.SetOnCustomRange(nullptr);
  rig.Multi.SetCurrentScheme(-1);
  rig.Default.Range = 3;
  EXPECT_EQ(3 << 3, rig.Multi.GetRange());
}

TEST(SrcHighlighterMultiTest, SubHighlightersAreFollowedUntilTheyGo) {
  int changes = 0;
  TChangeCounter counter(changes);  // outlives the highlighters that call it
  auto avr = std::make_unique<TSrcAvrHl>(nullptr);
  TSrcMultiHl multi(nullptr);
  multi.HookAttrChangeEvent(counter.Event());
  multi.SetDefaultHighlighter(avr.get());
  AddScheme(multi, "A", "<a>", "</a>", avr.get());
  AddScheme(multi, "B", "<b>", "</b>", avr.get());
  multi.Schemes()->Items(0)->SetHighlighter(nullptr);  // the others still name it

  changes = 0;
  avr->CommentAttri()->SetForeground(clRed);
  EXPECT_EQ(1, changes);
  // Markers, then the default's attributes, then each scheme highlighter's.
  const int count = avr->GetAttribCount();
  EXPECT_EQ(2 + 2 * count, multi.GetAttribCount());
  EXPECT_EQ(multi.Schemes()->Items(1)->MarkerAttri(), multi.GetAttribute(1));
  EXPECT_EQ(avr->GetAttribute(0), multi.GetAttribute(2));
  EXPECT_EQ(avr->GetAttribute(0), multi.GetAttribute(2 + count));
  EXPECT_EQ(nullptr, multi.GetAttribute(2 + 2 * count));

  multi.SetLine("x <b>int", 0);
  avr.reset();
  EXPECT_EQ(nullptr, multi.DefaultHighlighter());
  EXPECT_EQ(nullptr, multi.Schemes()->Items(1)->Highlighter());
  EXPECT_TRUE(multi.GetEol());  // the line in hand is given up, not walked on
  multi.SetLine("x <b>int", 0);
  EXPECT_EQ("x <b>int", multi.GetToken());
  EXPECT_THROW(multi.SetDefaultHighlighter(&multi), Exception);
}

TEST(SrcHighlighterMultiTest, ExpressionsAreCheckedAndCaseOnlyEditsAreSilent) {
  const std::pair<const char*, const char*> invalid[] = {
      {"*a", "\"*a\" is not a valid Regular Expression.\rError (pos 1):  ?+*{ Follows Nothing"},
      {"ab*+", "\"ab*+\" is not a valid Regular Expression.\rError (pos 4):  Nested *?+"},
      {"a(", "\"a(\" is not a valid Regular Expression.\rError (pos 2):  ParseReg Unmatched ()"},
  };
  int changes = 0;
  TChangeCounter counter(changes);  // outlives the highlighters that call it
  TMix mix;
  TScheme& scheme = *mix.Multi.Schemes()->Items(1);  // any case
  for (const auto& [expression, message] : invalid) {
    try {
      scheme.SetStartExpr(expression);
      ADD_FAILURE() << expression;
    } catch (const ERegex& e) {
      EXPECT_EQ(message, e.Message());
    }
    EXPECT_EQ("asm\\{", scheme.StartExpr());
  }
  mix.Multi.HookAttrChangeEvent(counter.Event());
  scheme.SetStartExpr("ASM\\{");
  EXPECT_EQ(0, changes);
  EXPECT_EQ("ASM\\{", scheme.StartExpr());
  scheme.SetStartExpr("");
  EXPECT_EQ(1, changes);
}

TEST(SrcHighlighterMultiTest, CopiedSchemesTakeEveryProperty) {
  TMix mix;
  mix.Multi.Schemes()->Items(0)->MarkerAttri()->SetForeground(clRed);
  TMix copy;
  copy.Multi.Schemes()->Clear();
  copy.Multi.SetSchemes(*mix.Multi.Schemes());
  ASSERT_EQ(2, copy.Multi.Schemes()->Count());
  const TScheme& c = *copy.Multi.Schemes()->Items(0);
  EXPECT_EQ("C", c.DisplayName());
  EXPECT_EQ("Marker", c.MarkerAttri()->Name());
  EXPECT_EQ(clRed, c.MarkerAttri()->Foreground());
  EXPECT_FALSE(copy.Multi.Schemes()->Items(1)->CaseSensitive());
  EXPECT_EQ(&mix.Avr, c.Highlighter());
  copy.Multi.SetLine("a<c>b", 0);
  EXPECT_EQ(1, copy.Multi.MarkerCount());
}

class MultiStoreTest : public ::testing::Test {
protected:
  void SetUp() override { setenv("VORNKIT_REGISTRY_DIR", FFolder.Path().c_str(), 1); }
  void TearDown() override { unsetenv("VORNKIT_REGISTRY_DIR"); }
  test::TTempFolder FFolder;
};

TEST_F(MultiStoreTest, EveryPartRoundTripsThroughTheRegistry) {
  const std::string key = "SOFTWARE\\ZE_VAD\\Multi";
  TMix saved;
  for (int i = 0; i < saved.Multi.GetAttribCount(); ++i) saved.Multi.GetAttribute(i)->SetForeground(0x010203 * (i + 1));
  saved.Multi.GetAttribute(1)->SetStyleFromInt(6);
  ASSERT_TRUE(saved.Multi.SaveToRegistry(HKEY_CURRENT_USER, key));

  TMix loaded;
  ASSERT_TRUE(loaded.Multi.LoadFromRegistry(HKEY_CURRENT_USER, key));
  for (int i = 0; i < saved.Multi.GetAttribCount(); ++i) {
    EXPECT_EQ(saved.Multi.GetAttribute(i)->Foreground(), loaded.Multi.GetAttribute(i)->Foreground()) << i;
    EXPECT_EQ(saved.Multi.GetAttribute(i)->Style(), loaded.Multi.GetAttribute(i)->Style()) << i;
  }
  TRegistry reg;
  EXPECT_TRUE(reg.OpenKeyReadOnly(key + "\\Asm\\Marker"));
  EXPECT_TRUE(reg.OpenKeyReadOnly("\\" + key + "\\DefaultHighlighter\\Comment"));

  // Without a default highlighter, or with an unnamed scheme, the result
  // fails but every other part is still loaded.
  TMix partly;
  partly.Multi.SetDefaultHighlighter(nullptr);
  partly.Multi.Schemes()->Items(0)->SetSchemeName("");
  EXPECT_FALSE(partly.Multi.LoadFromRegistry(HKEY_CURRENT_USER, key));
  EXPECT_EQ(saved.Multi.GetAttribute(1)->Foreground(), partly.Multi.GetAttribute(1)->Foreground());
  EXPECT_NE(saved.Multi.GetAttribute(0)->Foreground(), partly.Multi.GetAttribute(0)->Foreground());
}

// Counts the lines the editor has it scan.
class TCountingMultiHl : public TSrcMultiHl {
public:
  using TSrcMultiHl::TSrcMultiHl;
  void SetLine(std::string_view line, int lineIndex) override {
    ++LinesScanned;
    TSrcMultiHl::SetLine(line, lineIndex);
  }
  int LinesScanned = 0;
};

class MultiEditorTest : public test::EditorTest {
protected:
  MultiEditorTest() {
    Multi.SetDefaultHighlighter(&Output);
    AddScheme(Multi, "C", "<c>", "</c>", &Avr);
    Edit.SetHighlighter(&Multi);
  }
  ~MultiEditorTest() override { Edit.SetHighlighter(nullptr); }

  TErrorWarningHl Output{nullptr};
  TSrcAvrHl Avr{nullptr};
  TCountingMultiHl Multi{nullptr};
};

TEST_F(MultiEditorTest, TypingRescansOnlyUntilTheRangesAgreeAgain) {
  SetLines(std::vector<std::string>(100, "int x; /* note */"));
  const struct {
    const char* Name;
    int Line;
    const char* Text;
    int Scanned;
  } steps[] = {
      {"typing outside a region", 7, "int xy;", 1},
      {"opening a region", 5, "error <c> int", 96},
      {"typing inside it", 50, "char c;", 1},
      {"opening a comment inside it", 60, "/* still", 2},
      {"closing the region", 10, "</c> done", 91},
      {"typing behind it", 80, "x", 1},
  };
  for (const auto& s : steps) {
    Multi.LinesScanned = 0;
    Edit.Lines().Put(s.Line - 1, s.Text);
    EXPECT_EQ(s.Scanned, Multi.LinesScanned) << s.Name;
  }
  EXPECT_EQ(0, Edit.Lines().GetRange(99) & 7);  // outside any region at the end
}

}  // namespace
}  // namespace vk
