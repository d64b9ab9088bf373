#pragma once
// A headless editor for behaviour tests: fixed 8 x 16 cells, a window of
// 80 x 25 cells, an in-memory clipboard, and a small highlighter whose block
// comments span lines and which counts the lines it scans.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEdit.h"
#include "platform/Clipboard.h"
#include "platform/InputState.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk::test {

// "/*" opens and "*/" closes a comment; the range at a line's end is 1
// inside a comment, else 0. Each line is one token.
class TCommentHighlighter : public TSrcCustomHighlighter {
public:
  TCommentHighlighter() : TSrcCustomHighlighter(nullptr) {}
  TSrcHighlighterAttributes* GetDefaultAttribute(int) const override { return nullptr; }
  bool GetEol() const override { return FDone; }
  std::string GetToken() const override { return std::string(FLine); }
  TSrcHighlighterAttributes* GetTokenAttribute() const override { return nullptr; }
  int GetTokenKind() const override { return 0; }
  int GetTokenPos() const override { return 0; }
  void Next() override { FDone = true; }
  void SetLine(std::string_view line, int) override {
    ++LinesScanned;
    FLine = line;
    FDone = line.empty();
    for (size_t i = 0; i + 1 < line.size(); ++i) {
      if (line.substr(i, 2) == (FInComment ? "*/" : "/*")) {
        FInComment = !FInComment;
        ++i;
      }
    }
  }
  TSrcEditRange GetRange() const override { return FInComment ? 1 : 0; }
  void SetRange(TSrcEditRange range) override { FInComment = range == 1; }
  void ResetRange() override { FInComment = false; }

  int LinesScanned = 0;

private:
  std::string_view FLine;
  bool FDone = true;
  bool FInComment = false;
};

class EditorTest : public ::testing::Test {
protected:
  EditorTest() {
    FSavedClipboard = Clipboard().SetBackend(std::make_unique<TMemoryClipboard>());
    Edit.HandleNeeded();
    SizeTo(80, 25);
  }
  ~EditorTest() override {
    Clipboard().SetBackend(std::move(FSavedClipboard));
    ReleaseAllKeys();
  }

  TMemoryClipboard& MemoryClipboard() { return static_cast<TMemoryClipboard&>(Clipboard().Backend()); }

  // Sizes the window so that its text area holds columns x rows cells.
  void SizeTo(int columns, int rows) {
    for (int i = 0; i < 3; ++i) {
      int width = Edit.Width() + Edit.GutterWidth() + 2 + columns * Edit.CellWidth() - Edit.ClientWidth();
      int height = Edit.Height() + rows * Edit.RowHeight() - Edit.ClientHeight();
      Edit.SetBounds(0, 0, width, height);
    }
  }

  void Goto(int x, int y) { Edit.CommandProcessor(ecGotoXY, 0, TBufferCoord{x, y}); }
  void Run(TSrcEditorCommand command, char c = 0) { Edit.CommandProcessor(command, c); }
  void SetOption(TSrcEditorOption option, bool on) {
    TSrcEditorOptions options = Edit.Options();
    on ? options.Include(option) : options.Exclude(option);
    Edit.SetOptions(options);
  }

  void SetLines(const std::vector<std::string>& lines) {
    TStringsUpdate update(Edit.Lines());
    Edit.Lines().Clear();
    for (const std::string& line : lines) Edit.Lines().Add(line);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < Edit.Lines().Count(); ++i) lines.push_back(Edit.Lines().Get(i));
    return lines;
  }
  // A file read into the editor, and what saving it writes.
  void LoadBytes(const std::string& bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    Edit.Lines().LoadFromStream(stream);
  }
  std::string SavedBytes() {
    TMemoryStream stream;
    Edit.Lines().SaveToStream(stream);
    return stream.DataString();
  }
  // The lines the saved bytes read back as.
  static std::vector<std::string> LinesReadBack(const std::string& bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    TSrcEditStringList store;
    store.LoadFromStream(stream);
    std::vector<std::string> lines;
    for (int i = 0; i < store.Count(); ++i) lines.push_back(store.Get(i));
    return lines;
  }
  void Select(TBufferCoord from, TBufferCoord to) {
    Edit.SetBlockBegin(from);
    Edit.SetBlockEnd(to);
  }
  // Where the marks stand, in list order: "line:char" each.
  std::string MarkPlaces() const {
    std::string places;
    for (int i = 0; i < Edit.Marks().Count(); ++i)
      places += Format("%d:%d ", Edit.Marks().Items(i)->Line(), Edit.Marks().Items(i)->Char());
    return places;
  }

  // The fixed metrics are in place before the editor measures its font.
  TFontMetricsScope FMetrics;
  std::unique_ptr<TClipboardBackend> FSavedClipboard;
  TSrcEdit Edit{nullptr};
};

}  // namespace vk::test
