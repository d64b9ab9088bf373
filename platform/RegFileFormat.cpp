#include "platform/RegFileFormat.h"

#include "platform/CodePage.h"
#include "platform/SysUtils.h"

namespace vk {

std::string NameFoldKey(const std::string& name) {
  std::string key = name;
  for (size_t i = 0; i < key.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(key[i]);
    if (CodePage::IsLeadByte(c))
      ++i;  // a trail byte may look like an ASCII letter; it is not one
    else
      key[i] = static_cast<char>(CodePage::AsciiUpper(c));
  }
  return key;
}

TRegValue* TRegKeyNode::FindValue(const std::string& name) {
  std::string key = NameFoldKey(name);
  for (TRegValue& value : Values)
    if (value.Name.size() == name.size() && NameFoldKey(value.Name) == key) return &value;
  return nullptr;
}

TRegKeyNode* TRegKeyNode::FindSubKey(const std::string& name) const {
  auto found = SubKeys.find(NameFoldKey(name));
  return found == SubKeys.end() ? nullptr : found->second.get();
}

std::string DwordData(uint32_t value) {
  std::string data(4, '\0');
  for (size_t i = 0; i < 4; ++i) data[i] = static_cast<char>(value >> (8 * i));
  return data;
}

uint32_t DwordOf(const std::string& data) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4 && i < data.size(); ++i) value |= uint32_t(static_cast<unsigned char>(data[i])) << (8 * i);
  return value;
}

bool IsStorableValueName(const std::string& name) { return name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos; }

bool IsStorableKeyName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos && IsStorableValueName(name);
}

// ---- writing ----

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00";
const size_t kHexBytesPerLine = 25;

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

// Bytes as "xx,xx,..." with a continuation ",\" and an indented new line
// every kHexBytesPerLine bytes, as the registry editor wraps long values.
std::string HexList(const std::string& bytes) {
  std::string list;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) list += i % kHexBytesPerLine == 0 ? ",\\\n  " : ",";
    list += IntToHex(static_cast<unsigned char>(bytes[i]), 2);
  }
  return LowerCase(list);
}

std::string FormatData(const TRegValue& value) {
  switch (value.Type) {
    case rdInteger:
      return "dword:" + LowerCase(IntToHex(DwordOf(value.Data), 8));
    case rdBinary:
      return "hex:" + HexList(value.Data);
    default:
      // A string with control characters (line breaks above all) cannot stand
      // between quotes; the editor's format keeps it as typed hex data.
      for (char c : value.Data)
        if (static_cast<unsigned char>(c) < 0x20) return "hex(1):" + HexList(value.Data);
      return Quote(value.Data);
  }
}

void FormatKey(const std::string& path, const TRegKeyNode& node, bool withHeader, std::string& text) {
  if (withHeader || !node.Values.empty()) {
    text += "\n[" + path + "]\n";
    for (const TRegValue& value : node.Values)
      text += (value.Name.empty() ? std::string("@") : Quote(value.Name)) + "=" + FormatData(value) + "\n";
  }
  for (const auto& [key, sub] : node.SubKeys) FormatKey(path + "\\" + sub->Name, *sub, true, text);
}

}  // namespace

std::string FormatRegFile(const std::string& rootName, const TRegKeyNode& root) {
  std::string text = kHeader;
  text += '\n';
  FormatKey(rootName, root, false, text);
  return text;
}

// ---- reading ----

namespace {

class TRegFileParser {
public:
  TRegFileParser(const std::string& text, const std::string& rootName, TRegKeyNode& root)
      : FText(text), FRootName(rootName), FRoot(root) {}

