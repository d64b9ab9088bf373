#include "services/EnvironmentMakefileText.h"

#include <span>

namespace vk {

namespace {
using O = TMakefileOptions;
using R = TMakefileRow;

// The C and the C++ compiler rows explain their flags alike.
constexpr const char* CompilerOptionsHelp[] = {
    "#87  -g*:          generate debugging information",
    "#88  -O*:          optimization level",
    "#89  -f...:        tuning, see GCC manual and avr-libc documentation",
    "#90  -Wall...:     warning level",
    "#91  -Wa,...:      tell GCC to pass this to the assembler.",
    "#92  -adhlns...:   create assembler listing"};

std::vector<const char*> HeadedBy(const char* heading, std::span<const char* const> lines) {
  std::vector<const char*> comments{heading};
  comments.insert(comments.end(), lines.begin(), lines.end());
  return comments;
}

constexpr const char* ExtMemoryHeading =
    "#133---------- External Memory Options: McuExternalMemOptionEdit----------------";
}  // namespace

const std::vector<TMakefileRow>& MakefileRows() {
  static const std::vector<TMakefileRow> rows = {
      {{"#0 Hey Emacs, this is a -*- makefile -*-",
        "#1----------------------------------------------------------------------------",
        "#2 Project makefile written by the Vornkit settings dialog. The dialog",
        "#3 writes this file anew on every OK: change the options there.",
        "#12----------------------------------------------------------------------------",
        "#13 On command line:",
        "#14 make all = Make software.",
        "#15 make clean = Clean out built project files.",
        "#16 make coff = Convert ELF to AVR COFF.",
        "#17 make extcoff = Convert ELF to AVR Extended COFF.",
        "#18 make program = Download the hex file to the device, using avrdude.",
        "#19                Please customize the avrdude settings below first!",
        "#20 make debug = Start either simulavr or avarice as specified for debugging,",
        "#21              with avr-gdb or avr-insight as the front end for debugging.",
        "#22 make filename.s = Just compile filename.c into the assembler code only.",
        "#23 make filename.i = Create a preprocessed source file for use in submitting",
        "#24                   bug reports to the GCC project.",
        "#25 To rebuild project do 'make clean' then 'make all'.",
        "                                                                                ",
        "#27------MCU name:McuTypeEdit---------------------------------------------------"},
       "MCU=", R::mrPart, &O::McuType},
      {{"#30--------Processor frequency:AvrMcuFrqEdit-----------------------------------",
        "#31     This will define a symbol, F_CPU, in all source code files equal to the",
        "#32     processor frequency. You can then use this symbol in your source code to",
        "#33     calculate timings. Do NOT tack on a 'UL' at the end, this will be done",
        "#34     automatically to create a 32-bit value in your source code."},
       "F_CPU=", R::mrText, &O::McuFrq},
      {{"#37---------Output format. (can be srec, ihex, binary):AvrMcuForMatEdit--------"},
       "FORMAT=", R::mrText, &O::FileFormat},
      {{"#40--------Target file name (without extension):-------------------------------"},
       "TARGET=", R::mrText, &O::Target, nullptr, false},
      {{"# ----------Object files directory:-------------------------------",
        "#To put object files in current directory, use a dot (.), do NOT make"},
       "OBJDIR =", R::mrText, &O::ObjDir},
      {{"#43--- List C source files here. (C dependencies are automatically generated.):McuCSourceEdit",
        "#44 List C source files here. (C dependencies are automatically generated.)"},
       "SRC=$(TARGET).c", R::mrSources, &O::CAddSources, nullptr, false},
      {{"# List C++ source files here. (C dependencies are automatically generated.)"},
       "CPPSRC=", R::mrText, &O::CppAddSources},
      {{"#47------ List Assembler source files here.:McuAsmSourceEdit------------------",
        "#48     Make them always end in a capital .S.  Files ending in a lowercase .s",
        "#49     will not be considered source files but generated files (assembler",
        "#50     output from the compiler), and will be deleted upon 'make clean' !",
        "#51     Even though the DOS/Win* filesystem matches both .s and .S the same,",
        "#52     it will preserve the spelling of the filenames, and gcc itself does",
        "#53     care about how the name is spelled on its command-line."},
       "ASRC=", R::mrText, &O::AsmAddSources, nullptr, false},
      {{"#56------ Optimization level, can be [0, 1, 2, 3, s].:McuOptimizEdit-------------",
        "#57     0 = turn off optimization. s = optimize for size.",
        "#58     (Note: 3 is not always the best optimization level. See avr-libc FAQ.)"},
       "OPT=", R::mrText, &O::Optimization},
      {{"#61-------Debugging format.:McuDebugFormatEdit-----------------------------------------",
        "#62     Native formats for AVR-GCC's -g are dwarf-2 [default] or stabs.",
        "#63     AVR Studio 4.10 requires dwarf-2.",
        "#64     AVR [Extended] COFF format requires stabs, plus an avr-objcopy run."},
       "DEBUG=", R::mrText, &O::DebugFormat},
      {{"#67----List any extra directories to look for include files here:AvrGccIncludePathEdit",
        "#68     Each directory must be seperated by a space.",
        "#69     Use forward slashes for directory separators.",
        "#70     For a directory that has spaces, enclose it in quotes."},
       "EXTRAINCDIRS=", R::mrText, &O::IncludePath, nullptr, false},
      {{"#73---------Compiler flag to set the C Standard level.:McuCstandardEdit--------",
        "#74     c89   = 'ANSI' C",
        "#75     gnu89 = c89 plus GCC extensions",
        "#76     c99   = ISO C99 standard (not yet fully implemented)",
        "#77     gnu99 = c99 plus GCC extensions"},
       "CSTANDARD=", R::mrText, &O::CStandard},
      {{"#80--------Place -D or -U options here:McuCuOptionEdit-------------------------"},
       "CDEFS=", R::mrText, &O::CDefs},
      {{"# -----------------Place -D or -U options here for ASM sources----------------"},
       "ADEFS=", R::mrText, &O::AsmDefs},
      {{"#--------------- Place -D or -U options here for C++ sources------------------"},
       "CPPDEFS=", R::mrText, &O::CppDefs},
      {{"#83--------Place -I options here:McuIoptionEdit---------------------------------"},
       "CINCS=", R::mrText, &O::IOptions},
      {HeadedBy("#86------- Compiler Options :McuCompilerOptionEdit(0~7)-------------------------",
                CompilerOptionsHelp),
       "CFLAGS", R::mrFlags, nullptr, &O::CompilerOptions},
      {HeadedBy("#86------- Compiler Options :CppCompilerOptionsMemo(0~7)-------------------------",
                CompilerOptionsHelp),
       "CPPFLAGS", R::mrFlags, nullptr, &O::CppCompilerOptions},
      {{"#101--------- Assembler Options:McuAssemblerOptionEdit--------------------------",
        "#102  -Wa,...:   tell GCC to pass this to the assembler.",
        "#103  -ahlms:    create listing",
        "#104  -gstabs:   have the assembler create line number information; note that",
        "#105             for use in COFF files, additional information about filenames",
        "#106             and function names needs to be present in the assembler source",
        "#107             files -- see avr-libc docs [FIXME: not yet described there]"},
       "ASFLAGS=", R::mrText, &O::AssemblerOptions},
      {{"#110------- Library Options: --------------------------------------------------",
        "#111 Minimalistic printf version:",
        "#114 Floating point printf version (requires MATH_LIB = -lm below)",
        "#117 If this is left blank, then it will use the Standard printf version."},
       "PRINTF_LIB =", R::mrText, &O::PrintfLib},
      {{"#121 Minimalistic scanf version :McuLibScanfMinimalisticOptionEdit",
        "#124 Floating point + %[ scanf version (requires MATH_LIB = -lm below)",
        "#127 If this is left blank, then it will use the Standard scanf version."},
       "SCANF_LIB =", R::mrText, &O::ScanfLib},
      {{"#130 Library math Options"}, "MATH_LIB =", R::mrText, &O::MathLib},
      {{}, "EXTMEMOPTS=", R::mrExtMemory, &O::ExtMemoryOptions},
      {{"#142 ---------- Linker Options:McuLinkerOptionEdit(0~7)-------------------------",
        "#143  -Wl,...:     tell GCC to pass this to linker.",
        "#144    -Map:      create map file",
        "#145    --cref:    add cross reference to  map file"},
       "LDFLAGS", R::mrFlags, nullptr, &O::LinkerOptions},
      {{"#154----------- Programming Options (avrdude) ----------------------------------",
        "#155 Programming hardware: alf avr910 avrisp bascom bsd",
        "#156 dt006 pavr picoweb pony-stk200 sp12 stk200 stk500",
        "#157",
        "#158 Type: avrdude -c ?",
        "#159 to get a full listing.",
        "#160"},
       "AVRDUDE_PROGRAMMER=", R::mrText, &O::AvrdudeProgrammer},
      {{"#163 com1 = serial port. Use lpt1 to connect to parallel port.",
        "# programmer connected to serial device"},
       "AVRDUDE_PORT=", R::mrText, &O::AvrdudePort},
      {{}, "AVRDUDE_WRITE_EEPROM=", R::mrText, &O::AvrdudeWriteEeprom},
      {{}, "AVRDUDE_WRITE_FLASH=", R::mrText, &O::AvrdudeWriteFlash},
      {{"#169 Uncomment the following if you want avrdude's erase cycle counter.",
        "#170 Note that this counter needs to be initialized first using -Yn,",
        "#171 see avrdude manual."},
       "AVRDUDE_ERASE_COUNTER=", R::mrText, &O::AvrdudeEraseCounter},
      {{"#174 Uncomment the following if you do /not/ wish a verification to be",
        "#175 performed after programming the device."},
       "AVRDUDE_NO_VERIFY=", R::mrText, &O::AvrdudeNoVerify},
      {{"#178 Increase verbosity level.  Please use this when submitting bug",
        "#179 reports about the programmer tool; its manual page says where",
        "#180 to submit bug reports.",
        "#181 AVRDUDE_VERBOSE=-v -v"},
       "AVRDUDE_FLAGS", R::mrFlags, nullptr, &O::AvrdudeFlags},
  };
  return rows;
}

std::string MakefileVariableName(const TMakefileRow& row) {
  std::string name = row.Assignment;
  if (row.Kind == TMakefileRow::mrSources) name = name.substr(0, name.find('='));
  if (!name.empty() && name.back() == '=') name.pop_back();
  return TrimRight(name);
}

const TMakefileRow* ReadBackRow(const std::string& name) {
  for (const TMakefileRow& row : MakefileRows())
    if (row.ReadBack && MakefileVariableName(row) == name) return &row;
  return nullptr;
}

const std::vector<const char*>& ExtMemoryComments(int index) {
  static const std::vector<const char*> forData = {
      ExtMemoryHeading,
      "#134 64 KB of external RAM, starting after internal RAM (ATmega128!),",
      "#135 used for variables (.data/.bss) and heap (malloc())."};
  static const std::vector<const char*> forHeap = {
      ExtMemoryHeading,
      "#138 64 KB of external RAM, starting after internal RAM (ATmega128!),",
      "#139 only used for heap (malloc())."};
  return index == 1 ? forData : forHeap;
}

// The recipes of "debug" start the back-end in the background ("&") and
// wait for Enter before the debugger starts.
const char* const MakefileRules =
    "#---------------- Debugging Options ----------------\n"
    "\n"
    "# For simulavr only - target MCU frequency.\n"
    "DEBUG_MFREQ = $(F_CPU)\n"
    "\n"
    "# Set the DEBUG_UI to either gdb or insight.\n"
    "# DEBUG_UI = gdb\n"
    "DEBUG_UI = insight\n"
    "\n"
    "# Set the debugging back-end to either avarice, simulavr.\n"
    "DEBUG_BACKEND = avarice\n"
    "#DEBUG_BACKEND = simulavr\n"
    "\n"
    "# GDB Init Filename.\n"
    "GDBINIT_FILE = __avr_gdbinit\n"
    "\n"
    "# When using avarice settings for the JTAG\n"
    "JTAG_DEV = /dev/ttyS0\n"
    "\n"
    "# Debugging port used to communicate between GDB / avarice / simulavr.\n"
    "DEBUG_PORT = 4242\n"
    "\n"
    "# The machine that runs the debugging back-end (avarice or simulavr),\n"
    "# as the debugger reaches it over the network: this machine unless the\n"
    "# back-end runs on another one.\n"
    "DEBUG_HOST = localhost\n"
    "\n"
    "#============================================================================\n"
    "\n"
    "# Define programs and commands.\n"
    "SHELL = sh\n"
    "CC = avr-gcc\n"
    "OBJCOPY = avr-objcopy\n"
    "OBJDUMP = avr-objdump\n"
    "SIZE = avr-size\n"
    "AR = avr-ar rcs\n"
    "NM = avr-nm\n"
    "AVRDUDE = avrdude\n"
    "REMOVE = rm -f\n"
    "REMOVEDIR = rm -rf\n"
    "COPY = cp\n"
    "WINSHELL = sh\n"
    "\n"
    "# Define Messages\n"
    "# English\n"
    "MSG_ERRORS_NONE = Errors: none\n"
    "MSG_BEGIN = -------- begin --------\n"
    "MSG_END = --------  end  --------\n"
    "MSG_SIZE_BEFORE = Size before:\n"
    "MSG_SIZE_AFTER = Size after:\n"
    "MSG_COFF = Converting to AVR COFF:\n"
    "MSG_EXTENDED_COFF = Converting to AVR Extended COFF:\n"
    "MSG_FLASH = Creating load file for Flash:\n"
    "MSG_EEPROM = Creating load file for EEPROM:\n"
    "MSG_EXTENDED_LISTING = Creating Extended Listing:\n"
    "MSG_SYMBOL_TABLE = Creating Symbol Table:\n"
    "MSG_LINKING = Linking:\n"
    "MSG_COMPILING = Compiling C:\n"
    "MSG_COMPILING_CPP = Compiling C++:\n"
    "MSG_ASSEMBLING = Assembling:\n"
    "MSG_CLEANING = Cleaning project:\n"
    "MSG_CREATING_LIBRARY = Creating library:\n"
    "\n"
    "# Define all object files (assembler sources end in .S or .s).\n"
    "OBJ = $(SRC:%.c=$(OBJDIR)/%.o) $(CPPSRC:%.cpp=$(OBJDIR)/%.o) \\\n"
    "$(patsubst %.s,$(OBJDIR)/%.o,$(ASRC:%.S=$(OBJDIR)/%.o))\n"
    "\n"
    "# Define all listing files.\n"
    "LST = $(SRC:%.c=$(OBJDIR)/%.lst) $(CPPSRC:%.cpp=$(OBJDIR)/%.lst) \\\n"
    "$(patsubst %.s,$(OBJDIR)/%.lst,$(ASRC:%.S=$(OBJDIR)/%.lst))\n"
    "\n"
    "# Compiler flags to generate dependency files.\n"
    "GENDEPFLAGS = -MMD -MP -MF .dep/$(@F).d\n"
    "\n"
    "# Combine all necessary flags and optional flags.\n"
    "# Add target processor and -I options (CINCS) to flags.\n"
    "ALL_CFLAGS = -mmcu=$(MCU) $(CINCS) -I. $(CFLAGS) $(GENDEPFLAGS)\n"
    "ALL_CPPFLAGS = -mmcu=$(MCU) $(CINCS) -I. -x c++ $(CPPFLAGS) $(GENDEPFLAGS)\n"
    "ALL_ASFLAGS = -mmcu=$(MCU) $(CINCS) -I. -x assembler-with-cpp $(ASFLAGS)\n"
    "\n"
    "# Default target.\n"
    "all: begin gccversion sizebefore build sizeafter end\n"
    "\n"
    "# Change the build target to build a HEX file or a library.\n"
    "build: elf hex eep lss sym\n"
    "#build: lib\n"
    "\n"
    "elf: $(TARGET).elf\n"
    "hex: $(TARGET).hex\n"
    "eep: $(TARGET).eep\n"
    "lss: $(TARGET).lss\n"
    "sym: $(TARGET).sym\n"
    "LIBNAME=lib$(TARGET).a\n"
    "lib: $(LIBNAME)\n"
    "\n"
    "# Eye candy.\n"
    "# AVR Studio 3.x does not check make's exit code but relies on\n"
    "# the following magic strings to be generated by the compile job.\n"
    "begin:\n"
    "\t@echo\n"
    "\t@echo $(MSG_BEGIN)\n"
    "\n"
    "end:\n"
    "\t@echo $(MSG_END)\n"
    "\t@echo\n"
    "\n"
    "# Display size of file.\n"
    "HEXSIZE = $(SIZE) --target=$(FORMAT) $(TARGET).hex\n"
    "ELFSIZE = $(SIZE) --mcu=$(MCU) --format=avr $(TARGET).elf\n"
    "\n"
    "sizebefore:\n"
    "\t@if test -f $(TARGET).elf; then echo; echo $(MSG_SIZE_BEFORE); $(ELFSIZE); \\\n"
    "\t2>/dev/null; echo; fi\n"
    "\n"
    "sizeafter:\n"
    "\t@if test -f $(TARGET).elf; then echo; echo $(MSG_SIZE_AFTER); $(ELFSIZE); \\\n"
    "\t2>/dev/null; echo; fi\n"
    "\n"
    "# Display compiler version information.\n"
    "gccversion :\n"
    "\t@$(CC) --version\n"
    "\n"
    "# Program the device.\n"
    "program: $(TARGET).hex $(TARGET).eep\n"
    "\t$(AVRDUDE) $(AVRDUDE_FLAGS) $(AVRDUDE_WRITE_FLASH) $(AVRDUDE_WRITE_EEPROM)\n"
    "\n"
    "# Generate avr-gdb config/init file which does the following:\n"
    "#     define the reset signal, load the target file, connect to target, and set\n"
    "#     a breakpoint at main().\n"
    "gdb-config:\n"
    "\t@$(REMOVE) $(GDBINIT_FILE)\n"
    "\t@echo define reset >> $(GDBINIT_FILE)\n"
    "\t@echo SIGNAL SIGHUP >> $(GDBINIT_FILE)\n"
    "\t@echo end >> $(GDBINIT_FILE)\n"
    "\t@echo file $(TARGET).elf >> $(GDBINIT_FILE)\n"
    "\t@echo target remote $(DEBUG_HOST):$(DEBUG_PORT)  >> $(GDBINIT_FILE)\n"
    "ifeq ($(DEBUG_BACKEND),simulavr)\n"
    "\t@echo load  >> $(GDBINIT_FILE)\n"
    "endif\n"
    "\t@echo break main >> $(GDBINIT_FILE)\n"
    "\n"
    "debug: gdb-config $(TARGET).elf\n"
    "ifeq ($(DEBUG_BACKEND), avarice)\n"
    "\t@echo Starting AVaRICE - Press enter when waiting to connect message displays.\n"
    "\t@avarice --jtag $(JTAG_DEV) --erase --program --file \\\n"
    "\t$(TARGET).elf $(DEBUG_HOST):$(DEBUG_PORT) &\n"
    "\t@$(WINSHELL) -c 'read line'\n"
    "\n"
    "else\n"
    "\t@simulavr --gdbserver --device $(MCU) --clock-freq \\\n"
    "\t$(DEBUG_MFREQ) --port $(DEBUG_PORT) &\n"
    "endif\n"
    "\t@avr-$(DEBUG_UI) --command=$(GDBINIT_FILE)\n"
    "\n"
    "# Convert ELF to COFF for use in debugging / simulating in AVR Studio or VMLAB.\n"
    "COFFCONVERT = $(OBJCOPY) --debugging\n"
    "COFFCONVERT += --change-section-address .data-0x800000\n"
    "COFFCONVERT += --change-section-address .bss-0x800000\n"
    "COFFCONVERT += --change-section-address .noinit-0x800000\n"
    "COFFCONVERT += --change-section-address .eeprom-0x810000\n"
    "\n"
    "coff: $(TARGET).elf\n"
    "\t@echo\n"
    "\t@echo $(MSG_COFF) $(TARGET).cof\n"
    "\t$(COFFCONVERT) -O coff-avr $< $(TARGET).cof\n"
    "\n"
    "extcoff: $(TARGET).elf\n"
    "\t@echo\n"
    "\t@echo $(MSG_EXTENDED_COFF) $(TARGET).cof\n"
    "\t$(COFFCONVERT) -O coff-ext-avr $< $(TARGET).cof\n"
    "\n"
    "# Create final output files (.hex, .eep) from ELF output file.\n"
    "%.hex: %.elf\n"
    "\t@echo\n"
    "\t@echo $(MSG_FLASH) $@\n"
    "\t$(OBJCOPY) -O $(FORMAT) -R .eeprom -R .fuse -R .lock $< $@\n"
    "\n"
    "%.eep: %.elf\n"
    "\t@echo\n"
    "\t@echo $(MSG_EEPROM) $@\n"
    "\t-$(OBJCOPY) -j .eeprom --set-section-flags=.eeprom=alloc,load \\\n"
    "\t--change-section-lma .eeprom=0 --no-change-warnings -O $(FORMAT) $< $@ || exit 0\n"
    "\n"
    "# Create extended listing file from ELF output file.\n"
    "%.lss: %.elf\n"
    "\t@echo\n"
    "\t@echo $(MSG_EXTENDED_LISTING) $@\n"
    "\t$(OBJDUMP) -h -S -z $< > $@\n"
    "\n"
    "# Create a symbol table from ELF output file.\n"
    "%.sym: %.elf\n"
    "\t@echo\n"
    "\t@echo $(MSG_SYMBOL_TABLE) $@\n"
    "\t$(NM) -n $< > $@\n"
    "\n"
    "# Create library from object files.\n"
    ".SECONDARY : $(TARGET).a\n"
    ".PRECIOUS : $(OBJ)\n"
    "%.a: $(OBJ)\n"
    "\t@echo\n"
    "\t@echo $(MSG_CREATING_LIBRARY) $@\n"
    "\t$(AR) $@ $(OBJ)\n"
    "\n"
    "# Link: create ELF output file from object files.\n"
    ".SECONDARY : $(TARGET).elf\n"
    ".PRECIOUS : $(OBJ)\n"
    "%.elf: $(OBJ)\n"
    "\t@echo\n"
    "\t@echo $(MSG_LINKING) $@\n"
    "\t$(CC) $(ALL_CFLAGS) $^ --output $@ $(LDFLAGS)\n"
    "\n"
    "# Compile: create object files from C source files.\n"
    "$(OBJDIR)/%.o : %.c\n"
    "\t@echo\n"
    "\t@echo $(MSG_COMPILING) $<\n"
    "\t$(CC) -c $(ALL_CFLAGS) $< -o $@\n"
    "\n"
    "# Compile: create object files from C++ source files.\n"
    "$(OBJDIR)/%.o : %.cpp\n"
    "\t@echo\n"
    "\t@echo $(MSG_COMPILING_CPP) $<\n"
    "\t$(CC) -c $(ALL_CPPFLAGS) $< -o $@\n"
    "\n"
    "# Compile: create assembler files from C source files.\n"
    "%.s : %.c\n"
    "\t$(CC) -S $(ALL_CFLAGS) $< -o $@\n"
    "\n"
    "# Compile: create assembler files from C++ source files.\n"
    "%.s : %.cpp\n"
    "\t$(CC) -S $(ALL_CPPFLAGS) $< -o $@\n"
    "\n"
    "# Assemble: create object files from assembler source files.\n"
    "$(OBJDIR)/%.o : %.S\n"
    "\t@echo\n"
    "\t@echo $(MSG_ASSEMBLING) $<\n"
    "\t$(CC) -c $(ALL_ASFLAGS) $< -o $@\n"
    "\n"
    "$(OBJDIR)/%.o : %.s\n"
    "\t@echo\n"
    "\t@echo $(MSG_ASSEMBLING) $<\n"
    "\t$(CC) -c $(ALL_ASFLAGS) $< -o $@\n"
    "\n"
    "# Create preprocessed source for use in sending a bug report.\n"
    "%.i : %.c\n"
    "\t$(CC) -E -mmcu=$(MCU) $(CINCS) -I. $(CFLAGS) $< -o $@\n"
    "\n"
    "# Target: clean project: the objects and listings of every source (a\n"
    "# source whose name no rule turns into an object stays, and so does an\n"
    "# assembler source named like a C source's generated one).\n"
    "clean: begin clean_list end\n"
    "\n"
    "clean_list :\n"
    "\t@echo\n"
    "\t@echo $(MSG_CLEANING)\n"
    "\t$(REMOVE) $(TARGET).hex\n"
    "\t$(REMOVE) $(TARGET).eep\n"
    "\t$(REMOVE) $(TARGET).cof\n"
    "\t$(REMOVE) $(TARGET).elf\n"
    "\t$(REMOVE) $(TARGET).map\n"
    "\t$(REMOVE) $(TARGET).sym\n"
    "\t$(REMOVE) $(TARGET).lss\n"
    "\t$(REMOVE) $(filter %.o,$(OBJ))\n"
    "\t$(REMOVE) $(filter %.lst,$(LST))\n"
    "\t$(REMOVE) $(filter-out $(ASRC),$(patsubst %.c,%.s,$(filter %.c,$(SRC))))\n"
    "\t$(REMOVE) $(patsubst %.c,%.d,$(filter %.c,$(SRC)))\n"
    "\t$(REMOVE) $(patsubst %.c,%.i,$(filter %.c,$(SRC)))\n"
    "\t$(REMOVEDIR) .dep\n"
    "\n"
    "# Every object depends on this makefile: a change of the options (the\n"
    "# part, a flag) builds them all anew, so none made with the old ones is linked.\n"
    "$(filter %.o,$(OBJ)) : $(lastword $(MAKEFILE_LIST))\n"
    "\n"
    "# Create object files directory\n"
    "$(shell mkdir $(OBJDIR) 2>/dev/null)\n"
    "\n"
    "# Include the dependency files.\n"
    "-include $(shell mkdir .dep 2>/dev/null) $(wildcard .dep/*)\n"
    "\n"
    "# Listing of phony targets.\n"
    ".PHONY : all begin finish end sizebefore sizeafter gccversion                   \\\n"
    "build elf hex eep lss sym coff extcoff                                          \\\n"
    "clean clean_list program debug gdb-config";

}  // namespace vk
