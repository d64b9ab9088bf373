#pragma once
// The multi-language highlighter: text that mixes languages, such as script
// blocks inside a markup file. A default highlighter colours the text outside
// any embedded region; each scheme names a start and an end regular
// expression, colours the two matched marker texts with its own attribute
// and hands the text between them to its own highlighter. The editor drives
// it like any other highlighter; it drives its parts through the same
// operations, each on a segment of the line.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcEditHighlighter.h"

namespace vk {

class TRegex;
class TSrcMultiHl;

// A range that does not fit the packing, or a broken precondition of the
// packing: a fault of the configuration, raised from GetRange.
class ESrcMultiHlAssertion : public EAssertionFailed {};

enum TRangeOperation : uint8_t { roGet, roSet };

// Replaces the built-in packing of the sub-highlighters' ranges: roGet
// fills Range with the state at the line end, roSet restores it.
using TCustomRangeEvent = TDelegate<void(TSrcMultiHl* Sender, TRangeOperation Operation, TSrcEditRange& Range)>;
// Offered every marker match; may move, resize or retext it. A length of 0
// or an empty text drops the marker.
using TOnCheckMarker =
    TDelegate<void(TObject* Sender, int& StartPos, int& MarkerLen, std::string& MarkerText, int Line)>;

// One marker found in the current line.
class TMarker : public TObject {
public:
  TMarker(int scheme, int startPos, int markerLen, bool isOpenMarker, std::string markerText)
      : FScheme(scheme), FStartPos(startPos), FMarkerLen(markerLen), FMarkerText(std::move(markerText)),
        FIsOpenMarker(isOpenMarker) {}
  std::string ClassName() const override { return "TMarker"; }

  int Scheme() const { return FScheme; }          // index in the schemes
  int StartPos() const { return FStartPos; }      // 1-based column in the whole line
  int MarkerLen() const { return FMarkerLen; }    // always above 0
  const std::string& MarkerText() const { return FMarkerText; }
  bool IsOpenMarker() const { return FIsOpenMarker; }  // false for an end marker
  int EndPos() const { return FStartPos + FMarkerLen; }  // 1-based column just after it

private:
  int FScheme;
  int FStartPos;
  int FMarkerLen;
  std::string FMarkerText;
  bool FIsOpenMarker;
};

class TSchemes;

// One kind of embedded region.
class TScheme : public TCollectionItem {
public:
  explicit TScheme(TCollection* collection);
  // Lets go of its highlighter first, then leaves the collection.
  ~TScheme() override;
  std::string ClassName() const override { return "TScheme"; }

  // From another scheme: every property, with one change report at most.
  void Assign(const TPersistent& source) override;

  // The scheme's name, or the class name when it has none.
  std::string DisplayName() const override;
  // Renames the scheme without a change report.
  void SetDisplayName(const std::string& value) override { FSchemeName = value; }

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value);
  // An invalid expression raises ERegex (see ValidateExpression) and the old
  // one stays. A change that only alters letter case in a case-insensitive
  // scheme is stored without a change report.
  const std::string& StartExpr() const { return FStartExpr; }
  void SetStartExpr(const std::string& value);
  const std::string& EndExpr() const { return FEndExpr; }
  void SetEndExpr(const std::string& value);
  // Referenced, not owned; the owning highlighter follows it and forgets it
  // when it is destroyed.
  TSrcCustomHighlighter* Highlighter() const { return FHighlighter; }
  void SetHighlighter(TSrcCustomHighlighter* value);
  // Owned; setting it copies the colours and style (the name stays
  // "Marker", which is also its storage key).
  TSrcHighlighterAttributes* MarkerAttri() const { return FMarkerAttri.get(); }
  void SetMarkerAttri(const TSrcHighlighterAttributes& value);
  const std::string& SchemeName() const { return FSchemeName; }
  void SetSchemeName(const std::string& value) { FSchemeName = value; }

  TOnCheckMarker OnCheckStartMarker;
  TOnCheckMarker OnCheckEndMarker;

  // The text the change check compares: unchanged when case-sensitive,
  // else in upper case.
  std::string ConvertExpression(const std::string& value) const;

