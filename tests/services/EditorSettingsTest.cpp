#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "services/EditorSettings.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

class EditorSettingsTest : public ::testing::Test {
protected:
  EditorSettingsTest() {
    Edit.SetHighlighter(&Highlighter);
    WriteFirstRunDefaults(Highlighter, "/opt/vk/Vornkit");
  }
  ~EditorSettingsTest() override { Edit.SetHighlighter(nullptr); }

  template <class T>
  void Store(const std::string& key, const std::string& name, T value) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("SOFTWARE\\ZE_VAD\\" + key, true));
    if constexpr (std::is_same_v<T, int>)
      registry.WriteInteger(name, value);
    else
      registry.WriteString(name, value);
  }
  void Remove(const std::string& key, const std::string& name) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("SOFTWARE\\ZE_VAD\\" + key, false));
    registry.DeleteValue(name);
  }
  // Stored values that differ from every editor default.
  void StoreChangedEditorValues() {
    Store("Editor", "Gutter", 0);
    Store("Editor", "GutterLineNumbers", 0);
    Store("Editor", "GutterLineNumbersZero", 1);
    Store("Editor", "GutterWidth", 41);
    Store("Editor", "EditorFont", std::string("DejaVu Sans Mono"));
    Store("Editor", "EditorFontSize", 14);
    Store("Editor", "AutoIndentModeBool", 1);
    Store("Editor", "CursorMoveEolBool", 1);
    Store("Editor", "SmartTabBool", 1);
    Store("Editor", "InserModeBool", 0);
    Store("Editor", "EditorTabstop", std::string("3"));
    Store("Editor", "EditorUndoLimit", std::string("77"));
  }

  test::TRegistryScope Registry;
  test::TFontMetricsScope Metrics;
  TSrcAvrHl Highlighter{nullptr};
  TSrcEdit Edit{nullptr};
};

TEST_F(EditorSettingsTest, EveryStoredValueReachesTheEditorAndTheHighlighter) {
  StoreChangedEditorValues();
  for (int i = 0; i < HighlighterAttrCount; ++i) {
    Store(AttrKeyNames[i], "Foreground Color", 0x010000 * i + 7);
    Store(AttrKeyNames[i], "Background Color", 0x000100 * i + 9);
  }
  Store("KeyAttri", "fsBold", 0);
  Store("KeyAttri", "fsItalic", 1);

  ApplyEditorSettings(Edit, Highlighter);

  EXPECT_FALSE(Edit.Gutter().Visible());
  EXPECT_FALSE(Edit.Gutter().ShowLineNumbers());
  EXPECT_TRUE(Edit.Gutter().ZeroStart());
  EXPECT_EQ(Edit.Gutter().Width(), 41);
  EXPECT_EQ(Edit.Font().Name(), "DejaVu Sans Mono");
  EXPECT_EQ(Edit.Font().Size(), 14);
  EXPECT_TRUE(Edit.Options().Contains(eoAutoIndent));
  EXPECT_TRUE(Edit.Options().Contains(eoScrollPastEol));
  EXPECT_TRUE(Edit.Options().Contains(eoSmartTabs));
  EXPECT_FALSE(Edit.InsertMode());
  EXPECT_EQ(Edit.TabWidth(), 3);
  EXPECT_EQ(Edit.MaxUndo(), 77);
  for (int i = 0; i < HighlighterAttrCount; ++i) {
    EXPECT_EQ(HighlighterAttribute(Highlighter, i).Foreground(), 0x010000 * i + 7) << AttrKeyNames[i];
    EXPECT_EQ(HighlighterAttribute(Highlighter, i).Background(), 0x000100 * i + 9) << AttrKeyNames[i];
  }
  EXPECT_EQ(Highlighter.KeyAttri()->Style(), TFontStyles{fsItalic});
}

TEST_F(EditorSettingsTest, AMissingOrUnusableValueEndsItsKeyAndKeepsTheRest) {
  const struct {
    const char* Name;
    bool Remove;           // else stored as an unusable value
    bool GutterApplied;    // the values before it
    bool FontApplied;      // font name and size
    bool TabWidthApplied;  // tab width and what follows
  } cases[] = {
      {"GutterWidth", true, true, false, false},
      {"EditorFont", true, true, false, false},  // a missing text is no font name
      {"Gutter", false, false, false, false},    // a text where a number belongs
      {"EditorTabstop", false, true, true, false},
      {"EditorUndoLimit", true, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteFirstRunDefaults(Highlighter, "/opt/vk/Vornkit");
    StoreChangedEditorValues();
    if (c.Remove)
      Remove("Editor", c.Name);
    else
      Store("Editor", c.Name, std::string("8x"));
    TSrcEdit edit(nullptr);
    TFont font;
    font.Assign(edit.Font());
    int tabWidth = edit.TabWidth();
    TSrcEditorOptions options = edit.Options();

    ApplyEditorSettings(edit, Highlighter);

    EXPECT_EQ(edit.Gutter().ZeroStart(), c.GutterApplied);
    EXPECT_EQ(edit.Font().Name() == "DejaVu Sans Mono", c.FontApplied);
    TSrcEditorOptions stored = {eoAutoIndent, eoScrollPastEol, eoSmartTabs};
    EXPECT_EQ(edit.Options(), c.FontApplied ? options + stored : options);
    EXPECT_EQ(edit.TabWidth() == 3, c.TabWidthApplied);
    if (!c.TabWidthApplied) {
      EXPECT_EQ(edit.TabWidth(), tabWidth);
    }
    if (!c.FontApplied) {
      EXPECT_EQ(edit.Font().Name(), font.Name());
    }
  }
}

TEST_F(EditorSettingsTest, StoredStyleFlagsSetAndClearBoldAndItalic) {
  const struct {
    int Bold, Italic;  // -1: missing
    TFontStyles Before, After;
  } cases[] = {
      {1, 0, {fsItalic}, {fsBold}},                  // a stored "not italic" clears the default italic
      {0, 0, {fsBold, fsUnderline}, {fsUnderline}},  // styles that are not stored stay
      {1, 1, {}, {fsBold, fsItalic}},
      {1, -1, {fsItalic}, {fsBold, fsItalic}},  // reading stops before italic
  };
  for (const auto& c : cases) {
    Highlighter.CommentAttri()->SetStyle(c.Before);
    Store("CommentAttri", "fsBold", c.Bold);
    if (c.Italic < 0)
      Remove("CommentAttri", "fsItalic");
    else
      Store("CommentAttri", "fsItalic", c.Italic);
    ApplyEditorSettings(Edit, Highlighter);
    EXPECT_EQ(Highlighter.CommentAttri()->Style(), c.After) << c.Bold << c.Italic;
  }
}

TEST_F(EditorSettingsTest, ARegistryWithoutTheKeysChangesNothing) {
  test::TRegistryScope empty;
  TColor comment = Highlighter.CommentAttri()->Foreground();
  int width = Edit.Gutter().Width();
  ApplyEditorSettings(Edit, Highlighter);
  EXPECT_EQ(Highlighter.CommentAttri()->Foreground(), comment);
  EXPECT_EQ(Edit.Gutter().Width(), width);
}

}  // namespace
}  // namespace vk
