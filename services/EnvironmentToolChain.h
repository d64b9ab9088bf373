#pragma once
// What the installed tool chain takes, for the settings dialog and the
// makefile wizard: the AVR parts its avr-gcc knows, and the file names make
// can take in a source list. The part boxes themselves are the forms'
// (dialogs/PartListBox).

#include <string>
#include <string_view>

namespace vk {

enum TPartSupport {
  psCompiles,       // avr-gcc compiles C for the part
  psAssemblerOnly,  // avr-gcc knows the part, but its core takes assembler only
  psUnknown,        // avr-gcc has no device specs for the part
};

// What the installed avr-gcc makes of the part (any letter case). Its
// device-specs folder is asked of the compiler and read once per run; when
// there is no avr-gcc to ask, every part answers psCompiles (nothing to mark).
TPartSupport PartSupport(std::string_view part);

// The part as -mmcu takes it: lower case, without blanks at its ends.
std::string MmcuSpelling(const std::string& part);

// A part list's item: the part's name, marked when avr-gcc cannot compile C
// for it; and the part an item names (the mark taken off).
std::string PartListItem(const std::string& part);
std::string PartOfListItem(const std::string& item);

// What to tell the person who chose the part; "" when avr-gcc compiles C
// for it.
std::string PartSupportMessage(const std::string& part);

// Why make cannot take the file name in a source list (a blank, a sign that
// make or the shell reads, or a letter outside ASCII); "" when it can.
std::string SourceNameProblem(const std::string& name);

}  // namespace vk
