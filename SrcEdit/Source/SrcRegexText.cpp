// What is built on matching: substitution templates, split and replace, the
// free convenience functions, the sub-expression lister and the program dump.

#include <algorithm>
#include <cstring>

#include "SrcEdit/Source/SrcRegexProgram.h"

namespace vk {

using namespace regex_program;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A group number made of many digits stays above every group instead of
// wrapping around to a small one.
constexpr int kSaturatedGroup = 1'000'000;

// After "$": "&", digits, or either in braces; "${}" is group 0. Returns the
// group and moves p past the reference, or returns -1 and leaves p.
int ParseGroupReference(const char*& p, const char* end) {
  const char* q = p;
  bool braced = q < end && *q == '{';
  if (braced) ++q;
  int group = 0;
  if (q < end && *q == '&') {
    ++q;
  } else {
    for (; q < end && IsDigit(*q); ++q) group = std::min(group * 10 + (*q - '0'), kSaturatedGroup);
  }
  if (braced) {
    if (q < end && *q == '}')
      ++q;
    else
      q = p;  // no closing brace: the "$" is literal
  }
  if (q == p) return -1;
  p = q;
  return group;
}

// Members of a byte set: printable bytes as themselves, others as "#code".
std::string SetMembersText(const TSetOfREChar& set) {
  std::string text;
  for (int c = 0; c < 256; ++c) {
    if (!set.Contains(static_cast<uint8_t>(c))) continue;
    if (c >= 32)
      text += static_cast<char>(c);
    else
      text += "#" + IntToStr(c);
  }
  return text;
}

const char* OpName(uint8_t op) {
  static const char* const kNames[] = {
      "END",       "BOL",          "EOL",           "ANY",          "ANYOF",    "ANYBUT",     "BRANCH",
      "BACK",      "EXACTLY",      "NOTHING",       "STAR",         "PLUS",     "ANYDIGIT",   "NOTDIGIT",
      "ANYLETTER", "NOTLETTER",    "ANYSPACE",      "NOTSPACE",     "BRACES",   "COMMENT",    "EXACTLY/CI",
      "ANYOF/CI",  "ANYBUT/CI",    "LOOPENTRY",     "LOOP",         "ANYOFTINYSET", "ANYBUTTINYSET",
      "ANYOFFULLSET", "BSUBEXP",   "BSUBEXP/CI",    "STARNG",       "PLUSNG",   "BRACESNG",   "LOOPNG",
      "BOLML",     "EOLML",        "ANYML",         "BOUND",        "NOTBOUND"};
  static_assert(std::size(kNames) == opOpen);
  switch (op) {
    case opAnyOf:
    case opAnyBut:
    case opAnyLetter:
    case opNotLetter:
    case opAnySpace:
    case opNotSpace:
    case opAnyOfCI:
    case opAnyButCI:
      return nullptr;  // reserved, never emitted
    default:
      return op < opOpen ? kNames[op] : nullptr;
  }
}

}  // namespace

// ---- Substitution, split, replace --------------------------------------------------

std::string TRegex::Substitute(const std::string& templ) {
  IsProgramOk();
  if (!FHasInput) RaiseError(reNoInput);
  std::string result;
  const char* p = templ.data();
  const char* end = p + templ.size();
  while (p < end) {
    char c = *p++;
    if (c == '$') {
      int group = ParseGroupReference(p, end);
      if (group < 0)
        result += '$';
      else if (group < kMaxGroups && SlotMatched(group))
        result.append(FStartP[group], FEndP[group]);
    } else if (c == '\\' && p < end) {
      result += *p++;
    } else {
      result += c;
    }
  }
  return result;
}

// Calls replacementOf() for every match of text and joins the pieces.
template <typename TReplacement>
std::string TRegex::ReplaceEach(const std::string& text, TReplacement replacementOf) {
  std::string result;
  size_t start = 0;
  if (Exec(text)) {
    do {
      size_t matchStart = static_cast<size_t>(MatchPos(0) - 1);
      result.append(FInput, start, matchStart - start);
      result += replacementOf();
      start = matchStart + static_cast<size_t>(MatchLen(0));
    } while (ExecNext());
  }
  result.append(FInput, start);
  return result;
}

void TRegex::Split(const std::string& text, TStrings& pieces) {
  size_t start = 0;
  if (Exec(text)) {
    do {
      size_t matchStart = static_cast<size_t>(MatchPos(0) - 1);
      pieces.Add(FInput.substr(start, matchStart - start));
      start = matchStart + static_cast<size_t>(MatchLen(0));
    } while (ExecNext());
  }
  pieces.Add(FInput.substr(start));
}

std::string TRegex::Replace(const std::string& text, const std::string& replacement, bool useSubstitution) {
  return ReplaceEach(text, [&] { return useSubstitution ? Substitute(replacement) : replacement; });
}

std::string TRegex::ReplaceEx(const std::string& text, const TRegexReplaceFunction& function) {
  return ReplaceEach(text, [&] { return function(*this); });
}

std::string TRegex::Replace(const std::string& text, const TRegexReplaceFunction& function) {
  return ReplaceEx(text, function);
}

// ---- Free functions ---------------------------------------------------------------------

bool ExecRegex(const std::string& expression, const std::string& text) {
  TRegex regex;
  regex.SetExpression(expression);
  return regex.Exec(text);
}

void SplitRegex(const std::string& expression, const std::string& text, TStrings& pieces) {
  pieces.Clear();
  TRegex regex;
  regex.SetExpression(expression);
  regex.Split(text, pieces);
}

