#include "SrcEdit/Source/SrcEditHighlighter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "platform/IniFiles.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

// A highlighter with named attributes whose tokens are single characters.
class TTestHl : public TSrcCustomHighlighter {
public:
  explicit TTestHl(TComponent* owner, std::vector<std::string> names = {"Alpha", "Beta", "Gamma"})
      : TSrcCustomHighlighter(owner) {
    for (const std::string& name : names) AddAttribute(std::make_unique<TSrcHighlighterAttributes>(name));
    SetAttributesOnChange(DefHighlightChangeEvent());
  }
  std::string ClassName() const override { return "TSrcTestHl"; }
  static std::string GetLanguageName() { return "Test"; }

  TSrcHighlighterAttributes* GetDefaultAttribute(int index) const override { return GetAttribute(index); }
  bool GetEol() const override { return FPos >= FLine.size(); }
  std::string GetToken() const override { return std::string(FLine.substr(FPos, 1)); }
  TSrcHighlighterAttributes* GetTokenAttribute() const override { return nullptr; }
  int GetTokenKind() const override { return 0; }
  int GetTokenPos() const override { return static_cast<int>(FPos); }
  void Next() override { ++FPos; }
  void SetLine(std::string_view line, int) override {
    FLine = line;
    FPos = 0;
  }
  TSrcHighlighterAttributes* Attr(const std::string& name) const {
    for (int i = 0; i < GetAttribCount(); ++i)
      if (GetAttribute(i)->Name() == name) return GetAttribute(i);
    return nullptr;
  }

protected:
  std::string GetLanguageNameProp() const override { return GetLanguageName(); }

private:
  std::string_view FLine;
  size_t FPos = 0;
};

class TOtherHl : public TTestHl {
public:
  using TTestHl::TTestHl;
  std::string ClassName() const override { return "TOtherHl"; }
};

// A highlighter made of others, as a multi-language highlighter is.
class TCompositeHl : public TTestHl {
public:
  explicit TCompositeHl(TComponent* owner) : TTestHl(owner, {}) {}
  std::string ClassName() const override { return "TSrcMultiHl"; }
  std::optional<TSrcHighlighterComposition> GetComposition() const override { return Parts; }
  TSrcHighlighterComposition Parts;
};

struct TListener : TObject {
  void Changed(TObject* sender) {
    ++Count;
    Sender = sender;
  }
  TNotifyEvent Event() { return TNotifyEvent(this, &TListener::Changed); }
  int Count = 0;
  TObject* Sender = nullptr;
};

// ------------------------------------------------------------ attributes

TEST(SrcEditHighlighterTest, AttributeSettersNotifyOnlyOnRealChanges) {
  TSrcHighlighterAttributes attr("Comment");
  TListener listener;
  attr.OnChange = listener.Event();
  EXPECT_EQ(clNone, attr.Background());
  EXPECT_EQ(clNone, attr.Foreground());
  EXPECT_TRUE(attr.Style().Empty());

  attr.SetForeground(clNone);
  attr.SetBackground(clNone);
  attr.SetStyle({});
  EXPECT_EQ(0, listener.Count);
  attr.SetForeground(clRed);
  EXPECT_EQ(1, listener.Count);
  EXPECT_EQ(&attr, listener.Sender);
  attr.SetBackground(clBlue);
  attr.SetStyle({fsBold});
  attr.SetStyle({fsBold});
  EXPECT_EQ(3, listener.Count);

  TSrcHighlighterAttributes source("Other");
  source.SetForeground(clGreen);
  source.SetBackground(clYellow);
  source.SetStyle({fsItalic});
  attr.AssignColorAndStyle(source);
  EXPECT_EQ(4, listener.Count);  // three values, one notification
  attr.AssignColorAndStyle(source);
  EXPECT_EQ(4, listener.Count);
  EXPECT_EQ("Comment", attr.Name());
  attr.Assign(source);
  EXPECT_EQ("Other", attr.Name());
  EXPECT_EQ(4, listener.Count);

  TStringList notAnAttribute;
  EXPECT_THROW(attr.Assign(notAnAttribute), EConvertError);
}

