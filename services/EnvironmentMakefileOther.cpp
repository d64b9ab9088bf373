#include "services/EnvironmentMakefileOther.h"

#include <algorithm>
#include <optional>

#include "services/EnvironmentMakefile.h"
#include "services/EnvironmentMakefileText.h"
#include "services/MakefileVariables.h"
#include "services/TextWords.h"
#include "platform/FilePaths.h"

namespace vk {

namespace {

// A value of a makefile the dialog did not write, as it stands in the
// dialog's makefile: one line, a "$" kept as make would keep it.
std::optional<std::string> StandAlone(const std::optional<std::string>& value) {
  if (!value || value->find_first_of("\r\n") != std::string::npos) return std::nullopt;
  std::string text = Trim(*value);
  if (!text.empty() && text.back() == '\\') return std::nullopt;
  for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + 2)) text.insert(at, "$");
  return text;
}

// The map the linker is asked for ("-Wl,-Map,x.map", "-Wl,-Map=x.map")
// named after the target, which the result box reads; false when the
// option asks for none.
bool NameMapAfterTarget(std::string& word) {
  if (!word.starts_with("-Wl,")) return false;
  std::vector<std::string> parts;
  for (size_t at = 0; at != std::string::npos;) {
    const size_t comma = word.find(',', at);
    parts.push_back(word.substr(at, comma - at));
    at = comma == std::string::npos ? comma : comma + 1;
  }
  bool named = false;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].starts_with("-Map=")) {
      parts[i] = "-Map=$(TARGET).map";
      named = true;
    } else if (parts[i] == "-Map" && i + 1 < parts.size()) {
      parts[++i] = "$(TARGET).map";
      named = true;
    }
  }
  word = parts[0];
  for (size_t i = 1; i < parts.size(); ++i) word += "," + parts[i];
  return named;
}

// A flag variable's words as one memo line: without -mmcu= (the part row
// passes the part), and for the linker with the map the result box reads.
std::vector<std::string> StandAloneFlags(const std::string& name, const std::string& value) {
  std::vector<std::string> kept;
  bool asksForMap = false;
  for (std::string word : TextWords(value)) {
    if (word.starts_with("-mmcu=")) continue;
    if (name == "LDFLAGS") asksForMap = NameMapAfterTarget(word) || asksForMap;
    kept.push_back(std::move(word));
  }
  std::vector<std::string> lines;
  if (name == "LDFLAGS" && !asksForMap) lines.push_back(MakefileDefaults::LinkerOptions().front());
  if (!kept.empty()) lines.push_back(JoinedWords(kept));
  return lines;
}

// A clock frequency as the F_CPU field holds it: the number without the
// suffix of a C constant ("16000000UL" gives "16000000"), which the
// dialog's makefile adds itself; none for what is not a number.
std::optional<std::string> Frequency(std::string text) {
  while (!text.empty() && (text.back() == 'U' || text.back() == 'u' || text.back() == 'L' || text.back() == 'l'))
    text.pop_back();
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return text;
}

// Where the words of a compile option come from.
enum TWordsOf {
  woOther,    // the C++ or assembler options: their -std is not the C standard's
  woC,        // the C options
  woCommand,  // a C compiler command: the compiler, its input files and link options are not options of a compile
};

// Sorts the words of another makefile's compile options: what a field of
// the dialog holds goes into that field (the last word of a field wins,
// as with the compiler), what the dialog's makefile passes itself (the
// part, -c, the output, the dependency file) goes, and the rest is
// answered in order. Its -I folders are gathered for the -I options.
class TCompileWords {
public:
  explicit TCompileWords(TMakefileOptions& options) : FOptions(options) {}

