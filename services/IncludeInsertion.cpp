#include "services/IncludeInsertion.h"

#include <algorithm>

#include "services/CodeStart.h"
#include "services/EditCommands.h"
#include "services/SharedTables.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& text) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

bool LineCallsFor(const std::string& line, int header) {
  for (const char* keyword : KeywordListForHeader(header).Keywords)
    if (*keyword ? line.find(keyword) != std::string::npos : !line.empty()) return true;
  return false;
}

std::string IncludeLine(const std::string& header) { return "#include <" + header + ">"; }

}  // namespace

std::vector<std::string> NeededHeaders(const std::vector<TIncludeDocument>& documents) {
  std::vector<std::string> needed;
  for (const TIncludeDocument& document : documents) {
    if (IsStandardHeaderName(document.FileName)) continue;
    for (int i = 0; i < document.Lines->Count(); ++i) {
      std::string line = document.Lines->Get(i);
      for (int header = 0; header < InsertableHeaderCount; ++header) {
        std::string name = IncludeHeaderNames[header];
        if (!Contains(needed, name) && LineCallsFor(line, header)) needed.push_back(name);
      }
    }
  }
  return needed;
}

std::vector<std::string> IncludedHeaders(const TStrings& lines) {
  std::vector<std::string> included;
  for (int i = 0; i < lines.Count(); ++i) {
    std::string line = lines.Get(i);
    if (line.find("//") != std::string::npos) continue;
    for (int header = 0; header < InsertableHeaderCount; ++header) {
      if (line.find(IncludeHeaderNames[header]) == std::string::npos) continue;
      included.push_back(IncludeHeaderNames[header]);
      break;
    }
  }
  return included;
}

TIncludeInsertion PlanIncludeInsertion(const TStrings& target, const std::vector<std::string>& needed) {
  TIncludeInsertion insertion;
  insertion.Index = IncludeLinesStart(target);
  std::vector<std::string> included = IncludedHeaders(target);
  // Every line goes to the same index, so the last found ends up on top.
  for (auto header = needed.rbegin(); header != needed.rend(); ++header)
    if (!Contains(included, *header)) insertion.Lines.push_back(IncludeLine(*header));
  return insertion;
}

void InsertIncludes(TStrings& lines, const TIncludeInsertion& insertion) {
  int index = std::min(insertion.Index, lines.Count());
  for (const std::string& line : insertion.Lines) lines.Insert(index++, line);
}

void InsertIncludes(TCustomSrcEdit& editor, const TIncludeInsertion& insertion) {
  InsertEditorLines(editor, insertion.Index, insertion.Lines);
}

std::optional<std::string> IncludeLineFor(std::string_view fileName) {
  if (!fileName.ends_with(".h")) return std::nullopt;
  return IncludeLine(std::string(fileName));
}

TIncludeInsertion ManualIncludeInsertion(const TStrings& lines, std::string includeLine) {
  int index = 1;
  for (int i = lines.Count() - 1; i >= 0; --i) {
    if (lines.Get(i).find(".h") == std::string::npos) continue;
    index = i + 1;
    break;
  }
  return {index, {std::move(includeLine)}};
}

}  // namespace vk