TEST(SrcEditHighlighterTest, StyleAsAnInteger) {
  const struct {
    TFontStyles Before;
    int Value;
    TFontStyles After;
    int MaxNotifications;
  } cases[] = {
      {{}, 15, {fsBold, fsItalic, fsUnderline, fsStrikeOut}, 4},
      {{fsItalic, fsStrikeOut}, 0, {}, 1},
      {{}, 5, {fsBold, fsUnderline}, 2},
      {{fsBold, fsItalic}, 1, {fsBold}, 1},
      {{fsBold}, 1, {fsBold}, 0},
  };
  for (const auto& c : cases) {
    TSrcHighlighterAttributes attr("A");
    attr.SetStyle(c.Before);
    TListener listener;
    attr.OnChange = listener.Event();
    attr.SetStyleFromInt(c.Value);
    EXPECT_EQ(c.After, attr.Style()) << c.Value;
    EXPECT_EQ(c.Value, attr.GetStyleFromInt());
    EXPECT_LE(listener.Count, c.MaxNotifications) << c.Value;
    EXPECT_EQ(c.Before != c.After, listener.Count > 0) << c.Value;
  }
}

TEST(SrcEditHighlighterTest, OnlyValuesThatDifferFromTheRecordedDefaultsAreStored) {
  TSrcHighlighterAttributes attr("A");
  attr.SetForeground(clRed);
  attr.InternalSaveDefaultValues();
  EXPECT_FALSE(attr.GetForegroundColorStored() || attr.GetBackgroundColorStored() || attr.GetFontStyleStored());
  attr.SetForeground(clBlue);
  EXPECT_TRUE(attr.GetForegroundColorStored());
  EXPECT_FALSE(attr.GetBackgroundColorStored() || attr.GetFontStyleStored());
}

// ------------------------------------------------------------ notification

TEST(SrcEditHighlighterTest, AttributeChangesReachEveryHookedListener) {
  TTestHl hl(nullptr);
  TListener first, second;
  hl.HookAttrChangeEvent(first.Event());
  hl.HookAttrChangeEvent(second.Event());
  hl.Attr("Beta")->SetForeground(clRed);
  EXPECT_EQ(1, first.Count);
  EXPECT_EQ(1, second.Count);
  EXPECT_EQ(hl.Attr("Beta"), first.Sender);

  hl.UnhookAttrChangeEvent(first.Event());
  hl.SetEnabled(true);  // unchanged: silent
  hl.SetEnabled(false);
  EXPECT_EQ(1, first.Count);
  EXPECT_EQ(2, second.Count);
  EXPECT_EQ(nullptr, second.Sender);
}

TEST(SrcEditHighlighterTest, UpdatesNestAndMergeIntoOneNotification) {
  TTestHl hl(nullptr);
  TListener listener;
  hl.HookAttrChangeEvent(listener.Event());

  hl.EndUpdate();  // without BeginUpdate: nothing
  EXPECT_EQ(0, listener.Count);
  hl.BeginUpdate();
  hl.BeginUpdate();
  hl.Attr("Alpha")->SetForeground(clRed);
  hl.Attr("Gamma")->SetBackground(clBlue);
  hl.EndUpdate();
  EXPECT_EQ(0, listener.Count);
  hl.EndUpdate();
  EXPECT_EQ(1, listener.Count);
  EXPECT_EQ(nullptr, listener.Sender);

  {
    TSrcHighlighterUpdate update(hl);  // nothing changes: nothing sent
  }
  EXPECT_EQ(1, listener.Count);
  try {
    TSrcHighlighterUpdate update(hl);
    hl.Attr("Alpha")->SetForeground(clGreen);
    throw Exception("failed midway");
  } catch (const Exception&) {
  }
  EXPECT_EQ(2, listener.Count);  // the bracket closed as the exception passed
  hl.Attr("Alpha")->SetForeground(clLime);
  EXPECT_EQ(3, listener.Count);
}

