// Painting: the gutter (line numbers, marks, wrap glyphs, gradient and
// border) and the text rows (highlighter tokens merged into runs of equal
// colours, the selection in its three modes, special line colours, special
// characters, the right edge), all through the canvas and the text drawer.
// Every row is painted from the stored state alone, so painting any clip
// rectangle gives the pixels of painting the whole window. Also the
// invalidation of rows and gutter, and the repaints the options ask for.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "SrcEdit/Source/SrcEditMiscProcs.h"
#include "platform/CodePage.h"
#include "platform/ScopeGuard.h"

namespace vk {

void TCustomSrcEdit::InvalidateArea(const TRect& rect) {
  if (!HandleAllocated() || !Visible()) return;
  if (FStateFlags.Contains(sfLinesChanging)) {
    // Painted once when the line store's change ends (LinesChanged).
    TRect merged;
    if (UnionRect(merged, FPendingInvalidRect, rect)) FPendingInvalidRect = merged;
    return;
  }
  InvalidateRect(rect, false);
}

void TCustomSrcEdit::InvalidateRows(int firstRow, int lastRow, bool gutter) {
  firstRow = std::max(firstRow, FTopLine);
  lastRow = static_cast<int>(std::min<long long>(lastRow, static_cast<long long>(FTopLine) + FRowsInWindow));
  // Rows out of view (most of those a file brings as it loads) cost nothing.
  if (lastRow < firstRow) return;
  const int top = (firstRow - FTopLine) * FRowHeight;
  const int bottom = (lastRow - FTopLine + 1) * FRowHeight;
  InvalidateArea(gutter ? Rect(0, top, FGutterWidth, bottom) : Rect(FGutterWidth, top, ClientWidth(), bottom));
}

void TCustomSrcEdit::InvalidateLines(int firstLine, int lastLine) {
  if (firstLine == -1 && lastLine == -1) {
    InvalidateArea(Rect(FGutterWidth, 0, ClientWidth(), ClientHeight()));
    return;
  }
  firstLine = std::max(firstLine, 1);
  lastLine = std::max(lastLine, 1);
  if (lastLine < firstLine) std::swap(firstLine, lastLine);
  if (lastLine >= FLines->Count()) lastLine = INT_MAX;  // to the end of the window
  if (WordWrap()) {
    // Every row of the lines.
    firstLine = LineToRow(firstLine);
    if (lastLine != INT_MAX) lastLine = LineToRow(lastLine + 1) - 1;
  }
  InvalidateRows(firstLine, lastLine, false);
}

void TCustomSrcEdit::InvalidateGutterLines(int firstLine, int lastLine) {
  if (firstLine == -1 && lastLine == -1) {
    InvalidateArea(Rect(0, 0, FGutterWidth, ClientHeight()));
    return;
  }
  if (lastLine < firstLine) std::swap(firstLine, lastLine);
  if (WordWrap()) {
    firstLine = LineToRow(firstLine);
    lastLine = lastLine > FLines->Count() ? INT_MAX : LineToRow(lastLine);
  }
  InvalidateRows(firstLine, lastLine, true);
}

void TCustomSrcEdit::InvalidateGutterLine(int line) {
  if (line >= 1 && line <= FLines->Count()) InvalidateGutterLines(line, line);
}

void TCustomSrcEdit::InvalidateLine(int line) {
  if (line < 1 || line > FLines->Count()) return;
  if (WordWrap()) {
    InvalidateLines(line, line);
    return;
  }
  if (line < FTopLine || line > static_cast<long long>(FTopLine) + FRowsInWindow) return;
  int top = (line - FTopLine) * FRowHeight;
  InvalidateArea(Rect(FGutterWidth, top, ClientWidth(), top + FRowHeight));
}

void TCustomSrcEdit::DoOnPaintTransientEx(TTransientType type, bool lock) {
  bool fire = FPaintTransientLock == 0;
  if (lock) {
    // Nested brackets: only the outermost before and after are told.
    if (type == ttBefore)
      fire = FPaintTransientLock++ == 0;
    else
      fire = --FPaintTransientLock == 0;
  }
  if (!fire || !OnPaintTransient) return;
  Canvas().Font().Assign(Font());
  Canvas().Brush().SetColor(Color());
  HideCaret();
  TScopeExit showCaret([this] { ShowCaret(); });
  OnPaintTransient(this, Canvas(), type);
}

// ---------------------------------------------------------------- the highlighter

void TCustomSrcEdit::SetHighlighter(TSrcCustomHighlighter* value) {
  if (value == FHighlighter) return;
  const TNotifyEvent changed(this, &TCustomSrcEdit::HighlighterAttrChanged);
  if (FHighlighter) {
    FHighlighter->UnhookAttrChangeEvent(changed);
    FHighlighter->RemoveFreeNotification(this);
  }
  if (value) {
    value->HookAttrChangeEvent(changed);
    value->FreeNotification(this);
  }
  FHighlighter = value;
  if (!ComponentState().Contains(csDestroying)) HighlighterAttrChanged(FHighlighter);
}

void TCustomSrcEdit::HighlighterAttrChanged(TObject* sender) {
  // The highlighter, or how it cuts lines, may have changed.
  FScanPoints.Clear();
  RecalcCharExtent();
  if (dynamic_cast<TSrcCustomHighlighter*>(sender)) {
    TStringsUpdate update(*FLines);
    ScanRanges();
  } else {
    Invalidate();
  }
  SizeOrFontChanged(true);
}

void TCustomSrcEdit::SelectedColorsChanged(TObject*) { InvalidateSelection(); }

void TCustomSrcEdit::BookMarkOptionsChanged(TObject*) { InvalidateGutter(); }

void TCustomSrcEdit::WordWrapGlyphChange(TObject*) {
  if (!ComponentState().Contains(csLoading)) InvalidateGutter();
}

// ---------------------------------------------------------------- painting

namespace {

// The highlighter's default attributes the painting asks for.
constexpr int CommentAttribute = 0;
constexpr int WhitespaceAttribute = 4;

// The special characters (code page 949 bytes of the glyphs).
constexpr char TabGlyph = '\xBB';
constexpr char SpaceGlyph = '\xB7';
constexpr char EndOfLineGlyph = '\xB6';

}  // namespace

// The text rows of one paint: the selection as the rows show it, the line
// colours, and the run of characters of equal colours and style that is
// drawn with one call of the text drawer.
class TSrcTextRowPainter {
public:
  TSrcTextRowPainter(TCustomSrcEdit& edit, int firstColumn, int lastColumn)
      : E(edit), C(edit.Canvas()), D(*edit.FTextDrawer), FirstColumn(firstColumn), LastColumn(lastColumn),
        ShowSpecial(edit.FOptions.Contains(eoShowSpecialChars)) {}

