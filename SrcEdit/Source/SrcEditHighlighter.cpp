#include "SrcEdit/Source/SrcEditHighlighter.h"

#include <algorithm>
#include <array>
#include <typeinfo>

#include "platform/IniFiles.h"
#include "platform/SysUtils.h"

namespace vk {

namespace {

constexpr const char* kBackground = "Background";
constexpr const char* kForeground = "Foreground";
constexpr const char* kStyle = "Style";

// Re-opens the registry key that was open when it was made, also when an
// exception passes, so an attribute leaves the caller's registry where it
// found it.
class TRegistryKeyRestore {
public:
  TRegistryKeyRestore(TRegistry& reg, bool readOnly) : FReg(reg), FPath("\\" + reg.CurrentPath()), FReadOnly(readOnly) {}
  ~TRegistryKeyRestore() {
    if (FReadOnly) FReg.OpenKeyReadOnly(FPath);
    else FReg.OpenKey(FPath, false);
  }
  TRegistryKeyRestore(const TRegistryKeyRestore&) = delete;
  TRegistryKeyRestore& operator=(const TRegistryKeyRestore&) = delete;

private:
  TRegistry& FReg;
  std::string FPath;
  bool FReadOnly;
};

// The 16 colours of the palette that other programs' layouts index.
constexpr std::array<TColor, 16> kForeignPalette = {clBlack, clMaroon, clGreen, clOlive, clNavy,   clPurple,
                                                    clTeal,  clSilver, clGray,  clRed,   clLime,   clYellow,
                                                    clBlue,  clFuchsia, clAqua, clWhite};

// A palette colour by its stored index; an index outside the palette is bad
// input and fails the load.
TColor PaletteColor(int index) {
  if (index < 0 || index >= static_cast<int>(kForeignPalette.size()))
    throw EConvertError(Format("Palette index %d out of range", index));
  return kForeignPalette[index];
}

// The truth of a stored text: everything but "FALSE" (any case) and "0".
bool ForeignBool(const std::string& text) { return !(SameText(text, "FALSE") || text == "0"); }

struct TForeignValues {
  TColor Background;
  TColor Foreground;
  TFontStyles Style;
};

// Old layout: one string of seven comma-separated fields; 3 holds style
// letters, 4 and 5 choose the window colours ("1"), 6 and 7 palette indexes.
std::optional<TForeignValues> ReadOldForeignLayout(TRegistry& reg, const std::string& keyPath,
                                                   const std::string& name) {
  if (!reg.OpenKeyReadOnly(keyPath) || !reg.ValueExists(name)) return std::nullopt;
  const std::string text = reg.ReadString(name);
  std::array<std::string, 7> fields;
  size_t start = 0;
  for (std::string& field : fields) {
    if (start > text.size()) break;
    const size_t comma = std::min(text.find(',', start), text.size());
    field = text.substr(start, comma - start);
    start = comma + 1;
  }
  TForeignValues values;
  for (char letter : fields[2]) {
    if (letter == 'B') values.Style.Include(fsBold);
    else if (letter == 'I') values.Style.Include(fsItalic);
    else if (letter == 'U') values.Style.Include(fsUnderline);
  }
  values.Foreground = fields[3] == "1" ? clWindowText : PaletteColor(StrToInt(fields[5]));
  values.Background = fields[4] == "1" ? clWindow : PaletteColor(StrToInt(fields[6]));
  return values;
}

// A colour of the new layout: a palette index, or else a colour text.
std::optional<TColor> ReadForeignColor(TRegistry& reg, const std::string& name) {
  if (reg.ValueExists(name + " Color")) return PaletteColor(reg.ReadInteger(name + " Color"));
  if (reg.ValueExists(name + " Color New")) return StringToColor(reg.ReadString(name + " Color New"));
  return std::nullopt;
}

// New layout: a key per attribute with colour values and five truth texts.
std::optional<TForeignValues> ReadNewForeignLayout(TRegistry& reg, const std::string& keyPath,
                                                   const std::string& name) {
  if (!reg.OpenKeyReadOnly(keyPath + "\\" + name)) return std::nullopt;
  const std::optional<TColor> foreground = ReadForeignColor(reg, "Foreground");
  const std::optional<TColor> background = ReadForeignColor(reg, "Background");
  if (!foreground || !background) return std::nullopt;
  for (const char* flag : {"Bold", "Italic", "Underline", "Default Foreground", "Default Background"})
    if (!reg.ValueExists(flag)) return std::nullopt;
  auto flag = [&reg](const char* valueName) { return ForeignBool(reg.ReadString(valueName)); };
  TForeignValues values;
  values.Background = flag("Default Background") ? clWindow : *background;
  values.Foreground = flag("Default Foreground") ? clWindowText : *foreground;
  if (flag("Bold")) values.Style.Include(fsBold);
  if (flag("Italic")) values.Style.Include(fsItalic);
  if (flag("Underline")) values.Style.Include(fsUnderline);
  return values;
}

// The class name without a leading "TSrc" (or else "T") and a trailing
// "hl", any case: "TSrcAvrHl" -> "Avr".
std::string ExportName(const TSrcCustomHighlighter& highlighter) {
  std::string name = highlighter.ClassName();
  if (SameText(name.substr(0, 4), "TSrc")) name.erase(0, 4);
  else if (!name.empty() && (name[0] == 'T' || name[0] == 't')) name.erase(0, 1);
  if (name.size() >= 2 && SameText(name.substr(name.size() - 2), "hl")) name.erase(name.size() - 2);
  return name;
}

// Walks one highlighter of the tree; visited lists every highlighter met so
// far, in order.
class TAttributeWalk {
public:
  TAttributeWalk(bool skipDuplicates, const THighlighterAttriProc& callback)
      : FSkipDuplicates(skipDuplicates), FCallback(callback) {}

