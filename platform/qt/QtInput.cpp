#include "platform/qt/QtInput.h"

#include <QtGui/QKeyEvent>

#include "platform/Controls.h"
#include "platform/InputState.h"
#include "platform/Keyboard.h"
#include "platform/qt/QtConvert.h"

namespace vk {

namespace {

struct TKeyPair {
  int Qt;
  uint16_t Vk;
};

// Keys whose virtual key is not their own character code.
constexpr TKeyPair KeyTable[] = {
    {Qt::Key_Escape, VK_ESCAPE},       {Qt::Key_Tab, VK_TAB},           {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Backspace, VK_BACK},      {Qt::Key_Return, VK_RETURN},     {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Insert, VK_INSERT},       {Qt::Key_Delete, VK_DELETE},     {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_Print, VK_SNAPSHOT},      {Qt::Key_Clear, VK_CLEAR},       {Qt::Key_Home, VK_HOME},
    {Qt::Key_End, VK_END},             {Qt::Key_Left, VK_LEFT},         {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},         {Qt::Key_Down, VK_DOWN},         {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},       {Qt::Key_Shift, VK_SHIFT},       {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Meta, VK_LWIN},           {Qt::Key_Alt, VK_MENU},          {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_CapsLock, VK_CAPITAL},    {Qt::Key_NumLock, VK_NUMLOCK},   {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Menu, VK_APPS},           {Qt::Key_Help, VK_HELP},         {Qt::Key_Space, VK_SPACE},
    {Qt::Key_Semicolon, VK_OEM_1},     {Qt::Key_Colon, VK_OEM_1},       {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},       {Qt::Key_Comma, VK_OEM_COMMA},   {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},     {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD},  {Qt::Key_Slash, VK_OEM_2},       {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},     {Qt::Key_AsciiTilde, VK_OEM_3},  {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},     {Qt::Key_Backslash, VK_OEM_5},   {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},  {Qt::Key_BraceRight, VK_OEM_6},  {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},      {Qt::Key_Exclam, '1'},           {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},         {Qt::Key_Dollar, '4'},           {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},        {Qt::Key_Ampersand, '7'},        {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},          {Qt::Key_ParenRight, '0'},
};

// The keypad's operator keys.
constexpr TKeyPair KeypadTable[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},     {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Slash, VK_DIVIDE}, {Qt::Key_Comma, VK_SEPARATOR},
};

uint16_t Find(const TKeyPair* begin, const TKeyPair* end, int qtKey) {
  for (const TKeyPair* pair = begin; pair != end; ++pair)
    if (pair->Qt == qtKey) return pair->Vk;
  return 0;
}

// The control code Ctrl gives with a key (0: none).
char ControlCode(uint16_t key, bool shift) {
  if (key >= 'A' && key <= 'Z') return static_cast<char>(key - 'A' + 1);
  switch (key) {
    case VK_OEM_4: return 0x1B;
    case VK_OEM_5: return 0x1C;
    case VK_OEM_6: return 0x1D;
    case '6': return shift ? 0x1E : 0;
    case VK_OEM_MINUS: return shift ? 0x1F : 0;
    case VK_RETURN: return 0x0A;
    case VK_BACK: return 0x7F;
    case VK_SPACE: return ' ';
    default: return 0;
  }
}

}  // namespace

uint16_t VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<uint16_t>(VK_NUMPAD0 + (qtKey - Qt::Key_0));
    if (uint16_t key = Find(std::begin(KeypadTable), std::end(KeypadTable), qtKey)) return key;
  }
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
    return static_cast<uint16_t>(qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (qtKey - Qt::Key_F1));
  return Find(std::begin(KeyTable), std::end(KeyTable), qtKey);
}

namespace {

// The text without its control characters.
QString Printable(const QString& text) {
  QString printable;
  for (QChar c : text)
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) printable += c;
  return printable;
}

}  // namespace

bool IsAltCharacter(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  return (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !Printable(event.text()).isEmpty();
}

std::string TypedChars(uint16_t virtualKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  bool ctrl = modifiers & Qt::ControlModifier;
  bool alt = modifiers & Qt::AltModifier;
  // Ctrl alone turns keys into control codes; Ctrl+Alt is AltGr, which
  // types what the layout puts there.
  if (ctrl && !alt) {
    char code = ControlCode(virtualKey, modifiers & Qt::ShiftModifier);
    return code ? std::string(1, code) : std::string();
  }
  switch (virtualKey) {
    case VK_BACK: return "\b";
    case VK_TAB: return "\t";
    case VK_RETURN: return "\r";
    case VK_ESCAPE: return "\x1B";
    default: break;
  }
  return QStringToAnsi(Printable(text));
}

intptr_t KeyData(bool alt, bool repeat, bool release) {
  intptr_t data = 1;
  if (alt) data |= AltMask;
  if (repeat || release) data |= intptr_t{1} << 30;
  if (release) data |= intptr_t{1} << 31;
  return data;
}

void SetModifierKeys(Qt::KeyboardModifiers modifiers) {
  SetKeyDown(VK_SHIFT, modifiers & Qt::ShiftModifier);
  SetKeyDown(VK_CONTROL, modifiers & Qt::ControlModifier);
  SetKeyDown(VK_MENU, modifiers & Qt::AltModifier);
}

void SetButtonKeys(Qt::MouseButtons buttons) {
  SetKeyDown(VK_LBUTTON, buttons & Qt::LeftButton);
  SetKeyDown(VK_RBUTTON, buttons & Qt::RightButton);
  SetKeyDown(VK_MBUTTON, buttons & Qt::MiddleButton);
}

uintptr_t MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  uintptr_t flags = 0;
  if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
  if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

Qt::CursorShape CursorShapeOf(TCursor cursor) {
  switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crMultiDrag: return Qt::DragCopyCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

}  // namespace vk