std::string ReplaceRegex(const std::string& expression, const std::string& text, const std::string& replacement,
                         bool useSubstitution) {
  TRegex regex;
  regex.SetExpression(expression);
  return regex.Replace(text, replacement, useSubstitution);
}

std::string QuoteRegexMetaChars(const std::string& text) {
  static constexpr char kMeta[] = "^$.[()|?+*\\{]}";
  std::string result;
  for (char c : text) {
    if (c != 0 && std::strchr(kMeta, c) != nullptr) result += '\\';
    result += c;
  }
  return result;
}

// ---- Sub-expression lister --------------------------------------------------------------

int RegexSubExpressions(const std::string& expression, std::vector<TRegexSubExpression>& list,
                        bool extendedSyntax) {
  list.clear();
  const std::string& e = expression;
  const size_t length = e.size();
  struct TOpen {
    size_t Item;
    size_t At;  // index of the "("
  };
  std::vector<TOpen> open;
  open.reserve(static_cast<size_t>(std::count(e.begin(), e.end(), '(')) + 1);
  int status = 0;

  for (size_t i = 0; i < length; ++i) {
    switch (e[i]) {
      case '(': {
        if (i + 1 >= length || e[i + 1] != '?') {
          list.emplace_back();
          open.push_back({list.size() - 1, i});
          break;
        }
        size_t close = e.find(')', i + 2);
        if (close == std::string::npos) {
          status = -1;
          i = length;
          break;
        }
        int modifiers = extendedSyntax ? RegexModX : 0;
        if (TRegex::ParseModifiersStr(e.substr(i + 2, close - i - 2), modifiers))
          extendedSyntax = (modifiers & RegexModX) != 0;
        i = close;
        break;
      }
      case ')':
        if (open.empty()) {
          status = static_cast<int>(i) + 1;
        } else {
          TOpen group = open.back();
          open.pop_back();
          TRegexSubExpression& item = list[group.Item];
          item.Text = e.substr(group.At + 1, i - group.At - 1);
          item.Position = static_cast<int>(group.At) + 1;
          item.Length = static_cast<int>(i - group.At) + 1;
        }
        break;
      case '[': {
        size_t j = i + 1;
        if (j < length && e[j] == ']') ++j;  // "]" first is a member
        while (j < length && e[j] != ']') j += e[j] == '\\' ? 2 : 1;
        if (j >= length) {
          status = -(static_cast<int>(i) + 2);
          i = length;
        } else {
          i = j;
        }
        break;
      }
      case '\\':
        ++i;
        break;
      case '#':
        if (!extendedSyntax) break;
        while (i < length && e[i] != '\n' && e[i] != '\r') ++i;
        while (i + 1 < length && (e[i + 1] == '\n' || e[i + 1] == '\r')) ++i;
        break;
      default:
        break;
    }
  }
  if (!open.empty()) status = -1;
  int whole = static_cast<int>(length);
  if (list.empty() || list[0].Position != 1 || list[0].Length != whole)
    list.insert(list.begin(), TRegexSubExpression{expression, 1, whole});
  return status;
}

// ---- Dump ----------------------------------------------------------------------------------

std::string TRegex::DumpOp(uint8_t op) {
  if (IsGroupOpen(op)) return Format(":OPEN[%d]", op - opOpen);
  if (IsGroupClose(op)) return Format(":CLOSE[%d]", op - opClose);
  const char* name = OpName(op);
  if (name == nullptr) RaiseError(reDumpBadOpcode);
  return std::string(":") + name;
}

std::string TRegex::Dump() {
  IsProgramOk();
  const TRegexProgram& program = *FProgram;
  const uint8_t* code = program.Code.data();
  const uint8_t* end = code + program.Code.size();
  std::string out;
  for (const uint8_t* node = program.FirstNode(); node < end; node += NodeSpan(node)) {
    uint8_t op = OpOf(node);
    const uint8_t* operand = Operand(node);
    out += Format("%2d%s", static_cast<int>(node - code), DumpOp(op).c_str());
    const uint8_t* next = NextNode(node);
    out += next ? Format(" (%d) ", static_cast<int>(next - code)) : std::string(" (0)");
    switch (op) {
      case opExactly:
      case opExactlyCI:
        out += reinterpret_cast<const char*>(operand);
        break;
      case opAnyOfTinySet:
      case opAnyButTinySet:
        out.append(reinterpret_cast<const char*>(operand), kTinySetSize);
        break;
      case opAnyOfFullSet: {
        TSetOfREChar set;
        std::memcpy(set.Bits.data(), operand, kFullSetSize);
        out += SetMembersText(set);
        break;
      }
      case opBSubExp:
      case opBSubExpCI:
        out += " \\" + IntToStr(operand[0]);
        break;
      case opBraces:
      case opBracesNG:
        out += Format("{%d,%d}", RepeatMin(node), RepeatMax(node));
        break;
      case opLoop:
      case opLoopNG:
        out += Format(" -> (%d) {%d,%d}", static_cast<int>(LoopBody(node) - code), RepeatMin(node),
                      RepeatMax(node));
        break;
      default:
        break;
    }
    out += "\r\n";
    if (op == opEnd) break;
  }
  if (program.StartChar != 0) out += std::string("start ") + static_cast<char>(program.StartChar) + " ";
  if (program.Anchored) out += "anchored ";
  if (program.MustHave() != nullptr) out += std::string("must have ") + program.MustHave();
  out += "\r\nFirstCharSet:" + SetMembersText(program.FirstCharSet) + "\r\n";
  return out;
}

}  // namespace vk
