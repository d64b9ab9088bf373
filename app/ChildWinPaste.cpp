// The document window's word after a paste of another program's text that
// held characters the code page has no form for: each became '?' in the
// text, maybe inside a string or a comment where nobody looks, so the
// window says how many. A box, not the status bar: it is seen at once, it
// comes only for such a paste, and Undo takes the paste back.

#include "app/ChildWin.h"
#include "platform/MessageBoxes.h"
#include "platform/SysUtils.h"

namespace vk {

void TMDIChild::EditorPasteReplaced(TObject*, int Count) {
  const bool one = Count == 1;
  ShowMessage(IntToStr(Count) + (one ? " character of the pasted text has" : " characters of the pasted text have") +
              " no form in the code page and " + (one ? "was" : "were") + " pasted as \"?\".");
}

}  // namespace vk
