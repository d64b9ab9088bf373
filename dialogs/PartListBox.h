#pragma once
// The part boxes of the settings dialog and the makefile wizard: their items
// marked by what the installed avr-gcc takes, and a pick taken.

namespace vk {

class TComboBox;

// Marks the items of a part list as PartListItem does. The lists call it as
// they drop down, so that no window asks the compiler before it is needed.
void MarkPartList(TComboBox& box);

// After a pick in a part list: the box shows the part's name without a mark,
// and a part avr-gcc cannot compile C for is named in a message. A typed
// text stays as it is.
void TakeChosenPart(TComboBox& box);

}  // namespace vk
