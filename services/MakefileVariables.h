#pragma once
// A makefile's variables and part as make reads them (MakefileReader), where
// its default goal's commands run: from the first target (or .DEFAULT_GOAL)
// down through the prerequisites, with each target's own variables handed
// on as make hands them on. The work is bounded; a value the file alone
// does not tell, or that differs between the places the default goal's
// commands run, is unknown rather than guessed.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class TStrings;

// A part name as -mmcu takes it: letters and digits, starting with a
// letter, and not one of the compiler's architectures (avr5, avrxmega2,
// avrtiny), which name a family of cores rather than a part.
bool IsAvrPartName(std::string_view name);

class TMakefileReading {
public:
  explicit TMakefileReading(const TStrings& lines);
  ~TMakefileReading();

  // The file sets the variable, or may set it, where the default goal's
  // commands run.
  bool Sets(const std::string& name) const;
  // The names of the variables the file sets outside the targets, in name
  // order.
  std::vector<std::string> GlobalNames() const;
  // The variable's value expanded, with the blanks make keeps at its end;
  // none when the file alone does not tell it.
  std::optional<std::string> Value(const std::string& name);
  // The part the default goal compiles for: the part of every -mmcu=
  // option its commands pass (its recipes, pattern rules' and make's
  // built-in rules', each where it runs), else its MCU variable (blanks
  // trimmed); of a file where no command runs, the options its variables
  // hold. "" when they disagree, when the file does not tell, or when text
  // it does not tell (a function, the shell, a branch it cannot follow)
  // may pass another.
  std::string Part();

private:
  struct TState;
  std::unique_ptr<TState> F;
};

// TMakefileReading(lines).Part().
std::string MakefilePart(const TStrings& lines);

}  // namespace vk