  void Paint(TRect clip, int firstRow, int lastRow) {
    const int firstLine = E.RowToLine(firstRow);
    const int lastLine = E.RowToLine(lastRow);
    CurrentLine = false;
    if (E.FRightEdge > 0) {
      EdgeX = ColumnToX(E.FRightEdge + 1);
      EdgeShown = clip.Left <= EdgeX && EdgeX <= clip.Right;
      C.Pen().SetColor(E.FRightEdgeColor);
      C.Pen().SetWidth(1);
    }
    if (clip.Left < E.FGutterWidth + 2) {
      if (E.FHighlighter) E.FHighlighter->ResetRange();
      FillRect(Rect(std::max(clip.Left, E.FGutterWidth), clip.Top, E.FGutterWidth + 2, clip.Bottom), LineBackground());
      clip.Left = E.FGutterWidth + 2;
    }
    if (lastLine >= firstLine) {
      PrepareSelection(firstLine, lastLine);
      D.SetStyle(E.Font().Style());
      D.BeginDrawing(&C);
      TScopeExit endDrawing([this] { D.EndDrawing(); });
      for (int line = firstLine; line <= lastLine; ++line) PaintLine(clip, line, firstRow, lastRow);
    }
    // Below the last row: the background, and the right edge runs on.
    const int bottom = (lastRow - E.FTopLine + 1) * E.FRowHeight;
    if (bottom < clip.Bottom) {
      if (E.FHighlighter) E.FHighlighter->ResetRange();
      CurrentLine = false;
      FillRect(Rect(clip.Left, bottom, clip.Right, clip.Bottom), LineBackground());
      if (EdgeShown) DrawEdge(bottom, clip.Bottom + 1);
    }
  }

private:
  int ColumnToX(int column) const {
    return TCustomSrcEdit::ClampToInt(E.FTextOrigin + static_cast<long long>(column - 1) * E.FCellWidth);
  }

  void FillRect(const TRect& r, TColor color) {
    C.Brush().SetColor(color);
    C.Brush().SetStyle(bsSolid);
    C.FillRect(r);
  }

  void DrawEdge(int top, int bottom) {
    C.Pen().SetColor(E.FRightEdgeColor);
    C.MoveTo(EdgeX, top);
    C.LineTo(EdgeX, bottom);
  }

  TColor LineBackground() const {
    if (E.FActiveLineColor != clNone && CurrentLine) return E.FActiveLineColor;
    if (E.FHighlighter) {
      const TSrcHighlighterAttributes* space = E.FHighlighter->GetDefaultAttribute(WhitespaceAttribute);
      if (space && space->Background() != clNone) return space->Background();
    }
    return E.Color();
  }

  void PrepareSelection(int firstLine, int lastLine) {
    SelectionShown = false;
    Mode = E.FActiveSelectionMode;
    if ((E.FHideSelection && !E.Focused()) || !E.SelAvail()) return;
    const TBufferCoord b = E.BlockBegin();
    const TBufferCoord e = E.BlockEnd();
    if (e.Line < firstLine || b.Line > lastLine) return;
    SelStart = E.BufferToDisplayPos(b);
    SelEnd = E.BufferToDisplayPos(e);
    // A column block drawn right to left is the same block.
    if (Mode == smColumn && SelStart.Column > SelEnd.Column) std::swap(SelStart.Column, SelEnd.Column);
    SelectionShown = true;
  }

