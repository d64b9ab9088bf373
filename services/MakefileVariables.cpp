#include "services/MakefileVariables.h"

#include <algorithm>
#include <set>
#include <vector>

#include "platform/ScopeGuard.h"
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
// A target met in as many contexts as the file has prerequisites and more
// tells of contexts that multiply with every level (targets each depending
// on all later ones, each with a variable): past this share of the file's
// prerequisites the walk stops, so that its work grows with the file.
constexpr size_t VisitsPerPrerequisite = 4;

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

}  // namespace

bool IsAvrPartName(std::string_view name) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (name.empty() || !letter(name[0]) || name.starts_with("avr")) return false;
  return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

// What make's built-in rules pass to the compiler, the assembler and the
// linker, for a file the makefile has no recipe for.
constexpr std::string_view BuiltInCommands =
    "$(COMPILE.c) $(COMPILE.cc) $(COMPILE.cpp) $(COMPILE.S) $(COMPILE.s) $(LINK.o) $(LINK.c) $(LINK.cc) "
    "$(LINK.cpp) $(LINK.S) $(LINK.s) $(OUTPUT_OPTION) $(CC) $(CXX) $(AS) $(CFLAGS) $(CXXFLAGS) $(CPPFLAGS) "
    "$(ASFLAGS) $(LDFLAGS) $(LDLIBS) $(LOADLIBES) $(TARGET_ARCH) $(TARGET_MACH)";

struct TMakefileReading::TState {
  TMakefileExpansion Expansion{ExpansionBudget};
  TMakefileContent Content;
  bool RulesUncertain = false;
  std::set<std::string> TargetVariableNames;
  // The distinct contexts the default goal's commands run in; the targets
  // whose own recipes run, each in its context; the contexts where make's
  // implicit rules may run commands.
  std::vector<TMakefileContext> Contexts;
  std::map<const TMakefileTarget*, std::vector<size_t>> RecipeRuns;
  std::vector<size_t> ImplicitRuns;
  std::set<const TMakefileTarget*> Walked;

  void FindContexts() {
    RulesUncertain = Content.RulesUncertain;
    for (const auto& [name, target] : Content.Targets)
      for (const auto& [variable, value] : target.Variables) TargetVariableNames.insert(variable);
    std::string goal = Content.DefaultGoal;
    if (Content.Globals.count(".DEFAULT_GOAL")) {
      const std::string named(TrimBlanks(GlobalValueOf(".DEFAULT_GOAL")));
      goal = named;
      if (!IsKnownText(named) || named.find_first_of(" \t") != std::string::npos) goal.clear(), RulesUncertain = true;
    }
    size_t prerequisites = 1;
    for (const auto& [name, target] : Content.Targets)
      prerequisites += 1 + (target.Prerequisites ? target.Prerequisites->size() : 0);
    VisitBound = std::min(MaxGoalVisits, VisitsPerPrerequisite * prerequisites);
    if (!goal.empty()) {
      TMakefileContext context;
      std::vector<std::string> path;
      Walk(goal, 0, context, path);
    }
  }

  // Each context is a node of a tree whose edges are the targets with
  // variables of their own, so that telling whether a context was met
  // before takes a look-up rather than a comparison with every other one.
  std::map<std::pair<size_t, const TMakefileTarget*>, size_t> Nodes;
  std::map<std::pair<size_t, bool>, size_t> ContextOfNode;
  std::set<std::pair<const TMakefileTarget*, size_t>> Seen;
  size_t Visits = 0, VisitBound = 0;

