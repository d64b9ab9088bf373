#include "services/TextWords.h"

#include <algorithm>
#include <sstream>

namespace vk {

std::vector<std::string> TextWords(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string JoinedWords(const std::vector<std::string>& words, std::string_view separator) {
  std::string text;
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += separator;
    text += words[i];
  }
  return text;
}

bool IsAsciiNumber(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

}  // namespace vk
