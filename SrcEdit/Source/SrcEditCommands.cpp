// The command processor: every user-visible change and caret movement runs
// through CommandProcessor, where the application and the hooked handlers
// may see, change or swallow it before ExecuteCommand runs the editor's own
// behaviour; the hook-handler registry and the focus controls.

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

namespace {

// The commands that change the text: none of them runs on a read-only
// editor.
bool ChangesText(TSrcEditorCommand command) {
  return (command >= ecDeleteLastChar && command <= ecChar) || command == ecImeStr ||
         (command >= ecUndo && command <= ecPaste) || (command >= ecBlockIndent && command <= ecShiftTab) ||
         (command >= ecUpperCase && command <= ecToggleCaseBlock && command != 624);
}

}  // namespace

TSrcEditorCommand UndoRunOf(TSrcEditorCommand command) {
  switch (command) {
    case ecChar:
    case ecImeStr: return ecChar;
    case ecLineBreak:
    case ecInsertLine:
    case ecDeleteLastChar:
    case ecDeleteChar:
    case ecDeleteWord:
    case ecDeleteLastWord:
    case ecDeleteBOL:
    case ecDeleteEOL: return command;
    default: return ecNone;
  }
}

// ---------------------------------------------------------------- the pipeline

void TCustomSrcEdit::CommandProcessor(TSrcEditorCommand command, char aChar, const TSrcCommandData& data) {
  DoOnProcessCommand(command, aChar, data);
  if (command != ecNone) NotifyHookedCommandHandlers(false, command, aChar, data);
  if (command != ecNone && command < ecUserFirst) ExecuteCommand(command, aChar, data);
  if (command != ecNone) NotifyHookedCommandHandlers(true, command, aChar, data);
  DoOnCommandProcessed(command, aChar, data);
}

void TCustomSrcEdit::DoOnProcessCommand(TSrcEditorCommand& command, char& aChar, const TSrcCommandData& data) {
  if (command < ecUserFirst) {
    if (OnProcessCommand) OnProcessCommand(this, command, aChar, data);
  } else if (OnProcessUserCommand) {
    OnProcessUserCommand(this, command, aChar, data);
  }
}

void TCustomSrcEdit::DoOnCommandProcessed(TSrcEditorCommand command, char aChar, const TSrcCommandData& data) {
  if (OnCommandProcessed) OnCommandProcessed(this, command, aChar, data);
}

void TCustomSrcEdit::NotifyHookedCommandHandlers(bool afterProcessing, TSrcEditorCommand& command, char& aChar,
                                                 const TSrcCommandData& data) {
  bool handled = false;
  // Every handler registered now is called, even after one has handled the
  // command; one that leaves meanwhile is skipped, never another.
  FHookedCommandHandlers.ForEach([&](const THookedCommandHandlerEntry& entry) {
    entry.Event(this, afterProcessing, handled, command, aChar, data, entry.Data);
  });
  if (handled) command = ecNone;
}

void TCustomSrcEdit::RegisterCommandHandler(const THookedCommandEvent& handler, void* handlerData) {
  if (handler) FHookedCommandHandlers.Add({handler, handlerData});
}

void TCustomSrcEdit::UnregisterCommandHandler(const THookedCommandEvent& handler) {
  if (handler) FHookedCommandHandlers.Remove({handler, nullptr}, drFirst);
}

void TCustomSrcEdit::AddFocusControl(TWinControl* control) {
  if (control) FFocusList.push_back(control);
}

void TCustomSrcEdit::RemoveFocusControl(TWinControl* control) { std::erase(FFocusList, control); }

// ---------------------------------------------------------------- execution