  std::vector<std::string> Sort(const std::string& value, TWordsOf of) {
    const std::vector<std::string> words = TextWords(value);
    std::vector<std::string> rest;
    for (size_t i = of == woCommand ? 1 : 0; i < words.size(); ++i) {
      std::string word = words[i];
      const bool hasNext = i + 1 < words.size();
      if (IsOneOf(word, {"-o", "-x", "-MF", "-MT", "-MQ"})) {
        ++i;  // its argument goes with it
        continue;
      }
      if (hasNext && IsOneOf(word, {"-D", "-U", "-I"})) word += words[++i];
      else if (hasNext && IsOneOf(word, {"-include", "-imacros", "-isystem", "-iquote", "-idirafter"}))
        word += " " + words[++i];
      if (TakesField(word, of) || IsMadeByTheRules(word) || (of == woCommand && !IsCompileOption(word))) continue;
      rest.push_back(word);
    }
    return rest;
  }

  void AddIncludeFolder(const std::string& folder) {
    if (std::find(FIncludes.begin(), FIncludes.end(), folder) == FIncludes.end()) FIncludes.push_back(folder);
  }

  // The -I folders met, as the dialog's -I options; none met keeps them.
  void SetIncludeOptions() const {
    if (FIncludes.empty()) return;
    std::vector<std::string> options;
    for (const std::string& folder : FIncludes) options.push_back("-I" + folder);
    FOptions.IOptions = JoinedWords(options);
  }

private:
  static bool IsOneOf(const std::string& word, std::initializer_list<const char*> options) {
    return std::find(options.begin(), options.end(), word) != options.end();
  }

  bool TakesField(const std::string& word, TWordsOf of) {
    if (word.starts_with("-O")) {
      FOptions.Optimization = word.size() > 2 ? word.substr(2) : "1";  // -O alone is -O1
    } else if (word.starts_with("-g")) {
      FOptions.DebugFormat = word.substr(2);  // -g$(DEBUG) gives the word back
    } else if (word.starts_with("-I") && word.size() > 2) {
      AddIncludeFolder(word.substr(2));
    } else if (word.starts_with("-std=") && of != woOther) {
      FOptions.CStandard = word;
    } else if (std::optional<std::string> frequency;
               word.starts_with("-DF_CPU=") && (frequency = Frequency(word.substr(8)))) {
      FOptions.McuFrq = *frequency;
    } else {
      return false;
    }
    return true;
  }

  // The part comes from the MCU row, the objects' dependency files from
  // the rules; what a compile makes (-c, -S, -E) the rules decide.
  static bool IsMadeByTheRules(const std::string& word) {
    return word.starts_with("-mmcu=") || word.starts_with("-M") || IsOneOf(word, {"-c", "-S", "-E"});
  }

  // A command's words that are options of the compile: not its input files
  // and not what it passes to the linker.
  static bool IsCompileOption(const std::string& word) {
    return word.starts_with("-") && !word.starts_with("-Wl,") && !word.starts_with("-l") && !word.starts_with("-L") &&
           word != "-Xlinker";
  }

  TMakefileOptions& FOptions;
  std::vector<std::string> FIncludes;
};

// The options a compile command carries, in the order their fields are
// taken: the C compile's last, so that its fields win where another
// compile's differ. The dialog's own text of each (its default) brings the
// part, the -O level, the F_CPU and the other fields into every compile.
constexpr std::pair<const char*, TWordsOf> CompileVariables[] = {
    {"ADEFS", woOther}, {"CPPDEFS", woOther}, {"CPPFLAGS", woOther}, {"ASFLAGS", woOther},
    {"CDEFS", woC},     {"CFLAGS", woC},
};

bool IsCompileVariable(const std::string& name) {
  return std::any_of(std::begin(CompileVariables), std::end(CompileVariables),
                     [&](const auto& variable) { return name == variable.first; });
}

// The values of the variables that hold a C compiler command with its
// options, which recipes use in place of CFLAGS
// ("COMPILE = avr-gcc -Wall -Os -DF_CPU=$(F_CPU) $(CFLAGS) -mmcu=$(DEVICE)").
std::vector<std::string> CompileCommands(TMakefileReading& reading) {
  std::vector<std::string> commands;
  for (const std::string& name : reading.GlobalNames()) {
    if (ReadBackRow(name)) continue;
    const std::optional<std::string> value = StandAlone(reading.Value(name));
    const std::vector<std::string> words = value ? TextWords(*value) : std::vector<std::string>();
    if (!words.empty() && ExtractFileName(words[0]).starts_with("avr-gcc")) commands.push_back(*value);
  }
  return commands;
}