  void PaintLine(const TRect& clip, int line, int firstRow, int lastRow) {
    CurrentLine = line == E.FCaretY;
    Fg = E.Font().Color();
    Bg = LineBackground();
    Special = E.DoOnSpecialLineColors(line, Fg, Bg);
    // After the event, which may change the lines: the text is read in place.
    ReadText(line);
    // A special line shows its selection in the inverted pair.
    SelFg = Special ? Bg : E.FSelectedColor->Foreground();
    SelBg = Special ? Fg : E.FSelectedColor->Background();
    const TColor lineFg = Fg;
    const TColor lineBg = Bg;
    const int first = std::max(E.LineToRow(line), firstRow);
    const int last = std::min(E.WordWrap() ? E.LineToRow(line + 1) - 1 : line, lastRow);
    for (int row = first; row <= last; ++row) {
      Fg = lineFg;
      Bg = lineBg;
      if (E.WordWrap()) {
        FirstChar = E.FWordWrapPlugin->DisplayToBufferPos({E.FHighlighter ? FirstColumn : 1, row}).Char;
        LastChar = E.FWordWrapPlugin->DisplayToBufferPos({LastColumn, row}).Char;
      } else {
        FirstChar = FirstColumn;
        LastChar = LastColumn;
      }
      SelectRow(row);
      RowRect = Rect(clip.Left, (row - E.FTopLine) * E.FRowHeight, clip.Right, (row - E.FTopLine + 1) * E.FRowHeight);
      WhollySelected = !PartlySelected && RowSelStart > 0;
      TokenRect = RowRect;
      if (E.FHighlighter && E.FHighlighter->Enabled())
        PaintHighlightedRow(line);
      else
        PaintPlainRow();
      if (EdgeShown) DrawEdge(RowRect.Top, RowRect.Bottom + 1);
    }
    CurrentLine = false;
  }

  // The line as its rows show it, TABs expanded: the stored text itself
  // where expanding changes nothing (each TAB of a width of two or more
  // stays one TAB when it reaches its stop).
  void ReadText(int line) {
    TSrcEditStringList& lines = *E.FLines;
    Stored = lines.GetView(line - 1);
    if (line > lines.Count() ||
        (lines.TabWidth() >= 2 && lines.GetExpandedStringLength(line - 1) == static_cast<int>(Stored.size()))) {
      Text = Stored;
      return;
    }
    Expanded = lines.GetExpandedString(line - 1);
    Text = Expanded;
  }

  // The first byte a row of a long line needs that begins at the column: a
  // character's start a tab width before it, so that a TAB reaching into
  // the row is whole.
  int ShownFrom(int column) const {
    int from = std::max(column - 1 - E.FTabWidth, 0);
    if (from > 0 && from < static_cast<int>(Text.size()) && CodePage::ByteTypeAt(Text, from) == mbTrailByte) --from;
    return from;
  }

  // The selected display columns of the row, [RowSelStart, RowSelEnd).
  void SelectRow(int row) {
    RowSelStart = RowSelEnd = 0;
    PartlySelected = false;
    if (!SelectionShown || row < SelStart.Row || row > SelEnd.Row) return;
    RowSelStart = FirstColumn;
    RowSelEnd = LastColumn + 1;
    if (Mode == smColumn || (Mode == smNormal && row == SelStart.Row)) {
      if (SelStart.Column > LastColumn) {
        RowSelStart = RowSelEnd = 0;
        return;
      }
      if (SelStart.Column > FirstColumn) {
        RowSelStart = SelStart.Column;
        PartlySelected = true;
      }
    }
    if (Mode == smColumn || (Mode == smNormal && row == SelEnd.Row)) {
      if (SelEnd.Column < FirstColumn) {
        RowSelStart = RowSelEnd = 0;
        PartlySelected = false;
        return;
      }
      if (SelEnd.Column < LastColumn) {
        RowSelEnd = SelEnd.Column;
        PartlySelected = true;
      }
    }
    if (Mode == smColumn) {
      // Whole double-byte characters: an edge on a second byte moves past it.
      auto onTrail = [&](int column) {
        return column > 1 && column <= static_cast<int>(Text.size()) &&
               CodePage::ByteTypeAt(Text, static_cast<size_t>(column - 1)) == mbTrailByte;
      };
      if (RowSelStart > 0 && onTrail(RowSelStart)) ++RowSelStart;
      if (onTrail(RowSelEnd)) ++RowSelEnd;
    }
  }

  void SetColors(bool selected) {
    const TColor fg = selected ? SelFg : Fg;
    const TColor bg = selected ? SelBg : Bg;
    D.SetForeColor(fg);
    D.SetBackColor(bg);
    C.Brush().SetColor(bg);
  }

