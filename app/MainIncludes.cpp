// The main window's include insertion: before a build, the #include lines
// the open documents' keywords call for go into the project's main file (a
// file the error jump opened from outside the project is not read); by
// hand, "Insert include" adds one for the header picked in the file list.

#include "app/ChildWin.h"
#include "services/IncludeInsertion.h"
#include "app/Main.h"
#include "services/ProjectFiles.h"
#include "platform/FilePaths.h"
#include "platform/MessageBoxes.h"

namespace vk {

void TMainForm::AutoInsertIncludes() {
  // The lines go into the project's main file, a C source, whichever
  // window is in front.
  const std::string mainFile = MainFileName();
  if (!mainFile.ends_with(".c") && !mainFile.ends_with(".C")) return;
  TMDIChild* target = FindDocument(JoinPath(ProjectFolder(), mainFile));
  if (!target) return;
  std::vector<TIncludeDocument> documents;
  for (int i = 0; i < DocumentCount(); ++i)
    if (!Documents(i)->OutsideProject())
      documents.push_back({ExtractFileName(Documents(i)->Caption()), &Documents(i)->Editor->Lines()});
  const std::vector<std::string> needed = NeededHeaders(documents);
  ShowDocument(*target);
  InsertIncludes(*target->Editor, PlanIncludeInsertion(target->Editor->Lines(), needed));
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
