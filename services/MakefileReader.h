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
// continues on the next, joined by one blank; the backslashes before the
// last one are halved.
std::vector<std::string> MakefileLogicalLines(const TStrings& lines);

// A variable of the file, or one a rule sets for its targets
// ("target328: MCU_TARGET = ...").
struct TMakefileVariable {
  std::string Value;  // recursive: the text as written; simple: expanded
  bool Recursive = true;
  bool Override = false;
  // A global one is handed to no target; a target's is not handed on to
  // its prerequisites.
  bool Private = false;
  // A target's "+=" that found no value of the target's own: the value is
  // added to the one the outer contexts give when a recipe runs.
  bool Append = false;
};

struct TMakefileTarget {
  bool HasRule = false;
  // None: the reader cannot tell them (a static pattern, a function).
  std::optional<std::vector<std::string>> Prerequisites = std::vector<std::string>();
  // Its own variables as make keeps them once the file is read.
  std::map<std::string, TMakefileVariable> Variables;
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
  // Names whose value where a target's commands run the reader cannot
  // tell: set for targets it cannot place (patterns, unknown names) or
  // under a condition it cannot tell, or made private there.
  std::set<std::string> UnknownInTargets;
  // Recipes of pattern and suffix rules, which may serve any target.
  std::vector<std::string> PatternRecipes;
  // The texts, as written, that a variable may have where the reader
  // cannot tell (an assignment under a condition it cannot tell, a target
  // it cannot place); UnknownValue for a shell's output.
  std::map<std::string, std::vector<std::string>> UncertainValues;
};

// Where commands run: the targets from the default goal down to the one
// whose commands they are, outermost first, of them only those with
// variables of their own (the others change nothing).
struct TMakefileContext {
  std::vector<const TMakefileTarget*> Targets;
  bool LastRuns = false;  // the last of them runs the commands: its private variables apply
};

// A name's value outside any target: the file's variable, else the
// environment's, else empty; UnknownValue for make's own variables.
// Recursive values expand through lookup.
std::string GlobalValue(const TMakefileContent& content, const std::string& name, TMakefileExpansion& expansion,
                        const TMakefileExpansion::TLookup& lookup);

// A name's value in the context, looking at its first `levels` targets:
// their own variables innermost first (a private one only where it was
// set, a "+=" added to what the outer ones give), then the file's variable
// outside the targets unless it is private (GlobalValue); UnknownValue for
// one a target the reader cannot place may set. Recursive values expand
// through lookup.
std::string ContextValue(const TMakefileContent& content, const TMakefileContext& context, size_t levels,
                         const std::string& name, TMakefileExpansion& expansion,
                         const TMakefileExpansion::TLookup& lookup);

TMakefileContent ReadMakefileContent(const TStrings& lines, TMakefileExpansion& expansion);

}  // namespace vk
