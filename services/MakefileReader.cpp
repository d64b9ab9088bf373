#include "services/MakefileReader.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "platform/StringLists.h"

namespace vk {

namespace {

using std::string_view;
constexpr size_t npos = string_view::npos;

bool StartsWithWord(string_view text, string_view word) {
  return text.starts_with(word) && (text.size() == word.size() || IsMakeBlank(text[word.size()]));
}

string_view AfterWord(string_view text, string_view word) { return TrimLeftBlanks(text.substr(word.size())); }

// Where make skips white space (at a line's start, before a value), it
// skips form feeds and the like too, not only blanks.
bool IsMakeSpace(char c) { return IsMakeBlank(c) || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

string_view SkipSpaces(string_view text) {
  while (!text.empty() && IsMakeSpace(text.front())) text.remove_prefix(1);
  return text;
}

size_t TrailingBackslashes(string_view text) { return text.size() - (text.find_last_not_of('\\') + 1); }

// Backslashes that escape (a "#", the line's end) are halved: of n, n / 2
// stay, and an odd one out escapes the character after them.
void HalveTrailingBackslashes(std::string& text) {
  const size_t backslashes = TrailingBackslashes(text);
  text.erase(text.size() - backslashes + backslashes / 2);
}

std::vector<std::string> Words(string_view text) {
  std::vector<std::string> words;
  for (size_t at = 0; at < text.size();) {
    while (at < text.size() && IsMakeBlank(text[at])) ++at;
    const size_t end = std::min(text.find_first_of(" \t", at), text.size());
    if (end > at) words.emplace_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

// Variables make sets before it reads a file (MAKE, CURDIR, CC, COMPILE.c,
// .DEFAULT_GOAL ...): their values are make's, not the file's.
bool IsMakesOwnVariable(const std::string& name) {
  static const char* const names[] = {"CURDIR", "SHELL", "MFLAGS", "SUFFIXES", "VPATH", "GPATH", "CC",
                                      "CXX",    "CPP",   "AS",     "AR",       "LD",    "RM",    "OUTPUT_OPTION"};
  for (const char* own : names)
    if (name == own) return true;
  return name.starts_with("MAKE") || name.find('.') != std::string::npos;
}

// $@, $<, $(@D) ...: set only while a recipe runs.
bool IsAutomaticVariable(const std::string& name) { return string_view("@<^+*?|%").find(name[0]) != npos; }

// The environment's value, as make takes it in; a value that make would
// expand further is unknown.
std::optional<TMakefileVariable> EnvironmentVariable(const std::string& name) {
  if (IsMakesOwnVariable(name)) return std::nullopt;
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  const string_view text = value;
  return TMakefileVariable{text.find('$') == npos ? std::string(text) : UnknownValue, false, false};
}

// The text before the first "#" that an even number of backslashes stands
// before; an odd number stands for a "#".
std::string WithoutComment(string_view line) {
  std::string text;
  for (char c : line) {
    if (c == '#') {
      const bool escaped = TrailingBackslashes(text) % 2 == 1;
      HalveTrailingBackslashes(text);
      if (!escaped) break;
    }
    text += c;
  }
  return text;
}

// "+=": the old value, a blank where it is not empty, the added text.
std::string Joined(const std::string& value, const std::string& added) {
  return value.empty() ? added : value + ' ' + added;
}

// Where a character stands outside every reference; npos for none.
size_t FindOutsideReferences(string_view text, char wanted) {
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '$' && at + 1 < text.size()) {
      if (text[at + 1] == '(' || text[at + 1] == '{') {
        at = ClosingBracket(text, at);
        if (at == npos) return npos;
      } else {
        ++at;  // $$ or $x
      }
      continue;
    }
    if (text[at] == wanted) return at;
  }
  return npos;
}

// The assignment operator or the rule's colon that decides what a line is.
struct TOperator {
  size_t At = npos;
  string_view Text;
  bool RuleColon = false;
};

TOperator FindOperator(string_view text) {
  const size_t equals = FindOutsideReferences(text, '=');
  const size_t colon = FindOutsideReferences(text, ':');
  if (colon != npos && (equals == npos || colon < equals)) {
    const string_view from = text.substr(colon);
    for (string_view op : {":::=", "::=", ":="})
      if (from.starts_with(op)) return {colon, op};
    return {colon, ":", true};
  }
  if (equals == npos) return {};
  if (equals > 0 && string_view("+?!").find(text[equals - 1]) != npos) return {equals - 1, text.substr(equals - 1, 2)};
  return {equals, "="};
}

struct TPrefixes {
  bool Override = false, Export = false, Private = false;
  bool Any() const { return Override || Export || Private; }
};

string_view StripPrefixes(string_view text, TPrefixes& prefixes) {
  for (;;) {
    if (StartsWithWord(text, "override"))
      prefixes.Override = true, text = AfterWord(text, "override");
    else if (StartsWithWord(text, "export"))
      prefixes.Export = true, text = AfterWord(text, "export");
    else if (StartsWithWord(text, "private"))
      prefixes.Private = true, text = AfterWord(text, "private");
    else
      return text;
  }
}

// A target that names a pattern rather than a file: "%.o", or a suffix
// rule's ".c.o".
bool IsPatternTarget(const std::string& target) {
  return target.find('%') != std::string::npos ||
         (target.size() > 1 && target[0] == '.' && target.find('.', 1) != std::string::npos);
}

bool CanBeDefaultGoal(const std::string& target) {
  return target.find('%') == std::string::npos && (target[0] != '.' || target.find('/') != std::string::npos);
}

class TReader {
public:
  explicit TReader(TMakefileExpansion& expansion)
      : FExpansion(expansion),
        FGlobalLookup([this](const std::string& name) { return GlobalValue(Content, name, FExpansion, FGlobalLookup); }) {}

  void Read(const TStrings& lines) {
    const std::vector<std::string> logical = MakefileLogicalLines(lines);
    for (const std::string& line : logical) Line(line);
    // make stops at a conditional or define it cannot close.
    if (!FFrames.empty() || FInDefine) Content.ValuesUncertain = true;
    // A backslash ending the file joins the line to nothing when a line
    // break follows it, and stays a backslash when none does: the lines
    // do not tell which.
    if (lines.Count() > 0 && TrailingBackslashes(lines.Get(lines.Count() - 1)) % 2 == 1 &&
        !TrimBlanks(WithoutComment(logical.back())).empty())
      Content.ValuesUncertain = true;
  }

  TMakefileContent Content;

private:
  enum TState { csFalse, csTrue, csUnknown };
  struct TFrame {
    TState Branch, Taken;
  };
  struct TDefine {
    std::string Name, Operator = "=";
    TPrefixes Prefixes;
    bool Ignored = false;
    int Depth = 1;
    std::string Body;
    bool HasLine = false;
  };

  std::string Expand(string_view text) { return FExpansion.Expand(text, FGlobalLookup); }

  bool Skipping(size_t frames) const {
    for (size_t i = 0; i < frames; ++i)
      if (FFrames[i].Branch == csFalse) return true;
    return false;
  }
  bool Skipping() const { return Skipping(FFrames.size()); }
  bool UnknownMode() const {
    for (const TFrame& frame : FFrames)
      if (frame.Branch == csUnknown) return true;
    return false;
  }

  void Line(const std::string& line) {
    if (FInDefine) return DefineLine(line);
    if (FInRule && !line.empty() && line[0] == FRecipePrefix) {
      if (!Skipping()) Recipe(line.substr(1));
      return;
    }
    const std::string text = WithoutComment(line);
    const string_view rest = SkipSpaces(text);
    if (rest.empty() || Conditional(rest)) return;
    TPrefixes prefixes;
    const string_view body = StripPrefixes(rest, prefixes);
    if (Skipping()) {
      // Its lines are skipped up to its endef.
      if (StartsWithWord(body, "define")) {
        FInDefine = true;
        FDefine = TDefine();
        FDefine.Ignored = true;
      }
      return;
    }
    if (StartsWithWord(body, "define")) return StartDefine(AfterWord(body, "define"), prefixes);
    if (StartsWithWord(body, "undefine")) return Undefine(AfterWord(body, "undefine"), prefixes.Override);
    if (!prefixes.Any()) {
      for (string_view directive : {"include", "-include", "sinclude"})
        if (StartsWithWord(rest, directive)) {
          // The files it reads may set anything.
          Content.ValuesUncertain = Content.RulesUncertain = true;
          return;
        }
      for (string_view directive : {"vpath", "unexport", "load"})
        if (StartsWithWord(rest, directive)) return;
    }
    const TOperator op = FindOperator(body);
    if (op.At == npos) return Other(body, prefixes);
    if (op.RuleColon) return Rule(body, op.At);
    FInRule = false;
    const std::optional<std::string> name = AssignedName(body.substr(0, op.At));
    if (!name) {
      Content.ValuesUncertain = true;
      return;
    }
    Assign(*name, op.Text, std::string(SkipSpaces(body.substr(op.At + op.Text.size()))), prefixes);
  }

  // A variable's name, computed ones expanded; none for one the reader
  // cannot tell. An assignment keeps the blanks that an expansion gives
  // the name, as make does; the directives trim them.
  std::optional<std::string> Name(string_view text, bool trimExpansion = true) {
    std::string name(TrimBlanks(text));
    if (name.find('$') != std::string::npos) {
      name = Expand(name);
      if (trimExpansion) name = TrimBlanks(name);
    }
    if (name.empty() || !IsKnownText(name) || (trimExpansion && name.find_first_of(" \t") != std::string::npos))
      return std::nullopt;
    return name;
  }
  std::optional<std::string> AssignedName(string_view text) { return Name(text, false); }

  // The texts a variable may have where the reader cannot tell which.
  void Uncertain(const std::string& name, const std::string& raw) { Content.UncertainValues[name].push_back(raw); }

  void Assign(const std::string& name, string_view op, const std::string& raw, const TPrefixes& prefixes) {
    SetGlobal(name, op, raw, prefixes);
    if (name == ".RECIPEPREFIX") RecipePrefixChanged();
  }

  void SetGlobal(const std::string& name, string_view op, const std::string& raw, const TPrefixes& prefixes) {
    auto& globals = Content.Globals;
    auto found = globals.find(name);
    if (found == globals.end() && (op == "?=" || op == "+=")) {
      if (std::optional<TMakefileVariable> environment = EnvironmentVariable(name))
        found = globals.emplace(name, *environment).first;
      else if (op == "?=" && IsMakesOwnVariable(name))
        found = globals.emplace(name, TMakefileVariable{UnknownValue, false, false}).first;
    }
    const bool exists = found != globals.end();
    // "?=" changes nothing where a variable is set for certain; what it and
    // "+=" do to one that may not be set (or not be simple) is as uncertain
    // as an assignment under a condition the reader cannot tell.
    const bool set = exists && IsKnownText(found->second.Value);
    const bool uncertain = UnknownMode() || ((op == "?=" || op == "+=") && exists && !set);
    // Once private, a variable stays private, whatever the assignment does.
    const bool wasPrivate = exists && found->second.Private;
    if (prefixes.Private && !wasPrivate) {
      if (uncertain)
        Content.UnknownInTargets.insert(name);
      else if (exists)
        found->second.Private = true;
    }
    const bool isPrivate = wasPrivate || (prefixes.Private && !uncertain);
    if (exists && found->second.Override && !prefixes.Override) return;
    if (op == "?=" && set) return;
    // Nothing added changes nothing, not even the override, in any branch.
    std::string added;
    if (op == "+=" && set) {
      added = found->second.Recursive ? raw : Expand(raw);
      if (added.empty()) return;
    }
    if (uncertain) {
      // Either value may be the one make keeps.
      if (exists) Uncertain(name, found->second.Value);
      Uncertain(name, op == "!=" ? UnknownValue : raw);
      globals[name] = {UnknownValue, false, prefixes.Override || (exists && found->second.Override), isPrivate};
      return;
    }
    if (exists && op == "+=") {
      TMakefileVariable& variable = found->second;
      variable.Value = Joined(variable.Value, added);
      variable.Override = variable.Override || prefixes.Override;
      return;
    }
    TMakefileVariable variable{raw, true, prefixes.Override, isPrivate};
    SetFlavour(variable, name, op, FGlobalLookup);
    globals[name] = variable;
  }

  // ":=" and "::=" expand the text as it is read; "!=" gives the shell's
  // output, and ":::=" is a flavour make 4.3 lacks: neither is known.
  void SetFlavour(TMakefileVariable& variable, const std::string& name, string_view op,
                  const TMakefileExpansion::TLookup& lookup) {
    if (op == ":=" || op == "::=") {
      variable.Value = FExpansion.Expand(variable.Value, lookup), variable.Recursive = false;
    } else if (op == "!=" || op == ":::=") {
      variable.Value = UnknownValue, variable.Recursive = false;
      Uncertain(name, UnknownValue);
    }
  }

  // Recipe lines start with the first character of .RECIPEPREFIX, a TAB
  // where it is empty.
  void RecipePrefixChanged() {
    const std::string prefix = GlobalValue(Content, ".RECIPEPREFIX", FExpansion, FGlobalLookup);
    if (IsKnownText(prefix)) {
      FRecipePrefix = prefix.empty() ? '\t' : prefix[0];
    } else {
      // The reader cannot tell recipes from the other lines.
      Content.ValuesUncertain = Content.RulesUncertain = true;
    }
  }

  void StartDefine(string_view text, const TPrefixes& prefixes) {
    FInRule = false;
    FInDefine = true;
    FDefine = TDefine();
    FDefine.Prefixes = prefixes;
    string_view head = TrimBlanks(text);
    for (string_view op : {"::=", ":=", "+=", "?=", "!=", "="})
      if (head.ends_with(op)) {
        FDefine.Operator = op;
        head = TrimBlanks(head.substr(0, head.size() - op.size()));
        break;
      }
    FDefine.Name = head;
  }

  void DefineLine(const std::string& line) {
    TPrefixes prefixes;
    const string_view word = StripPrefixes(TrimLeftBlanks(line), prefixes);
    if (StartsWithWord(word, "define")) ++FDefine.Depth;
    if (StartsWithWord(word, "endef") && --FDefine.Depth == 0) {
      FInDefine = false;
      if (FDefine.Ignored) return;
      const std::optional<std::string> name = Name(FDefine.Name);
      if (!name) {
        Content.ValuesUncertain = true;
        return;
      }
      Assign(*name, FDefine.Operator, FDefine.Body, FDefine.Prefixes);
      return;
    }
    if (FDefine.HasLine) FDefine.Body += '\n';
    FDefine.Body += line;
    FDefine.HasLine = true;
  }

  void Undefine(string_view text, bool override) {
    const std::optional<std::string> name = Name(text);
    auto found = name ? Content.Globals.find(*name) : Content.Globals.end();
    if (!name || UnknownMode() || std::getenv(name->c_str())) {
      Content.ValuesUncertain = true;
      return;
    }
    if (found != Content.Globals.end() && (override || !found->second.Override)) Content.Globals.erase(found);
  }

  // A line that neither sets a variable nor makes a rule: $(eval) may set
  // anything, and another expansion may make a rule.
  void Other(string_view body, const TPrefixes& prefixes) {
    if (body.find("$(eval") != npos || body.find("${eval") != npos) {
      Content.ValuesUncertain = true;
    } else if (body.find('$') != npos) {
      if (!TrimBlanks(Expand(body)).empty()) Content.RulesUncertain = true;
    } else if (!prefixes.Export) {
      Content.ValuesUncertain = true;  // make stops at a line it cannot read
    }
  }

  std::optional<std::vector<std::string>> ExpandedWords(string_view text) {
    const std::string expanded = Expand(text);
    if (!IsKnownText(expanded)) return std::nullopt;
    return Words(expanded);
  }

  void Rule(string_view body, size_t colon) {
    const std::optional<std::vector<std::string>> targets = ExpandedWords(body.substr(0, colon));
    size_t after = colon + 1;
    if (after < body.size() && body[after] == ':') ++after;  // a double-colon rule
    const string_view rest = TrimLeftBlanks(body.substr(after));
    TPrefixes prefixes;
    const string_view assignment = StripPrefixes(rest, prefixes);
    const size_t semicolon = FindOutsideReferences(rest, ';');
    // A recipe after ";" may hold "=" of its own.
    if (const TOperator op = FindOperator(assignment);
        op.At != npos && !op.RuleColon && (semicolon == npos || op.At < FindOutsideReferences(assignment, ';')))
      return TargetAssignment(targets, assignment, op, prefixes);

    FInRule = true;
    FRuleTargets.clear();
    FRuleHasPattern = false;
    if (!targets || UnknownMode()) Content.RulesUncertain = true;
    if (!targets) {
      FGoalSet = true;  // the first rule's target is unknown
      return;
    }
    const string_view prerequisites = rest.substr(0, semicolon);
    std::optional<std::vector<std::string>> names;
    // A static pattern rule's prerequisites come from its pattern.
    if (FindOperator(prerequisites).At == npos) names = ExpandedWords(prerequisites);
    if (names) std::erase(*names, "|");
    for (const std::string& target : *targets) {
      if (IsPatternTarget(target)) {
        FRuleHasPattern = true;
        continue;
      }
      if (!FGoalSet && CanBeDefaultGoal(target)) {
        FGoalSet = true;
        Content.DefaultGoal = target;
      }
      TMakefileTarget& entry = Content.Targets[target];
      entry.HasRule = true;
      if (!names)
        entry.Prerequisites.reset();
      else if (entry.Prerequisites)
        entry.Prerequisites->insert(entry.Prerequisites->end(), names->begin(), names->end());
      FRuleTargets.push_back(target);
    }
    if (semicolon != npos) Recipe(std::string(rest.substr(semicolon + 1)));
  }

  void TargetAssignment(const std::optional<std::vector<std::string>>& targets, string_view text, const TOperator& op,
                        const TPrefixes& prefixes) {
    FInRule = false;
    const std::optional<std::string> name = AssignedName(text.substr(0, op.At));
    const std::string raw(SkipSpaces(text.substr(op.At + op.Text.size())));
    if (!name) {
      Content.ValuesUncertain = true;
      return;
    }
    if (!targets || UnknownMode()) return Unplaced(*name, raw);
    // Each word counts, a target named twice twice.
    for (const std::string& target : *targets) {
      if (IsPatternTarget(target))
        Unplaced(*name, raw);
      else
        TargetVariable(Content.Targets[target], *name, op.Text, raw, prefixes);
    }
  }

  void Unplaced(const std::string& name, const std::string& raw) {
    Content.UnknownInTargets.insert(name);
    Uncertain(name, raw);
  }

  // A target's own variable as make defines it while it reads the file:
  // ":=" and the "+=" onto a value of the target's own expand here, in the
  // target's context as far as it is known.
  void TargetVariable(TMakefileTarget& target, const std::string& name, string_view op, const std::string& raw,
                      const TPrefixes& prefixes) {
    auto found = target.Variables.find(name);
    TMakefileVariable* own = found == target.Variables.end() ? nullptr : &found->second;
    const TMakefileContext context{{&target}, true};
    const TMakefileExpansion::TLookup lookup = [&](const std::string& other) {
      return ContextValue(Content, context, 1, other, FExpansion, lookup);
    };
    TMakefileVariable next{raw, true, prefixes.Override, prefixes.Private};
    SetFlavour(next, name, op, lookup);
    if (op == "?=") {
      if (own) {
        own->Private = prefixes.Private;
        return;
      }
      const auto global = Content.Globals.find(name);
      const bool visible = global != Content.Globals.end() && !global->second.Private;
      if (visible || EnvironmentVariable(name) || IsMakesOwnVariable(name)) {
        // make then marks the variable outside the target, which is not
        // worked out here; nor is a variable that may not be set at all.
        if (prefixes.Override || prefixes.Private || IsMakesOwnVariable(name) ||
            (visible && !IsKnownText(global->second.Value)))
          Unplaced(name, raw);
        return;
      }
    } else if (op == "+=") {
      next.Append = !own || own->Append;
      if (own) {
        const std::string added = own->Recursive ? raw : FExpansion.Expand(raw, lookup);
        if (added.empty()) {
          own->Private = prefixes.Private;
          return;
        }
        next.Value = Joined(own->Value, added), next.Recursive = own->Recursive;
      }
    }
    // An override stays; the new flags hold all the same.
    if (own && own->Override && !prefixes.Override) return Flags(*own, next.Append, prefixes);
    target.Variables[name] = next;
  }

  static void Flags(TMakefileVariable& variable, bool append, const TPrefixes& prefixes) {
    variable.Append = append;
    variable.Private = prefixes.Private;
  }

  void Recipe(const std::string& line) {
    if (FRuleHasPattern) Content.PatternRecipes.push_back(line);
    for (const std::string& target : FRuleTargets) Content.Targets[target].Recipes.push_back(line);
  }

  bool Conditional(string_view text) {
    if (StartsWithWord(text, "endif")) {
      if (FFrames.empty())
        Content.ValuesUncertain = true;  // make stops here
      else
        FFrames.pop_back();
      return true;
    }
    if (StartsWithWord(text, "else")) {
      if (FFrames.empty()) {
        Content.ValuesUncertain = true;
        return true;
      }
      const string_view condition = AfterWord(text, "else");
      TFrame& top = FFrames.back();
      const TState next = Skipping(FFrames.size() - 1) || top.Taken == csTrue ? csFalse
                          : condition.empty()                                ? csTrue
                                                                             : Evaluate(condition);
      top.Branch = top.Taken == csUnknown && next != csFalse ? csUnknown : next;
      if (top.Branch != csFalse) top.Taken = top.Taken == csTrue || top.Branch == csTrue ? csTrue : csUnknown;
      return true;
    }
    for (string_view word : {"ifdef", "ifndef", "ifeq", "ifneq"})
      if (StartsWithWord(text, word)) {
        const TState state = Skipping() ? csFalse : Evaluate(text);
        FFrames.push_back({state, state});
        return true;
      }
    return false;
  }

  TState Evaluate(string_view text) {
    const bool negated = StartsWithWord(text, "ifndef") || StartsWithWord(text, "ifneq");
    TState state = csUnknown;
    if (StartsWithWord(text, "ifdef") || StartsWithWord(text, "ifndef"))
      state = Defined(AfterWord(text, negated ? "ifndef" : "ifdef"));
    else if (StartsWithWord(text, "ifeq") || StartsWithWord(text, "ifneq"))
      state = Equal(AfterWord(text, negated ? "ifneq" : "ifeq"));
    else
      Content.ValuesUncertain = true;  // "else" followed by something else
    if (state == csUnknown || !negated) return state;
    return state == csTrue ? csFalse : csTrue;
  }

  // ifdef: the variable has a value, unexpanded.
  TState Defined(string_view text) {
    const std::optional<std::string> name = Name(text);
    if (!name) return csUnknown;
    std::string value;
    if (auto found = Content.Globals.find(*name); found != Content.Globals.end())
      value = found->second.Value;
    else if (std::optional<TMakefileVariable> environment = EnvironmentVariable(*name))
      value = environment->Value;
    else if (IsMakesOwnVariable(*name))
      return csUnknown;
    const bool unknown = !IsKnownText(value);
    std::erase(value, UnknownMark);
    if (!value.empty()) return csTrue;
    return unknown ? csUnknown : csFalse;
  }

  // ifeq (a,b), ifeq "a" "b", ifeq 'a' 'b': the texts expanded are equal.
  TState Equal(string_view text) {
    std::string first, second;
    if (text.starts_with('(')) {
      size_t comma = npos, close = npos;
      int depth = 0;
      for (size_t at = 1; at < text.size() && close == npos; ++at) {
        const char c = text[at];
        if (c == '$' && at + 1 < text.size() && (text[at + 1] == '(' || text[at + 1] == '{')) {
          at = ClosingBracket(text, at);
          if (at == npos) return csUnknown;
        } else if (c == '(') {
          ++depth;
        } else if (c == ')') {
          if (depth-- == 0) close = at;
        } else if (c == ',' && depth == 0 && comma == npos) {
          comma = at;
        }
      }
      if (comma == npos || close == npos || !TrimBlanks(text.substr(close + 1)).empty()) return csUnknown;
      first = TrimRightBlanks(text.substr(1, comma - 1));
      second = TrimLeftBlanks(text.substr(comma + 1, close - comma - 1));
    } else {
      std::string* parts[] = {&first, &second};
      for (std::string* part : parts) {
        text = TrimLeftBlanks(text);
        if (text.empty() || (text[0] != '"' && text[0] != '\'')) return csUnknown;
        const size_t end = text.find(text[0], 1);
        if (end == npos) return csUnknown;
        *part = text.substr(1, end - 1);
        text.remove_prefix(end + 1);
      }
      if (!TrimBlanks(text).empty()) return csUnknown;
    }
    const std::string a = Expand(first), b = Expand(second);
    if (!IsKnownText(a) || !IsKnownText(b)) return csUnknown;
    return a == b ? csTrue : csFalse;
  }

  TMakefileExpansion& FExpansion;
  const TMakefileExpansion::TLookup FGlobalLookup;
  std::vector<TFrame> FFrames;
  bool FInRule = false;
  std::vector<std::string> FRuleTargets;
  bool FRuleHasPattern = false;
  bool FGoalSet = false;
  bool FInDefine = false;
  TDefine FDefine;
  char FRecipePrefix = '\t';
};

}  // namespace

std::vector<std::string> MakefileLogicalLines(const TStrings& lines) {
  std::vector<std::string> result;
  bool continued = false;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = lines.Get(i);
    if (continued) {
      std::string& last = result.back();
      last.erase(TrimRightBlanks(last).size());
      last += ' ';
      last += TrimLeftBlanks(line);
    } else {
      result.push_back(line);
    }
    continued = TrailingBackslashes(result.back()) % 2 == 1;
    if (continued) HalveTrailingBackslashes(result.back());
  }
  return result;
}

std::string GlobalValue(const TMakefileContent& content, const std::string& name, TMakefileExpansion& expansion,
                        const TMakefileExpansion::TLookup& lookup) {
  if (IsAutomaticVariable(name)) return UnknownValue;
  if (auto found = content.Globals.find(name); found != content.Globals.end())
    return found->second.Recursive ? expansion.Expand(found->second.Value, lookup) : found->second.Value;
  if (std::optional<TMakefileVariable> environment = EnvironmentVariable(name)) return environment->Value;
  return IsMakesOwnVariable(name) ? UnknownValue : "";
}

std::string ContextValue(const TMakefileContent& content, const TMakefileContext& context, size_t levels,
                         const std::string& name, TMakefileExpansion& expansion,
                         const TMakefileExpansion::TLookup& lookup) {
  if (content.UnknownInTargets.count(name)) return UnknownValue;
  for (size_t level = levels; level-- > 0;) {
    const auto& variables = context.Targets[level]->Variables;
    const auto found = variables.find(name);
    if (found == variables.end()) continue;
    const TMakefileVariable& variable = found->second;
    if (variable.Private && !(context.LastRuns && level + 1 == context.Targets.size())) continue;
    const std::string value = variable.Recursive ? expansion.Expand(variable.Value, lookup) : variable.Value;
    if (!variable.Append) return value;
    return Joined(ContextValue(content, context, level, name, expansion, lookup), value);
  }
  if (auto found = content.Globals.find(name); found != content.Globals.end() && found->second.Private)
    return IsAutomaticVariable(name) ? UnknownValue : "";
  return GlobalValue(content, name, expansion, lookup);
}

TMakefileContent ReadMakefileContent(const TStrings& lines, TMakefileExpansion& expansion) {
  TReader reader(expansion);
  reader.Read(lines);
  return std::move(reader.Content);
}

}  // namespace vk
