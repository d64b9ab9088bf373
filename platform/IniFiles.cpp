#include "platform/IniFiles.h"

#include <algorithm>

#include "platform/FilePaths.h"
#include "platform/RegFileFormat.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

struct TIniLine {
  std::string Raw;      // the line as it stands in the file
  bool IsEntry = false;
  std::string Key;      // of an entry: the name before "=", trimmed
  std::string Value;    // of an entry: after "=", trimmed and unquoted
};

struct TIniSection {
  std::string Name;
  std::string Header;   // the "[Name]" line as it stands in the file
  std::vector<TIniLine> Lines;

  TIniLine* Find(const std::string& key) {
    std::string fold = NameFoldKey(key);
    for (TIniLine& line : Lines)
      if (line.IsEntry && NameFoldKey(line.Key) == fold) return &line;
    return nullptr;
  }
};

// A value as it reads back: blanks around it and a pair of quotes around
// that are not part of it.
std::string Unquote(const std::string& text) {
  std::string value = Trim(text);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

// A value as it is written, quoted where reading it back would lose blanks
// or quotes.
std::string Quote(const std::string& value) {
  return Unquote(value) == value ? value : "\"" + value + "\"";
}

TIniLine ParseLine(const std::string& raw) {
  TIniLine line{raw, false, "", ""};
  std::string trimmed = Trim(raw);
  size_t equals = raw.find('=');
  if (equals == std::string::npos || trimmed.empty() || trimmed[0] == ';') return line;
  line.IsEntry = true;
  line.Key = Trim(raw.substr(0, equals));
  line.Value = Unquote(raw.substr(equals + 1));
  return line;
}

bool HasLineBreak(const std::string& text) { return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

}  // namespace

struct TIniFile::TContent {
  std::vector<std::string> Preamble;  // lines before the first section
  std::vector<TIniSection> Sections;
  std::string LineBreak = "\n";
  // False when the file exists but could not be read: saving would
  // overwrite what could not be read.
  bool Readable = true;

  void Parse(const std::string& text) {
    if (size_t lf = text.find('\n'); lf != std::string::npos && lf > 0 && text[lf - 1] == '\r') LineBreak = "\r\n";
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string raw = text.substr(start, end - start);
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      start = end + 1;
      std::string trimmed = Trim(raw);
      if (!trimmed.empty() && trimmed[0] == '[') {
        size_t close = trimmed.find(']');
        Sections.push_back({Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1)), raw, {}});
      } else if (Sections.empty()) {
        Preamble.push_back(raw);
      } else {
        Sections.back().Lines.push_back(ParseLine(raw));
      }
    }
  }

  std::string Text() const {
    std::string text;
    for (const std::string& raw : Preamble) text += raw + LineBreak;
    for (const TIniSection& section : Sections) {
      text += section.Header + LineBreak;
      for (const TIniLine& line : section.Lines) text += line.Raw + LineBreak;
    }
    return text;
  }

  // The first section of that name, as the system's reader finds it.
  TIniSection* Find(const std::string& name) {
    std::string fold = NameFoldKey(name);
    for (TIniSection& section : Sections)
      if (NameFoldKey(section.Name) == fold) return &section;
    return nullptr;
  }
};

TIniFile::TIniFile(const std::string& fileName) : FFileName(fileName), FContent(std::make_unique<TContent>()) {
  if (!PathExists(fileName)) return;
  try {
    FContent->Parse(LoadBytesFromFile(fileName));
  } catch (const EStreamError&) {
    FContent->Readable = false;
  }
}

TIniFile::~TIniFile() = default;

// ---- reading ----

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& fallback) const {
  TIniSection* found = FContent->Find(Trim(section));
  TIniLine* line = found ? found->Find(Trim(ident)) : nullptr;
  return line ? line->Value : fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int fallback) const {
  return StrToIntDef(ReadString(section, ident, ""), fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool fallback) const {
  return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TIniFile::ReadSection(const std::string& section, TStrings& strings) const {
  TStringsUpdate update(strings);
  strings.Clear();
  if (TIniSection* found = FContent->Find(Trim(section)))
    for (const TIniLine& line : found->Lines)
      if (line.IsEntry) strings.Add(line.Key);
}

void TIniFile::ReadSections(TStrings& strings) const {
  TStringsUpdate update(strings);
  strings.Clear();
  for (const TIniSection& section : FContent->Sections)
    if (FContent->Find(section.Name) == &section) strings.Add(section.Name);
}

void TIniFile::ReadSectionValues(const std::string& section, TStrings& strings) const {
  TStringsUpdate update(strings);
  strings.Clear();
  if (TIniSection* found = FContent->Find(Trim(section)))
    for (const TIniLine& line : found->Lines)
      if (line.IsEntry) strings.Add(line.Key + "=" + line.Value);
}

bool TIniFile::SectionExists(const std::string& section) const {
  TIniSection* found = FContent->Find(Trim(section));
  return found && std::any_of(found->Lines.begin(), found->Lines.end(), [](const TIniLine& l) { return l.IsEntry; });
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const {
  TIniSection* found = FContent->Find(Trim(section));
  return found && found->Find(Trim(ident));
}

// ---- writing ----

template <class Change>
void TIniFile::Modify(Change change) {
  auto fail = [&] { return EIniFileException(Format("Unable to write to %s", FFileName.c_str())); };
  if (!FContent->Readable) throw fail();
  TContent before = *FContent;
  if (!change(*FContent)) return;  // nothing changed, nothing to save
  try {
    SaveBytesToFile(FFileName, FContent->Text());
  } catch (const Exception&) {
    *FContent = std::move(before);
    throw fail();
  }
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  std::string name = Trim(section), key = Trim(ident);
  if (HasLineBreak(name) || name.find(']') != std::string::npos || key.empty() || HasLineBreak(key) ||
      key.find('=') != std::string::npos || key[0] == '[' || key[0] == ';' || HasLineBreak(value))
    throw EIniFileException(Format("Unable to write to %s", FFileName.c_str()));
  Modify([&](TContent& content) {
    TIniSection* found = content.Find(name);
    if (!found) found = &content.Sections.emplace_back(TIniSection{name, "[" + name + "]", {}});
    TIniLine* line = found->Find(key);
    if (line && line->Value == value) return false;
    if (!line) {
      // A new key goes after the section's last entry, before trailing blank lines.
      auto last = std::find_if(found->Lines.rbegin(), found->Lines.rend(), [](const TIniLine& l) { return l.IsEntry; });
      line = &*found->Lines.insert(last.base(), TIniLine{"", true, key, ""});
    }
    line->Value = value;
    line->Raw = line->Key + "=" + Quote(value);
    return true;
  });
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::EraseSection(const std::string& section) {
  std::string fold = NameFoldKey(Trim(section));
  Modify([&](TContent& content) {
    return std::erase_if(content.Sections, [&](const TIniSection& s) { return NameFoldKey(s.Name) == fold; }) > 0;
  });
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  std::string fold = NameFoldKey(Trim(ident));
  Modify([&](TContent& content) {
    TIniSection* found = content.Find(Trim(section));
    return found && std::erase_if(found->Lines, [&](const TIniLine& l) {
                      return l.IsEntry && NameFoldKey(l.Key) == fold;
                    }) > 0;
  });
}

}  // namespace vk