  void PaintPlainRow() {
    // A wrapped row is its part of the line from its first column; a row of
    // a long line the part it shows, from a character's start far enough
    // before its first column that a TAB reaching into it is whole.
    size_t start = 0;
    size_t end = 0;
    int columnsBefore = 0;
    if (E.WordWrap()) {
      start = std::min(Text.size(), static_cast<size_t>(std::max(FirstChar, 1) - 1));
      end = start + std::min(Text.size() - start, static_cast<size_t>(std::max(LastChar - FirstChar, 0)));
    } else {
      start = std::min(Text.size(), static_cast<size_t>(ShownFrom(FirstColumn)));
      end = std::max(start, std::min(Text.size(), static_cast<size_t>(LastColumn) + 1));
      columnsBefore = static_cast<int>(start);
    }
    std::string token(Text.substr(start, end - start));
    if (ShowSpecial && static_cast<int>(Text.size()) < LastChar) token += EndOfLineGlyph;
    auto piece = [&](int from, int to, bool selected) {
      if (to <= from) return;
      SetColors(selected);
      TokenRect = RowRect;
      TokenRect.Left = std::max(RowRect.Left, ColumnToX(from));
      TokenRect.Right = std::min(RowRect.Right, ColumnToX(to));
      PaintCells(token, columnsBefore, from, to - 1);
    };
    if (PartlySelected) {
      piece(FirstColumn, RowSelStart, false);
      piece(RowSelEnd, LastColumn + 1, false);
      piece(RowSelStart, RowSelEnd, true);
    } else {
      piece(FirstColumn, LastColumn + 1, WhollySelected);
    }
  }

  void PaintHighlightedRow(int line) {
    TSrcCustomHighlighter& h = *E.FHighlighter;
    if (line == 1 || line > E.FLines->Count())
      h.ResetRange();
    else
      h.SetRange(E.FLines->GetRange(line - 2));
    Run.clear();
    const int shift = FirstColumn - FirstChar;  // display column of a token position
    // The highlighter hands each byte outside ASCII over as a token of its
    // own: the painted part of the line starts and ends on whole characters,
    // so that a character the clip cuts is drawn whole, as a paint of the
    // whole row draws it, and never as two stray bytes.
    auto onTrail = [&](int column) { return column > 1 && CodePage::ByteTypeAt(Text, column - 1) == mbTrailByte; };
    const int firstChar = onTrail(FirstChar) ? FirstChar - 1 : FirstChar;
    const int lastChar = onTrail(LastChar) ? LastChar + 1 : LastChar;
    // The scan starts near the first token the row shows; the tokens before
    // it are passed by their positions alone. A token is the line's text at
    // its place: its bytes are taken from there, and of one that starts long
    // before the row's first column only those from near that column (from
    // a character's start, before a TAB that reaches into the row).
    const int cut = ShownFrom(firstChar);
    const TSrcScannedLine scanned{E.FLines->LineStamp(line - 1), E.FLines->TabWidth(), &h, h.LineStartPoint().State};
    E.FScanPoints.Start(h, Text, line - 1, scanned, firstChar - 1);
    const TSrcHighlighterAttributes* lastAttri = nullptr;
    int lastEnd = 0;
    int scannedEnd = h.GetTokenPos();  // the end of the tokens the scan went past
    bool atEol = true;
    for (; !h.GetEol(); h.Next(), E.FScanPoints.Passed(h)) {
      const int position = h.GetTokenPos();
      int length = h.GetTokenLength();
      scannedEnd = position + length;
      if (position + length < firstChar) continue;
      if (position + length >= lastChar) {
        if (position >= lastChar) {
          atEol = false;
          break;
        }
        length = lastChar - position - 1;
      }
      const int from = std::max(position, cut);
      const int shown = length - (from - position);
      const std::string_view token = Text.substr(static_cast<size_t>(from), static_cast<size_t>(shown));
      const TSrcHighlighterAttributes* attri = h.GetTokenAttribute();
      if (attri)
        AddToRun(token, from + shift, shown, attri->Style(), attri->Background(), attri->Foreground());
      else
        AddToRun(token, from + shift, shown, E.Font().Style(), Bg, Fg);
      lastAttri = attri;
      lastEnd = position + length;
    }
    FillBg = clNone;
    if (atEol) {
      // A comment runs on in its colours to the end of the row.
      const TSrcHighlighterAttributes* comment = h.GetDefaultAttribute(CommentAttribute);
      const TSrcHighlighterAttributes* closing =
          lastAttri && lastAttri == comment ? lastAttri : h.GetDefaultAttribute(WhitespaceAttribute);
      const TColor closingFg = closing ? closing->Foreground() : Fg;
      const TColor closingBg = closing ? closing->Background() : Bg;
      if (closing && closing == comment) FillBg = closingBg;
      // Text the highlighter left after its last token, as far as the row
      // shows it.
      const int textEnd = std::min(static_cast<int>(Text.size()), lastChar - 1);
      const int restFrom = std::max({lastEnd, scannedEnd, cut});
      if (restFrom < textEnd)
        AddToRun(Text.substr(static_cast<size_t>(restFrom)), restFrom + shift, textEnd - restFrom, {}, closingBg,
                 closingFg);
      if (ShowSpecial && static_cast<int>(Text.size()) < LastChar)
        AddToRun(std::string_view(&EndOfLineGlyph, 1), std::max(lastEnd, textEnd) + shift, 1, {}, closingBg,
                 closingFg);
    }
    FlushRun(true);
  }

