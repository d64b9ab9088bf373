#pragma once
// The highlighter of the build-output error pane: the words "error" and
// "warning" (and their plurals and capitalised forms) stand out; the rest of
// a line is scanned as C text.

#include "SrcEdit/Source/SrcHighlighterCScanner.h"

namespace vk {

class TErrorWarningHl : public TSrcCTextHighlighter {
public:
  enum TtkTokenKind : uint8_t {
    tkAsm = ctkAsm,
    tkComment = ctkComment,
    tkDirective = ctkDirective,
    tkIdentifier = ctkIdentifier,
    tkKey = ctkKey,
    tkNull = ctkNull,
    tkNumber = ctkNumber,
    tkSpace = ctkSpace,
    tkString = ctkString,
    tkSymbol = ctkSymbol,
    tkUnknown = ctkUnknown,
    tkErrorKey = ctkFirstOwn,
    tkWarningKey
  };

  explicit TErrorWarningHl(TComponent* owner);
  std::string ClassName() const override { return "TErrorWarningHl"; }

  TtkTokenKind GetTokenID() const { return static_cast<TtkTokenKind>(GetTokenKind()); }

  TSrcHighlighterAttributes* ErrorAttri() const { return FErrorAttri; }
  TSrcHighlighterAttributes* WarningAttri() const { return FWarningAttri; }

private:
  TSrcHighlighterAttributes* FErrorAttri;
  TSrcHighlighterAttributes* FWarningAttri;
};

}  // namespace vk