  void Walk(const std::string& name, size_t node, TMakefileContext& context, std::vector<std::string>& path) {
    if (path.size() >= MaxGoalDepth || ++Visits > VisitBound) {
      RulesUncertain = true;
      return;
    }
    auto found = Content.Targets.find(name);
    const TMakefileTarget* target = found == Content.Targets.end() ? &NoRule : &found->second;
    const bool own = !target->Variables.empty();
    if (own) {
      node = Nodes.try_emplace({node, target}, Nodes.size() + 1).first->second;
      context.Targets.push_back(target);
    }
    if (Seen.insert({target, node}).second) {
      Walked.insert(target);
      // Commands run for a target with a recipe, or for a file that an
      // implicit rule makes.
      if (!target->Recipes.empty() || !target->HasRule || HasExtension(name)) {
        auto [at, added] = ContextOfNode.try_emplace({node, own}, Contexts.size());
        if (added) Contexts.push_back({context.Targets, own});
        if (!target->Recipes.empty())
          RecipeRuns[target].push_back(at->second);
        else if (std::find(ImplicitRuns.begin(), ImplicitRuns.end(), at->second) == ImplicitRuns.end())
          ImplicitRuns.push_back(at->second);
      }
      path.push_back(name);
      if (!target->Prerequisites)
        RulesUncertain = true;
      else
        for (const std::string& prerequisite : *target->Prerequisites)
          if (std::find(path.begin(), path.end(), prerequisite) == path.end()) Walk(prerequisite, node, context, path);
      path.pop_back();
    }
    if (own) context.Targets.pop_back();
  }

  // The name's value where commands run in the context; outside every
  // target without one.
  std::string ValueAt(const std::string& name, const TMakefileContext* context) {
    const TMakefileExpansion::TLookup lookup = [&](const std::string& other) { return ValueAt(other, context); };
    const std::string value =
        !context                                         ? GlobalValue(Content, name, Expansion, lookup)
        : RulesUncertain && TargetVariableNames.count(name) ? UnknownValue
                                                         : ContextValue(Content, *context, context->Targets.size(),
                                                                        name, Expansion, lookup);
    if (Watching && !Hidden && !IsKnownText(value)) Hidden = UncertainTextsMayHoldOption(name, context);
    if (context && !Contextual) {
      const auto global = Content.Globals.find(name);
      Contextual = TargetVariableNames.count(name) || Content.UnknownInTargets.count(name) ||
                   (global != Content.Globals.end() && global->second.Private);
    }
    return value;
  }

  // Whether an expansion met a name whose value may differ between
  // contexts; a text that met none expands alike in all of them.
  bool Contextual = false;

  // What compute gives in each of the contexts, or in the first alone
  // where it is the same in all.
  template <class Compute, class Each>
  void InEachContext(const std::vector<size_t>& contexts, Compute compute, Each each) {
    for (size_t context : contexts) {
      Contextual = false;
      Watched = &Contexts[context];
      each(compute(Watched));
      if (!Contextual) return;
    }
  }
  template <class Each>
  void ExpandEach(std::string_view text, const std::vector<size_t>& contexts, Each each) {
    InEachContext(contexts, [&](const TMakefileContext* context) { return Expanded(text, context); }, each);
  }
  std::string GlobalValueOf(const std::string& name) { return ValueAt(name, nullptr); }

  // While Watching, Hidden tells whether an expansion met text the reader
  // cannot tell that may hold a -mmcu= option: a function whose text holds
  // one or whose output no text tells (the shell, a file, a variable's
  // value called), a substitution of a value that holds one, a variable
  // that may have been given one where the reader cannot tell, anything
  // past the bounds. The rest (make's own variables, automatic ones) holds
  // none. Watched is the context being expanded.
  bool Watching = false, Hidden = false;
  const TMakefileContext* Watched = nullptr;

  static bool HoldsOption(std::string_view text) { return text.find("mmcu") != std::string_view::npos; }

  bool MayHoldOption(std::string_view reference) {
    if (reference.empty()) return true;
    const size_t blank = reference.find_first_of(" \t");
    if (blank == npos) {
      const size_t colon = reference.find(':');
      return colon == npos || HoldsOption(reference) ||
             HoldsOption(ValueAt(std::string(reference.substr(0, colon)), Watched));
    }
    static const std::set<std::string_view> opaque = {"shell", "file", "call", "value", "eval", "guile"};
    return opaque.count(reference.substr(0, blank)) || HoldsOption(reference);
  }