  void AddToRun(std::string_view token, int position, int length, TFontStyles style, TColor background,
                TColor foreground) {
    if (length <= 0) return;
    if (background == clNone || (CurrentLine && E.FActiveLineColor != clNone)) background = LineBackground();
    if (foreground == clNone) foreground = E.Font().Color();
    const bool blank = token.substr(0, static_cast<size_t>(length)).find_first_not_of(' ') == std::string_view::npos;
    const bool sameStyle = style == RunStyle || (!style.Contains(fsUnderline) && !RunStyle.Contains(fsUnderline) && blank);
    const bool sameColors = (Special && !E.FOptions.Contains(eoSpecialLineDefaultFg)) || WhollySelected ||
                            (background == RunBg && (foreground == RunFg || blank));
    if (!Run.empty() && sameStyle && sameColors) {
      Run.append(token, 0, static_cast<size_t>(length));
      return;
    }
    FlushRun(false);
    Run.assign(token, 0, static_cast<size_t>(length));
    RunStart = position;
    RunFg = foreground;
    RunBg = background;
    RunStyle = style;
  }

  void FlushRun(bool fillToEnd) {
    if (!Run.empty()) {
      const int first = std::max(FirstColumn, RunStart + 1);
      const int last = std::min(LastColumn, RunStart + static_cast<int>(Run.size()) + 1);
      if (!Special) {
        Fg = RunFg;
        Bg = RunBg;
      } else if (E.FOptions.Contains(eoSpecialLineDefaultFg)) {
        Fg = RunFg;
      }
      D.SetStyle(RunStyle);
      auto piece = [&](int from, int to, bool selected) {
        if (to <= from) return;
        SetColors(selected);
        TokenRect.Right = ColumnToX(to);
        PaintCells(Run, RunStart, from, to - 1);
      };
      if (PartlySelected) {
        piece(first, std::min(last, RowSelStart), false);
        piece(std::max(first, RowSelStart), std::min(last, RowSelEnd), true);
        piece(std::max(first, RowSelEnd), last, false);
      } else {
        piece(first, last, WhollySelected);
      }
    }
    if (fillToEnd && TokenRect.Left < RowRect.Right) {
      if (!Special) Bg = FillBg != clNone && !(CurrentLine && E.FActiveLineColor != clNone) ? FillBg : LineBackground();
      const int fillLeft = TokenRect.Left;
      auto fill = [&](int right, bool selected) {
        right = std::min(right, RowRect.Right);
        if (right <= TokenRect.Left) return;
        SetColors(selected);
        C.FillRect(Rect(TokenRect.Left, TokenRect.Top, right, TokenRect.Bottom));
        TokenRect.Left = right;
      };
      if (PartlySelected) {
        fill(ColumnToX(RowSelStart), false);
        fill(ColumnToX(RowSelEnd), true);
        fill(RowRect.Right, false);
      } else {
        fill(RowRect.Right, WhollySelected);
      }
      if (!Run.empty()) RedrawOverhang(fillLeft);
    }
    if (fillToEnd) Run.clear();
  }

  // The fill after the text paints every pixel from the last cell's end;
  // the part of the last character's glyph that reaches past its cell (an
  // italic slant, a wide double-byte glyph) is drawn again on top of it.
  void RedrawOverhang(int fillLeft) {
    size_t start = Run.size() - 1;
    if (start > 0 && CodePage::ByteTypeAt(Run, start) == mbTrailByte) --start;
    if (Run[start] == ' ' || Run[start] == '\t') return;
    const int column = RunStart + static_cast<int>(start) + 1;
    const bool selected = PartlySelected ? column >= RowSelStart && column < RowSelEnd : WhollySelected;
    SetColors(selected);
    const int previousMode = C.SetBkMode(TRANSPARENT);
    D.ExtTextOut(ColumnToX(column), TokenRect.Top, ETO_CLIPPED,
                 Rect(fillLeft, TokenRect.Top, RowRect.Right, TokenRect.Bottom), Run.data() + start,
                 static_cast<int>(Run.size() - start));
    C.SetBkMode(previousMode);
  }

