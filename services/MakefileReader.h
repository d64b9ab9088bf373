#pragma once
// Reading a makefile's lines as make reads them, into its variables and
// rules: continued lines joined, comments and recipes told apart, the
// assignments in file order ("=", ":=", "::=", "?=", "+=", "!=", define
// ... endef, also after "override", "export" or "private", and environment
// variables beneath them), conditionals followed where the file tells their
// outcome, rules with their prerequisites, recipes and target-specific
// variables. Included files are not read, and what the reader cannot tell
// it records as unknown rather than guessing.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "services/MakefileExpansion.h"

namespace vk {

class TStrings;

// The lines as make reads them: a line ending in an odd number of "\"
// continues on the next, joined by one blank.
std::vector<std::string> MakefileLogicalLines(const TStrings& lines);

struct TMakefileVariable {
  std::string Value;  // recursive: the text as written; simple: expanded
  bool Recursive = true;
  bool Override = false;
};

// A variable a rule sets for its targets ("target328: MCU_TARGET = ...").
struct TTargetVariable {
  std::string Name, Operator, Value;  // ":=" values are expanded as read
  bool Override = false;
  bool Private = false;  // not handed on to the prerequisites
};

struct TMakefileTarget {
  bool HasRule = false;
  // None: the reader cannot tell them (a static pattern, a function).
  std::optional<std::vector<std::string>> Prerequisites = std::vector<std::string>();
  std::vector<TTargetVariable> Variables;
  std::vector<std::string> Recipes;
};

struct TMakefileContent {
  std::map<std::string, TMakefileVariable> Globals;
  std::map<std::string, TMakefileTarget> Targets;
  std::string DefaultGoal;  // "": none
  // The values may have been changed where the reader does not look (an
  // included file, $(eval), a conditional it cannot close).
  bool ValuesUncertain = false;
  // Rules may exist that the reader could not place (a line whose
  // expansion it cannot tell, a rule under a condition it cannot tell).
  bool RulesUncertain = false;
  // Variables set for targets the reader cannot place (patterns, unknown
  // names) or under a condition it cannot tell: unknown in every context.
  std::set<std::string> UnplacedTargetVariables;
  // Recipes of pattern and suffix rules, which may serve any target.
  std::vector<std::string> PatternRecipes;
  // Values that an assignment under a condition the reader cannot tell
  // may have given or taken away.
  std::vector<std::string> ConditionalValues;
};

// A name's value outside any target: the file's variable, else the
// environment's, else empty; UnknownValue for make's own variables.
// Recursive values expand through lookup.
std::string GlobalValue(const TMakefileContent& content, const std::string& name, TMakefileExpansion& expansion,
                        const TMakefileExpansion::TLookup& lookup);

TMakefileContent ReadMakefileContent(const TStrings& lines, TMakefileExpansion& expansion);

}  // namespace vk