  // The owning highlighter, or nullptr outside one.
  TSrcMultiHl* Owner() const { return FOwner; }
  // True when the scheme can open a region: both expressions, and a
  // highlighter that is enabled and is not the owner itself.
  bool CanOpen() const;
  // The expression's compiled form for the line split, kept between lines.
  TRegex& StartRegex() const { return Regex(FStartRegex, FStartExpr); }
  TRegex& EndRegex() const { return Regex(FEndRegex, FEndExpr); }

private:
  void MarkerAttriChanged(TObject* sender);
  void SetExpr(std::string& expr, const std::string& value);
  TRegex& Regex(std::unique_ptr<TRegex>& regex, const std::string& expr) const;

  TSrcMultiHl* FOwner = nullptr;
  bool FCaseSensitive = true;
  std::string FStartExpr;
  std::string FEndExpr;
  TSrcCustomHighlighter* FHighlighter = nullptr;
  std::unique_ptr<TSrcHighlighterAttributes> FMarkerAttri;
  std::string FSchemeName;
  mutable std::unique_ptr<TRegex> FStartRegex;
  mutable std::unique_ptr<TRegex> FEndRegex;
};

// The schemes of a multi-language highlighter, in the order the line split
// tries them. Every change repaints the editors that use the highlighter.
class TSchemes : public TCollection {
public:
  explicit TSchemes(TSrcMultiHl* owner);
  std::string ClassName() const override { return "TSchemes"; }

  TSrcMultiHl* Owner() const { return FOwner; }
  // Raises EListError outside 0..count-1.
  TScheme* Items(int index) const;
  // Copies the scheme into the item at the index.
  void SetItems(int index, const TScheme& value) { Items(index)->Assign(value); }
  TScheme* Add() { return static_cast<TScheme*>(TCollection::Add()); }

protected:
  TCollectionItem* CreateItem() override { return new TScheme(this); }
  void Update(TCollectionItem* item) override;

private:
  TSrcMultiHl* FOwner;
};

class TSrcMultiHl : public TSrcCustomHighlighter {
public:
  explicit TSrcMultiHl(TComponent* owner);
  ~TSrcMultiHl() override;
  std::string ClassName() const override { return "TSrcMultiHl"; }

  static std::string GetLanguageName() { return "General Multi-Highlighter"; }

  // --- attributes: every scheme's marker attribute in order, then the
  // default highlighter's attributes, then each scheme highlighter's (a
  // highlighter used twice is listed twice).
  int GetAttribCount() const override;
  TSrcHighlighterAttributes* GetAttribute(int index) const override;
  // From the open scheme's highlighter, else the default highlighter's.
  TSrcHighlighterAttributes* GetDefaultAttribute(int index) const override;
  TSrcIdentChars GetIdentChars() const override;
  std::string GetSampleSource() const override { return FSampleSource; }
  void SetSampleSource(const std::string& value) override { FSampleSource = value; }
  std::optional<TSrcHighlighterComposition> GetComposition() const override;

  // --- the token interface
  bool GetEol() const override;
  TSrcEditRange GetRange() const override;
  std::string GetToken() const override;
  TSrcHighlighterAttributes* GetTokenAttribute() const override;
  // 0 for a marker.
  int GetTokenKind() const override;
  int GetTokenPos() const override;
  void Next() override;
  // Finds the line's markers, then makes the first token current.
  void SetLine(std::string_view line, int lineIndex) override;
  void SetRange(TSrcEditRange value) override;
  void ResetRange() override;

  // The default highlighter under Key\DefaultHighlighter; each scheme's
  // marker attribute and highlighter under Key\<SchemeName>. True only when
  // there is a default highlighter and every part succeeded; every part is
  // tried.
  bool LoadFromRegistry(HKEY rootKey, const std::string& key) override;
  bool SaveToRegistry(HKEY rootKey, const std::string& key) override;

  TSchemes* Schemes() const { return FSchemes.get(); }
  void SetSchemes(const TSchemes& value) { FSchemes->Assign(value); }
  // Referenced, not owned; may be nullptr. The highlighter itself raises
  // "A SrcMultiHl cannot be its own DefaultHighlighter.".
  TSrcCustomHighlighter* DefaultHighlighter() const { return FDefaultHighlighter; }
  void SetDefaultHighlighter(TSrcCustomHighlighter* value);
  const std::string& DefaultLanguageName() const { return FDefaultLanguageName; }
  void SetDefaultLanguageName(const std::string& value) { FDefaultLanguageName = value; }
  const TCustomRangeEvent& OnCustomRange() const { return FOnCustomRange; }
  void SetOnCustomRange(const TCustomRangeEvent& value);