  // The texts a variable may have where the reader cannot tell its value.
  bool UncertainTextsMayHoldOption(const std::string& name, const TMakefileContext* context) {
    std::vector<std::string> texts;
    if (auto found = Content.UncertainValues.find(name); found != Content.UncertainValues.end()) texts = found->second;
    if (RulesUncertain)
      for (const auto& [target, rule] : Content.Targets)
        if (auto found = rule.Variables.find(name); found != rule.Variables.end()) texts.push_back(found->second.Value);
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
      return !IsKnownText(text) || HoldsOption(Expanded(text, context));
    });
  }

  std::string Expanded(std::string_view text, const TMakefileContext* context) {
    return Expansion.Expand(text, [&](const std::string& name) { return ValueAt(name, context); });
  }

  // The name's value in every place the default goal's commands run (the
  // value outside the targets where they run none).
  std::vector<std::string> ValuesWhereCommandsRun(const std::string& name) {
    if (Contexts.empty()) return {GlobalValueOf(name)};
    std::vector<size_t> all(Contexts.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = i;
    std::vector<std::string> values;
    InEachContext(
        all, [&](const TMakefileContext* context) { return ValueAt(name, context); },
        [&](const std::string& value) { values.push_back(value); });
    return values;
  }
};

TMakefileReading::TMakefileReading(const TStrings& lines) : F(std::make_unique<TState>()) {
  F->Content = ReadMakefileContent(lines, F->Expansion);
  F->FindContexts();
}

TMakefileReading::~TMakefileReading() = default;

bool TMakefileReading::Sets(const std::string& name) const {
  if (F->Content.Globals.count(name) || F->Content.UnknownInTargets.count(name)) return true;
  // A target's own variable counts where the default goal's commands see it.
  for (const TMakefileTarget* target : F->Walked)
    if (target->Variables.count(name)) return true;
  return F->RulesUncertain && F->TargetVariableNames.count(name);
}

std::vector<std::string> TMakefileReading::GlobalNames() const {
  std::vector<std::string> names;
  for (const auto& [name, variable] : F->Content.Globals) names.push_back(name);
  return names;
}

std::optional<std::string> TMakefileReading::Value(const std::string& name) {
  if (F->Content.ValuesUncertain) return std::nullopt;
  std::optional<std::string> agreed;
  for (const std::string& value : F->ValuesWhereCommandsRun(name)) {
    if (!IsKnownText(value) || (agreed && *agreed != value)) return std::nullopt;
    agreed = value;
  }
  return agreed;
}

std::string TMakefileReading::Part() {
  if (F->Content.ValuesUncertain) return "";
  std::set<std::string> parts;
  bool unknown = false;
  // An option's part is its first word; the MCU variable's is the whole
  // value without the blanks at its ends.
  auto take = [&](const std::string& text, bool wholeValue) {
    const std::string_view value = wholeValue ? TrimBlanks(text) : std::string_view(text);
    const std::string word(value.substr(0, value.find_first_of(" \t")));
    if (!IsKnownText(value) || (wholeValue && word.size() != value.size()) || !IsAvrPartName(word))
      unknown = true;
    else
      parts.insert(word);
  };
  bool passed = false;
  F->Watching = true, F->Hidden = false;
  F->Expansion.SetOnUnknown([this](std::string_view reference) {
    if (F->Watching && !F->Hidden) F->Hidden = F->MayHoldOption(reference);
  });
  const TScopeExit unwatch([this] {
    F->Expansion.SetOnUnknown(nullptr);
    F->Watching = false;
  });
  auto options = [&](const std::string& commands) {
    for (const std::string& option : MmcuTexts(commands)) passed = true, take(option, false);
  };
  for (const auto& [target, contexts] : F->RecipeRuns)
    for (const std::string& recipe : target->Recipes) F->ExpandEach(recipe, contexts, options);
  // A file without a recipe of its own: a pattern rule's or make's.
  for (const std::string& recipe : F->Content.PatternRecipes) F->ExpandEach(recipe, F->ImplicitRuns, options);
  F->ExpandEach(BuiltInCommands, F->ImplicitRuns, options);
  // Where no command runs (a file of variables alone), the options its
  // variables hold, and every one they may be given.
  if (F->Contexts.empty()) {
    F->Watching = false;
    for (const auto& [name, variable] : F->Content.Globals) options(F->GlobalValueOf(name));
    for (const auto& [name, texts] : F->Content.UncertainValues)
      for (const std::string& text : texts) options(F->Expanded(text, nullptr));
  }
  if (F->Hidden) return "";
  if (!passed)
    for (const std::string& value : F->ValuesWhereCommandsRun("MCU")) take(value, true);
  if (unknown || parts.size() != 1) return "";
  return *parts.begin();
}

std::string MakefilePart(const TStrings& lines) { return TMakefileReading(lines).Part(); }

}  // namespace vk