  bool Parse(std::string& error) {
    try {
      ParseLines();
      return true;
    } catch (const Exception& e) {
      error = Format("line %d: %s", FLineNumber, e.Message().c_str());
      return false;
    }
  }

private:
  bool NextLine(std::string& line) {
    if (FPos >= FText.size()) return false;
    size_t end = FText.find('\n', FPos);
    if (end == std::string::npos) end = FText.size();
    line = FText.substr(FPos, end - FPos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    FPos = end + 1;
    ++FLineNumber;
    return true;
  }

  void ParseLines() {
    std::string line;
    bool headerSeen = false;
    while (NextLine(line)) {
      if (FLineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
      std::string trimmed = Trim(line);
      if (trimmed.empty() || trimmed[0] == ';') continue;
      if (!headerSeen) {
        if (trimmed != kHeader) throw Exception("not a registry file");
        headerSeen = true;
      } else if (trimmed[0] == '[') {
        OpenSection(trimmed);
      } else {
        ParseValue(line);
      }
    }
    if (!headerSeen) throw Exception("not a registry file");
  }

  void OpenSection(const std::string& line) {
    if (line.back() != ']') throw Exception("key line without \"]\"");
    std::string path = line.substr(1, line.size() - 2);
    if (NameFoldKey(path.substr(0, FRootName.size())) != FRootName) throw Exception("key outside " + FRootName);
    path.erase(0, FRootName.size());
    FKey = &FRoot;
    if (path.empty()) return;
    if (path[0] != '\\') throw Exception("key outside " + FRootName);
    size_t start = 1;
    while (start <= path.size()) {
      size_t end = path.find('\\', start);
      if (end == std::string::npos) end = path.size();
      std::string name = path.substr(start, end - start);
      if (name.empty()) throw Exception("empty key name");
      std::unique_ptr<TRegKeyNode>& sub = FKey->SubKeys[NameFoldKey(name)];
      if (!sub) {
        sub = std::make_unique<TRegKeyNode>();
        sub->Name = name;
      }
      FKey = sub.get();
      start = end + 1;
    }
  }

  // A quoted text starting at line[pos]; pos ends after the closing quote.
  static std::string Unquote(const std::string& line, size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') throw Exception("quote expected");
    std::string text;
    for (++pos; pos < line.size(); ++pos) {
      char c = line[pos];
      if (c == '"') {
        ++pos;
        return text;
      }
      if (c == '\\') {
        if (++pos >= line.size() || (line[pos] != '\\' && line[pos] != '"')) throw Exception("bad escape");
        c = line[pos];
      }
      text += c;
    }
    throw Exception("unterminated text");
  }

  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(CodePage::AsciiLower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  }

  // "xx,xx,...", the continuation lines joined.
  std::string HexBytes(std::string list) {
    std::string next;
    while (!list.empty() && list.back() == '\\') {
      list.pop_back();
      if (!NextLine(next)) throw Exception("hex data cut off");
      list += Trim(next);
    }
    std::string bytes;
    list = Trim(list);
    for (size_t pos = 0; pos < list.size(); pos += 3) {
      int high = HexDigit(list[pos]);
      int low = pos + 1 < list.size() ? HexDigit(list[pos + 1]) : -1;
      if (high < 0 || low < 0 || (pos + 2 < list.size() && list[pos + 2] != ','))
        throw Exception("bad hex data");
      bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
  }

  static std::string Dword(const std::string& digits) {
    if (digits.empty() || digits.size() > 8) throw Exception("bad dword");
    uint32_t value = 0;
    for (char c : digits) {
      int digit = HexDigit(c);
      if (digit < 0) throw Exception("bad dword");
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    return DwordData(value);
  }

  void ParseValue(const std::string& line) {
    if (!FKey) throw Exception("value outside a key");
    size_t pos = line.find_first_not_of(" \t");
    TRegValue value;
    if (line[pos] == '@')
      ++pos;
    else
      value.Name = Unquote(line, pos);
    if (pos >= line.size() || line[pos] != '=') throw Exception("\"=\" expected");
    std::string data = line.substr(pos + 1);
    if (!data.empty() && data[0] == '"') {
      size_t at = 0;
      value.Data = Unquote(data, at);
      if (!Trim(data.substr(at)).empty()) throw Exception("text after the value");
    } else if (data.compare(0, 6, "dword:") == 0) {
      value.Type = rdInteger;
      value.Data = Dword(Trim(data.substr(6)));
    } else if (data.compare(0, 4, "hex:") == 0) {
      value.Type = rdBinary;
      value.Data = HexBytes(data.substr(4));
    } else if (data.compare(0, 7, "hex(1):") == 0) {
      value.Data = HexBytes(data.substr(7));
    } else {
      throw Exception("unknown kind of value");
    }
    if (TRegValue* old = FKey->FindValue(value.Name)) {
      // A later line for the same value wins; the first spelling stays.
      old->Type = value.Type;
      old->Data = std::move(value.Data);
    } else
      FKey->Values.push_back(std::move(value));
  }

  const std::string& FText;
  const std::string& FRootName;
  TRegKeyNode& FRoot;
  TRegKeyNode* FKey = nullptr;
  size_t FPos = 0;
  int FLineNumber = 0;
};

}  // namespace

bool ParseRegFile(const std::string& text, const std::string& rootName, TRegKeyNode& root, std::string& error) {
  return TRegFileParser(text, NameFoldKey(rootName), root).Parse(error);
}

}  // namespace vk