  bool Walk(TSrcCustomHighlighter* highlighter) {
    if (!highlighter) return true;
    if (FSkipDuplicates && std::find(FVisited.begin(), FVisited.end(), highlighter) != FVisited.end()) return true;
    FVisited.push_back(highlighter);
    const std::string prefix = ExportName(*highlighter) + IntToStr(ClassOrdinal(highlighter)) + ".";
    if (const auto parts = highlighter->GetComposition()) {
      if (!Walk(parts->DefaultHighlighter)) return false;
      for (size_t i = 0; i < parts->Schemes.size(); ++i) {
        const TSrcHighlighterScheme& scheme = parts->Schemes[i];
        if (scheme.MarkerAttri &&
            !FCallback(highlighter, scheme.MarkerAttri, prefix + scheme.MarkerAttri->Name() + IntToStr(i + 1)))
          return false;
        if (!Walk(scheme.Highlighter)) return false;
      }
      return true;
    }
    for (int i = 0; i < highlighter->GetAttribCount(); ++i) {
      TSrcHighlighterAttributes* attri = highlighter->GetAttribute(i);
      if (!FCallback(highlighter, attri, prefix + attri->Name())) return false;
    }
    return true;
  }

private:
  // 1 for the first highlighter of its class met in the walk, 2 for the
  // second, ...; a highlighter met again keeps its number.
  int ClassOrdinal(const TSrcCustomHighlighter* highlighter) const {
    std::vector<const TSrcCustomHighlighter*> earlier;
    for (const TSrcCustomHighlighter* met : FVisited) {
      if (met == highlighter) break;
      if (typeid(*met) == typeid(*highlighter) && std::find(earlier.begin(), earlier.end(), met) == earlier.end())
        earlier.push_back(met);
    }
    return static_cast<int>(earlier.size()) + 1;
  }

