#pragma once
// The highlighter base: a component that cuts one line at a time into
// tokens and names, for each token, an attribute (foreground, background,
// font style). The editor drives every highlighter only through the virtual
// operations here; the attributes store themselves in the registry and in
// ini files. Also the process-wide list of placeable highlighter classes and
// the walk over every attribute of a highlighter tree.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcEditMiscClasses.h"
#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/Components.h"
#include "platform/Graphics.h"
#include "platform/Registry.h"
#include "platform/StringLists.h"

namespace vk {

class TIniFile;

// A named colour and font style that tokens are painted with.
class TSrcHighlighterAttributes : public TPersistent {
public:
  // Starts with no colours (clNone) and no style.
  explicit TSrcHighlighterAttributes(std::string name);
  TSrcHighlighterAttributes(const TSrcHighlighterAttributes&) = delete;
  TSrcHighlighterAttributes& operator=(const TSrcHighlighterAttributes&) = delete;
  std::string ClassName() const override { return "TSrcHighlighterAttributes"; }

  // From another attribute: its name, then its colours and style; anything
  // else raises the conversion error.
  void Assign(const TPersistent& source) override;
  // Copies the colours and style with one change notification at most.
  void AssignColorAndStyle(const TSrcHighlighterAttributes& source);

  const std::string& Name() const { return FName; }
  TColor Background() const { return FBackground; }
  TColor Foreground() const { return FForeground; }
  TFontStyles Style() const { return FStyle; }
  // Each setter notifies only when the value really changes.
  void SetBackground(TColor value);
  void SetForeground(TColor value);
  void SetStyle(TFontStyles value);

  // The style as the stores keep it: fsBold 1, fsItalic 2, fsUnderline 4,
  // fsStrikeOut 8, summed.
  int GetStyleFromInt() const { return static_cast<int>(FStyle.Mask()); }
  // Sets bold first, then adds the other styles one at a time, so a change
  // may notify more than once.
  void SetStyleFromInt(int value);

  // Records the current values as the defaults; a stored form keeps only
  // what differs from them.
  void InternalSaveDefaultValues();
  bool GetBackgroundColorStored() const { return FBackground != FDefaultBackground; }
  bool GetForegroundColorStored() const { return FForeground != FDefaultForeground; }
  bool GetFontStyleStored() const { return FStyle != FDefaultStyle; }

  // The subkey named after the attribute below the registry's open key,
  // with the integer values "Background", "Foreground" and "Style". False
  // when the subkey cannot be opened; a missing value leaves its property
  // as it is. The registry's open key is the same afterwards.
  bool LoadFromRegistry(TRegistry& reg);
  bool SaveToRegistry(TRegistry& reg);
  // The section named after the attribute, with the same three keys. An
  // empty or missing section loads nothing and gives false.
  bool LoadFromFile(TIniFile& ini);
  bool SaveToFile(TIniFile& ini);

  // Reads colours and style from another program's registry layout (see the
  // .cpp). Every field is read and checked before any is applied: a missing
  // or malformed value, or a palette index outside 0..15, gives false and
  // changes nothing.
  virtual bool LoadFromForeignRegistry(HKEY rootKey, const std::string& keyPath, const std::string& name,
                                       bool oldStyle);

  TNotifyEvent OnChange;

protected:
  virtual void Changed();

private:
  TColor FBackground = clNone;
  TColor FDefaultBackground = clNone;
  TColor FForeground = clNone;
  TColor FDefaultForeground = clNone;
  std::string FName;
  TFontStyles FStyle;
  TFontStyles FDefaultStyle;
};

enum TSrcHighlighterCapability : uint8_t { hcUserSettings, hcRegistry };
using TSrcHighlighterCapabilities = TSet<TSrcHighlighterCapability>;

// A place in a line where a token starts, and what the highlighter's scan
// needs to go on from there besides the line's text.
struct TSrcScanPoint {
  int Position = 0;
  uint32_t State = 0;
  friend bool operator==(const TSrcScanPoint&, const TSrcScanPoint&) = default;
};

class TSrcCustomHighlighter;

// One scheme of a highlighter made of other highlighters: the attribute
// that marks the scheme's text and the highlighter inside it.
struct TSrcHighlighterScheme {
  TSrcHighlighterAttributes* MarkerAttri = nullptr;
  TSrcCustomHighlighter* Highlighter = nullptr;
};

// What a highlighter made of other highlighters is made of.
struct TSrcHighlighterComposition {
  TSrcCustomHighlighter* DefaultHighlighter = nullptr;
  std::vector<TSrcHighlighterScheme> Schemes;
};

class TSrcCustomHighlighter : public TComponent {
public:
  explicit TSrcCustomHighlighter(TComponent* owner);
  // Editors are told first (and unhook while the chain still exists), then
  // the attributes are freed.
  ~TSrcCustomHighlighter() override;
  std::string ClassName() const override { return "TSrcCustomHighlighter"; }

