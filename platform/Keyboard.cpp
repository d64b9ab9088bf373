#include "platform/Keyboard.h"

#include <cstring>

#include "platform/SysUtils.h"

namespace vk {

namespace {

constexpr TShortCut ModifierBits = scShift | scCtrl | scAlt;

// Names of the keys that are no character, in key-code order.
struct TKeyName {
  uint8_t Key;
  const char* Name;
};
constexpr TKeyName KeyNames[] = {
    {VK_BACK, "BkSp"},      {VK_TAB, "Tab"},          {VK_RETURN, "Enter"},     {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},    {VK_PRIOR, "PgUp"},       {VK_NEXT, "PgDn"},        {VK_END, "End"},
    {VK_HOME, "Home"},      {VK_LEFT, "Left"},        {VK_UP, "Up"},            {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},      {VK_INSERT, "Ins"},       {VK_DELETE, "Del"},       {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},      {VK_SUBTRACT, "Num -"},   {VK_DECIMAL, "Num Del"},  {VK_DIVIDE, "Num /"},
    {VK_OEM_1, ";"},        {VK_OEM_PLUS, "="},       {VK_OEM_COMMA, ","},      {VK_OEM_MINUS, "-"},
    {VK_OEM_PERIOD, "."},   {VK_OEM_2, "/"},          {VK_OEM_3, "`"},          {VK_OEM_4, "["},
    {VK_OEM_5, "\\"},       {VK_OEM_6, "]"},          {VK_OEM_7, "'"},
};

std::string KeyName(uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  // Keypad digits get their own names, so that every name leads back to one key.
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + std::string(1, static_cast<char>('0' + key - VK_NUMPAD0));
  if (key >= VK_F1 && key <= VK_F24) return "F" + IntToStr(key - VK_F1 + 1);
  for (const TKeyName& entry : KeyNames)
    if (entry.Key == key) return entry.Name;
  return "";
}

// Removes `front` from the start of `text` when it is there (any letter case).
bool TakeFront(std::string& text, const char* front) {
  size_t length = std::strlen(front);
  if (text.size() < length || !SameText(text.substr(0, length), front)) return false;
  text.erase(0, length);
  return true;
}

}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  if (key > 0xFF) return scNone;
  TShortCut result = key;
  if (shift.Contains(ssShift)) result |= scShift;
  if (shift.Contains(ssCtrl)) result |= scCtrl;
  if (shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
  key = shortCut & ~ModifierBits;
  shift = {};
  if (shortCut & scShift) shift.Include(ssShift);
  if (shortCut & scCtrl) shift.Include(ssCtrl);
  if (shortCut & scAlt) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
  // Bits between the key byte and the modifiers belong to no key.
  if ((shortCut & ~ModifierBits) > 0xFF) return "";
  std::string name = KeyName(static_cast<uint8_t>(shortCut & 0xFF));
  if (name.empty()) return "";
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(const std::string& text) {
  std::string rest = text;
  TShortCut modifiers = 0;
  for (;;) {
    if (TakeFront(rest, "Shift+")) modifiers |= scShift;
    else if (TakeFront(rest, "^") || TakeFront(rest, "Ctrl+")) modifiers |= scCtrl;
    else if (TakeFront(rest, "Alt+")) modifiers |= scAlt;
    else break;
  }
  if (rest.empty()) return scNone;
  for (int key = 1; key <= 0xFF; ++key)
    if (SameText(rest, KeyName(static_cast<uint8_t>(key)))) return static_cast<TShortCut>(key | modifiers);
  return scNone;
}

}  // namespace vk
