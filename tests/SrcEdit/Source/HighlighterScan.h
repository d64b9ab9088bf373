#pragma once
// Scans one line through the highlighter base interface and lists its
// tokens, so tests can compare whole token tables.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcHighlighterCScanner.h"

namespace vk::test {

struct TToken {
  std::string Text;
  int Kind;
  int Ext = -1;  // the operator kind of a symbol, -1 for other tokens
  friend bool operator==(const TToken&, const TToken&) = default;
  friend void PrintTo(const TToken& t, std::ostream* os) {
    *os << "{\"" << t.Text << "\", " << t.Kind;
    if (t.Ext >= 0) *os << ", x" << t.Ext;
    *os << "}";
  }
};

struct TScanResult {
  std::vector<TToken> Tokens;
  TSrcEditRange End;
};

// (start range, line) -> the tokens and the range at the line end.
inline TScanResult Scan(TSrcCTextHighlighter& hl, std::string_view line, TSrcEditRange start) {
  TScanResult result;
  hl.SetRange(start);
  hl.SetLine(line, 0);
  for (TSrcCustomHighlighter& base = hl; !base.GetEol(); base.Next()) {
    const int kind = base.GetTokenKind();
    result.Tokens.push_back({base.GetToken(), kind, kind == ctkSymbol ? int(hl.GetExtTokenID()) : -1});
  }
  result.End = hl.GetRange();
  return result;
}

}  // namespace vk::test