// The dialog's own words of an option (its default) with the other file's
// after them, each word once.
std::vector<std::string> AddedWords(const std::vector<std::string>& own, const std::vector<std::string>& other) {
  std::vector<std::string> added;
  for (const std::string& word : other)
    if (std::find(own.begin(), own.end(), word) == own.end() &&
        std::find(added.begin(), added.end(), word) == added.end())
      added.push_back(word);
  return added;
}

// The compile options that the file tells: each option's own text with
// the file's other words after it, its fields taken into the fields.
void ReadOtherCompileOptions(TMakefileReading& reading, TMakefileOptions& options) {
  const TMakefileOptions defaults;
  TCompileWords sorter(options);
  const std::vector<std::string> commands = CompileCommands(reading);
  for (auto [name, of] : CompileVariables) {
    const bool c = std::string_view(name) == "CFLAGS";
    const bool sets = reading.Sets(name);
    if (!sets && !(c && !commands.empty())) continue;
    const TMakefileRow& row = *ReadBackRow(name);
    const std::optional<std::string> value = sets ? StandAlone(reading.Value(name)) : "";
    std::vector<std::string> words = value ? sorter.Sort(*value, of) : std::vector<std::string>();
    if (c)
      for (const std::string& command : commands)
        for (const std::string& word : sorter.Sort(command, woCommand)) words.push_back(word);
    if (row.Lines) {
      std::vector<std::string>& memo = options.*row.Lines = defaults.*row.Lines;
      const std::string added = JoinedWords(AddedWords(memo, words));
      if (!added.empty()) memo.push_back(added);
    } else {
      std::string& text = options.*row.Text = defaults.*row.Text;
      const std::string added = JoinedWords(AddedWords(TextWords(text), words));
      if (!added.empty()) text += " " + added;
    }
  }
  // The dialog's own include folders variable is the settings' tool-chain
  // path, not read from a makefile: the file's folders are -I options.
  if (reading.Sets("EXTRAINCDIRS"))
    if (std::optional<std::string> folders = StandAlone(reading.Value("EXTRAINCDIRS")))
      for (const std::string& folder : TextWords(*folders)) sorter.AddIncludeFolder(folder);
  sorter.SetIncludeOptions();
}

}  // namespace

void ReadOtherMakefileOptions(const TStrings& lines, TMakefileOptions& options) {
  TMakefileReading reading(lines);
  const TMakefileOptions defaults;
  for (const TMakefileRow& row : MakefileRows()) {
    const std::string name = MakefileVariableName(row);
    if (!row.ReadBack || row.Kind == TMakefileRow::mrPart || !reading.Sets(name) || IsCompileVariable(name)) continue;
    const std::optional<std::string> value = StandAlone(reading.Value(name));
    if (row.Lines)
      options.*row.Lines = value ? StandAloneFlags(name, *value) : defaults.*row.Lines;
    else
      options.*row.Text = value.value_or(defaults.*row.Text);
  }
  if (reading.Sets("F_CPU")) options.McuFrq = Frequency(options.McuFrq).value_or(options.McuFrq);
  // Many makefiles keep the whole option in OPT ("OPT = -Os"); the dialog's
  // field is the level alone, since its rules pass -O$(OPT).
  if (reading.Sets("OPT") && options.Optimization.starts_with("-O"))
    options.Optimization = options.Optimization.size() > 2 ? options.Optimization.substr(2) : "1";
  // The dialog's printf and scanf libraries force their functions into the
  // program; the file's program has them only where its own link asks.
  if (!reading.Sets("PRINTF_LIB")) options.PrintfLib.clear();
  if (!reading.Sets("SCANF_LIB")) options.ScanfLib.clear();
  ReadOtherCompileOptions(reading, options);
  const std::string part = reading.Part();
  options.McuType = part.empty() ? defaults.McuType : part;
}

}  // namespace vk
