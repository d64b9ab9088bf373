#pragma once
// The highlighter of C sources for AVR microcontrollers: C keywords, AVR
// register, bit and vector names, AVR C library names and "0x" numbers each
// get a colour of their own.

#include "SrcEdit/Source/SrcHighlighterCScanner.h"

namespace vk {

class TSrcAvrHl : public TSrcCTextHighlighter {
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
    tkHexKey = ctkFirstOwn,
    tkAvrKey,
    tkAvrGccKey
  };

  explicit TSrcAvrHl(TComponent* owner);
  std::string ClassName() const override { return "TSrcAvrHl"; }

  TtkTokenKind GetTokenID() const { return static_cast<TtkTokenKind>(GetTokenKind()); }

  TSrcHighlighterAttributes* HexKeyAttri() const { return FHexKeyAttri; }
  TSrcHighlighterAttributes* AvrVarAttri() const { return FAvrVarAttri; }
  TSrcHighlighterAttributes* AvrGccKeyAttri() const { return FAvrGccKeyAttri; }

  // The word table: every spelling once, sorted by bytes, with its kind.
  static const TKeywordIndex& Keywords();

private:
  TSrcHighlighterAttributes* FHexKeyAttri;
  TSrcHighlighterAttributes* FAvrVarAttri;
  TSrcHighlighterAttributes* FAvrGccKeyAttri;
};

}  // namespace vk
