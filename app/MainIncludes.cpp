// The main window's include insertion: before a build, the #include lines
// the open documents' keywords call for go into the project's C file; by
// hand, "Insert include" adds one for the header picked in the file list.

#include "app/ChildWin.h"
#include "app/IncludeInsertion.h"
#include "app/Main.h"
#include "platform/FilePaths.h"
#include "platform/MessageBoxes.h"

namespace vk {

void TMainForm::AutoInsertIncludes() {
  std::vector<TMDIChild*> windows;
  std::vector<TIncludeDocument> documents;
  for (int i = 0; i < DocumentCount(); ++i) {
    windows.push_back(Documents(i));
    documents.push_back({ExtractFileName(windows.back()->Caption()), &windows.back()->Editor->Lines()});
  }
  if (windows.empty()) return;
  const std::vector<std::string> needed = NeededHeaders(documents);
  const int target = InsertionTarget(documents);
  TMDIChild* document = target >= 0 ? windows[static_cast<size_t>(target)] : windows.front();
  if (target >= 0) ShowDocument(*document);
  InsertIncludes(*document->Editor, PlanIncludeInsertion(document->Editor->Lines(), needed));
}

void TMainForm::PopIncludeAdd1Click(TObject*) {
  TMDIChild* document = ActiveDocument();
  TListItem* item = ListView1->Selected();
  if (!document || !item) return;
  std::optional<std::string> line = IncludeLineFor(item->Caption());
  if (!line) {
    ShowMessage(item->Caption() + NotAnIncludeFileText);
    return;
  }
  TSrcEdit& editor = *document->Editor;
  InsertIncludes(editor, ManualIncludeInsertion(editor.Lines(), *line));
}

}  // namespace vk