void TCustomSrcEdit::ExecuteCommand(TSrcEditorCommand command, char aChar, const TSrcCommandData& data) {
  TSrcPaintLock lock(*this);
  if (ChangesText(command) && GetReadOnly()) return;
  // Both outlast the edit, whose end may trim blanks: that is recorded in
  // the command's run, and a lead byte typed waits for its trail byte as
  // the command leaves the text and the lists, until the next command.
  TSrcUndoRun run(*FUndoList, UndoRunOf(command));
  if (command != ecChar) FTypedLead.reset();
  TScopeExit noteTypedLead([this] {
    if (FTypedLead) NoteTypedLead(*FTypedLead);
  });
  TSrcEditScope edit(*this);
  const TBufferCoord* position = std::get_if<TBufferCoord>(&data);
  // The caret movements; the selecting twins run the same code extending
  // the selection.
  auto move = [&](TSrcEditorCommand movement, bool extend) {
    switch (movement) {
      case ecLeft: MoveCaretHorz(-1, extend); break;
      case ecRight: MoveCaretHorz(1, extend); break;
      case ecUp:
      case ecDown:
        MoveCaretVert(movement == ecUp ? -1 : 1, extend);
        Update();
        break;
      case ecWordLeft: MoveCaretAndSelection(CaretXY(), PrevWordPos(), extend); break;
      case ecWordRight: MoveCaretAndSelection(CaretXY(), NextWordPos(), extend); break;
      case ecLineStart: DoHomeKey(extend); break;
      case ecLineEnd: DoEndKey(extend); break;
      case ecPageUp:
      case ecPageDown: {
        int rows = FOptions.Contains(eoHalfPageScroll) ? FRowsInWindow >> 1 : FRowsInWindow;
        if (FOptions.Contains(eoScrollByOneLess)) --rows;
        if (movement == ecPageUp) rows = -rows;
        SetTopLine(ClampToInt(static_cast<long long>(FTopLine) + rows));
        MoveCaretVert(rows, extend);
        Update();
        break;
      }
      case ecPageLeft: MoveCaretHorz(-FColumnsInWindow, extend); break;
      case ecPageRight: MoveCaretHorz(FColumnsInWindow, extend); break;
      case ecPageTop:
      case ecPageBottom: {
        const int row = movement == ecPageTop ? FTopLine : FTopLine + FRowsInWindow - 1;
        MoveCaretAndSelection(CaretXY(), DisplayToBufferPos({DisplayX(), row}), extend);
        Update();
        break;
      }
      case ecEditorTop:
        MoveCaretAndSelection(CaretXY(), {1, 1}, extend);
        Update();
        break;
      case ecEditorBottom: {
        const int count = FLines->Count();
        const TBufferCoord end =
            count == 0 ? TBufferCoord{1, 0} : TBufferCoord{static_cast<int>(FLines->Get(count - 1).size()) + 1, count};
        MoveCaretAndSelection(CaretXY(), end, extend);
        Update();
        break;
      }
      case ecGotoXY:
        // A position command without its position is refused.
        if (position) {
          MoveCaretAndSelection(CaretXY(), *position, extend);
          Update();
        }
        break;
      default: break;
    }
  };
  if (command >= ecLeft && command <= ecGotoXY) {
    move(command, false);
    return;
  }
  if (command >= ecSelLeft && command <= ecSelGotoXY) {
    move(command - (ecSelLeft - ecLeft), true);
    return;
  }
  switch (command) {
    case ecSelWord: SetSelWord(); break;
    case ecSelectAll: SelectAll(); break;
    case ecCopy: CopyToClipboard(); break;
    case ecScrollUp:
    case ecScrollDown: {
      const int row = DisplayY();
      if (row < FTopLine || row > FTopLine + FRowsInWindow - 1) {
        EnsureCursorPosVisible();
        break;
      }
      if (command == ecScrollUp) {
        SetTopLine(FTopLine - 1);
        const int lastVisible = FTopLine + FRowsInWindow - 1;
        if (row > lastVisible) MoveCaretVert(lastVisible - row, false);
      } else {
        SetTopLine(FTopLine + 1);
        if (row < FTopLine) MoveCaretVert(FTopLine - row, false);
      }
      EnsureCursorPosVisible();
      Update();
      break;
    }
    case ecScrollLeft:
    case ecScrollRight:
      SetLeftChar(FLeftChar + (command == ecScrollLeft ? -1 : 1));
      Update();
      break;
    case ecInsertMode: SetInsertMode(true); break;
    case ecOverwriteMode: SetInsertMode(false); break;
    case ecToggleMode: SetInsertMode(!FInsertMode); break;
    case ecNormalSelect: SetSelectionMode(smNormal); break;
    case ecColumnSelect: SetSelectionMode(smColumn); break;
    case ecLineSelect: SetSelectionMode(smLine); break;
    case ecMatchBracket: FindMatchingBracket(); break;
    case ecContextHelp:
      if (OnContextHelp) OnContextHelp(this, GetWordAtCursor());
      break;
    case ecDeleteLastChar: DoDeleteLastChar(); break;
    case ecDeleteChar: DoDeleteChar(); break;
    case ecDeleteWord:
    case ecDeleteEOL: DoDeleteToEnd(command == ecDeleteEOL); break;
    case ecDeleteLastWord:
    case ecDeleteBOL: DoDeleteToStart(command == ecDeleteBOL); break;
    case ecDeleteLine: DoDeleteLine(); break;
    case ecClearAll: ClearAll(); break;
    case ecLineBreak:
    case ecInsertLine: DoLineBreak(command == ecLineBreak); break;
    case ecChar: DoTypeChar(aChar); break;
    case ecImeStr:
      // Composed input without its string is refused.
      if (const std::string* text = std::get_if<std::string>(&data)) DoImeStr(*text);
      break;
    case ecUndo: Undo(); break;
    case ecRedo: Redo(); break;
    case ecCut:
      if (SelAvail()) CutToClipboard();
      break;
    case ecPaste: PasteFromClipboard(); break;
    case ecBlockIndent: DoBlockIndent(); break;
    case ecBlockUnindent: DoBlockUnindent(); break;
    case ecTab: DoTabKey(); break;
    case ecShiftTab: DoShiftTabKey(); break;
    case ecUpperCase:
    case ecLowerCase:
    case ecToggleCase:
    case ecTitleCase:
    case ecUpperCaseBlock:
    case ecLowerCaseBlock:
    case ecToggleCaseBlock: DoCaseChange(command); break;
    default:
      if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
        if (FBookMarkOptions->EnableKeys()) GotoBookMark(command - ecGotoMarker0);
      } else if (command >= ecSetMarker0 && command <= ecSetMarker9) {
        if (FBookMarkOptions->EnableKeys()) ToggleBookMark(command - ecSetMarker0, position ? *position : CaretXY());
      }
      // Every other number (ecCommentBlock, ecString, the focus commands,
      // ...) is only for the events and the hooked handlers.
      break;
  }
}

void TCustomSrcEdit::ToggleBookMark(int bookmark, const TBufferCoord& position) {
  int x = 0;
  int y = 0;
  if (!GetBookMark(bookmark, x, y)) {
    SetBookMark(bookmark, position.Char, position.Line);
    return;
  }
  // The same line takes it away; another line moves it there.
  ClearBookMark(bookmark);
  if (y != position.Line) SetBookMark(bookmark, position.Char, position.Line);
}

}  // namespace vk
