#include "services/MakefileExpansion.h"

namespace vk {

namespace {

// Deeper than this, references go round in a loop (make stops with an
// error there).
constexpr int MaxDepth = 64;

}  // namespace

std::string_view TrimLeftBlanks(std::string_view text) {
  while (!text.empty() && IsMakeBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRightBlanks(std::string_view text) {
  while (!text.empty() && IsMakeBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimBlanks(std::string_view text) { return TrimRightBlanks(TrimLeftBlanks(text)); }

size_t ClosingBracket(std::string_view text, size_t open) {
  const char opening = text[open + 1];
  const char closing = opening == '(' ? ')' : '}';
  int depth = 0;
  for (size_t at = open + 1; at < text.size(); ++at) {
    if (text[at] == opening) ++depth;
    if (text[at] == closing && --depth == 0) return at;
  }
  return std::string_view::npos;
}

bool TMakefileExpansion::Spend(size_t work) {
  if (work >= FLeft) {
    FLeft = 0;
    return false;
  }
  FLeft -= work;
  return true;
}

std::string TMakefileExpansion::Expand(std::string_view text, const TLookup& lookup) {
  std::string result;
  for (size_t at = 0; at < text.size();) {
    const size_t dollar = text.find('$', at);
    const std::string_view plain = text.substr(at, dollar - at);
    if (!Spend(plain.size() + 1)) {
      Unknown("");
      return result + UnknownMark;
    }
    result += plain;
    if (dollar == std::string_view::npos) break;
    // A "$" at the very end stands for nothing.
    if (dollar + 1 >= text.size()) break;
    const char next = text[dollar + 1];
    if (next == '$') {
      result += '$';
      at = dollar + 2;
    } else if (next == '(' || next == '{') {
      const size_t close = ClosingBracket(text, dollar);
      if (close == std::string_view::npos) {
        Unknown("");  // make stops at an unterminated reference
        return result + UnknownMark;
      }
      result += Reference(text.substr(dollar + 2, close - dollar - 2), lookup);
      at = close + 1;
    } else {
      result += Reference(text.substr(dollar + 1, 1), lookup);
      at = dollar + 2;
    }
  }
  return result;
}

std::string TMakefileExpansion::Reference(std::string_view name, const TLookup& lookup) {
  if (FDepth >= MaxDepth || Exhausted()) {
    Unknown("");
    return UnknownValue;
  }
  ++FDepth;
  std::string computed(name);
  if (computed.find('$') != std::string::npos) computed = Expand(name, lookup);
  std::string value;
  // A function call, a substitution reference ($(SRC:.c=.o)) or an
  // unknown name: nothing the file alone tells.
  if (computed.empty()) {
    value.clear();
  } else if (!IsKnownText(computed)) {
    value = UnknownValue;
  } else if (computed.find_first_of(" \t,:=") != std::string::npos) {
    Unknown(computed);
    value = UnknownValue;
  } else {
    value = lookup(computed);
  }
  --FDepth;
  if (!Spend(value.size())) {
    Unknown("");
    return UnknownValue;
  }
  return value;
}

}  // namespace vk
