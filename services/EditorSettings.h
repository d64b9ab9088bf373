#pragma once
// Applies the stored settings to a document editor and to the shared C-for-AVR
// highlighter: done on every showing of a document window, so a change made
// in the settings dialog reaches every open document.

namespace vk {

class TCustomSrcEdit;
class TSrcAvrHl;

// Reads the 13 attribute keys into the highlighter (colours, bold, italic)
// and the editor key into the editor (gutter, font, options, insert mode,
// tab width, undo limit). Each key is read in order until a value is missing,
// of another kind or no number: what was applied stays, the rest keeps the
// current state, and the next key is read. Nothing is reported.
// The document window sets its line-number menu check from the gutter's
// visibility afterwards.
void ApplyEditorSettings(TCustomSrcEdit& editor, TSrcAvrHl& highlighter);
// The two halves: the attribute keys alone (the settings dialog's preview
// starts from them), and the editor key alone (the settings dialog's OK
// brings the open documents' editors up to date with it).
void ApplyAttributeSettings(TSrcAvrHl& highlighter);
void ApplyEditorKeySettings(TCustomSrcEdit& editor);

}  // namespace vk
