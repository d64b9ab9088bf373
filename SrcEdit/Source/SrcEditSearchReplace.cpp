// Search and replace: the editor walks the lines of the scope and hands
// each to its search engine; the matches that lie in the scope are
// selected and counted, and with the replace options replaced through the
// engine, after asking the application when prompting is on.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vk {

void TCustomSrcEdit::SetSearchEngine(TSrcEditSearchCustom* value) {
  if (value == FSearchEngine) return;
  if (FSearchEngine) FSearchEngine->RemoveFreeNotification(this);
  FSearchEngine = value;
  if (FSearchEngine) FSearchEngine->FreeNotification(this);
}

TSrcReplaceAction TCustomSrcEdit::DoOnReplaceText(const std::string& search, const std::string& replace, int line,
                                                  int column) {
  TSrcReplaceAction action = raCancel;
  if (OnReplaceText) OnReplaceText(this, search, replace, line, column, action);
  return action;
}

void TCustomSrcEdit::SelectSearchMatch(int line, int column, int length, bool backward) {
  TSrcPaintLock lock(*this);
  SetBlockBegin({column, line});
  // The caret goes to the line's start first, so that centring the line
  // does not also scroll sideways to the old caret.
  SetCaretXYEx(false, {1, line});
  EnsureCursorPosVisibleEx(true);
  SetBlockEnd({column + length, line});
  InternalSetCaretXY({backward ? column : column + length, line});
  // A match is running text in any selection mode: replacing it must not
  // take whole lines or a rectangle with it.
  SetActiveSelectionMode(smNormal);
}