  // From another highlighter: every attribute takes the values of the
  // source's attribute of exactly the same name; then the sample source (from
  // a highlighter of the same class), word-break characters, filter and
  // Enabled. Anything else raises the conversion error.
  void Assign(const TPersistent& source) override;
  // The one notification after a form has been read.
  void Loaded() override;

  // --- attributes, in name order
  virtual int GetAttribCount() const { return FAttributes.Count(); }
  // nullptr outside 0..count-1.
  virtual TSrcHighlighterAttributes* GetAttribute(int index) const;
  // 0 comment, 2 reserved word, 4 white space; other indexes may be nullptr.
  virtual TSrcHighlighterAttributes* GetDefaultAttribute(int index) const = 0;

  virtual std::string GetDefaultFilter() const { return FDefaultFilter; }
  // Bytes 33 to 255 unless the highlighter says otherwise.
  virtual TSrcIdentChars GetIdentChars() const;
  virtual std::string GetSampleSource() const { return {}; }
  virtual bool IsFilterStored() const { return true; }
  virtual void SetDefaultFilter(const std::string& value) { FDefaultFilter = value; }
  virtual void SetSampleSource(const std::string&) {}
  virtual void SetWordBreakChars(const TSrcIdentChars& value) { FWordBreakChars = value; }

  // Class operations; a highlighter class hides them with its own and
  // answers them through the ...Prop overrides below.
  static TSrcHighlighterCapabilities GetCapabilities() { return {hcRegistry}; }
  static std::string GetLanguageName() { return "<Unknown>"; }
  TSrcHighlighterCapabilities Capabilities() const { return GetCapabilitiesProp(); }
  std::string LanguageName() const { return GetLanguageNameProp(); }

  // --- the token interface the editor drives for each line: ResetRange
  // (first line) or SetRange (the previous line's end state), SetLine, then
  // the token functions and Next until GetEol, then GetRange.
  virtual bool GetEol() const = 0;
  virtual TSrcEditRange GetRange() const { return 0; }
  virtual std::string GetToken() const = 0;
  // The current token's length, without making the token.
  virtual int GetTokenLength() const { return static_cast<int>(GetToken().size()); }
  // nullptr paints with the editor's own font and colours.
  virtual TSrcHighlighterAttributes* GetTokenAttribute() const = 0;
  virtual int GetTokenKind() const = 0;
  // 0-based position of the current token in the line.
  virtual int GetTokenPos() const = 0;
  virtual bool IsKeyword(const std::string&) const { return false; }
  virtual void Next() = 0;
  // Starts a line and makes its first token current. The highlighter may
  // read the text in place: it must stay unchanged until the line's scan is
  // over.
  virtual void SetLine(std::string_view line, int lineIndex) = 0;
  virtual void SetRange(TSrcEditRange) {}
  virtual void ResetRange() {}
  // --- going on with a line from its middle, so that a row shown far to
  // the right of a long line's start is not scanned from there. A
  // highlighter that can answers true, and the editor keeps points of its
  // scans along the long lines it paints; a point holds for the text it
  // was found in, begun in the same state.
  virtual bool CanResumeLine() const { return false; }
  // The point at the start of a line begun in the current range.
  virtual TSrcScanPoint LineStartPoint() const { return {}; }
  // While a line is scanned: the point where the token after the current
  // one starts.
  virtual TSrcScanPoint GetScanPoint() const { return {}; }
  // Starts the scan of the line at the point, or at a later token start at
  // or before the position that the highlighter finds without cutting the
  // tokens in between; the token there is current. The text is read in
  // place, as SetLine reads it.
  virtual void ResumeLine(std::string_view, int, const TSrcScanPoint&, int) {}
  void NextToEol();
  // Starts the line in the current state and runs it to its end: the state
  // after it, as GetRange then gives it. The range scans of the editor use
  // this; a highlighter that can find the state without cutting every
  // token overrides it.
  virtual TSrcEditRange ScanLineEnd(std::string_view line, int lineIndex);

  virtual bool UseUserSettings(int) { return false; }
  virtual void EnumUserSettings(TStrings& settings) { settings.Clear(); }

  // Every attribute in its subkey below the key. False when the key cannot
  // be opened, or when any attribute failed; every attribute is still tried.
  virtual bool LoadFromRegistry(HKEY rootKey, const std::string& key);
  virtual bool SaveToRegistry(HKEY rootKey, const std::string& key);
  // The same with one ini section per attribute.
  bool LoadFromFile(const std::string& fileName);
  bool SaveToFile(const std::string& fileName);

  // A highlighter made of other highlighters answers its parts, so that a
  // walk over attributes reaches theirs; a plain highlighter answers none.
  virtual std::optional<TSrcHighlighterComposition> GetComposition() const { return std::nullopt; }

