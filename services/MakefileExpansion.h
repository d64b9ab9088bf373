#pragma once
// Make's expansion of a text: $(NAME), ${NAME}, $N and $$, with computed
// names ($($(BOARD)_MCU)). What the makefile alone cannot tell (a function,
// a substitution reference, a loop of references, work past the bound) is
// marked in the result by UnknownMark, so that no caller takes a guess for
// a value.

#include <functional>
#include <string>
#include <string_view>

namespace vk {

// The one byte that marks, inside a value, where text stands that the
// makefile alone does not tell; make never reads this byte from a makefile.
inline constexpr char UnknownMark = '\0';

// A whole value the makefile alone does not tell.
inline const std::string UnknownValue(1, UnknownMark);

inline bool IsKnownText(std::string_view text) { return text.find(UnknownMark) == std::string_view::npos; }

// The blanks make separates words with.
inline bool IsMakeBlank(char c) { return c == ' ' || c == '\t'; }

// Removes the blanks at a text's start, at its end, and those make leaves
// at the ends of a value.
std::string_view TrimLeftBlanks(std::string_view text);
std::string_view TrimRightBlanks(std::string_view text);
std::string_view TrimBlanks(std::string_view text);

// Where a reference nested in a text ends: the index of the bracket that
// closes the one at `open` ("$(" or "${"), counting nested ones of its kind;
// npos when none does.
size_t ClosingBracket(std::string_view text, size_t open);

class TMakefileExpansion {
public:
  // The value a name has in the context being expanded; it may expand the
  // variable's own text through the same expansion.
  using TLookup = std::function<std::string(const std::string& name)>;

  // budget: how many bytes and references all expansions together may go
  // through; past it every expansion answers UnknownValue.
  explicit TMakefileExpansion(size_t budget) : FLeft(budget) {}

  std::string Expand(std::string_view text, const TLookup& lookup);
  bool Exhausted() const { return FLeft == 0; }

  // Told of each reference whose value the file alone does not tell (a
  // function, a substitution reference) with its text expanded as far as
  // the file tells it, or "" for one past the bounds; while none is set,
  // nobody is.
  using TUnknownEvent = std::function<void(std::string_view reference)>;
  void SetOnUnknown(TUnknownEvent event) { FOnUnknown = std::move(event); }

private:
  bool Spend(size_t work);
  std::string Reference(std::string_view name, const TLookup& lookup);

  void Unknown(std::string_view reference) const {
    if (FOnUnknown) FOnUnknown(reference);
  }

  size_t FLeft;
  int FDepth = 0;
  TUnknownEvent FOnUnknown;
};

}  // namespace vk
