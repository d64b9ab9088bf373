#include "services/ErrorJump.h"

#include <algorithm>
#include <filesystem>

#include "SrcEdit/Source/SrcEdit.h"
#include "platform/FilePaths.h"

namespace vk {

namespace {

constexpr TColor kJumpRed = 0x000000FF;
constexpr int kBarEnd = 500;

// The field from pos up to the next ":" or the end of the line.
std::string_view FieldAt(std::string_view line, size_t pos) {
  if (pos >= line.size()) return {};
  std::string_view rest = line.substr(pos);
  return rest.substr(0, rest.find(':'));
}

// A positive decimal line number; 0 for anything else.
int LineNumber(std::string_view field) {
  if (field.empty() || field.size() > 9 ||
      !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  return std::stoi(std::string(field));
}

// The extensions of the files a project's makefile compiles: C sources and
// headers, C++ sources, assembler sources.
constexpr std::string_view kSourceExtensions[] = {".c", ".C", ".h", ".H", ".cpp", ".S", ".s"};

// The ":" after the first source extension that ends a file name. A dot
// inside a folder name (".cache/") is not an extension.
size_t ExtensionEnd(std::string_view line) {
  for (size_t pos = line.find('.'); pos != std::string_view::npos; pos = line.find('.', pos + 1))
    for (std::string_view extension : kSourceExtensions)
      if (line.substr(pos).starts_with(extension) && line.substr(pos + extension.size()).starts_with(':'))
        return pos + extension.size();
  return std::string_view::npos;
}

void SelectLineBlock(TCustomSrcEdit& editor, int line) {
  editor.SelectedColor().SetBG(kJumpRed);
  editor.SetBlockBegin({1, line});
  editor.SetBlockEnd({kBarEnd, line});
}

}  // namespace

std::optional<TErrorJump> ParseErrorJump(std::string_view paneLine) {
  size_t end = ExtensionEnd(paneLine);
  if (end != std::string_view::npos) {
    // The name starts after the field before it ("main.o:/p/main.c:2: ...").
    size_t colon = paneLine.rfind(':', end - 1);
    size_t start = colon == std::string_view::npos ? 0 : colon + 1;
    int line = LineNumber(FieldAt(paneLine, end + 1));
    if (line == 0) return std::nullopt;
    return TErrorJump{std::string(paneLine.substr(start, end - start)), line};
  }
  size_t colon = paneLine.find(':');
  int line = colon == std::string_view::npos ? 0 : LineNumber(FieldAt(paneLine, colon + 1));
  if (line == 0) return std::nullopt;
  return TErrorJump{"", line};
}

std::string JumpPath(const TErrorJump& jump, const std::string& makeFolder, const std::string& projectFolder) {
  const std::string path = PathFrom(projectFolder, PathFrom(makeFolder, jump.File));
  return std::filesystem::path(path).lexically_normal().string();
}

void MarkPaneLine(TCustomSrcEdit& pane) {
  pane.SetSelectionMode(smColumn);
  SelectLineBlock(pane, pane.CaretY());
}

void SelectErrorLine(TCustomSrcEdit& editor, int line) {
  line = std::clamp(line, 1, std::max(editor.Lines().Count(), 1));
  editor.SetSelectionMode(smColumn);
  editor.SetCaretXY({1, line});
  SelectLineBlock(editor, line);
  editor.SetSelectionMode(smNormal);
}

}  // namespace vk