  // Takes the attribute into the name-sorted list and owns it. A second
  // attribute of the same name raises "String list does not allow
  // duplicates"; the refused attribute is freed.
  TSrcHighlighterAttributes* AddAttribute(std::unique_ptr<TSrcHighlighterAttributes> attribute);
  // Binds every attribute's OnChange and records its values as defaults;
  // the last step of a highlighter's constructor.
  void SetAttributesOnChange(const TNotifyEvent& event);
  // The attributes' change handler: tells every hooked listener, merged
  // while an update is open and silent while a form is being read.
  void DefHighlightChange(TObject* sender);
  void FreeHighlighterAttributes();

  void HookAttrChangeEvent(const TNotifyEvent& event) { FChangeHooks.Add(event); }
  void UnhookAttrChangeEvent(const TNotifyEvent& event) { FChangeHooks.Remove(event); }
  // Nested brackets; the outermost EndUpdate sends one notification when
  // anything changed inside.
  void BeginUpdate() { ++FUpdateDepth; }
  void EndUpdate();

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  const TSrcIdentChars& WordBreakChars() const { return FWordBreakChars; }

protected:
  virtual TSrcHighlighterCapabilities GetCapabilitiesProp() const { return GetCapabilities(); }
  virtual std::string GetLanguageNameProp() const { return GetLanguageName(); }
  TNotifyEvent DefHighlightChangeEvent() { return TNotifyEvent(this, &TSrcCustomHighlighter::DefHighlightChange); }

private:
  TStringList FAttributes;  // name -> attribute, owned
  TSrcNotifyEventChain FChangeHooks;
  int FUpdateDepth = 0;
  bool FEnabled = true;
  TSrcIdentChars FWordBreakChars;
  std::string FDefaultFilter;
  bool FChangePending = false;
};

// Keeps a BeginUpdate/EndUpdate bracket of a highlighter open for a scope,
// also when an exception passes.
class TSrcHighlighterUpdate {
public:
  explicit TSrcHighlighterUpdate(TSrcCustomHighlighter& highlighter) : FHighlighter(highlighter) {
    FHighlighter.BeginUpdate();
  }
  ~TSrcHighlighterUpdate() { FHighlighter.EndUpdate(); }
  TSrcHighlighterUpdate(const TSrcHighlighterUpdate&) = delete;
  TSrcHighlighterUpdate& operator=(const TSrcHighlighterUpdate&) = delete;

private:
  TSrcCustomHighlighter& FHighlighter;
};

// A highlighter class as the placeable list keeps it: its class operations
// and a test whether a component is an instance of it (or of a descendant).
struct TSrcHighlighterClassInfo {
  std::string (*GetLanguageName)();
  TSrcHighlighterCapabilities (*GetCapabilities)();
  bool (*IsInstance)(const TComponent* component);
};
using TSrcCustomHighlighterClass = const TSrcHighlighterClassInfo*;

// The one class reference of a highlighter class.
template <class T>
TSrcCustomHighlighterClass HighlighterClass() {
  static constexpr TSrcHighlighterClassInfo info{
      &T::GetLanguageName, &T::GetCapabilities,
      [](const TComponent* component) { return dynamic_cast<const T*>(component) != nullptr; }};
  return &info;
}

// The highlighter classes of the process, in order of registration.
class TSrcHighlighterList {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TSrcCustomHighlighterClass GetItem(int index) const;
  // The first class the component is an instance of, else -1.
  int FindByClass(const TComponent* component) const;
  // The first class whose language name is exactly this, else -1.
  int FindByName(const std::string& languageName) const;

private:
  friend void RegisterPlaceableHighlighter(TSrcCustomHighlighterClass highlighterClass);
  std::vector<TSrcCustomHighlighterClass> FItems;
};

TSrcHighlighterList& GetPlaceableHighlighters();
// Appends the class unless it is already registered.
void RegisterPlaceableHighlighter(TSrcCustomHighlighterClass highlighterClass);

// Called for each attribute of a highlighter tree with a name unique in the
// tree ("Avr1.Comment"); answers whether the walk goes on.
using THighlighterAttriProc = std::function<bool(TSrcCustomHighlighter* highlighter,
                                                 TSrcHighlighterAttributes* attri,
                                                 const std::string& uniqueAttriName)>;

// Walks the highlighter's attributes, or for a highlighter made of others
// its default highlighter, then each scheme's marker attribute and
// highlighter. With skipDuplicates a highlighter met twice is walked once.
// False without calls when there is no highlighter or no callback; else the
// last callback's answer (true when there was none).
bool EnumHighlighterAttris(TSrcCustomHighlighter* highlighter, bool skipDuplicates,
                           const THighlighterAttriProc& callback);

}  // namespace vk
