#pragma once
// The constant text of the settings dialog's makefile: the comment block
// of each variable row and the rules that follow the variables.

#include <string>
#include <vector>

#include "services/EnvironmentMakefile.h"

namespace vk {

// One row of the variable section: its comment lines, then its assignment.
struct TMakefileRow {
  enum TKind {
    mrText,       // Assignment + the text
    mrPart,       // Assignment + the part in the spelling -mmcu takes
    mrFlags,      // a flag group: Assignment "=" first line, Assignment "+=" each further line
    mrSources,    // Assignment, then a blank and the text when there is one
    mrExtMemory,  // no row at index 0; the comments depend on the index
  };
  std::vector<const char*> Comments;
  const char* Assignment;
  TKind Kind;
  std::string TMakefileOptions::*Text = nullptr;
  std::vector<std::string> TMakefileOptions::*Lines = nullptr;
  // The reader sets the option from this variable (the dialog fills the
  // others from its other stores).
  bool ReadBack = true;
};

// The rows in file order.
const std::vector<TMakefileRow>& MakefileRows();
// The variable name of a row's assignment ("OBJDIR =" gives "OBJDIR").
std::string MakefileVariableName(const TMakefileRow& row);
// The row that sets its option from the variable; nullptr for none.
const TMakefileRow* ReadBackRow(const std::string& name);
// The comment lines of the external memory row for a radio index above 0.
const std::vector<const char*>& ExtMemoryComments(int index);
// The rules section, lines separated by "\n", without a final line break.
extern const char* const MakefileRules;

}  // namespace vk
