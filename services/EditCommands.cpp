#include "services/EditCommands.h"

#include <algorithm>

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

namespace {

// Inserts value at a position, in normal selection mode, as one undo step;
// then the caret stands where it stood, moved down by addedLines when it was
// on movedFrom (1-based) or below.
void InsertAt(TCustomSrcEdit& editor, TBufferCoord at, const std::string& value, int movedFrom, int addedLines) {
  TBufferCoord caret = editor.CaretXY();
  if (caret.Line >= movedFrom) caret.Line += addedLines;
  editor.ReplaceRange(at, at, value);
  editor.SetCaretXY(caret);
}

}  // namespace

void CommentInSelection(TCustomSrcEdit& editor) { editor.SetSelText("/*" + editor.SelText() + "*/"); }

bool CommentOutSelection(TCustomSrcEdit& editor) {
  const std::string text = editor.SelText();
  if (text.size() < 4 || !text.starts_with("/*") || !text.ends_with("*/")) return false;
  editor.SetSelText(text.substr(2, text.size() - 4));
  return true;
}

std::string SeparatorLine() { return "//" + std::string(78, '-'); }

void InsertSeparatorLine(TCustomSrcEdit& editor, int line) {
  const int count = editor.Lines().Count();
  if (line < 1 || line > std::max(count, 1)) return;
  if (line > count || editor.Lines().Get(line - 1).empty()) {
    InsertAt(editor, {1, line}, SeparatorLine(), line, 0);
    return;
  }
  InsertEditorLines(editor, line, {SeparatorLine()});
}

void ZoomEditorFont(TCustomSrcEdit& editor, int points) {
  editor.Font().SetSize(std::max(1, editor.Font().Size() + points));
}

void InsertEditorLines(TCustomSrcEdit& editor, int index, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  const int count = editor.Lines().Count();
  index = std::clamp(index, 0, count);
  if (index < count) {
    InsertAt(editor, {1, index + 1}, text + "\r\n", index + 1, static_cast<int>(lines.size()));
  } else if (count > 0) {
    // Below the last line: the caret stays on its line.
    InsertAt(editor, {static_cast<int>(editor.Lines().Get(count - 1).size()) + 1, count}, "\r\n" + text, count + 1, 0);
  } else {
    InsertAt(editor, {1, 1}, text, 1, 0);
  }
}

}  // namespace vk