TEST(SrcEditHighlighterTest, SilentWhileLoadingAndOneNotificationWhenLoaded) {
  TTestHl hl(nullptr);
  TListener listener;
  hl.HookAttrChangeEvent(listener.Event());
  hl.BeginLoading();
  hl.Attr("Alpha")->SetForeground(clRed);
  hl.SetEnabled(false);
  EXPECT_EQ(0, listener.Count);
  hl.Loaded();
  EXPECT_EQ(1, listener.Count);
  EXPECT_EQ(nullptr, listener.Sender);
}

// An editor that drops its highlighter when the highlighter goes away.
class TEditorLike : public TComponent {
public:
  explicit TEditorLike(TSrcCustomHighlighter* hl) : TComponent(nullptr), FHl(hl) {
    FHl->HookAttrChangeEvent(FListener.Event());
    FHl->FreeNotification(this);
  }
  bool HasHighlighter() const { return FHl != nullptr; }

protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FHl) {
      FHl->UnhookAttrChangeEvent(FListener.Event());  // the chain must still exist
      FHl = nullptr;
    }
  }

private:
  TSrcCustomHighlighter* FHl;
  TListener FListener;
};

TEST(SrcEditHighlighterTest, EditorsAreToldAndUnhookBeforeTheHighlighterIsTornDown) {
  auto hl = std::make_unique<TTestHl>(nullptr);
  TEditorLike editor(hl.get());
  hl.reset();
  EXPECT_FALSE(editor.HasHighlighter());
}

// ------------------------------------------------------------ attribute list

TEST(SrcEditHighlighterTest, AttributesAreKeptByNameAndADuplicateIsRefusedAndFreed) {
  TTestHl hl(nullptr, {"Gamma", "alpha", "Beta"});
  ASSERT_EQ(3, hl.GetAttribCount());
  EXPECT_EQ("alpha", hl.GetAttribute(0)->Name());
  EXPECT_EQ("Beta", hl.GetAttribute(1)->Name());
  EXPECT_EQ("Gamma", hl.GetAttribute(2)->Name());
  EXPECT_EQ(nullptr, hl.GetAttribute(-1));
  EXPECT_EQ(nullptr, hl.GetAttribute(3));

  // The sanitizer build reports the refused attribute if it leaks.
  try {
    hl.AddAttribute(std::make_unique<TSrcHighlighterAttributes>("Beta"));
    ADD_FAILURE() << "a duplicate was accepted";
  } catch (const EListError& e) {
    EXPECT_EQ("String list does not allow duplicates", e.Message());
  }
  EXPECT_THROW(hl.AddAttribute(std::make_unique<TSrcHighlighterAttributes>("ALPHA")), EListError);
  EXPECT_EQ(3, hl.GetAttribCount());

  hl.FreeHighlighterAttributes();
  EXPECT_EQ(0, hl.GetAttribCount());
}

