#include "services/ErrorJump.h"

#include <algorithm>
#include <filesystem>

#include "SrcEdit/Source/SrcEdit.h"
#include "services/TextWords.h"
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
  if (field.size() > 9 || !IsAsciiNumber(field)) return 0;
  return std::stoi(std::string(field));
}

void SelectLineBlock(TCustomSrcEdit& editor, int line) {
  editor.SelectedColor().SetBG(kJumpRed);
  editor.SetBlockBegin({1, line});
  editor.SetBlockEnd({kBarEnd, line});
}

}  // namespace

std::optional<TErrorJump> ParseErrorJump(std::string_view paneLine) {
  for (size_t colon = paneLine.find(':'); colon != std::string_view::npos; colon = paneLine.find(':', colon + 1)) {
    std::string_view field = FieldAt(paneLine, colon + 1);
    if (!IsAsciiNumber(field)) continue;
    // The name starts after the field before it ("main.o:/p/main.c:2: ...",
    // "/usr/bin/avr-ld: /p/main.c:4: ...").
    std::string_view name = paneLine.substr(0, colon);
    if (size_t before = name.rfind(':'); before != std::string_view::npos) name.remove_prefix(before + 1);
    name.remove_prefix(std::min(name.find_first_not_of(' '), name.size()));
    int line = LineNumber(field);
    if (name.empty() || line == 0) return std::nullopt;
    return TErrorJump{std::string(name), line};
  }
  return std::nullopt;
}

std::string JumpPath(const TErrorJump& jump, const std::string& makeFolder, const std::string& projectFolder) {
  const std::string fromMake = PathFrom(projectFolder, PathFrom(makeFolder, jump.File));
  const std::string fromProject = PathFrom(projectFolder, jump.File);
  const std::string& path = FileExists(fromMake) || !FileExists(fromProject) ? fromMake : fromProject;
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
