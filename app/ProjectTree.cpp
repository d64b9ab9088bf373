#include "app/ProjectTree.h"

#include <unordered_set>

#include "platform/StringLists.h"
#include "platform/TreeViews.h"

namespace vk {

std::string FunctionNameOfLine(const std::string& line) {
  const size_t at = line.find("void");
  if (at == std::string::npos) return "";
  if (line.find("main") != std::string::npos) return "main";
  if (line.find(';') != std::string::npos) return "";
  std::string name;
  for (size_t i = at + 4; i < line.size() && line[i] != '(' && line[i] != '*' && line[i] != ')'; ++i)
    if (line[i] != ' ') name += line[i];
  return name;
}

void AddFunctionNodes(TTreeView& tree, TTreeNode& fileNode, const TStrings& lines) {
  std::unordered_set<std::string> shown;
  for (int i = 0; i < tree.Items()->Count(); ++i) shown.insert(tree.Items()->Item(i)->Text());
  for (int i = 0; i < lines.Count(); ++i) {
    std::string name = FunctionNameOfLine(lines.Get(i));
    if (!name.empty() && shown.insert(name).second) tree.Items()->AddChild(&fileNode, name);
  }
}

int ProjectNodeImage(const std::string& text) {
  const std::string end = text.size() >= 2 ? text.substr(text.size() - 2) : "";
  if (end == ".c" || end == ".C") return 1;
  if (end == ".h" || end == ".H") return 2;
  return 3;
}

}  // namespace vk
