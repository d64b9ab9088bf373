#include "services/MakefileVariables.h"

#include <algorithm>
#include <set>
#include <vector>

#include "services/MakefileReader.h"

namespace vk {

namespace {

constexpr size_t npos = std::string_view::npos;

// The bytes and references all expansions of one file may go through: far
// more than any real makefile needs, and done in milliseconds.
constexpr size_t ExpansionBudget = size_t(1) << 20;
// How far the default goal's prerequisites are followed.
constexpr size_t MaxGoalDepth = 32;
constexpr size_t MaxGoalVisits = 4096;

// The targets from the default goal down to one of its prerequisites,
// outermost first: their variables apply, the innermost's over the others.
using TChain = std::vector<const TMakefileTarget*>;

const TMakefileTarget NoRule;  // a prerequisite the file has no rule for

bool HasExtension(const std::string& name) {
  const size_t start = name.find_last_of('/') + 1;
  const size_t dot = name.find('.', start);
  return dot != std::string::npos && dot > start;
}

// What follows each -mmcu= in a text, up to a blank outside references.
std::vector<std::string> MmcuTexts(std::string_view text) {
  constexpr std::string_view option = "-mmcu=";
  std::vector<std::string> found;
  for (size_t at = text.find(option); at != npos; at = text.find(option, at + 1)) {
    const size_t start = at + option.size();
    size_t end = start;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') {
      if (text[end] == '$' && end + 1 < text.size() && (text[end + 1] == '(' || text[end + 1] == '{')) {
        const size_t close = ClosingBracket(text, end);
        end = close == npos ? text.size() : close + 1;
      } else {
        end += text[end] == '$' ? 2 : 1;
      }
    }
    found.emplace_back(text.substr(start, std::min(end, text.size()) - start));
  }
  return found;
}

// The variables a context sees differ only by the targets that set some.
std::vector<const TMakefileTarget*> ContextKey(const TChain& chain) {
  std::vector<const TMakefileTarget*> key;
  for (const TMakefileTarget* target : chain)
    if (!target->Variables.empty()) key.push_back(target);
  // Private variables apply to the innermost target alone.
  if (!chain.empty() && !chain.back()->Variables.empty()) key.push_back(nullptr);
  return key;
}

}  // namespace

bool IsAvrPartName(std::string_view name) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (name.empty() || !letter(name[0]) || name.starts_with("avr")) return false;
  return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

struct TMakefileReading::TState {
  TMakefileExpansion Expansion{ExpansionBudget};
  TMakefileContent Content;
  bool RulesUncertain = false;
  std::set<std::string> TargetVariableNames;
  // The distinct contexts the default goal's commands run in, and the
  // targets whose recipes run there.
  std::vector<TChain> Contexts;
  std::vector<TChain> RecipeContexts;
  std::vector<const TMakefileTarget*> Walked;

  void FindContexts() {
    RulesUncertain = Content.RulesUncertain;
    for (const auto& [name, target] : Content.Targets)
      for (const TTargetVariable& variable : target.Variables) TargetVariableNames.insert(variable.Name);
    std::string goal = Content.DefaultGoal;
    if (Content.Globals.count(".DEFAULT_GOAL")) {
      const std::string named(TrimBlanks(ValueIn(".DEFAULT_GOAL", {}, 0)));
      goal = named;
      if (!IsKnownText(named) || named.find_first_of(" \t") != std::string::npos) goal.clear(), RulesUncertain = true;
    }
    if (!goal.empty()) {
      TChain chain;
      std::vector<std::string> path;
      std::set<std::pair<const TMakefileTarget*, std::vector<const TMakefileTarget*>>> seen;
      size_t visits = 0;
      Walk(goal, chain, path, seen, visits);
    }
    if (Contexts.empty()) Contexts.push_back({});
  }

  void Walk(const std::string& name, TChain& chain, std::vector<std::string>& path,
            std::set<std::pair<const TMakefileTarget*, std::vector<const TMakefileTarget*>>>& seen, size_t& visits) {
    if (chain.size() >= MaxGoalDepth || ++visits > MaxGoalVisits) {
      RulesUncertain = true;
      return;
    }
    auto found = Content.Targets.find(name);
    const TMakefileTarget* target = found == Content.Targets.end() ? &NoRule : &found->second;
    chain.push_back(target);
    const std::vector<const TMakefileTarget*> key = ContextKey(chain);
    if (seen.insert({target, key}).second) {
      Walked.push_back(target);
      // Commands run for a target with a recipe, or for a file that an
      // implicit rule makes.
      if (!target->Recipes.empty() || !target->HasRule || HasExtension(name)) {
        if (std::none_of(Contexts.begin(), Contexts.end(), [&](const TChain& c) { return ContextKey(c) == key; }))
          Contexts.push_back(chain);
        if (!target->Recipes.empty()) RecipeContexts.push_back(chain);
      }
      path.push_back(name);
      if (!target->Prerequisites)
        RulesUncertain = true;
      else
        for (const std::string& prerequisite : *target->Prerequisites)
          if (std::find(path.begin(), path.end(), prerequisite) == path.end())
            Walk(prerequisite, chain, path, seen, visits);
      path.pop_back();
    }
    chain.pop_back();
  }