  bool FSkipDuplicates;
  const THighlighterAttriProc& FCallback;
  std::vector<TSrcCustomHighlighter*> FVisited;
};

}  // namespace

// ------------------------------------------------------------ attributes

TSrcHighlighterAttributes::TSrcHighlighterAttributes(std::string name) : FName(std::move(name)) {}

void TSrcHighlighterAttributes::Assign(const TPersistent& source) {
  const auto* attributes = dynamic_cast<const TSrcHighlighterAttributes*>(&source);
  if (!attributes) {
    TPersistent::Assign(source);
    return;
  }
  FName = attributes->FName;
  AssignColorAndStyle(*attributes);
}

void TSrcHighlighterAttributes::AssignColorAndStyle(const TSrcHighlighterAttributes& source) {
  const bool changed =
      FBackground != source.FBackground || FForeground != source.FForeground || FStyle != source.FStyle;
  FBackground = source.FBackground;
  FForeground = source.FForeground;
  FStyle = source.FStyle;
  if (changed) Changed();
}

void TSrcHighlighterAttributes::SetBackground(TColor value) {
  if (FBackground == value) return;
  FBackground = value;
  Changed();
}

void TSrcHighlighterAttributes::SetForeground(TColor value) {
  if (FForeground == value) return;
  FForeground = value;
  Changed();
}

void TSrcHighlighterAttributes::SetStyle(TFontStyles value) {
  if (FStyle == value) return;
  FStyle = value;
  Changed();
}

void TSrcHighlighterAttributes::SetStyleFromInt(int value) {
  SetStyle(value & 1 ? TFontStyles{fsBold} : TFontStyles{});
  if (value & 2) SetStyle(FStyle + TFontStyles{fsItalic});
  if (value & 4) SetStyle(FStyle + TFontStyles{fsUnderline});
  if (value & 8) SetStyle(FStyle + TFontStyles{fsStrikeOut});
}

void TSrcHighlighterAttributes::InternalSaveDefaultValues() {
  FDefaultForeground = FForeground;
  FDefaultBackground = FBackground;
  FDefaultStyle = FStyle;
}

void TSrcHighlighterAttributes::Changed() {
  if (OnChange) OnChange(this);
}

bool TSrcHighlighterAttributes::LoadFromRegistry(TRegistry& reg) {
  TRegistryKeyRestore restore(reg, true);
  if (!reg.OpenKeyReadOnly(FName)) return false;
  if (reg.ValueExists(kBackground)) SetBackground(reg.ReadInteger(kBackground));
  if (reg.ValueExists(kForeground)) SetForeground(reg.ReadInteger(kForeground));
  if (reg.ValueExists(kStyle)) SetStyleFromInt(reg.ReadInteger(kStyle));
  return true;
}

bool TSrcHighlighterAttributes::SaveToRegistry(TRegistry& reg) {
  TRegistryKeyRestore restore(reg, false);
  if (!reg.OpenKey(FName, true)) return false;
  reg.WriteInteger(kBackground, FBackground);
  reg.WriteInteger(kForeground, FForeground);
  reg.WriteInteger(kStyle, GetStyleFromInt());
  return true;
}

bool TSrcHighlighterAttributes::LoadFromFile(TIniFile& ini) {
  TStringList keys;
  ini.ReadSection(FName, keys);
  if (keys.Count() == 0) return false;
  if (keys.IndexOf(kBackground) >= 0) SetBackground(ini.ReadInteger(FName, kBackground, FBackground));
  if (keys.IndexOf(kForeground) >= 0) SetForeground(ini.ReadInteger(FName, kForeground, FForeground));
  if (keys.IndexOf(kStyle) >= 0) SetStyleFromInt(ini.ReadInteger(FName, kStyle, GetStyleFromInt()));
  return true;
}

bool TSrcHighlighterAttributes::SaveToFile(TIniFile& ini) {
  ini.WriteInteger(FName, kBackground, FBackground);
  ini.WriteInteger(FName, kForeground, FForeground);
  ini.WriteInteger(FName, kStyle, GetStyleFromInt());
  return true;
}

bool TSrcHighlighterAttributes::LoadFromForeignRegistry(HKEY rootKey, const std::string& keyPath,
                                                        const std::string& name, bool oldStyle) {
  std::optional<TForeignValues> values;
  try {
    TRegistry reg;
    reg.SetRootKey(rootKey);
    values = oldStyle ? ReadOldForeignLayout(reg, keyPath, name) : ReadNewForeignLayout(reg, keyPath, name);
  } catch (const Exception&) {
    return false;  // a malformed value is the same as a missing one
  }
  if (!values) return false;
  SetBackground(values->Background);
  SetForeground(values->Foreground);
  SetStyle(values->Style);
  return true;
}

// ------------------------------------------------------------ highlighter

TSrcCustomHighlighter::TSrcCustomHighlighter(TComponent* owner) : TComponent(owner), FChangeHooks(this) {
  FAttributes.SetSorted(true);
  FAttributes.SetDuplicates(dupError);
  FWordBreakChars = TSrcIdentChars("!\"'()*+,-./:;=?[\\]^{|}");
}

TSrcCustomHighlighter::~TSrcCustomHighlighter() {
  BeforeDestruction();
  FreeHighlighterAttributes();
}

void TSrcCustomHighlighter::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TSrcCustomHighlighter*>(&source);
  if (!other) {
    TComponent::Assign(source);
    return;
  }
  for (int i = 0; i < GetAttribCount(); ++i) {
    TSrcHighlighterAttributes* own = GetAttribute(i);
    for (int j = 0; j < other->GetAttribCount(); ++j) {
      const TSrcHighlighterAttributes* theirs = other->GetAttribute(j);
      if (theirs->Name() == own->Name()) {
        own->Assign(*theirs);
        break;
      }
    }
  }
  if (typeid(*other) == typeid(*this)) SetSampleSource(other->GetSampleSource());
  SetWordBreakChars(other->WordBreakChars());
  SetDefaultFilter(other->GetDefaultFilter());
  SetEnabled(other->Enabled());
}

void TSrcCustomHighlighter::Loaded() {
  TComponent::Loaded();
  DefHighlightChange(nullptr);
}

TSrcHighlighterAttributes* TSrcCustomHighlighter::GetAttribute(int index) const {
  if (index < 0 || index >= FAttributes.Count()) return nullptr;
  return static_cast<TSrcHighlighterAttributes*>(FAttributes.GetObject(index));
}

