#include "SrcEdit/Source/SrcHighlighterAvr.h"

namespace vk {

namespace {

using enum TSrcAvrHl::TtkTokenKind;

// C keywords, AVR register, bit and vector names, and AVR C library names.
constexpr TKeywordEntry kWords[] = {
#include "SrcEdit/Source/SrcHighlighterAvrKeywords.inc"
};
static_assert(IsStrictlySorted(kWords));

constexpr auto kWordSlots = MakeKeywordSlots(kWords);
constexpr TKeywordIndex kWordIndex(kWords, kWordSlots);

[[maybe_unused]] const bool kRegistered = (RegisterPlaceableHighlighter(HighlighterClass<TSrcAvrHl>()), true);

}  // namespace

TSrcAvrHl::TSrcAvrHl(TComponent* owner) : TSrcCTextHighlighter(owner, TSrcCScanner(kWordIndex, tkHexKey)) {
  FHexKeyAttri = AddKindAttribute(tkHexKey, SRCS_AttrInternalFunction, 0x00408080, {fsBold});
  FAvrVarAttri = AddKindAttribute(tkAvrKey, SRCS_AttrSystemValue, 0x000080FF, {fsBold});
  FAvrGccKeyAttri = AddKindAttribute(tkAvrGccKey, SRCS_AttrVariable, 0x000080FF, {fsBold});
  SetAttributesOnChange(DefHighlightChangeEvent());
}

const TKeywordIndex& TSrcAvrHl::Keywords() { return kWordIndex; }

}  // namespace vk