  // --- the current line's markers, in the order the line split found them
  int MarkerCount() const { return static_cast<int>(FMarkers.size()); }
  // Raises EListError outside 0..count-1.
  const TMarker& GetMarkers(int index) const;
  // Also forgets which marker is the current token and which comes next.
  void ClearMarkers() {
    FMarkers.clear();
    FCurrentMarker = -1;
    FNextMarker = 0;
  }
  // Offers a match to the scheme's check handler and records the marker
  // unless the handler emptied it or it no longer lies in the line after
  // the markers recorded before it.
  void DoCheckMarker(TScheme* scheme, int startPos, int markerLen, std::string markerText, bool isStart, int line);

  // --- the range packing. NewRangeProc keeps the default highlighter's and
  // the open scheme highlighter's ranges; OldRangeProc only the active
  // highlighter's (used when a scheme highlighter is itself a multi-language
  // highlighter); UserRangeProc hands both operations to OnCustomRange. A
  // state that does not fit raises ESrcMultiHlAssertion.
  void NewRangeProc(TRangeOperation operation, TSrcEditRange& range);
  void OldRangeProc(TRangeOperation operation, TSrcEditRange& range);
  void UserRangeProc(TRangeOperation operation, TSrcEditRange& range);
  // Chooses the packing; true (and the editors told) when it changed.
  bool UpdateRangeProcs();
  // The open scheme's index, -1 outside any region; an OnCustomRange
  // handler restores it on roSet. An index of a scheme that cannot open
  // gives -1.
  int CurrentScheme() const { return FCurrentScheme; }
  void SetCurrentScheme(int index);

protected:
  std::string GetLanguageNameProp() const override { return GetLanguageName(); }
  // Forgets a sub-highlighter that is being destroyed.
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TScheme;
  friend class TSchemes;
  using TRangeProc = void (TSrcMultiHl::*)(TRangeOperation, TSrcEditRange&);

  // Follows exactly the highlighters the default and the schemes name: each
  // once, however often it is named, so letting go of one reference keeps
  // the others followed.
  void FollowHighlighters();
  void HookHighlighter(TSrcCustomHighlighter* highlighter);
  void UnhookHighlighter(TSrcCustomHighlighter* highlighter);
  // Ends the scan of the current line at once: after a change of the make-up
  // no part is called for a line it never saw, nor after it has gone.
  void GiveUpLine();
  void MakeUpChanged(TObject* sender);

  // The scheme at the index when it is openable, else nullptr.
  TScheme* OpenableScheme(int index) const;
  TSrcCustomHighlighter* SchemeHighlighter(int index) const;
  // The open scheme's highlighter, else the default highlighter.
  TSrcCustomHighlighter* ActiveHighlighter() const;
  bool MarkerIsCurrent() const { return FCurrentMarker >= 0; }
  const TMarker* CurrentMarker() const { return MarkerIsCurrent() ? &FMarkers[FCurrentMarker] : nullptr; }
  void SplitLine();
  void EnterNextMarker();
  // Starts the segment of the line from the offset to the next marker (or the
  // line end); an empty segment before a marker goes straight to the marker.
  void StartSegment(int offset);

  std::unique_ptr<TSchemes> FSchemes;
  TSrcCustomHighlighter* FDefaultHighlighter = nullptr;
  std::vector<TSrcCustomHighlighter*> FFollowed;
  std::string FDefaultLanguageName;
  std::string FSampleSource;
  TCustomRangeEvent FOnCustomRange;
  TRangeProc FRangeProc = &TSrcMultiHl::NewRangeProc;

  // The scan of the current line.
  std::string_view FLine;
  int FLineIndex = 0;
  std::vector<TMarker> FMarkers;
  int FNextMarker = 0;
  int FCurrentMarker = -1;  // index of the marker that is the current token
  int FCurrentScheme = -1;  // index of the open scheme
  int FSegmentStart = 0;    // offset of the segment the active highlighter scans
  TSrcCustomHighlighter* FSegmentHighlighter = nullptr;  // the highlighter scanning it
  TSrcEditRange FSavedDefaultRange = 0;
  int FTokenPos = 0;  // of a marker, and of the whole line without a default highlighter
  int FRun = 1;       // 1-based position after the token, without a default highlighter
  bool FLineGivenUp = false;
  std::string FSearchText;  // the rest of the line the split searches
};

// Compiles the expression; a compile error raises ERegex with the message
// "\"<expression>\" is not a valid Regular Expression.\rError (pos <n>): <reason>",
// n the 1-based position of the character where compiling stopped.
void ValidateExpression(const std::string& expression);

}  // namespace vk