  // Characters first..last (display columns) of a token that starts after
  // columnsBefore columns, into the token rectangle.
  void PaintCells(std::string_view token, int columnsBefore, int first, int last) {
    const int length = static_cast<int>(token.size());
    if (last >= first && TokenRect.Left < TokenRect.Right) {
      int x = ColumnToX(first);
      int index = first - columnsBefore;
      int count = 0;
      if (index >= 1 && index <= length) {
        // A row that starts on the second byte of a character draws it whole.
        if (index > 1 && CodePage::ByteTypeAt(token, static_cast<size_t>(index - 1)) == mbTrailByte) {
          x -= E.FCellWidth;
          --index;
        }
        count = std::min(last - columnsBefore - index + 1, length - index + 1);
        // One that ends on the first byte of a character draws it whole.
        if (count > 0 && index - 1 + count < length &&
            CodePage::ByteTypeAt(token, static_cast<size_t>(index - 2 + count)) == mbLeadByte)
          ++count;
      }
      std::string shown(count > 0 ? token.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count))
                                  : std::string_view());
      std::replace(shown.begin(), shown.end(), '\t', ' ');
      D.ExtTextOut(x, TokenRect.Top, ETO_OPAQUE, TokenRect, count > 0 ? shown.data() : nullptr,
                   static_cast<int>(shown.size()));
      if (ShowSpecial) PaintGlyphs(token, columnsBefore, first, last);
    }
    TokenRect.Left = TokenRect.Right;
  }

  // The glyphs of blanks: a dot on each space, one glyph near the middle
  // of each TAB (its place depends on the TAB alone, never on the painted
  // range). Each is drawn on its own: the glyph bytes are lead bytes of the
  // code page and must not pair with the byte after them.
  void PaintGlyphs(std::string_view token, int columnsBefore, int first, int last) {
    const int tabWidth = E.FTabWidth;
    for (int column = std::max(first, columnsBefore + 1); column <= last; ++column) {
      const int p = column - columnsBefore;
      if (p > static_cast<int>(token.size())) break;
      if (token[p - 1] == ' ' && CodePage::ByteTypeAt(token, static_cast<size_t>(p - 1)) == mbSingleByte) {
        const int x = ColumnToX(column);
        D.ExtTextOut(x, TokenRect.Top, ETO_OPAQUE, Rect(x, TokenRect.Top, x + E.FCellWidth, TokenRect.Bottom),
                     &SpaceGlyph, 1);
        continue;
      }
      if (token[p - 1] != '\t') continue;
      // The TAB's cells run from its start to the next tab stop.
      const int stop = ((column - 1) / tabWidth + 1) * tabWidth;
      int start = column;
      while (start - 1 > stop - tabWidth && start - 1 - columnsBefore >= 1 && token[start - 2 - columnsBefore] == '\t')
        --start;
      const int cells = stop - start + 1;
      const int x = cells % 2 ? ColumnToX(start + cells / 2) : ColumnToX(start + cells / 2 - 1) + E.FCellWidth / 2;
      const TRect glyph = Rect(x, TokenRect.Top, x + D.GetCharWidth(), TokenRect.Bottom);
      D.ExtTextOut(x, TokenRect.Top, ETO_OPAQUE, glyph, &TabGlyph, 1);
      column = stop;
    }
  }

  TCustomSrcEdit& E;
  TCanvas& C;
  TheTextDrawer& D;
  const int FirstColumn;
  const int LastColumn;
  const bool ShowSpecial;
  bool EdgeShown = false;
  int EdgeX = 0;
  // The selection as display positions.
  bool SelectionShown = false;
  TSrcSelectionMode Mode = smNormal;
  TDisplayCoord SelStart;
  TDisplayCoord SelEnd;
  // The row being painted: its line's stored text and the text it shows
  // (the stored one, or its expanded copy).
  std::string_view Stored;
  std::string Expanded;
  std::string_view Text;
  int FirstChar = 0;
  int LastChar = 0;
  int RowSelStart = 0;
  int RowSelEnd = 0;
  bool PartlySelected = false;
  bool WhollySelected = false;
  bool CurrentLine = false;
  bool Special = false;
  TColor Fg = clBlack;
  TColor Bg = clWhite;
  TColor SelFg = clBlack;
  TColor SelBg = clWhite;
  TColor FillBg = clNone;
  TRect RowRect;
  TRect TokenRect;
  // The run of equal characters waiting to be drawn.
  std::string Run;
  int RunStart = 0;
  TColor RunFg = clNone;
  TColor RunBg = clNone;
  TFontStyles RunStyle;
};