TSrcIdentChars TSrcCustomHighlighter::GetIdentChars() const {
  TSrcIdentChars chars;
  chars.IncludeRange(33, 255);
  return chars;
}

void TSrcCustomHighlighter::NextToEol() {
  while (!GetEol()) Next();
}

TSrcEditRange TSrcCustomHighlighter::ScanLineEnd(std::string_view line, int lineIndex) {
  SetLine(line, lineIndex);
  NextToEol();
  return GetRange();
}

bool TSrcCustomHighlighter::LoadFromRegistry(HKEY rootKey, const std::string& key) {
  TRegistry reg;
  reg.SetRootKey(rootKey);
  if (!reg.OpenKeyReadOnly(key)) return false;
  bool result = true;
  for (int i = 0; i < GetAttribCount(); ++i) result = GetAttribute(i)->LoadFromRegistry(reg) && result;
  return result;
}

bool TSrcCustomHighlighter::SaveToRegistry(HKEY rootKey, const std::string& key) {
  TRegistry reg;
  reg.SetRootKey(rootKey);
  if (!reg.OpenKey(key, true)) return false;
  bool result = true;
  for (int i = 0; i < GetAttribCount(); ++i) result = GetAttribute(i)->SaveToRegistry(reg) && result;
  return result;
}

bool TSrcCustomHighlighter::LoadFromFile(const std::string& fileName) {
  TIniFile ini(fileName);
  bool result = true;
  for (int i = 0; i < GetAttribCount(); ++i) result = GetAttribute(i)->LoadFromFile(ini) && result;
  return result;
}

bool TSrcCustomHighlighter::SaveToFile(const std::string& fileName) {
  TIniFile ini(fileName);
  bool result = true;
  for (int i = 0; i < GetAttribCount(); ++i) result = GetAttribute(i)->SaveToFile(ini) && result;
  return result;
}

TSrcHighlighterAttributes* TSrcCustomHighlighter::AddAttribute(std::unique_ptr<TSrcHighlighterAttributes> attribute) {
  FAttributes.AddObject(attribute->Name(), attribute.get());  // a duplicate raises; the pointer still frees it
  return attribute.release();
}

void TSrcCustomHighlighter::SetAttributesOnChange(const TNotifyEvent& event) {
  for (int i = GetAttribCount() - 1; i >= 0; --i) {
    TSrcHighlighterAttributes* attribute = GetAttribute(i);
    attribute->OnChange = event;
    attribute->InternalSaveDefaultValues();
  }
}

void TSrcCustomHighlighter::DefHighlightChange(TObject* sender) {
  if (FUpdateDepth > 0) {
    FChangePending = true;
    return;
  }
  if (ComponentState().Contains(csLoading)) return;
  FChangeHooks.SetEventSender(sender);
  FChangeHooks.Fire();
}

void TSrcCustomHighlighter::FreeHighlighterAttributes() {
  for (int i = GetAttribCount() - 1; i >= 0; --i) delete GetAttribute(i);
  FAttributes.Clear();
}

void TSrcCustomHighlighter::EndUpdate() {
  if (FUpdateDepth <= 0) return;
  if (--FUpdateDepth == 0 && FChangePending) {
    FChangePending = false;
    DefHighlightChange(nullptr);
  }
}

void TSrcCustomHighlighter::SetEnabled(bool value) {
  if (FEnabled == value) return;
  FEnabled = value;
  DefHighlightChange(nullptr);
}

// ------------------------------------------------------------ placeable highlighters

TSrcCustomHighlighterClass TSrcHighlighterList::GetItem(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
  return FItems[index];
}

int TSrcHighlighterList::FindByClass(const TComponent* component) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i]->IsInstance(component)) return i;
  return -1;
}

int TSrcHighlighterList::FindByName(const std::string& languageName) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i]->GetLanguageName() == languageName) return i;
  return -1;
}

TSrcHighlighterList& GetPlaceableHighlighters() {
  static TSrcHighlighterList list;
  return list;
}

void RegisterPlaceableHighlighter(TSrcCustomHighlighterClass highlighterClass) {
  std::vector<TSrcCustomHighlighterClass>& items = GetPlaceableHighlighters().FItems;
  if (std::find(items.begin(), items.end(), highlighterClass) == items.end()) items.push_back(highlighterClass);
}

bool EnumHighlighterAttris(TSrcCustomHighlighter* highlighter, bool skipDuplicates,
                           const THighlighterAttriProc& callback) {
  if (!highlighter || !callback) return false;
  return TAttributeWalk(skipDuplicates, callback).Walk(highlighter);
}

}  // namespace vk
