#include "dialogs/AsciiCodeForm.h"

#include <algorithm>

#include "dialogs/FormLayout.h"
#include "services/AsciiCodeTable.h"
#include "platform/SystemMetrics.h"

namespace vk {

TASCIICodeForm* ASCIICodeForm = nullptr;

namespace {

// The strip below the table that holds the OK button.
constexpr int ButtonStrip = 48;

}  // namespace

TASCIICodeForm::TASCIICodeForm(TComponent* owner) : TForm(owner) {
  SetCaption("ASCIICodeForm");
  SetPosition(poDesktopCenter);
  SetBounds(0, 0, 1090, 648);

  SrcMemo1->SetParent(this);
  SrcMemo1->Font().SetName("Courier New");
  SrcMemo1->Font().SetHeight(-13);
  SrcMemo1->Gutter().SetVisible(false);
  SrcMemo1->SetRightEdge(0);  // no margin line across the table
  SrcMemo1->SetInsertCaret(ctHorizontalLine);
  TSrcEditKeyStrokes& keys = SrcMemo1->Keystrokes();
  for (const auto& [key, shift] : {std::pair<uint16_t, TShiftState>{VK_RETURN, {ssShift}}, {VK_F1, {}}})
    if (const int index = keys.FindKeycode(key, shift); index >= 0) keys.Delete(index);
  for (const std::string& line : AsciiCodeTableLines()) SrcMemo1->Lines().Add(line);

  FitTable();
  const int width = ClientWidth(), height = ClientHeight();
  SrcMemo1->SetBounds(0, 0, width, height - ButtonStrip);
  SrcMemo1->SetAnchors({akLeft, akTop, akRight, akBottom});
  Place(Button1, this, (width - 96) / 2, height - 38, 96, 28, "OK");
  Button1->SetAnchors({akLeft, akBottom});
  Button1->OnClick = TNotifyEvent(this, &TASCIICodeForm::Button1Click);
}

TASCIICodeForm::~TASCIICodeForm() {
  if (ASCIICodeForm == this) ASCIICodeForm = nullptr;
}

void TASCIICodeForm::FitTable() {
  // Room for every row and column in the memo's font, with its frame, its
  // scroll bars and a spare row and column (a desktop's scroll bars may be
  // wider than the system metrics say); the window grows to that, but not
  // beyond the screen.
  const TSrcMemo& memo = *SrcMemo1;
  const int frame = 2 * memo.FrameWidth();
  const int columns = memo.Lines().GetLengthOfLongestLine() + 1;
  const int rows = memo.Lines().Count() + 1;
  const int tableWidth = frame + memo.GutterWidth() + 2 + columns * memo.CellWidth() + GetSystemMetrics(SM_CXVSCROLL);
  const int tableHeight = frame + rows * memo.RowHeight() + GetSystemMetrics(SM_CYHSCROLL);
  const int frameX = Width() - ClientWidth(), frameY = Height() - ClientHeight();
  SetClientWidth(std::min(std::max(ClientWidth(), tableWidth), Screen().Width() - frameX));
  SetClientHeight(std::min(std::max(ClientHeight(), tableHeight + ButtonStrip), Screen().Height() - frameY));
}

void TASCIICodeForm::Button1Click(TObject*) { Close(); }

}  // namespace vk
