#pragma once
// The multi-line edit controls: TMemo and TRichEdit, which shows and prints
// plain text. Their text is lines; Lines reads and changes them as TStrings
// (with LoadFromFile and SaveToFile), and every change of the lines is a
// change of the text (OnChange). A memo that is never shown is a plain
// line buffer: it gets no window and no widget.
//
// The text is the lines joined by CR LF; a text that ends with a line break
// has an empty last line, which Lines does not count (as the system's memo
// does). Setting Lines' text keeps such a final break; adding a line to a
// text without one starts a new line.

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "platform/Edits.h"
#include "platform/StringLists.h"

namespace vk {

class TCustomMemo;

// The lines of a memo.
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo& memo) : FMemo(memo) {}
  std::string ClassName() const override { return "TMemoStrings"; }

  std::string Get(int index) const override;
  int GetCount() const override;
  void Clear() override;
  void Delete(int index) override;
  // A text with line breaks becomes several lines.
  void Insert(int index, const std::string& text) override;
  void Put(int index, const std::string& text) override;
  // The memo's text becomes exactly this text.
  void SetTextStr(const std::string& text) override;

protected:
  void SetUpdateState(bool updating) override;

private:
  void CheckIndex(int index, int limit) const;
  TCustomMemo& FMemo;
};

class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;
  std::string ClassName() const override { return "TCustomMemo"; }

  TStrings& Lines() { return FLines; }
  const TStrings& Lines() const { return FLines; }

  // Long lines wrap at the window's edge (on by default).
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  // Enter types a line break (else it is a dialog key).
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }

  // Every line of the text (the empty one after a final break included).
  const std::vector<std::string>& TextLines() const { return FTextLines; }
  // The first line (of TextLines) that may have changed since the last
  // call: the lines before it are as they were then. INT_MAX when nothing
  // changed. Lets the screen's widget take only the lines added at the end.
  int TakeFirstChangedLine() { return std::exchange(FFirstChangedLine, INT_MAX); }

  void WndProc(TMessage& message) override;

protected:
  std::string StoredText() const override;
  void StoreText(const std::string& text) override;
  int TextLength() const override { return LineOffset(static_cast<int>(FTextLines.size())); }
  std::string PastedText(const std::string& text) const override;
  void TypeChar(const std::string& chars) override;

private:
  friend class TMemoStrings;
  // Lines changed from code: the caret goes to caret; the control shows
  // it and hears of it, at the end of an update bracket when one is open.
  void LinesChanged(int caret);
  // The offset of line index in the text.
  int LineOffset(int index) const;
  void SetTextLines(std::vector<std::string> lines);
  void LinesChangedFrom(int index) { FFirstChangedLine = std::min(FFirstChangedLine, index); }

  std::vector<std::string> FTextLines{""};
  // The bytes of all lines, line breaks not counted.
  size_t FTextSize = 0;
  int FFirstChangedLine = 0;
  TMemoStrings FLines{*this};
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
};

class TMemo : public TCustomMemo {
public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
  std::string ClassName() const override { return "TMemo"; }
};

// Plain text here: it shows and prints its lines in its font.
class TRichEdit : public TCustomMemo {
public:
  explicit TRichEdit(TComponent* owner) : TCustomMemo(owner) {}
  std::string ClassName() const override { return "TRichEdit"; }

  // Prints the lines on the printer as one job named title.
  void Print(const std::string& title);
};

}  // namespace vk