void TCustomSrcEdit::Paint() {
  TCanvas& canvas = Canvas();
  const TRect clip = canvas.ClipRect();
  // The first and last row a rectangle reaches (the row below it is no
  // longer one of them); an empty text still shows its first row.
  auto rowsOf = [this](const TRect& r) {
    return std::pair(std::max(FTopLine + r.Top / FRowHeight, FTopLine),
                     std::clamp(FTopLine + (r.Bottom + FRowHeight - 1) / FRowHeight - 1, 1,
                                std::max(GetDisplayLineCount(), 1)));
  };
  // The gutter and text rows of one rectangle.
  auto paintPart = [&](const TRect& part) {
    // From the column before the part's first to the one after its last: a
    // glyph may reach into the next cell (a slanted top) or the one before
    // it (a slanted foot), and must show there as a whole-window paint
    // shows it.
    int firstColumn = FLeftChar;
    if (part.Left > FGutterWidth + 2)
      firstColumn = std::max(FLeftChar, FLeftChar + (part.Left - FGutterWidth - 2) / FCellWidth - 1);
    const int lastColumn = FLeftChar + (part.Right - FGutterWidth - 2 + FCellWidth - 1) / FCellWidth + 1;
    const auto [firstRow, lastRow] = rowsOf(part);
    if (part.Left < FGutterWidth) {
      TRect gutter = part;
      gutter.Right = std::min(gutter.Right, FGutterWidth);
      PaintGutter(gutter, firstRow, lastRow);
    }
    if (FGutterWidth < part.Right) {
      TRect text = part;
      text.Left = std::max(text.Left, FGutterWidth);
      PaintTextLines(text, firstRow, lastRow, firstColumn, lastColumn);
    }
  };
  HideCaret();
  TScopeExit updateCaret([this] { UpdateCaret(); });
  if (PaintRects().empty()) {
    paintPart(clip);
  } else {
    // An update paints its region once: each of its rectangles (which do
    // not overlap) clipped to itself, so that no row is painted again for
    // another rectangle that crosses it.
    TScopeExit restoreClip([&] { canvas.SetClipRect(clip); });
    for (const TRect& r : PaintRects()) {
      TRect part;
      if (!IntersectRect(part, r, clip)) continue;
      canvas.SetClipRect(part);
      paintPart(part);
    }
  }
  const auto [firstRow, lastRow] = rowsOf(clip);
  PluginsAfterPaint(canvas, clip, firstRow, lastRow);
  DoOnPaint();
  DoOnPaintTransient(ttAfter);
}

void TCustomSrcEdit::PaintTextLines(TRect clip, int firstRow, int lastRow, int firstColumn, int lastColumn) {
  TSrcTextRowPainter(*this, firstColumn, lastColumn).Paint(clip, firstRow, lastRow);
}

void TCustomSrcEdit::PaintGutter(const TRect& clip, int firstRow, int lastRow) {
  const int firstLine = RowToLine(firstRow);
  const int lastLine = RowToLine(lastRow);
  TCanvas& canvas = Canvas();
  const bool gradient = FGutter->Gradient();
  if (gradient)
    SrcDrawGradient(canvas, FGutter->GradientStartColor(), FGutter->GradientEndColor(), FGutter->GradientSteps(),
                    Rect(0, 0, FGutterWidth, ClientHeight()), true);
  canvas.Brush().SetColor(FGutter->Color());
  canvas.Brush().SetStyle(bsSolid);
  if (FGutter->ShowLineNumbers()) {
    const bool gutterFont = FGutter->UseFontStyle();
    if (gutterFont)
      FTextDrawer->SetBaseFont(&FGutter->Font());
    else
      FTextDrawer->SetStyle({});
    FTextDrawer->BeginDrawing(&canvas);
    TScopeExit finish([&] {
      FTextDrawer->EndDrawing();
      if (gutterFont) FTextDrawer->SetBaseFont(&Font());
    });
    FTextDrawer->SetForeColor(gutterFont ? FGutter->Font().Color() : Font().Color());
    FTextDrawer->SetBackColor(FGutter->Color());
    TRect lineRect = clip;
    lineRect.Right = std::max(lineRect.Right, FGutterWidth - 2);
    lineRect.Bottom = lineRect.Top;
    for (int line = firstLine; line <= lastLine; ++line) {
      const int top = (LineToRow(line) - FTopLine) * FRowHeight;
      if (WordWrap() && !gradient && top > lineRect.Bottom)
        FTextDrawer->ExtTextOut(0, 0, ETO_OPAQUE, Rect(lineRect.Left, lineRect.Bottom, lineRect.Right, top), nullptr, 0);
      lineRect.Top = top;
      lineRect.Bottom = top + FRowHeight;
      std::string text = FGutter->FormatLineNumber(line);
      if (OnGutterGetText) OnGutterGetText(this, line, text);
      const TSize size = canvas.GetTextExtentPoint(text.data(), static_cast<int>(text.size()));
      const int x = FGutterWidth - FGutter->RightOffset() - size.cx - 2;
      const int y = top + (FRowHeight - size.cy) / 2;
      if (gradient) {
        canvas.SetBkMode(TRANSPARENT);
        canvas.ExtTextOut(x, y, 0, nullptr, text.data(), static_cast<int>(text.size()), nullptr);
        canvas.SetBkMode(OPAQUE);
      } else {
        canvas.ExtTextOut(x, y, ETO_OPAQUE, &lineRect, text.data(), static_cast<int>(text.size()), nullptr);
      }
    }
    if (lineRect.Bottom < clip.Bottom && !gradient)
      FTextDrawer->ExtTextOut(0, 0, ETO_OPAQUE, Rect(lineRect.Left, lineRect.Bottom, lineRect.Right, clip.Bottom),
                              nullptr, 0);
  } else if (!gradient) {
    canvas.FillRect(clip);
  }
  if (gradient) canvas.Brush().SetStyle(bsClear);
  if (WordWrap() && FWordWrapGlyph->Visible()) {
    for (int row = firstRow; row <= lastRow; ++row) {
      if (LineToRow(RowToLine(row)) == row) continue;
      FWordWrapGlyph->Draw(canvas, FGutterWidth - FGutter->RightOffset() - FWordWrapGlyph->Width() - 2,
                           (row - FTopLine) * FRowHeight, FRowHeight);
    }
  }
  if (gradient) canvas.Brush().SetStyle(bsSolid);
  if (FGutter->BorderStyle() != gbsNone && clip.Right >= FGutterWidth - 2) {
    canvas.Pen().SetColor(FGutter->BorderColor());
    canvas.Pen().SetWidth(1);
    if (FGutter->BorderStyle() == gbsMiddle) {
      canvas.MoveTo(FGutterWidth - 2, clip.Top);
      canvas.LineTo(FGutterWidth - 2, clip.Bottom);
      canvas.Pen().SetColor(FGutter->Color());
    }
    canvas.MoveTo(FGutterWidth - 1, clip.Top);
    canvas.LineTo(FGutterWidth - 1, clip.Bottom);
  }
  PaintMarks(firstLine, lastLine, firstRow, lastRow);
}

