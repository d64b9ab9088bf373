#pragma once
// The editing commands that the main window and the document windows both
// offer, on one editor: block comments around the selection, the separator
// line, zooming the font, and inserting whole lines. Every change is one
// step that undo takes back, goes to its buffer position however long the
// line, and marks the document modified.

#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditTypes.h"

namespace vk {

class TCustomSrcEdit;

// Where the selected bytes begin and where they end, in text order: whole
// lines run to the start of the line after them (their break is selected),
// a column block from its left edge on its first line to its right edge on
// its last one (or the line's end, where the line ends before the edge).
// Without a selection both are the caret.
struct TSelectedRun {
  TBufferCoord First, Last;
};
TSelectedRun SelectedRun(const TCustomSrcEdit& editor);

// Puts "/*" before the selected bytes and "*/" after them (an empty
// selection gives an empty comment at the caret; after a selected line
// break the end mark begins the next line); the caret ends after the
// comment. No other byte changes, line breaks included.
void CommentInSelection(TCustomSrcEdit& editor);
// Takes the marks off a selection framed as "/*" ... "*/", leaving every
// byte between them; a selection that ends with a line break is framed
// too when the next line begins with "*/", so that it undoes what comment
// in made. False, with the text unchanged, for any other selection, also
// one whose marks overlap ("/*/"): the caller shows CommentIncorrectText.
bool CommentOutSelection(TCustomSrcEdit& editor);
inline constexpr const char* CommentIncorrectText = "Comment are incorrect!";

// "//" and 78 "-": 80 characters.
std::string SeparatorLine();
// On the line (1-based): an empty line becomes the separator, below any
// other the separator is added. Lines below 1 or past the text are left
// alone; the caret stays where it is.
void InsertSeparatorLine(TCustomSrcEdit& editor, int line);

// The editor's font grows or shrinks by points, never below 1 point.
void ZoomEditorFont(TCustomSrcEdit& editor, int points);

// Inserts the lines before the 0-based index (at the end of a text shorter
// than that), keeping the caret on its text and the selection mode.
void InsertEditorLines(TCustomSrcEdit& editor, int index, const std::vector<std::string>& lines);

}  // namespace vk