TEST(SrcEditHighlighterTest, BaseDefaults) {
  TTestHl hl(nullptr, {});
  EXPECT_TRUE(hl.Enabled());
  EXPECT_EQ("", hl.GetDefaultFilter());
  EXPECT_EQ("", hl.GetSampleSource());
  EXPECT_EQ(0, hl.GetRange());
  EXPECT_FALSE(hl.IsKeyword("if"));
  EXPECT_EQ(TSrcHighlighterCapabilities{hcRegistry}, hl.Capabilities());
  EXPECT_EQ("Test", hl.LanguageName());
  EXPECT_EQ("<Unknown>", TSrcCustomHighlighter::GetLanguageName());

  const std::string breaks = "!\"'()*+,-./:;=?[\\]^{|}";
  int count = 0;
  for (int c = 0; c < 256; ++c) {
    const bool isBreak = hl.WordBreakChars().Contains(static_cast<unsigned char>(c));
    count += isBreak;
    EXPECT_EQ(c != 0 && breaks.find(static_cast<char>(c)) != std::string::npos, isBreak) << c;
    EXPECT_EQ(c >= 33, hl.GetIdentChars().Contains(static_cast<unsigned char>(c))) << c;
  }
  EXPECT_EQ(22, count);

  TStringList settings;
  settings.Add("x");
  hl.EnumUserSettings(settings);
  EXPECT_EQ(0, settings.Count());

  hl.SetLine("abc", 0);
  hl.NextToEol();
  EXPECT_TRUE(hl.GetEol());
  EXPECT_EQ(3, hl.GetTokenPos());
}

TEST(SrcEditHighlighterTest, AssignCopiesNamesakesAndSettings) {
  TTestHl target(nullptr, {"Alpha", "Beta"});
  TOtherHl source(nullptr, {"Beta", "Delta"});
  source.Attr("Beta")->SetForeground(clRed);
  source.Attr("Delta")->SetForeground(clBlue);
  source.SetDefaultFilter("*.x");
  source.SetEnabled(false);
  TSrcIdentChars breaks(";");
  source.SetWordBreakChars(breaks);

  TListener listener;
  target.HookAttrChangeEvent(listener.Event());
  target.Assign(source);
  EXPECT_EQ(clRed, target.Attr("Beta")->Foreground());
  EXPECT_EQ(clNone, target.Attr("Alpha")->Foreground());
  EXPECT_EQ("*.x", target.GetDefaultFilter());
  EXPECT_FALSE(target.Enabled());
  EXPECT_EQ(breaks, target.WordBreakChars());
  EXPECT_EQ(2, listener.Count);  // Beta's change and Enabled

  TSrcHighlighterAttributes notAHighlighter("A");
  EXPECT_THROW(target.Assign(notAHighlighter), EConvertError);
}

// ------------------------------------------------------------ stores

class HighlighterStoreTest : public ::testing::Test {
protected:
  void SetUp() override { setenv("VORNKIT_REGISTRY_DIR", FFolder.Path().c_str(), 1); }
  void TearDown() override { unsetenv("VORNKIT_REGISTRY_DIR"); }

  // Colours and styles that differ from every default.
  static void Paint(TSrcCustomHighlighter& hl) {
    for (int i = 0; i < hl.GetAttribCount(); ++i) {
      hl.GetAttribute(i)->SetForeground(0x010203 * (i + 1));
      hl.GetAttribute(i)->SetBackground(0x300000 + i);
      hl.GetAttribute(i)->SetStyleFromInt(i % 16);
    }
  }
  static void ExpectSame(const TSrcCustomHighlighter& a, const TSrcCustomHighlighter& b, const std::string& except = "") {
    ASSERT_EQ(a.GetAttribCount(), b.GetAttribCount());
    for (int i = 0; i < a.GetAttribCount(); ++i) {
      const TSrcHighlighterAttributes* x = a.GetAttribute(i);
      const TSrcHighlighterAttributes* y = b.GetAttribute(i);
      const bool same = x->Foreground() == y->Foreground() && x->Background() == y->Background() &&
                        x->Style() == y->Style();
      EXPECT_EQ(x->Name() != except, same) << x->Name();
    }
  }

  test::TTempFolder FFolder;
};

