// The settings dialog's colour page: the 13 attributes of the C-for-AVR
// highlighting edited on the dialog's own highlighter, which colours the
// preview; OK hands them to the documents.

#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "dialogs/EnvironmentDlg.h"
#include "platform/ScopeGuard.h"

namespace vk {

namespace {

// The rows of the element list, in attribute key order, with the colours
// and styles of the Default button.
struct TElementRow {
  const char* Caption;
  TColor Foreground;
  TFontStyles Style;
};
const TElementRow ElementRows[HighlighterAttrCount] = {
    {"Assembler", clRed, {}},         {"AVR(GCC)", clMaroon, {fsBold}}, {"AVR(MCU)", clTeal, {fsBold}},
    {"Comment", clGray, {fsItalic}},  {"include", clGreen, {}},         {"HexKey", clFuchsia, {}},
    {"Identifier", clBlack, {}},      {"Invalid", clRed, {}},          {"C language", clBlack, {fsBold}},
    {"Number", clBlue, {}},           {"Whitespace", clWhite, {}},     {"String", clSilver, {}},
    {"Symbol", clTeal, {}},
};

// One sample line per element (and the lines between), then room below.
const char* const PreviewLines[] = {
    " asm  _asm             //Assembler",
    " enable_external_int   //AVR GCC",
    " PINA6 DDRA            //AVR MCU",
    " /*  test     */       //Comment",
    " #include test.h       //include",
    " 0x05                  //HEX",
    " test   test           //Assembler",
    "                       //",
    " for{int i=0;i<20;i++) //C language",
    " {",
    " }",
    " 1234567890            //Number",
    "                       //Whitespace",
    " \"String test\"         //String",
    " +, - ( ) . ! { }      //Symbol",
    "", "", "", "", "", "",
};

// The grid cell of a colour (a system colour by its current value); any
// colour that is not one of the sixteen shows as white.
int ColorToGridIndex(TColor color) {
  const TColorRef rgb = ColorToRGB(color);
  for (int i = 0; i < 16; ++i)
    if (ColorToRGB(ColorGridColor(i)) == rgb) return i;
  return 15;
}

// The attribute of the element list's selected row, or none.
TSrcHighlighterAttributes* SelectedAttribute(const TListBox& list, const TSrcAvrHl& highlighter) {
  const int row = list.ItemIndex();
  return row >= 0 && row < HighlighterAttrCount ? &HighlighterAttribute(highlighter, row) : nullptr;
}

}  // namespace

void TEnvironmentDlg::CreateColorPage() {
  PlaceLabel(LabelItems, Color, 16, 8, "Items:");
  Place(LBElements, Color, 16, 26, 160, 250);
  {
    TStringsUpdate update(LBElements->Items());
    for (const TElementRow& row : ElementRows) LBElements->Items().Add(row.Caption);
  }
  LBElements->OnClick = TNotifyEvent(this, &TEnvironmentDlg::LBElementsClick);
  PlaceLabel(LabelColor, Color, 196, 8, "Color:");
  Place(ColorGrid, Color, 196, 26, 120, 120);
  ColorGrid->SetClickEnablesColor(true);
  ColorGrid->OnChange = TNotifyEvent(this, &TEnvironmentDlg::ColorGridChange);
  Place(GroupBox1, Color, 336, 20, 140, 76)->SetCaption("Font");
  Place(CBBold, GroupBox1, 12, 22, 110, 17)->SetCaption("Bold");
  CBBold->OnClick = TNotifyEvent(this, &TEnvironmentDlg::CBBoldClick);
  Place(CBItalic, GroupBox1, 12, 46, 110, 17)->SetCaption("Italic");
  CBItalic->OnClick = TNotifyEvent(this, &TEnvironmentDlg::CBItalicClick);
  PlaceDefaultButton(ColorDefaultBtn, Color, 336, 112, 80, "Default", &TEnvironmentDlg::ColorDefaultBtnClick);

  PlaceLabel(LabelView, Color, 16, 290, "View:");
  Place(EditColor, Color, 16, 308, 811, 270);
  EditColor->SetHighlighter(SrcAvrHl);
  EditColor->SetReadOnly(true);
  EditColor->Gutter().SetVisible(false);
  EditColor->SetScrollBars(ssNone);
  EditColor->SetMaxUndo(10);
  EditColor->SetColor(clWhite);
  TFont font;
  font.SetName("Courier New");
  font.SetHeight(-12);
  font.SetPitch(fpFixed);
  font.SetStyle({fsBold});
  font.SetColor(clGray);
  EditColor->SetFont(font);
  // The preview takes no editing keys.
  TSrcEditKeyStrokes& keys = EditColor->Keystrokes();
  const std::pair<uint16_t, TShiftState> removed[] = {
      {VK_BACK, {ssShift}}, {VK_RETURN, {ssShift}}, {VK_TAB, {}}, {VK_TAB, {ssShift}}, {VK_F1, {}},
      {'B', {ssCtrl, ssShift}}};
  for (auto [key, shift] : removed)
    if (int index = keys.FindKeycode(key, shift); index >= 0) keys.Delete(index);
  std::string text;
  for (const char* line : PreviewLines) text += std::string(line) + "\n";
  EditColor->SrcSetText(text);
}

void TEnvironmentDlg::ShowElementAttributes() {
  if (TSrcHighlighterAttributes* attribute = SelectedAttribute(*LBElements, *SrcAvrHl)) {
    TTempValue<bool> loading(FElementLoading, true);
    ColorGrid->SetForegroundIndex(ColorToGridIndex(attribute->Foreground()));
    ColorGrid->SetBackgroundIndex(ColorToGridIndex(attribute->Background()));
    CBBold->SetChecked(attribute->Style().Contains(fsBold));
    CBItalic->SetChecked(attribute->Style().Contains(fsItalic));
  }
  EditColor->Invalidate();
}

void TEnvironmentDlg::ApplyElementAttributes() {
  TSrcHighlighterAttributes* attribute = SelectedAttribute(*LBElements, *SrcAvrHl);
  if (!attribute) return;
  // Only a colour the user picked is written: the other cell merely shows
  // the attribute's colour, which may be none of the sixteen (the window's
  // colour, no colour at all) and stays as it is.
  if (ColorGrid->ForegroundIndex() != ColorToGridIndex(attribute->Foreground()))
    attribute->SetForeground(ColorGrid->ForegroundColor());
  if (ColorGrid->BackgroundIndex() != ColorToGridIndex(attribute->Background()))
    attribute->SetBackground(ColorGrid->BackgroundColor());
  TFontStyles style;
  if (CBBold->Checked()) style.Include(fsBold);
  if (CBItalic->Checked()) style.Include(fsItalic);
  attribute->SetStyle(style);
}

void TEnvironmentDlg::LBElementsClick(TObject*) { ShowElementAttributes(); }

void TEnvironmentDlg::ColorGridChange(TObject*) {
  if (FElementLoading) return;
  ApplyElementAttributes();
  ShowElementAttributes();
}

void TEnvironmentDlg::CBBoldClick(TObject*) {
  if (!FElementLoading) ApplyElementAttributes();
}

void TEnvironmentDlg::CBItalicClick(TObject*) {
  if (!FElementLoading) ApplyElementAttributes();
}

void TEnvironmentDlg::ColorDefaultBtnClick(TObject*) {
  for (int i = 0; i < HighlighterAttrCount; ++i) {
    TSrcHighlighterAttributes& attribute = HighlighterAttribute(*SrcAvrHl, i);
    attribute.SetForeground(ElementRows[i].Foreground);
    attribute.SetStyle(ElementRows[i].Style);
  }
  // The controls follow, so that the next click starts from the defaults.
  ShowElementAttributes();
}

}  // namespace vk
