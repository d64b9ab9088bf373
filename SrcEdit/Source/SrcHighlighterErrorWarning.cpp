#include "SrcEdit/Source/SrcHighlighterErrorWarning.h"

namespace vk {

namespace {

using enum TErrorWarningHl::TtkTokenKind;

constexpr TKeywordEntry kWords[] = {
    {"Error", tkErrorKey},   {"Errors", tkErrorKey},   {"Warning", tkWarningKey}, {"Warnings", tkWarningKey},
    {"error", tkErrorKey},   {"errors", tkErrorKey},   {"warning", tkWarningKey}, {"warnings", tkWarningKey},
};
static_assert(IsStrictlySorted(kWords));

constexpr auto kWordSlots = MakeKeywordSlots(kWords);
constexpr TKeywordIndex kWordIndex(kWords, kWordSlots);

[[maybe_unused]] const bool kRegistered =
    (RegisterPlaceableHighlighter(HighlighterClass<TErrorWarningHl>()), true);

}  // namespace

// "0x" numbers are plain numbers here: build output has no use for them.
TErrorWarningHl::TErrorWarningHl(TComponent* owner) : TSrcCTextHighlighter(owner, TSrcCScanner(kWordIndex)) {
  FErrorAttri = AddKindAttribute(tkErrorKey, SRCS_AttrVariable, clRed, {});
  FWarningAttri = AddKindAttribute(tkWarningKey, SRCS_AttrSystemValue, clBlue, {});
  SetAttributesOnChange(DefHighlightChangeEvent());
}

}  // namespace vk
