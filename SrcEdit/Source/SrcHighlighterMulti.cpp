// The multi-language highlighter's make-up: its schemes, the highlighters it
// follows, its attribute list and its storage in the registry. The line
// split, the token walk and the range packing are in
// SrcHighlighterMultiScan.cpp.

#include "SrcEdit/Source/SrcHighlighterMulti.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "SrcEdit/Source/SrcRegex.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

constexpr const char* kEnginePrefix = "TRegex(comp):";

}  // namespace

void ValidateExpression(const std::string& expression) {
  TRegex regex;
  try {
    regex.SetExpression(expression);
    regex.Compile();
  } catch (ERegex& e) {
    if (e.ErrorCode() >= 1000) throw;
    // The engine's position is the 0-based offset where compiling stopped;
    // the user is shown the character there, counted from 1 (the end of the
    // expression when compiling ran past it).
    const int length = std::max(1, static_cast<int>(expression.size()));
    const int position = std::clamp(e.CompilerErrorPos() + 1, 1, length);
    std::string reason = regex.ErrorMsg(e.ErrorCode());
    if (reason.starts_with(kEnginePrefix)) reason.erase(0, std::string_view(kEnginePrefix).size());
    e.SetMessage(Format("\"%s\" is not a valid Regular Expression.\rError (pos %d): %s", expression.c_str(),
                        position, reason.c_str()));
    throw;
  }
}

// ------------------------------------------------------------ TScheme

TScheme::TScheme(TCollection* collection)
    : TCollectionItem(collection), FMarkerAttri(std::make_unique<TSrcHighlighterAttributes>("Marker")) {
  if (const auto* schemes = dynamic_cast<const TSchemes*>(collection)) FOwner = schemes->Owner();
  FMarkerAttri->SetBackground(clYellow);
  FMarkerAttri->SetStyle(TFontStyles{fsBold});
  FMarkerAttri->InternalSaveDefaultValues();
  FMarkerAttri->OnChange = TNotifyEvent(this, &TScheme::MarkerAttriChanged);
}

TScheme::~TScheme() {
  // Unfollowed quietly: leaving the collection reports the change.
  FHighlighter = nullptr;
  if (FOwner) FOwner->FollowHighlighters();
}

void TScheme::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TScheme*>(&source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  if (other == this) return;
  std::optional<TCollectionUpdate> update;
  if (Collection()) update.emplace(*Collection());
  SetCaseSensitive(other->FCaseSensitive);
  SetStartExpr(other->FStartExpr);
  SetEndExpr(other->FEndExpr);
  SetHighlighter(other->FHighlighter);
  SetMarkerAttri(*other->FMarkerAttri);
  FSchemeName = other->FSchemeName;
  OnCheckStartMarker = other->OnCheckStartMarker;
  OnCheckEndMarker = other->OnCheckEndMarker;
}

std::string TScheme::DisplayName() const { return FSchemeName.empty() ? ClassName() : FSchemeName; }

bool TScheme::CanOpen() const {
  return !FStartExpr.empty() && !FEndExpr.empty() && FHighlighter && FHighlighter->Enabled() &&
         FHighlighter != FOwner;
}

void TScheme::SetCaseSensitive(bool value) {
  if (FCaseSensitive == value) return;
  FCaseSensitive = value;
  Changed(true);
}

std::string TScheme::ConvertExpression(const std::string& value) const {
  return FCaseSensitive ? value : UpperCase(value);
}

void TScheme::SetExpr(std::string& expr, const std::string& value) {
  if (expr == value) return;
  if (!value.empty()) ValidateExpression(value);
  const std::string old = std::exchange(expr, value);
  if (ConvertExpression(old) != ConvertExpression(value)) Changed(true);
}

void TScheme::SetStartExpr(const std::string& value) { SetExpr(FStartExpr, value); }
void TScheme::SetEndExpr(const std::string& value) { SetExpr(FEndExpr, value); }

TRegex& TScheme::Regex(std::unique_ptr<TRegex>& regex, const std::string& expr) const {
  if (!regex) regex = std::make_unique<TRegex>();
  if (regex->Expression() != expr) regex->SetExpression(expr);  // compiled again on the next search
  regex->SetModifier(RegexModI, !FCaseSensitive);
  return *regex;
}

void TScheme::SetHighlighter(TSrcCustomHighlighter* value) {
  if (FHighlighter == value) return;
  FHighlighter = value;
  if (FOwner) FOwner->FollowHighlighters();
  // A multi-language highlighter inside needs the packing that keeps its
  // wide ranges; choosing it tells the editors already.
  if (FOwner && dynamic_cast<TSrcMultiHl*>(value) && FOwner->UpdateRangeProcs()) return;
  Changed(true);
}

