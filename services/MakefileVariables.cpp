#include "services/MakefileVariables.h"

#include <cctype>
#include <map>
#include <optional>
#include <string_view>

#include "platform/StringLists.h"
#include "platform/SysUtils.h"

namespace vk {

namespace {

using TVariables = std::map<std::string, std::string, std::less<>>;

// A value that comes from outside the file (the shell's output): a
// reference to a name no variable can have.
constexpr const char* UnknownValue = "$( )";
// References nested deeper than this are taken for a loop.
constexpr int MaxExpansionDepth = 16;

struct TAssignment {
  std::string Name, Operator, Value;
};

std::string WithoutComment(const std::string& line) { return line.substr(0, line.find('#')); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// "NAME op value"; nothing for a rule, a recipe, a directive or a comment.
std::optional<TAssignment> Assignment(const std::string& line) {
  std::string text = TrimLeft(WithoutComment(line));
  for (bool prefixed = true; prefixed;) {
    prefixed = false;
    for (std::string_view word : {"override", "export", "private"})
      if (text.starts_with(word) && text.size() > word.size() && IsBlank(text[word.size()])) {
        text = TrimLeft(text.substr(word.size()));
        prefixed = true;
      }
  }
  const size_t equals = text.find('=');
  if (equals == std::string::npos) return std::nullopt;
  size_t op = equals;
  if (equals >= 2 && text.compare(equals - 2, 2, "::") == 0)
    op = equals - 2;
  else if (equals >= 1 && std::string_view(":?+!").find(text[equals - 1]) != std::string_view::npos)
    op = equals - 1;
  const std::string name = Trim(text.substr(0, op));
  // A blank or ':' in the name is a rule ("main.o: CFLAGS = ...") or a
  // directive, not a variable of the file.
  if (name.empty() || name.find_first_of(" \t:") != std::string::npos) return std::nullopt;
  return TAssignment{name, text.substr(op, equals + 1 - op), Trim(text.substr(equals + 1))};
}

void Assign(TVariables& variables, const TAssignment& a) {
  auto found = variables.find(a.Name);
  if (a.Operator == "?=") {
    if (found == variables.end()) variables[a.Name] = a.Value;
  } else if (a.Operator == "+=") {
    if (found == variables.end())
      variables[a.Name] = a.Value;
    else
      found->second += " " + a.Value;
  } else {
    variables[a.Name] = a.Operator == "!=" ? UnknownValue : a.Value;
  }
}

// The text with the file's variables put in for their references; nothing
// when a reference is to a variable the file does not set, to a function,
// or nests too deep.
std::optional<std::string> Expand(const std::string& text, const TVariables& variables, int depth = 0) {
  if (depth > MaxExpansionDepth) return std::nullopt;
  std::string result;
  for (size_t at = 0; at < text.size();) {
    if (text[at] != '$') {
      result += text[at++];
      continue;
    }
    if (at + 1 >= text.size()) return std::nullopt;
    const char open = text[at + 1];
    std::string name;
    if (open == '(' || open == '{') {
      const size_t close = text.find(open == '(' ? ')' : '}', at + 2);
      if (close == std::string::npos) return std::nullopt;
      name = text.substr(at + 2, close - at - 2);
      at = close + 1;
    } else {
      name = std::string(1, open);
      at += 2;
    }
    auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    std::optional<std::string> value = Expand(found->second, variables, depth + 1);
    if (!value) return std::nullopt;
    result += *value;
  }
  return result;
}

// A part name as the compiler's -mmcu option takes it: letters and digits.
std::optional<std::string> PartName(const std::string& text, const TVariables& variables) {
  std::optional<std::string> part = Expand(text, variables);
  if (!part || part->empty()) return std::nullopt;
  for (unsigned char c : *part)
    if (c > 0x7f || !std::isalnum(c)) return std::nullopt;
  return part;
}

}  // namespace

std::vector<std::string> MakefileLogicalLines(const TStrings& lines) {
  std::vector<std::string> result;
  bool continued = false;
  for (int i = 0; i < lines.Count(); ++i) {
    std::string line = lines.Get(i);
    if (continued) {
      result.back() = TrimRight(result.back()) + " " + TrimLeft(line);
    } else {
      result.push_back(line);
    }
    continued = !result.back().empty() && result.back().back() == '\\';
    if (continued) result.back().pop_back();
  }
  return result;
}

std::string MakefilePart(const TStrings& lines) {
  const std::vector<std::string> logical = MakefileLogicalLines(lines);
  TVariables variables;
  // A line that starts with a TAB after a rule is a recipe for the shell;
  // before the first rule it is read as any other line.
  bool inRecipe = false;
  for (const std::string& line : logical) {
    if (inRecipe && line.starts_with('\t')) continue;
    if (std::optional<TAssignment> assignment = Assignment(line)) {
      Assign(variables, *assignment);
      inRecipe = false;
      continue;
    }
    const std::string text = Trim(WithoutComment(line));
    if (!text.empty()) inRecipe = text.find(':') != std::string::npos;
  }
  if (auto mcu = variables.find("MCU"); mcu != variables.end())
    if (std::optional<std::string> part = PartName(mcu->second, variables)) return *part;
  // The option as any line passes it, a recipe's too.
  const std::string option = "-mmcu=";
  for (const std::string& line : logical) {
    const std::string text = WithoutComment(line);
    for (size_t at = text.find(option); at != std::string::npos; at = text.find(option, at + 1)) {
      const size_t start = at + option.size();
      const size_t end = text.find_first_of(" \t\"'", start);
      if (std::optional<std::string> part = PartName(text.substr(start, end - start), variables)) return *part;
    }
  }
  return "";
}

}  // namespace vk