int TCustomSrcEdit::SearchReplace(const std::string& search, const std::string& replace,
                                  TSrcSearchOptions options) {
  if (!FSearchEngine) throw ESrcEditError("No search engine has been assigned");
  if (search.empty()) return 0;
  if (!SelAvail()) options.Exclude(ssoSelectedOnly);
  const bool backward = options.Contains(ssoBackwards);
  const bool replacing = options.Contains(ssoReplace) || options.Contains(ssoReplaceAll);
  const bool selectionScope = options.Contains(ssoSelectedOnly);
  bool replaceAll = options.Contains(ssoReplaceAll);
  bool prompt = options.Contains(ssoPrompt);

  // The scope, from start to end in buffer positions. A column selection
  // spans the same display columns on every line instead.
  TBufferCoord start{1, 1};
  TBufferCoord end = EndOfText();
  end.Line = std::min(end.Line, FLines->Count());
  const bool columnScope = selectionScope && FActiveSelectionMode == smColumn;
  int leftColumn = 0;
  int rightColumn = 0;
  if (selectionScope) {
    start = BlockBegin();
    end = BlockEnd();
    if (FActiveSelectionMode == smLine) {
      start.Char = 1;
      end.Char = static_cast<int>(FLines->Get(end.Line - 1).size()) + 1;
    } else if (columnScope) {
      ColumnBlockColumns(leftColumn, rightColumn);
    }
  } else if (!options.Contains(ssoEntireScope)) {
    (backward ? end : start) = CaretXY();
  }
  // Whether a match at the (1-based) byte position of the line's text as
  // searched lies in the scope; column is where it stands now.
  auto inScope = [&](std::string_view text, int line, int found, int column, int length) {
    if (columnScope)
      return CharIndexToColumn(text, found) >= leftColumn && CharIndexToColumn(text, found + length) <= rightColumn;
    return !(line == start.Line && column < start.Char) && !(line == end.Line && column + length > end.Char);
  };

  FSearchEngine->SetOptions(options);
  FSearchEngine->SetPattern(search);
  int result = 0;
  DoOnPaintTransient(ttBefore);
  TScopeExit after([this] { DoOnPaintTransient(ttAfter); });
  TSrcEditScope edit(*this);
  {
    // The undo block closes before the paint lock ends, so the status
    // report of a replace-all comes once, with everything in it.
    std::optional<TSrcPaintLock> paintLock;
    std::optional<TSrcEditUndoBlock> undoBlock;
    auto enterReplaceAll = [&] {
      if (!paintLock) paintLock.emplace(*this);
      if (!undoBlock) undoBlock.emplace(*this);
      replaceAll = true;
      prompt = false;
    };
    if (replaceAll && !prompt) enterReplaceAll();
    // Where a replace-all without prompting left off: its last line (0:
    // none) and the end of its last replacement.
    TBufferCoord replacedUpTo{0, 0};
    std::vector<TLineMatch> matches;
    {
      // A replace-all puts each line once; the line store reports once.
      const bool batched = replaceAll && !prompt;
      if (batched) FLines->BeginUpdate();
      TScopeExit endUpdate([&] {
        if (batched) FLines->EndUpdate();
      });
      [&] {
        for (int line = backward ? end.Line : start.Line; line >= start.Line && line <= end.Line;
             line += backward ? -1 : 1) {
          const std::string_view view = FLines->GetView(line - 1);
          const int count = FSearchEngine->FindAll(view);
          if (count == 0) continue;
          const int last = FSearchEngine->GetResultCount() - 1;
          if (replaceAll && !prompt && !GetReadOnly()) {
            // The line in the store: it changes only once all are replaced.
            const std::string_view text = view;
            // Every match of the line in one step, unless a replacement
            // breaks the line: then one by one below.
            const TBufferCoord scopeEnd = end;
            matches.clear();
            int shift = 0;
            bool breaks = false;
            for (int n = 0; n < count && !breaks; ++n) {
              const int index = backward ? last - n : n;
              const int found = FSearchEngine->GetResult(index);
              const int length = FSearchEngine->GetLength(index);
              if (!inScope(text, line, found, found + shift, length)) continue;
              std::string with =
                  FSearchEngine->Replace(std::string(text.substr(static_cast<size_t>(found - 1), length)), replace);
              breaks = with.find_first_of("\r\n") != std::string::npos;
              const int delta = static_cast<int>(with.size()) - length;
              if (!backward) {
                shift += delta;
                if (line == end.Line && !columnScope) end.Char += delta;
              }
              matches.push_back({found, length, std::move(with)});
            }
            if (!breaks) {
              result += static_cast<int>(matches.size());
              if (!matches.empty()) replacedUpTo = ReplaceMatchesInLine(line, text, matches, backward);
              continue;
            }
            end = scopeEnd;
          }
          // The line as it was: replacing changes the store.
          const std::string text(view);
          // Matches were found on the line as it was; replacements before a
          // match move it by this many columns (forward only: backward, the
          // text left of a replacement stays where it is).
          int shift = 0;
          for (int n = 0; n < count; ++n) {
            const int index = backward ? last - n : n;
            const int found = FSearchEngine->GetResult(index);
            const int length = FSearchEngine->GetLength(index);
            const int column = found + shift;
            if (!inScope(text, line, found, column, length)) continue;
            ++result;
            SelectSearchMatch(line, column, length, backward);
            if (!replacing) return;

            TSrcReplaceAction action = raReplace;
            if (prompt && OnReplaceText) {
              action = DoOnReplaceText(search, replace, line, column);
              if (action == raCancel) return;
            }
            if (action == raReplaceAll) enterReplaceAll();
            // A read-only text is searched but never changed.
            if (action != raSkip && !GetReadOnly()) {
              SetSelText(FSearchEngine->Replace(SelText(), replace));
              // The rest of the line now follows the replacement, on a line
              // further down when the replacement broke the line.
              const TBufferCoord after = CaretXY();
              const int addedLines = after.Line - line;
              const int delta = after.Char - (column + length);
              if (!backward) {
                shift += delta;
                if (end.Line >= line) {
                  const bool onEndLine = end.Line == line;
                  end.Line += addedLines;
                  if (onEndLine && !columnScope) {
                    end.Char += delta;
                    // The rest of a selected scope stays selected.
                    if (selectionScope && delta != 0) {
                      SetBlockEnd(end);
                      SetActiveSelectionMode(smNormal);
                    }
                  }
                }
                line = after.Line;
              }
            }
            if (!replaceAll) return;
            replacedUpTo = {0, 0};
          }
        }
      }();
    }
    if (replacedUpTo.Line > 0) {
      // Caret and selection as replacing the matches one by one leaves them.
      SetCaretXYEx(false, {1, replacedUpTo.Line});
      EnsureCursorPosVisibleEx(true);
      SetCaretXY(replacedUpTo);
      SetActiveSelectionMode(smNormal);
      // The rest of a selected scope stays selected.
      if (selectionScope && !columnScope && replacedUpTo.Line == end.Line && end != replacedUpTo) {
        SetBlockEnd(end);
        SetActiveSelectionMode(smNormal);
      }
    }
  }
  return result;
}

// The matches of one line replaced in one step: the line is put once and
// recorded as one change from the first match to the end of the last
// replacement, with the text that stood there. The result is where the
// last replacement made ends (the rightmost forward, the leftmost
// backward), as the caret stands after replacing them one by one.
TBufferCoord TCustomSrcEdit::ReplaceMatchesInLine(int line, std::string_view text, std::vector<TLineMatch>& matches,
                                                 bool backward) {
  if (backward) std::reverse(matches.begin(), matches.end());
  std::string replaced;
  replaced.reserve(text.size() + 16);
  size_t copied = 0;
  for (const TLineMatch& match : matches) {
    replaced.append(text, copied, static_cast<size_t>(match.Found - 1) - copied);
    replaced += match.With;
    copied = static_cast<size_t>(match.Found - 1 + match.Length);
  }
  const int first = matches.front().Found;
  const int oldEnd = static_cast<int>(copied) + 1;
  const int newEnd = static_cast<int>(replaced.size()) + 1;
  replaced.append(text, copied, std::string::npos);
  // Recorded before the line changes in the store (text is a view of it).
  FUndoList->AddChange(crInsert, {first, line}, {newEnd, line},
                       std::string(text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(oldEnd - first))),
                       smNormal);
  ProperSetLine(line - 1, replaced);
  if (!backward) return {newEnd, line};
  return {first + static_cast<int>(matches.front().With.size()), line};
}

}  // namespace vk