void TScheme::SetMarkerAttri(const TSrcHighlighterAttributes& value) { FMarkerAttri->AssignColorAndStyle(value); }

void TScheme::MarkerAttriChanged(TObject*) { Changed(false); }

// ------------------------------------------------------------ TSchemes

TSchemes::TSchemes(TSrcMultiHl* owner) : TCollection(owner), FOwner(owner) {}

TScheme* TSchemes::Items(int index) const {
  auto* scheme = dynamic_cast<TScheme*>(TCollection::Items(index));
  if (!scheme) throw EConvertError("Invalid class typecast");
  return scheme;
}

void TSchemes::Update(TCollectionItem* item) {
  if (!FOwner || FOwner->ComponentState().Contains(csDestroying)) return;
  // Only a change of one item's marker colours leaves the make-up as it was.
  if (!item) FOwner->MakeUpChanged(FOwner);
  else FOwner->DefHighlightChange(item);
}

// ------------------------------------------------------------ TSrcMultiHl

TSrcMultiHl::TSrcMultiHl(TComponent* owner)
    : TSrcCustomHighlighter(owner), FSchemes(std::make_unique<TSchemes>(this)) {}

TSrcMultiHl::~TSrcMultiHl() {
  // Editors and linked components are told while every field still exists.
  BeforeDestruction();
  ClearMarkers();
  FSchemes->Clear();
  FDefaultHighlighter = nullptr;
  FollowHighlighters();
}

void TSrcMultiHl::GiveUpLine() {
  ClearMarkers();
  FLine = {};
  FSegmentHighlighter = nullptr;
  FLineGivenUp = true;
}

void TSrcMultiHl::MakeUpChanged(TObject* sender) {
  GiveUpLine();
  DefHighlightChange(sender);
}

void TSrcMultiHl::HookHighlighter(TSrcCustomHighlighter* highlighter) {
  highlighter->FreeNotification(this);
  highlighter->HookAttrChangeEvent(DefHighlightChangeEvent());
}

void TSrcMultiHl::UnhookHighlighter(TSrcCustomHighlighter* highlighter) {
  highlighter->UnhookAttrChangeEvent(DefHighlightChangeEvent());
  highlighter->RemoveFreeNotification(this);
}

void TSrcMultiHl::FollowHighlighters() {
  std::vector<TSrcCustomHighlighter*> named;
  auto name = [&](TSrcCustomHighlighter* highlighter) {
    if (highlighter && highlighter != this && std::find(named.begin(), named.end(), highlighter) == named.end())
      named.push_back(highlighter);
  };
  name(FDefaultHighlighter);
  for (int i = 0; i < FSchemes->Count(); ++i) name(FSchemes->Items(i)->Highlighter());
  for (TSrcCustomHighlighter* highlighter : FFollowed) {
    if (std::find(named.begin(), named.end(), highlighter) != named.end()) continue;
    // The line in hand may be in its hands: it could go unnoticed from now on.
    UnhookHighlighter(highlighter);
    GiveUpLine();
  }
  for (TSrcCustomHighlighter* highlighter : named)
    if (std::find(FFollowed.begin(), FFollowed.end(), highlighter) == FFollowed.end()) HookHighlighter(highlighter);
  FFollowed = std::move(named);
}

void TSrcMultiHl::Notification(TComponent* component, TOperation operation) {
  TSrcCustomHighlighter::Notification(component, operation);
  auto* highlighter = dynamic_cast<TSrcCustomHighlighter*>(component);
  if (operation != opRemove || !highlighter || !highlighter->ComponentState().Contains(csDestroying)) return;
  GiveUpLine();
  if (FDefaultHighlighter == highlighter) SetDefaultHighlighter(nullptr);
  for (int i = 0; i < FSchemes->Count(); ++i)
    if (FSchemes->Items(i)->Highlighter() == highlighter) FSchemes->Items(i)->SetHighlighter(nullptr);
}

void TSrcMultiHl::SetDefaultHighlighter(TSrcCustomHighlighter* value) {
  if (FDefaultHighlighter == value) return;
  if (value == this) throw Exception("A SrcMultiHl cannot be its own DefaultHighlighter.");
  FDefaultHighlighter = value;
  FollowHighlighters();
  MakeUpChanged(this);
}

void TSrcMultiHl::SetOnCustomRange(const TCustomRangeEvent& value) {
  if (FOnCustomRange == value) return;
  FOnCustomRange = value;
  UpdateRangeProcs();
}

bool TSrcMultiHl::UpdateRangeProcs() {
  TRangeProc chosen = &TSrcMultiHl::NewRangeProc;
  if (FOnCustomRange) {
    chosen = &TSrcMultiHl::UserRangeProc;
  } else {
    for (int i = 0; i < FSchemes->Count(); ++i)
      if (dynamic_cast<TSrcMultiHl*>(SchemeHighlighter(i))) chosen = &TSrcMultiHl::OldRangeProc;
  }
  if (chosen == FRangeProc) return false;
  FRangeProc = chosen;
  DefHighlightChange(this);
  return true;
}