  // The name's value in the context, looking at its first `levels` targets.
  std::string ValueIn(const std::string& name, const TChain& chain, size_t levels) {
    if (Content.UnplacedTargetVariables.count(name) || (RulesUncertain && TargetVariableNames.count(name)))
      return UnknownValue;
    const TMakefileExpansion::TLookup lookup = [&](const std::string& other) {
      return ValueIn(other, chain, chain.size());
    };
    for (size_t level = levels; level-- > 0;) {
      const bool innermost = level + 1 == chain.size();
      std::optional<std::string> value;
      bool overridden = false;
      for (const TTargetVariable& variable : chain[level]->Variables) {
        if (variable.Name != name || (variable.Private && !innermost) || (overridden && !variable.Override)) continue;
        overridden = overridden || variable.Override;
        if (variable.Operator == "=") {
          value = Expansion.Expand(variable.Value, lookup);
        } else if (variable.Operator == ":=" || variable.Operator == "::=") {
          value = variable.Value;
        } else if (variable.Operator == "+=") {
          const std::string base = value ? *value : ValueIn(name, chain, level);
          const std::string added = Expansion.Expand(variable.Value, lookup);
          value = added.empty() ? base : base.empty() ? added : base + " " + added;
        } else {
          value = UnknownValue;  // "?=" and "!=" for a target: not worked out here
        }
      }
      if (value) return *value;
    }
    return GlobalValue(Content, name, Expansion, lookup);
  }

  std::string Expanded(const std::string& text, bool literal, const TChain& chain) {
    if (literal) return text;
    return Expansion.Expand(text, [&](const std::string& name) { return ValueIn(name, chain, chain.size()); });
  }
};

TMakefileReading::TMakefileReading(const TStrings& lines) : F(std::make_unique<TState>()) {
  F->Content = ReadMakefileContent(lines, F->Expansion);
  F->FindContexts();
}

TMakefileReading::~TMakefileReading() = default;

bool TMakefileReading::Sets(const std::string& name) const {
  if (F->Content.Globals.count(name) || F->Content.UnplacedTargetVariables.count(name)) return true;
  // A target's own variable counts where the default goal's commands see it.
  for (const TMakefileTarget* target : F->Walked)
    for (const TTargetVariable& variable : target->Variables)
      if (variable.Name == name) return true;
  return F->RulesUncertain && F->TargetVariableNames.count(name);
}

std::optional<std::string> TMakefileReading::Value(const std::string& name) {
  if (F->Content.ValuesUncertain) return std::nullopt;
  std::optional<std::string> agreed;
  for (const TChain& chain : F->Contexts) {
    const std::string value = F->ValueIn(name, chain, chain.size());
    if (!IsKnownText(value) || (agreed && *agreed != value)) return std::nullopt;
    agreed = value;
  }
  return agreed;
}

std::string TMakefileReading::Part() {
  if (F->Content.ValuesUncertain) return "";
  std::set<std::string> parts;
  bool unknown = false;
  bool any = false;
  // An option's part is its first word; the MCU variable's is the whole
  // value without the blanks at its ends.
  auto take = [&](const std::string& text, bool wholeValue) {
    any = true;
    const std::string_view value = wholeValue ? TrimBlanks(text) : std::string_view(text);
    const std::string word(value.substr(0, value.find_first_of(" \t")));
    if (!IsKnownText(value) || (wholeValue && word.size() != value.size()) || !IsAvrPartName(word))
      unknown = true;
    else
      parts.insert(word);
  };

  // Texts any of the default goal's commands may use: the variables' values
  // (a simple one's as it was expanded), the values a condition the reader
  // cannot tell may give, and pattern rules' recipes.
  struct TCandidate {
    std::string Text;
    bool Literal;
  };
  std::vector<TCandidate> candidates;
  auto collect = [&](std::string_view text, bool literal) {
    for (const std::string& found : MmcuTexts(text)) candidates.push_back({found, literal});
  };
  for (const auto& [name, variable] : F->Content.Globals) collect(variable.Value, !variable.Recursive);
  for (const std::string& value : F->Content.ConditionalValues) collect(value, false);
  for (const std::string& recipe : F->Content.PatternRecipes) collect(recipe, false);
  for (const auto& [name, target] : F->Content.Targets)
    if (F->RulesUncertain || std::find(F->Walked.begin(), F->Walked.end(), &target) != F->Walked.end())
      for (const TTargetVariable& variable : target.Variables)
        collect(variable.Value, variable.Operator == ":=" || variable.Operator == "::=");

  for (const TChain& chain : F->Contexts)
    for (const TCandidate& candidate : candidates) take(F->Expanded(candidate.Text, candidate.Literal, chain), false);
  // A target's own recipes run in its own context.
  for (const TChain& chain : F->RecipeContexts)
    for (const std::string& recipe : chain.back()->Recipes)
      for (const std::string& found : MmcuTexts(recipe)) take(F->Expanded(found, false, chain), false);
  if (!any)
    for (const TChain& chain : F->Contexts) take(F->ValueIn("MCU", chain, chain.size()), true);
  if (unknown || parts.size() != 1) return "";
  return *parts.begin();
}

std::string MakefilePart(const TStrings& lines) { return TMakefileReading(lines).Part(); }

}  // namespace vk
