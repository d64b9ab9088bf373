#include "services/AsciiCodeTable.h"

#include "platform/SysUtils.h"

namespace vk {

namespace {

const char* const ControlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
                                      "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
                                      "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

}  // namespace

std::string AsciiCodeLabel(int code) {
  if (code < 32) return std::string("Ctrl-") + static_cast<char>(64 + code) + " " + ControlNames[code];
  if (code == 32) return "Space";
  if (code == 127) return "DEL";
  return std::string(1, static_cast<char>(code));
}

std::vector<std::string> AsciiCodeTableLines() {
  std::vector<std::string> lines;
  std::string header = "Char\t        Hex\tOct\tDec";
  for (int group = 1; group < 4; ++group) header += "  |\tChar\tHex\tOct\tDec";
  lines.push_back(header);
  for (int row = 0; row < 32; ++row) {
    std::string line;
    for (int group = 0; group < 4; ++group) {
      const int code = row + 32 * group;
      line += AsciiCodeLabel(code) + Format("\t0X%02X\t%o\t", code, code);
      // Between groups the decimal value is padded to five characters.
      line += group < 3 ? Format("%-5d|\t", code) : IntToStr(code);
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace vk
