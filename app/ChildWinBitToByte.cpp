// The document window's bit-to-byte command: the selection goes to the
// converter, shown beside the caret, and on OK the byte text it composed
// replaces the selection.

#include "app/ChildWin.h"
#include "dialogs/BitToByteForm.h"
#include "platform/MessageBoxes.h"

namespace vk {

void TMDIChild::EditBitToByteCmdExecute(TObject*) {
  if (!BitToByteForm) return;
  // One byte text replaces one stretch of one line. A selection over
  // several lines (a column block among them) would lose the text between
  // its rows, so it is refused before the converter opens.
  if (Editor->BlockBegin().Line != Editor->BlockEnd().Line) {
    MessageBox("Select the byte text within one line!", "Character to find!", MB_ICONERROR);
    return;
  }
  TBitToByteForm& form = *BitToByteForm;
  const TPoint caret{Editor->CaretXPix(), Editor->CaretYPix()};
  const TPoint screen = Editor->ClientToScreen(caret);
  form.FindTextEdit->SetText(TrimRight(Editor->SelText()));
  form.SetClientWidth(591);
  form.SetClientHeight(114);
  // Below the caret where the converter fits in the editor, else above it.
  const int top = Editor->ClientHeight() - form.ClientHeight() > caret.Y ? screen.Y : screen.Y - 114;
  form.SetBounds(screen.X, top, form.Width(), form.Height());
  if (form.ShowModal() != mrOk) return;
  if (form.FindTextEdit->Text().empty()) {
    MessageBox("Select the string to find!", "Character to find!", MB_ICONERROR);
    return;
  }
  // In the selection's own mode (a one-row column block stays a column
  // block), as one undo step.
  Editor->SetSelText(form.EditByte->Text());
}

}  // namespace vk