void TCustomSrcEdit::PaintMarks(int firstLine, int lastLine, int firstRow, int lastRow) {
  TCanvas& canvas = Canvas();
  const bool drawMarks = FBookMarkOptions->GlyphsVisible() && FMarkList->Count() > 0 && lastLine >= firstLine;
  // The x offset reached on each row by the marks drawn there.
  std::vector<int> offsets(static_cast<size_t>(std::max(lastRow - firstRow + 1, 0)), 0);
  auto rowTop = [&](int row) { return (row - FTopLine) * FRowHeight; };
  if (drawMarks) {
    TImageList* images = FBookMarkOptions->BookmarkImages();
    const bool bookmarksFirst = FBookMarkOptions->DrawBookmarksFirst();
    auto drawMark = [&](const TSrcEditMark& mark, bool firstGroup) {
      const int row = LineToRow(mark.Line());
      if (row < firstRow || row > lastRow) return;
      int& offset = offsets[static_cast<size_t>(row - firstRow)];
      const int x = FBookMarkOptions->LeftMargin();
      if (!mark.InternalImage() && images) {
        if (mark.ImageIndex() < 0 || mark.ImageIndex() >= images->Count()) return;
        if (firstGroup)
          offset = 0;
        else if (offset == 0)
          offset = FBookMarkOptions->Xoffset();
        images->Draw(canvas, x + offset, rowTop(row), mark.ImageIndex());
      } else {
        if (mark.ImageIndex() < 0 || mark.ImageIndex() > 9) return;
        if (!FInternalImage) FInternalImage = std::make_unique<TSrcInternalImage>(HInstance, "SrcEditInternalImages", 10);
        // Of the built-in glyphs only the first on a row is shown.
        if (offset == 0) FInternalImage->Draw(canvas, mark.ImageIndex(), x + offset, rowTop(row), FRowHeight);
      }
      offset += FBookMarkOptions->Xoffset();
    };
    for (int pass = 0; pass < 2; ++pass) {
      // The group DrawBookmarksFirst names is drawn first.
      const bool firstGroup = pass == 0;
      for (int i = 0; i < FMarkList->Count(); ++i) {
        const TSrcEditMark& mark = *FMarkList->Items(i);
        if (!mark.Visible() || mark.Line() < firstLine || mark.Line() > lastLine) continue;
        if ((mark.IsBookmark() == bookmarksFirst) == firstGroup) drawMark(mark, firstGroup);
      }
    }
  }
  if (!OnGutterPaint) return;
  for (int line = firstLine; line <= lastLine; ++line) {
    const int row = LineToRow(line);
    const int x = drawMarks && row >= firstRow && row <= lastRow ? offsets[static_cast<size_t>(row - firstRow)] : 0;
    OnGutterPaint(this, line, x, rowTop(row));
  }
}

void TCustomSrcEdit::DoOnPaint() {
  if (!OnPaint) return;
  Canvas().Font().Assign(Font());
  Canvas().Brush().SetColor(Color());
  OnPaint(this, Canvas());
}

bool TCustomSrcEdit::DoOnSpecialLineColors(int line, TColor& foreground, TColor& background) {
  bool special = false;
  if (OnSpecialLineColors) OnSpecialLineColors(this, line, special, foreground, background);
  return special;
}

// ---------------------------------------------------------------- paint properties

void TCustomSrcEdit::SetRightEdge(int value) {
  if (value == FRightEdge) return;
  FRightEdge = value;
  Invalidate();
}

void TCustomSrcEdit::SetRightEdgeColor(TColor value) {
  if (value == FRightEdgeColor) return;
  FRightEdgeColor = value;
  if (!HandleAllocated()) return;
  const int x = FTextOrigin + FRightEdge * FCellWidth;
  InvalidateRect(Rect(x - 1, 0, x + 1, Height()), false);
}

void TCustomSrcEdit::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  InvalidateSelection();
}

}  // namespace vk
