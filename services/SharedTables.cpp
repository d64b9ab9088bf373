#include "services/SharedTables.h"

#include <algorithm>

namespace vk {

const std::array<TMcuRow, McuCount> McuTable = {{
    {"attiny11", "1", "0", "0", "ATtiny11(PDIP).jpg"},
    {"attiny12", "1", "64", "0", "ATtiny12(PDIP).jpg"},
    {"attiny13", "1", "64", "64", "ATtiny13(PDIP,SOIC,MLF).jpg"},
    {"attiny22", "2", "128", "128", "ATtiny22(PDIP).jpg"},
    {"attiny24", "2", "128", "128", "ATtiny24_44_84(PDIP,SOIC,QFN,MLF).jpg"},
    {"attiny25", "2", "128", "128", "ATtiny25_45_85(SOIC).jpg"},
    {"attiny26", "2", "128", "128", "ATtiny26(PDIP,SOIC).jpg"},
    {"attiny28", "2", "0", "0", "ATtiny28(PDIP,TQFP).jpg"},
    {"attiny43u", "4", "64", "256", "NotFoundImage.jpg"},
    {"attiny44", "4", "256", "256", "ATtiny24_44_84(PDIP,SOIC,QFN,MLF).jpg"},
    {"attiny45", "4", "256", "256", "ATtiny25_45_85(SOIC).jpg"},
    {"attiny48", "4", "64", "256", "ATtiny24_44_84(PDIP,SOIC,QFN,MLF).jpg"},
    {"attiny84", "8", "512", "512", "ATtiny24_44_84(PDIP,SOIC,QFN,MLF).jpg"},
    {"attiny85", "8", "512", "512", "ATtiny25_45_85(SOIC).jpg"},
    {"attiny88", "8", "64", "512", "ATtiny24_44_84(PDIP,SOIC,QFN,MLF).jpg"},
    {"attiny167", "16", "512", "512", "NotFoundImage.jpg"},
    {"attiny261", "2", "128", "128", "ATtiny261_461_861(PDIP,SOIC).jpg"},
    {"attiny461", "4", "256", "256", "ATtiny261_461_861(PDIP,SOIC).jpg"},
    {"attiny861", "8", "512", "512", "ATtiny261_461_861(PDIP,SOIC).jpg"},
    {"attiny2313", "2", "128", "128", "ATtiny2313(PDIP,SOIC).jpg"},
    {"at90s1200", "1", "64", "0", "AT90S1200(PDIP).jpg"},
    {"at90s2313", "2", "128", "128", "ATtiny2313(PDIP,SOIC).jpg"},
    {"at90s2323", "2", "128", "128", "AT90S2323(PDIP).jpg"},
    {"at90s2333", "2", "128", "128", "AT90S2333(PDIP).jpg"},
    {"at90s2343", "2", "128", "128", "AT90S2343(PDIP).jpg"},
    {"at904414", "4", "128", "256", "NotFoundImage.jpg"},
    {"at904433", "4", "128", "256", "AT90S2333(PDIP).jpg"},
    {"at904434", "4", "256", "256", "ATmega8535(PDIP).jpg"},
    {"at908515", "8", "512", "512", "AT90S8515(PDIP).jpg"},
    {"at908534", "8", "256", "512", "AT90C8534(TQFP).jpg"},
    {"at908535", "8", "512", "512", "ATmega8535(PDIP).jpg"},
    {"at90can32", "32", "1024", "2048", "AT90CAN32_64_128.jpg"},
    {"at90can64", "64", "2048", "4096", "AT90CAN32_64_128.jpg"},
    {"at90usb82", "8", "512", "512", "AT90USB82_162(QFN32).jpg"},
    {"at90can128", "128", "4096", "4096", "AT90CAN32_64_128.jpg"},
    {"at90usb162", "16", "512", "512", "AT90USB82_162(QFN32).jpg"},
    {"at90usb1286", "128", "4096", "8192", "AT90USB646_647_1286_1287(TQFP).jpg"},
    {"at90pwm1", "8", "512", "512", "AT90PWM1(SOIC).jpg"},
    {"at90pwm2b", "8", "512", "512", "AT90PWM2_PWM3(SOIC).jpg"},
    {"at90pwm3b", "8", "512", "512", "AT90PWM2_PWM3(SOIC).jpg"},
    {"at90pwm216", "16", "512", "1024", "AT90PWM216(SOIC).jpg"},
    {"at90pwm316", "16", "512", "1024", "AT90PWM316(SOIC).jpg"},
    {"atmega8", "8", "512", "1024", "ATmega8(PDIP).jpg"},
    {"atmega8hva", "8", "256", "512", "ATmega8HVA_16HVA_32HVA(LGA).jpg"},
    {"atmega16", "16", "512", "1024", "ATmega16(PDIP).jpg"},
    {"atmega16hva", "16", "256", "512", "ATmega8HVA_16HVA_32HVA(LGA).jpg"},
    {"atmega32", "32", "1024", "2048", "ATmega32(PDIP).jpg"},
    {"atmega32c1", "32", "1024", "2048", "ATmega32C1_64C1_32M1_64M1(TQFP).jpg"},
    {"atmega32m1", "32", "1024", "2048", "ATmega32C1_64C1_32M1_64M1(TQFP).jpg"},
    {"atmega32hvb", "32", "1024", "2048", "ATmega8HVA_16HVA_32HVA(LGA).jpg"},
    {"atmega48", "4", "256", "512", "ATmega48_88_168(PDIP).jpg"},
    {"atmega48p", "4", "256", "512", "ATmega48P_88P_168P_328P(PDIP).jpg"},
    {"atmega64", "64", "2048", "4096", "ATmega64(TQFP,MLF).jpg"},
    {"atmega88", "8", "512", "1024", "ATmega48_88_168(PDIP).jpg"},
    {"atmega88p", "8", "512", "1024", "ATmega48P_88P_168P_328P(PDIP).jpg"},
    {"atmega103", "128", "4096", "4000", "ATmega103(TQFP).jpg"},
    {"atmega128", "128", "4096", "4096", "ATmega128(TQFP).jpg"},
    {"atmega161", "16", "512", "1024", "ATmega161(PDIP).jpg"},
    {"atmega162", "16", "512", "1024", "ATmega162(PDIP).jpg"},
    {"atmega163", "16", "512", "1024", "ATmega163(PDIP).jpg"},
    {"atmega164", "16", "512", "1024", "ATmega164P_324P_644P(PDIP).jpg"},
    {"atmega165", "16", "512", "1024", "ATmega165(TQFP).jpg"},
    {"atmega165p", "16", "512", "1024", "ATmega165(TQFP).jpg"},
    {"atmega168", "16", "512", "1024", "ATmega48_88_168(PDIP).jpg"},
    {"atmega168p", "16", "512", "1024", "ATmega48P_88P_168P_328P(PDIP).jpg"},
    {"atmega169", "16", "512", "1024", "ATmega169_169V(TQFP).jpg"},
    {"atmega169p", "16", "512", "1024", "ATmega169P_169PV(TQFP).jpg"},
    {"atmega323", "32", "1024", "2048", "ATmega323(PDIP).jpg"},
    {"atmega324", "32", "1024", "2048", "ATmega164P_324P_644P(PDIP).jpg"},
    {"atmega325", "32", "1024", "2048", "ATmega325_3250_645_6450(TQFP).jpg"},
    {"atmega3250", "32", "1024", "2048", "ATmega325_3250_645_6450(TQFP).jpg"},
    {"atmega3250", "32", "1024", "2048", "ATmega325_3250_645_6450(TQFP).jpg"},
    {"atmega328p", "32", "1024", "2048", "ATmega48P_88P_168P_328P(PDIP).jpg"},
    {"atmega329", "32", "1024", "2048", "ATmega329_3290_649_6490(TQFP).jpg"},
    {"atmega329", "32", "1024", "2048", "ATmega329_3290_649_6490(TQFP).jpg"},
    {"atmega406", "40", "512", "2048", "ATmega406(TQFP).jpg"},
    {"atmega640", "64", "4096", "8192", "ATmega640_1280_2560_2561(TQFP).jpg"},
    {"atmega644", "64", "2048", "4096", "ATmega164P_324P_644P(PDIP).jpg"},
    {"atmega645", "64", "2048", "4096", "ATmega325_3250_645_6450(TQFP).jpg"},
    {"atmega649", "64", "2048", "4096", "ATmega329_3290_649_6490(TQFP).jpg"},
    {"atmega1280", "128", "4096", "8192", "ATmega640_1280_1281_2560_2561(TQFP).jpg"},
    {"atmega1281", "128", "4096", "8192", "ATmega640_1280_1281_2560_2561(TQFP).jpg"},
    {"at90usb1287", "128", "4096", "8192", "AT90USB646_647_1286_1287(TQFP).jpg"},
    {"atmega1284p", "128", "4096", "16384", "ATmega1284P(PDIP).jpg"},
    {"atmega2560", "256", "4096", "8192", "ATmega640_1280_1281_2560_2561(TQFP).jpg"},
    {"atmega2561", "256", "4096", "8192", "ATmega640_1280_1281_2560_2561(TQFP).jpg"},
    {"atmega3290", "32", "1024", "2048", "ATmega329_3290_649_6490(TQFP).jpg"},
    {"atmega3290", "32", "1024", "2048", "ATmega329_3290_649_6490(TQFP).jpg"},
    {"atmega32u4", "32", "1024", "2560", "ATmega32U4(TQFP).jpg"},
    {"atmega6450", "64", "2048", "4096", "ATmega325_3250_645_6450(TQFP).jpg"},
    {"atmega6490", "64", "2048", "4096", "ATmega329_3290_649_6490(TQFP).jpg"},
    {"atmega8515", "8", "512", "512", "ATmega8515(PDIP).jpg"},
    {"atmega8535", "8", "512", "512", "ATmega8535(PDIP).jpg"},
    {"atxmega64a1", "64", "2048", "4096", "Txmega64A1_128A1_192A1_256A1_384A1(TQFP).jpg"},
    {"atxmega128a1", "128", "2048", "8192", "Txmega64A1_128A1_192A1_256A1_384A1(TQFP).jpg"},
    {"at43u320", "0", "0", "512", "AT43USB320A(LQFP).jpg"},
    {"at43u355", "24", "0", "1024", "AT43USB355(LQFP).jpg"},
    {"at76c711", "0", "0", "0", "AT76C711(TQFP).jpg"},
    {"at86r401", "2", "128", "128", "AT86r401(SOP).jpg"},
    {"at90usb646", "64", "2048", "4096", "AT90USB646_647_1286_1287(TQFP).jpg"},
    {"at90usb647", "64", "2048", "4096", "AT90USB646_647_1286_1287(TQFP).jpg"},
    {"at94k", "0", "0", "36864", "AT94K.jpg"},
}};

const TMcuRow* FindMcu(std::string_view name) {
  int index = IndexOfMcu(name);
  return index < 0 ? nullptr : &McuTable[index];
}

int IndexOfMcu(std::string_view name) {
  for (int i = 0; i < McuCount; ++i)
    if (name == McuTable[i].Name) return i;
  return -1;
}

const std::array<const char*, AttrKeyCount> AttrKeyNames = {
    "AsmAttri",     "AvrGccKeyAttri", "AvrVarAttri", "CommentAttri", "DirecAttri",  "HexKeyAttri", "IdentifierAttri",
    "InvalidAttri", "KeyAttri",       "NumberAttri", "SpaceAttri",   "StringAttri", "SymbolAttri", "Editor"};

// The library keeps its part headers below "avr/"; the signal macros that
// once had a header of their own now come with the interrupt header, so that
// entry names it too (the insertion compares headers by name).
// clang-format off
const std::array<const char*, 10> IncludeHeaderNames = {
    "avr/io.h", "avr/interrupt.h", "avr/interrupt.h", "avr/wdt.h", "avr/eeprom.h", "avr/pgmspace.h",
    "stdarg", "math", "ina90", "timer"};
// clang-format on

namespace {

enum THeader { hIo, hSignal, hInterrupt, hWatchdog, hEeprom, hProgmem };

constexpr const char* kProgmemWords[] = {
    "__attribute__", "PRG_RDB",  "progmem",  "__lpm_macro",  "__elpm_macro",    "program_read_block", "memcpy_P",
    "strcat_P",      "strcmp_P", "strcpy_P", "strcasecmp_P", "size_t strlen_P", "strncmp_P",          "strncasecmp_P",
    "strncpy_P",     "printf_P", "puts_P",   "scanf_P",      "sprintf_P",       "sscanf_P",           "strerror_P"};
constexpr const char* kEepromWords[] = {"eeprom_rb",         "eeprom_rw", "eeprom_wb", "eeprom_is_ready",
                                        "eeprom_read_block", "_EEPUT",    "EEGET"};
constexpr const char* kInterruptWords[] = {"INTERRUPT", "cli", "sei", "enable_external_int", "timer_enable_int"};
constexpr const char* kSignalWords[] = {"SIGNAL", "INTERRUPT", "signame "};
// The last entry is empty: it matches every non-empty line, so any source
// with text calls for the io header.
// clang-format off
constexpr const char* kIoWords[] = {
    "BV", "outp", "inp", "cbi", "sbi", "bit_is_clear", "bit_is_set", "bit_is_clear", "bit_is_set",
    "loop_until_bit_is_clear", "loop_until_bit_is_set", "__inw", "__inw__atomic", "__outw", "__outw_atomic",
    "__mmio", "__inb", "__outb", "__outb_zero", "__cbi", "__sbi", "__port_and", "__port_or", "__cbi", "__sbi",
    "__cbi_const_port", "__sbi_const_port", "parity_even_bit", "inb", "inw", "outb", "outw",
    "__port_in_out_ok", "parity_even_bit", ""};
// clang-format on
constexpr const char* kWatchdogWords[] = {"wdt_disable", "wdt_enable", "wdt_reset", "__init__wdtcr__"};

static_assert(std::size(kProgmemWords) == 21 && std::size(kEepromWords) == 7 && std::size(kInterruptWords) == 5 &&
              std::size(kSignalWords) == 3 && std::size(kIoWords) == 35 && std::size(kWatchdogWords) == 4);

}  // namespace

const std::array<TIncludeKeywordList, InsertableHeaderCount> IncludeKeywordLists = {{
    {hProgmem, kProgmemWords},
    {hEeprom, kEepromWords},
    {hInterrupt, kInterruptWords},
    {hSignal, kSignalWords},
    {hIo, kIoWords},
    {hWatchdog, kWatchdogWords},
}};

const TIncludeKeywordList& KeywordListForHeader(int header) {
  return *std::find_if(IncludeKeywordLists.begin(), IncludeKeywordLists.end(),
                       [header](const TIncludeKeywordList& list) { return list.Header == header; });
}

const std::array<const char*, 29> StandardHeaderNames = {
    "ctype.h",      "eeprom.h",  "errno.h",  "ina90.h",     "interrupt.h", "inttypes.h", "iomacros.h", "math.h",
    "pgmspace.h",   "progmem.h", "setjmp.h", "sig-avr.h",   "io.h",        "signal.h",   "stdlib.h",   "string.h",
    "string-avr.h", "timer.h",   "twi.h",    "wdt.h",       "float.h",     "iso646.h",   "limits.h",   "proto.h",
    "stdarg.h",     "stdbool.h", "stddef.h", "syslimits.h", "varargs.h"};

bool IsStandardHeaderName(std::string_view fileName) {
  return std::any_of(StandardHeaderNames.begin(), StandardHeaderNames.end(),
                     [fileName](const char* name) { return fileName == name; });
}

}  // namespace vk