TEST_F(HighlighterStoreTest, RegistryRoundTripAndAMissingSubkey) {
  const std::string key = "SOFTWARE\\ZE_VAD\\Colors";
  TSrcAvrHl saved(nullptr);
  Paint(saved);
  ASSERT_TRUE(saved.SaveToRegistry(HKEY_CURRENT_USER, key));

  TSrcAvrHl loaded(nullptr);
  TListener listener;
  loaded.HookAttrChangeEvent(listener.Event());
  ASSERT_TRUE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, key));
  ExpectSame(saved, loaded);
  EXPECT_GT(listener.Count, 0);

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(key, false));
  ASSERT_TRUE(reg.OpenKey("Comment", false));
  EXPECT_EQ(saved.CommentAttri()->Foreground(), reg.ReadInteger("Foreground"));
  EXPECT_EQ(saved.CommentAttri()->GetStyleFromInt(), reg.ReadInteger("Style"));
  ASSERT_TRUE(reg.DeleteKey("\\" + key + "\\Comment"));

  TSrcAvrHl partly(nullptr);
  EXPECT_FALSE(partly.LoadFromRegistry(HKEY_CURRENT_USER, key));
  ExpectSame(saved, partly, "Comment");

  TSrcAvrHl none(nullptr);
  EXPECT_FALSE(none.LoadFromRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Missing"));

  TTestHl empty(nullptr, {});
  EXPECT_TRUE(empty.LoadFromRegistry(HKEY_CURRENT_USER, key));
  EXPECT_FALSE(empty.LoadFromRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Missing"));
}

TEST_F(HighlighterStoreTest, AnAttributeLeavesTheRegistryAtTheKeyItFoundAndKeepsWhatIsMissing) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\T\\Beta", true));
  reg.WriteInteger("Foreground", clRed);  // no Background, no Style
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\T"));

  TSrcHighlighterAttributes beta("Beta");
  beta.SetBackground(clAqua);
  beta.SetStyle({fsItalic});
  EXPECT_TRUE(beta.LoadFromRegistry(reg));
  EXPECT_EQ(clRed, beta.Foreground());
  EXPECT_EQ(clAqua, beta.Background());
  EXPECT_EQ(TFontStyles{fsItalic}, beta.Style());
  EXPECT_EQ("SOFTWARE\\T", reg.CurrentPath());

  TSrcHighlighterAttributes gamma("Gamma");
  EXPECT_FALSE(gamma.LoadFromRegistry(reg));
  EXPECT_EQ("SOFTWARE\\T", reg.CurrentPath());
}

TEST_F(HighlighterStoreTest, IniRoundTripAndAMissingSection) {
  const std::string file = FFolder.File("colors.ini");
  TTestHl saved(nullptr);
  saved.Attr("Alpha")->SetForeground(clRed);
  saved.Attr("Alpha")->SetStyle({fsBold, fsItalic});
  saved.Attr("Beta")->SetBackground(clBlue);
  ASSERT_TRUE(saved.SaveToFile(file));

  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(std::string::npos, text.str().find("[Alpha]\nBackground=536870911\nForeground=255\nStyle=3\n"))
      << text.str();

  TTestHl loaded(nullptr);
  ASSERT_TRUE(loaded.LoadFromFile(file));
  ExpectSame(saved, loaded);

  {
    TIniFile ini(file);
    ini.EraseSection("Beta");
    ini.DeleteKey("Gamma", "Foreground");
    ini.WriteInteger("Gamma", "Style", 4);
  }
  TTestHl partly(nullptr);
  partly.Attr("Beta")->SetForeground(clLime);
  partly.Attr("Gamma")->SetForeground(clLime);
  EXPECT_FALSE(partly.LoadFromFile(file));
  EXPECT_EQ(clRed, partly.Attr("Alpha")->Foreground());
  EXPECT_EQ(clLime, partly.Attr("Beta")->Foreground());   // no section: untouched
  EXPECT_EQ(clLime, partly.Attr("Gamma")->Foreground());  // no key: untouched
  EXPECT_EQ(TFontStyles{fsUnderline}, partly.Attr("Gamma")->Style());

  TTestHl none(nullptr);
  EXPECT_FALSE(none.LoadFromFile(FFolder.File("missing.ini")));
}