// ------------------------------------------------------------ attributes

TSrcCustomHighlighter* TSrcMultiHl::SchemeHighlighter(int index) const {
  if (index < 0 || index >= FSchemes->Count()) return nullptr;
  TSrcCustomHighlighter* highlighter = FSchemes->Items(index)->Highlighter();
  return highlighter == this ? nullptr : highlighter;
}

int TSrcMultiHl::GetAttribCount() const {
  int count = FSchemes->Count();
  if (FDefaultHighlighter) count += FDefaultHighlighter->GetAttribCount();
  for (int i = 0; i < FSchemes->Count(); ++i)
    if (TSrcCustomHighlighter* highlighter = SchemeHighlighter(i)) count += highlighter->GetAttribCount();
  return count;
}

TSrcHighlighterAttributes* TSrcMultiHl::GetAttribute(int index) const {
  if (index < 0) return nullptr;
  if (index < FSchemes->Count()) return FSchemes->Items(index)->MarkerAttri();
  index -= FSchemes->Count();
  auto from = [&index](const TSrcCustomHighlighter* highlighter) -> TSrcHighlighterAttributes* {
    if (!highlighter) return nullptr;
    const int count = highlighter->GetAttribCount();
    if (index < count) return highlighter->GetAttribute(index);
    index -= count;
    return nullptr;
  };
  if (TSrcHighlighterAttributes* attribute = from(FDefaultHighlighter)) return attribute;
  for (int i = 0; i < FSchemes->Count(); ++i)
    if (TSrcHighlighterAttributes* attribute = from(SchemeHighlighter(i))) return attribute;
  return nullptr;
}

TSrcHighlighterAttributes* TSrcMultiHl::GetDefaultAttribute(int index) const {
  const TSrcCustomHighlighter* highlighter = ActiveHighlighter();
  return highlighter ? highlighter->GetDefaultAttribute(index) : nullptr;
}

TSrcIdentChars TSrcMultiHl::GetIdentChars() const {
  const TSrcCustomHighlighter* highlighter = ActiveHighlighter();
  return highlighter ? highlighter->GetIdentChars() : TSrcCustomHighlighter::GetIdentChars();
}

std::optional<TSrcHighlighterComposition> TSrcMultiHl::GetComposition() const {
  TSrcHighlighterComposition parts{FDefaultHighlighter, {}};
  for (int i = 0; i < FSchemes->Count(); ++i)
    parts.Schemes.push_back({FSchemes->Items(i)->MarkerAttri(), SchemeHighlighter(i)});
  return parts;
}

// ------------------------------------------------------------ registry

namespace {

// Loads or saves one scheme below key; false when any part failed.
bool StoreScheme(const TScheme& scheme, HKEY rootKey, const std::string& key, bool save) {
  if (scheme.SchemeName().empty()) return false;
  const std::string schemeKey = key + "\\" + scheme.SchemeName();
  bool result;
  {
    TRegistry reg;
    reg.SetRootKey(rootKey);
    if (!(save ? reg.OpenKey(schemeKey, true) : reg.OpenKeyReadOnly(schemeKey))) return false;
    result = save ? scheme.MarkerAttri()->SaveToRegistry(reg) : scheme.MarkerAttri()->LoadFromRegistry(reg);
  }
  TSrcCustomHighlighter* highlighter = scheme.Highlighter();
  if (!highlighter || highlighter == scheme.Owner()) return false;
  const bool stored =
      save ? highlighter->SaveToRegistry(rootKey, schemeKey) : highlighter->LoadFromRegistry(rootKey, schemeKey);
  return stored && result;
}

}  // namespace

bool TSrcMultiHl::LoadFromRegistry(HKEY rootKey, const std::string& key) {
  bool result = FDefaultHighlighter && FDefaultHighlighter->LoadFromRegistry(rootKey, key + "\\DefaultHighlighter");
  for (int i = 0; i < FSchemes->Count(); ++i) result = StoreScheme(*FSchemes->Items(i), rootKey, key, false) && result;
  return result;
}

bool TSrcMultiHl::SaveToRegistry(HKEY rootKey, const std::string& key) {
  bool result = FDefaultHighlighter && FDefaultHighlighter->SaveToRegistry(rootKey, key + "\\DefaultHighlighter");
  for (int i = 0; i < FSchemes->Count(); ++i) result = StoreScheme(*FSchemes->Items(i), rootKey, key, true) && result;
  return result;
}

}  // namespace vk
