#include "services/EditorSettings.h"

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"

namespace vk {

namespace {

// A decimal text such as the tab width is stored as.
std::optional<int> Number(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  try {
    return StrToInt(*text);
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

void ApplyAttribute(TSettingsReader&& key, TSrcHighlighterAttributes& attribute) {
  std::optional<int> foreground = key.Integer(AttributeValue::Foreground);
  if (!foreground) return;
  attribute.SetForeground(*foreground);
  std::optional<int> background = key.Integer(AttributeValue::Background);
  if (!background) return;
  attribute.SetBackground(*background);
  // Each flag sets or clears its own style, so a stored "not italic" also
  // clears an italic the attribute started with; underline and strike-out
  // are not stored and stay.
  for (auto [name, style] : {std::pair{AttributeValue::Bold, fsBold}, std::pair{AttributeValue::Italic, fsItalic}}) {
    std::optional<bool> on = key.Bool(name);
    if (!on) return;
    TFontStyles styles = attribute.Style();
    *on ? styles.Include(style) : styles.Exclude(style);
    attribute.SetStyle(styles);
  }
}

void SetOption(TCustomSrcEdit& editor, TSrcEditorOption option, bool on) {
  TSrcEditorOptions options = editor.Options();
  on ? options.Include(option) : options.Exclude(option);
  editor.SetOptions(options);
}

void ApplyEditorKey(TSettingsReader&& key, TCustomSrcEdit& editor) {
  using namespace EditorValue;
  TSrcGutter& gutter = editor.Gutter();
  for (auto [name, setter] :
       {std::pair{Gutter, &TSrcGutter::SetVisible}, std::pair{GutterLineNumbers, &TSrcGutter::SetShowLineNumbers},
        std::pair{GutterLineNumbersZero, &TSrcGutter::SetZeroStart}}) {
    std::optional<bool> on = key.Bool(name);
    if (!on) return;
    (gutter.*setter)(*on);
  }
  std::optional<int> width = key.Integer(GutterWidth);
  if (!width) return;
  gutter.SetWidth(*width);

  std::optional<std::string> fontName = key.String(EditorFont);
  if (!fontName) return;
  TFont font;
  font.Assign(editor.Font());
  if (!fontName->empty()) font.SetName(*fontName);
  std::optional<int> fontSize = key.Integer(EditorFontSize);
  if (fontSize && *fontSize >= 1) font.SetSize(*fontSize);
  editor.SetFont(font);
  if (!fontSize) return;

  for (auto [name, option] : {std::pair{AutoIndentModeBool, eoAutoIndent},
                              std::pair{CursorMoveEolBool, eoScrollPastEol}, std::pair{SmartTabBool, eoSmartTabs}}) {
    std::optional<bool> on = key.Bool(name);
    if (!on) return;
    SetOption(editor, option, *on);
  }
  std::optional<bool> insertMode = key.Bool(InserModeBool);
  if (!insertMode) return;
  editor.SetInsertMode(*insertMode);
  std::optional<int> tabWidth = Number(key.String(EditorTabstop));
  if (!tabWidth) return;
  editor.SetTabWidth(*tabWidth);
  std::optional<int> undoLimit = Number(key.String(EditorUndoLimit));
  if (!undoLimit) return;
  editor.SetMaxUndo(*undoLimit);
}

}  // namespace

void ApplyEditorSettings(TCustomSrcEdit& editor, TSrcAvrHl& highlighter) {
  ApplyAttributeSettings(highlighter);
  ApplyEditorKeySettings(editor);
}

void ApplyAttributeSettings(TSrcAvrHl& highlighter) {
  for (int i = 0; i < HighlighterAttrCount; ++i)
    ApplyAttribute(TSettingsReader(AttrKeyNames[i]), HighlighterAttribute(highlighter, i));
}

void ApplyEditorKeySettings(TCustomSrcEdit& editor) {
  ApplyEditorKey(TSettingsReader(AttrKeyNames[EditorKeyIndex]), editor);
}

}  // namespace vk