TEST_F(HighlighterStoreTest, ForeignOldLayoutParsesEveryFieldBeforeApplyingAny) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Old", true));
  const struct {
    const char* Text;
    bool Loads;
    TColor Foreground;
    TColor Background;
    TFontStyles Style;
  } cases[] = {
      {"a,b,BIU,0,0,9,12", true, clRed, clBlue, {fsBold, fsItalic, fsUnderline}},
      {"a,b,,1,1", true, clWindowText, clWindow, {}},
      {"a,b,xIx,0,1,15", true, clWhite, clWindow, {fsItalic}},
      {"a,b,B,0,1,16,0", false, clNone, clNone, {fsStrikeOut}},
      {"a,b,B,1,0,0,-1", false, clNone, clNone, {fsStrikeOut}},
      {"a,b,B,0,1,,0", false, clNone, clNone, {fsStrikeOut}},
      {"a,b,B,0,0,3", false, clNone, clNone, {fsStrikeOut}},
  };
  for (const auto& c : cases) {
    reg.WriteString("Comment", c.Text);
    TSrcHighlighterAttributes attr("Comment");
    attr.SetStyle({fsStrikeOut});
    EXPECT_EQ(c.Loads, attr.LoadFromForeignRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Old", "Comment", true)) << c.Text;
    EXPECT_EQ(c.Foreground, attr.Foreground()) << c.Text;
    EXPECT_EQ(c.Background, attr.Background()) << c.Text;
    EXPECT_EQ(c.Style, attr.Style()) << c.Text;
  }
  TSrcHighlighterAttributes attr("Comment");
  EXPECT_FALSE(attr.LoadFromForeignRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Old", "Missing", true));
  EXPECT_FALSE(attr.LoadFromForeignRegistry(HKEY_CURRENT_USER, "SOFTWARE\\Nowhere", "Comment", true));
}

TEST_F(HighlighterStoreTest, ForeignNewLayout) {
  auto write = [](const char* foreground, int foregroundIndex, const char* omit) {
    TRegistry reg;
    reg.DeleteKey("\\SOFTWARE\\New");
    EXPECT_TRUE(reg.OpenKey("\\SOFTWARE\\New\\Comment", true));
    if (foreground) reg.WriteString("Foreground Color New", foreground);
    else reg.WriteInteger("Foreground Color", foregroundIndex);
    reg.WriteString("Background Color New", "clYellow");
    const std::pair<const char*, const char*> flags[] = {{"Bold", "True"},
                                                         {"Italic", "false"},
                                                         {"Underline", "yes"},
                                                         {"Default Foreground", "0"},
                                                         {"Default Background", "FALSE"}};
    for (const auto& [name, value] : flags)
      if (std::string(name) != omit) reg.WriteString(name, value);
  };
  auto load = [](TSrcHighlighterAttributes& attr) {
    return attr.LoadFromForeignRegistry(HKEY_CURRENT_USER, "SOFTWARE\\New", "Comment", false);
  };

  write(nullptr, 9, "");
  TSrcHighlighterAttributes attr("A");
  ASSERT_TRUE(load(attr));
  EXPECT_EQ(clRed, attr.Foreground());
  EXPECT_EQ(clYellow, attr.Background());
  EXPECT_EQ((TFontStyles{fsBold, fsUnderline}), attr.Style());

  write("clAqua", 0, "");
  ASSERT_TRUE(load(attr));
  EXPECT_EQ(clAqua, attr.Foreground());

  for (const auto& [foreground, index, omit] : {std::tuple<const char*, int, const char*>{nullptr, 16, ""},
                                                {nullptr, -1, ""},
                                                {"not a colour", 0, ""},
                                                {nullptr, 3, "Italic"},
                                                {nullptr, 3, "Default Background"}}) {
    write(foreground, index, omit);
    TSrcHighlighterAttributes untouched("A");
    EXPECT_FALSE(load(untouched)) << index << omit;
    EXPECT_EQ(clNone, untouched.Foreground());
    EXPECT_EQ(clNone, untouched.Background());
  }
}

// ------------------------------------------------------------ placeable highlighters

TEST(SrcEditHighlighterTest, PlaceableHighlightersAreRegisteredOnce) {
  TSrcHighlighterList& list = GetPlaceableHighlighters();
  const int before = list.Count();
  RegisterPlaceableHighlighter(HighlighterClass<TOtherHl>());
  RegisterPlaceableHighlighter(HighlighterClass<TTestHl>());
  RegisterPlaceableHighlighter(HighlighterClass<TOtherHl>());
  ASSERT_EQ(before + 2, list.Count());
  EXPECT_EQ(HighlighterClass<TOtherHl>(), list.GetItem(before));

  TTestHl test(nullptr);
  TOtherHl other(nullptr);
  TComponent plain(nullptr);
  EXPECT_EQ(before + 1, list.FindByClass(&test));
  EXPECT_EQ(before, list.FindByClass(&other));  // TOtherHl comes first and is itself
  EXPECT_EQ(-1, list.FindByClass(&plain));
  EXPECT_EQ(before, list.FindByName("Test"));  // the first class of that name
  EXPECT_EQ(-1, list.FindByName("test"));
  EXPECT_THROW(list.GetItem(list.Count()), EListError);
  EXPECT_THROW(list.GetItem(-1), EListError);
}

// ------------------------------------------------------------ attribute walk

std::vector<std::string> Walk(TSrcCustomHighlighter* hl, bool skipDuplicates, int stopAfter = 1000) {
  std::vector<std::string> names;
  EnumHighlighterAttris(hl, skipDuplicates, [&](TSrcCustomHighlighter*, TSrcHighlighterAttributes*,
                                                const std::string& name) {
    names.push_back(name);
    return static_cast<int>(names.size()) < stopAfter;
  });
  return names;
}

TEST(SrcEditHighlighterTest, EnumHighlighterAttrisNamesEveryAttributeOfTheTree) {
  TTestHl plain(nullptr, {"B", "A"});
  EXPECT_EQ((std::vector<std::string>{"Test1.A", "Test1.B"}), Walk(&plain, true));
  EXPECT_EQ((std::vector<std::string>{"Test1.A"}), Walk(&plain, true, 1));
  EXPECT_FALSE(EnumHighlighterAttris(nullptr, true, [](auto*, auto*, const std::string&) { return true; }));
  EXPECT_FALSE(EnumHighlighterAttris(&plain, true, nullptr));
  EXPECT_FALSE(EnumHighlighterAttris(&plain, true, [](auto*, auto*, const std::string&) { return false; }));
  TTestHl empty(nullptr, {});
  EXPECT_TRUE(EnumHighlighterAttris(&empty, true, [](auto*, auto*, const std::string&) { return false; }));

  TSrcAvrHl avr(nullptr);
  EXPECT_EQ("Avr1.Assembler", Walk(&avr, true).front());

  TTestHl second(nullptr, {"C"});
  TSrcHighlighterAttributes marker1("Marker"), marker2("Marker");
  TCompositeHl multi(nullptr);
  multi.Parts = {&plain, {{&marker1, &second}, {&marker2, &plain}, {nullptr, nullptr}}};
  EXPECT_EQ((std::vector<std::string>{"Test1.A", "Test1.B", "Multi1.Marker1", "Test2.C", "Multi1.Marker2"}),
            Walk(&multi, true));
  EXPECT_EQ((std::vector<std::string>{"Test1.A", "Test1.B", "Multi1.Marker1", "Test2.C", "Multi1.Marker2", "Test1.A",
                                      "Test1.B"}),
            Walk(&multi, false));
  EXPECT_EQ((std::vector<std::string>{"Test1.A", "Test1.B", "Multi1.Marker1"}), Walk(&multi, true, 3));
}

}  // namespace
}  // namespace vk
