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

TSelectedRun SelectedRun(const TCustomSrcEdit& editor) {
  if (!editor.SelAvail()) return {editor.CaretXY(), editor.CaretXY()};
  TSelectedRun run{editor.BlockBegin(), editor.BlockEnd()};
  switch (editor.ActiveSelectionMode()) {
    case smNormal:
      break;
    case smLine:
      run.First.Char = 1;
      if (run.Last.Line < editor.Lines().Count())
        run.Last = {1, run.Last.Line + 1};
      else
        run.Last.Char = static_cast<int>(editor.Lines().GetView(run.Last.Line - 1).size()) + 1;
      break;
    case smColumn: {
      // Where a line ends inside the block, its bytes end with it: blanks
      // up to the block's edge would be bytes it does not hold.
      auto at = [&](int column, int line) {
        TBufferCoord p = editor.DisplayToBufferPos({column, editor.LineToRow(line)});
        p.Char = std::min(p.Char, static_cast<int>(editor.Lines().GetView(line - 1).size()) + 1);
        return p;
      };
      int left = 0, right = 0;
      editor.ColumnBlockColumns(left, right);
      run = {at(left, run.First.Line), at(right, run.Last.Line)};
      break;
    }
  }
  return run;
}

void CommentInSelection(TCustomSrcEdit& editor) {
  const TSelectedRun run = SelectedRun(editor);
  TSrcPaintLock lock(editor);
  TSrcEditUndoBlock step(editor);
  editor.ReplaceRange(run.First, run.First, "/*");
  // On the start's line the end has moved with its mark. The caret ends
  // after the comment.
  const TBufferCoord end{run.Last.Char + (run.Last.Line == run.First.Line ? 2 : 0), run.Last.Line};
  editor.ReplaceRange(end, end, "*/");
}

bool CommentOutSelection(TCustomSrcEdit& editor) {
  if (!editor.SelAvail()) return false;
  const TSelectedRun run = SelectedRun(editor);
  // The end mark closes the selected bytes; after a selected line break
  // (whole lines) it begins the next line, where comment in puts it.
  const bool afterBreak = run.Last.Char == 1 && run.Last.Line > run.First.Line;
  TBufferCoord close = afterBreak ? run.Last : TBufferCoord{run.Last.Char - 2, run.Last.Line};
  const std::string_view first = editor.Lines().GetView(run.First.Line - 1);
  const std::string_view last = editor.Lines().GetView(close.Line - 1);
  const auto framedBy = [](std::string_view line, int from, std::string_view mark) {
    return from >= 1 && line.substr(std::min(line.size(), static_cast<size_t>(from - 1))).starts_with(mark);
  };
  // The two marks may not share a character ("/*/").
  const bool apart = close.Line > run.First.Line || close.Char - run.First.Char >= 2;
  if (!apart || !framedBy(first, run.First.Char, "/*") || !framedBy(last, close.Char, "*/")) return false;
  TSrcPaintLock lock(editor);
  TSrcEditUndoBlock step(editor);
  editor.ReplaceRange(run.First, {run.First.Char + 2, run.First.Line}, "");
  // On the start's line the end mark has moved with the text. The caret
  // ends where it stood.
  if (close.Line == run.First.Line) close.Char -= 2;
  editor.ReplaceRange(close, {close.Char + 2, close.Line}, "");
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
