#include "services/EnvironmentMakefile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <ostream>

#include "services/EnvironmentMakefileText.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"
#include "tests/platform/TempFolder.h"

namespace vk {

// Failures list the options as variable lines.
void PrintTo(const TMakefileOptions& options, std::ostream* out) {
  for (const TMakefileRow& row : MakefileRows()) {
    if (row.Text) *out << "\n  " << row.Assignment << "[" << options.*row.Text << "]";
    if (row.Lines)
      for (const std::string& line : options.*row.Lines) *out << "\n  " << row.Assignment << "[" << line << "]";
  }
}

namespace {

std::string GoldenPath() { return VK_SOURCE_DIR "/tests/data/dialogs/EnvironmentMakefile.golden"; }

// Values of every kind: a frequency item with its trailing blank, extra
// sources, external memory for the heap, the floating-point printf text
// with its leading blank, the boot loader's linker lines, an empty memo.
TMakefileOptions KnownOptions() {
  TMakefileOptions options;
  options.McuType = "atmega16";
  options.McuFrq = "32000000 ";
  options.Target = "main";
  options.CAddSources = "a.c b.c";
  options.AsmAddSources = "twice.S";
  options.ExtMemoryIndex = 2;
  options.ExtMemoryOptions = MakefileDefaults::ExtMemoryForHeap;
  options.PrintfLib = MakefileDefaults::PrintfFloatLib;
  options.LinkerOptions = MakefileDefaults::BootLoaderLinkerOptions();
  options.CppCompilerOptions.clear();
  return options;
}

TMakefileOptions ReadText(const std::string& text, TMakefileOptions options = {}) {
  TStringList lines;
  lines.SetText(text);
  ReadMakefileOptions(lines, options);
  return options;
}

TEST(EnvironmentMakefileTest, KnownValuesWriteTheGoldenFileAndReadBackToTheSameBytes) {
  const std::string golden = LoadBytesFromFile(GoldenPath());
  const TMakefileOptions known = KnownOptions();
  EXPECT_EQ(MakefileText(known), golden);

  // The dialog fills these from its other stores, not from the makefile.
  TMakefileOptions read = ReadText(golden);
  read.Target = known.Target;
  read.CAddSources = known.CAddSources;
  read.AsmAddSources = known.AsmAddSources;
  read.ExtMemoryIndex = known.ExtMemoryIndex;
  EXPECT_EQ(MakefileText(read), golden);

  TMakefileOptions expected = known;
  // Written without the blanks at their ends: make would keep them.
  expected.McuFrq = "32000000";
  expected.PrintfLib = Trim(MakefileDefaults::PrintfFloatLib);
  expected.LinkerOptions[1] = "$(EXTMEMOPTS)";
  EXPECT_EQ(read, expected);
}

TEST(EnvironmentMakefileTest, RowsThatDependOnTheirValues) {
  struct Case {
    const char* name;
    std::function<void(TMakefileOptions&)> set;
    std::string present, absent;
  };
  const Case cases[] = {
      {"no extra C sources", [](TMakefileOptions& o) { o.CAddSources = "  "; }, "\r\nSRC=$(TARGET).c\r\n", "SRC=$(TARGET).c "},
      {"extra C sources", [](TMakefileOptions& o) { o.CAddSources = "a.c b.c"; }, "\r\nSRC=$(TARGET).c a.c b.c\r\n", ""},
      {"no external memory", [](TMakefileOptions& o) { o.ExtMemoryIndex = 0; }, "", "\r\nEXTMEMOPTS="},
      {"external memory for data",
       [](TMakefileOptions& o) { o.ExtMemoryIndex = 1, o.ExtMemoryOptions = "-x"; },
       "(malloc()).\r\nEXTMEMOPTS=-x\r\n", "#138"},
      {"external memory for the heap",
       [](TMakefileOptions& o) { o.ExtMemoryIndex = 7, o.ExtMemoryOptions = "-y"; },
       "#138 64 KB", "#134"},
      {"a memo of three lines",
       [](TMakefileOptions& o) { o.AvrdudeFlags = {"-a", "-b", "-c"}; },
       "AVRDUDE_FLAGS=-a\r\nAVRDUDE_FLAGS+=-b\r\nAVRDUDE_FLAGS+=-c\r\n\r\n#-", ""},
      {"an empty memo sets its variable to nothing", [](TMakefileOptions& o) { o.CompilerOptions.clear(); },
       "create assembler listing\r\nCFLAGS=\r\n\r\n#86", "CFLAGS+="},
      {"blanks at the ends", [](TMakefileOptions& o) { o.McuFrq = " 8000000 \t", o.LinkerOptions = {" -lm  "}; },
       "\r\nF_CPU=8000000\r\n", "LDFLAGS= -lm"},
      {"the part in the spelling -mmcu takes", [](TMakefileOptions& o) { o.McuType = " at90CAN128"; },
       "\r\nMCU=at90can128\r\n", ""},
  };
  for (const Case& c : cases) {
    TMakefileOptions options;
    c.set(options);
    const std::string text = MakefileText(options);
    if (!c.present.empty()) {
      EXPECT_NE(text.find(c.present), std::string::npos) << c.name;
    }
    if (!c.absent.empty()) {
      EXPECT_EQ(text.find(c.absent), std::string::npos) << c.name;
    }
  }
}

TEST(EnvironmentMakefileTest, ValuesThatWouldBreakTheFileAreRefused) {
  struct Case {
    std::function<void(TMakefileOptions&)> set;
    const char* message;
  };
  const Case cases[] = {
      {[](TMakefileOptions& o) { o.McuFrq = "8000000\nall:"; }, "value of F_CPU must"},
      {[](TMakefileOptions& o) { o.CDefs = "-DX=1\r-DY=2"; }, "value of CDEFS must"},
      {[](TMakefileOptions& o) { o.ObjDir = "obj \\ "; }, "value of OBJDIR must"},
      {[](TMakefileOptions& o) { o.LinkerOptions.push_back("-lm\n\tcp x y"); }, "value of LDFLAGS must"},
      {[](TMakefileOptions& o) { o.AsmAddSources = "a.S\\"; }, "value of ASRC must"},
      // The objects would be compiled into "/", or into two folders.
      {[](TMakefileOptions& o) { o.ObjDir = " "; }, "ObjDir must name one folder"},
      {[](TMakefileOptions& o) { o.ObjDir = "my obj"; }, "ObjDir must name one folder"},
  };
  test::TTempFolder folder;
  for (const Case& c : cases) {
    TMakefileOptions options;
    c.set(options);
    try {
      WriteMakefile(folder.Path(), options);
      ADD_FAILURE() << c.message << " was accepted";
    } catch (const EMakefileValue& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
  EXPECT_FALSE(std::filesystem::exists(folder.File("makefile")));
}

TEST(EnvironmentMakefileTest, HandEditedMakefilesReadAsMakeReadsThem) {
  struct Case {
    const char* name;
    std::string text;
    std::function<void(TMakefileOptions&)> expect;  // applied to a fresh object
  };
  // Values are read without the blanks at their ends; a memo is replaced
  // only when the file sets its variable.
  const std::string edited =
      "# notes of my own\nMCU=atmega8\nEXTRA = 1\n  # an indented comment\nCFLAGS=-Os\n"
      "CFLAGS += -Wall\nOBJDIR = obj\n";
  const auto editedExpect = [&](TMakefileOptions& o) {
    o.McuType = "atmega8", o.CompilerOptions = {"-Os", "-Wall"}, o.ObjDir = "obj";
  };
  std::string editedCrLf;
  for (char c : edited) editedCrLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const Case cases[] = {
      {"comments and extra variables, LF", edited, editedExpect},
      {"comments and extra variables, CR LF", editedCrLf, editedExpect},
      {"only the part, as a person writes it", "MCU = atmega8\r\n", [](TMakefileOptions& o) { o.McuType = "atmega8"; }},
      {"continued lines", "LDFLAGS=-Wl,-Map=x.map \\\n   -lm\n# note \\\nMCU=atmega32\nOPT=s",
       [&](TMakefileOptions& o) { o.LinkerOptions = {"-Wl,-Map=x.map -lm"}, o.Optimization = "s"; }},
      {"names are exact",
       "mcu=atmega8\n\tOPT=1\nMCU=atmega8 # note\nCPPSRC=\nCFLAGS=\nTARGET=x\nSRC=$(TARGET).c a.c\n",
       [&](TMakefileOptions& o) { o.McuType = "atmega8 # note", o.CompilerOptions.clear(); }},
      {"a plus at the end", "LDFLAGS+=-lm\nCFLAGS+",
       [&](TMakefileOptions& o) { o.LinkerOptions = {"-lm"}, o.CompilerOptions.clear(); }},
      {"a backslash at the end", "DEBUG=stabs \\", [&](TMakefileOptions& o) { o.DebugFormat = "stabs"; }},
      {"defaults of old that did not build",
       "ASFLAGS=$(ADEFS) -Wa,-adhlns=$(<:%.S=$(OBJDIR)/%.lst),-gstabs,--listing-cont-lines=100\n"
       "EXTMEMOPTS=-Wl,-Tdata=0x801100,--defsym=__heap_end=0x80ffff\nLDFLAGS=-Wl,-M,--section-start=.text=0x3800\n",
       [&](TMakefileOptions& o) {
         o.ExtMemoryOptions = MakefileDefaults::ExtMemoryForData;
         o.LinkerOptions = {"-Wl,--section-start=.text=0x3800"};
       }},
      {"a makefile that is not ours", "\tMCU=atmega8\n\tCPFLAGS=-O2\nall:\n\techo x=y\n", [](TMakefileOptions&) {}},
      {"a short file", "MCU", [](TMakefileOptions&) {}},
      {"an empty file", "", [](TMakefileOptions&) {}},
  };
  for (const Case& c : cases) {
    TMakefileOptions expected;
    c.expect(expected);
    EXPECT_EQ(ReadText(c.text), expected) << c.name;
  }
}

TEST(EnvironmentMakefileTest, SavingAndLoadingTheProjectFile) {
  test::TTempFolder folder;
  const std::string path = folder.File("makefile");
  EXPECT_FALSE(WriteMakefile("", TMakefileOptions{}));

  // A fresh project has no makefile: the options keep the dialog's defaults.
  TMakefileOptions options;
  EXPECT_THROW(LoadMakefileOptions(folder.Path(), options), EStreamError);
  EXPECT_EQ(options, TMakefileOptions{});

  TMakefileOptions known = KnownOptions();
  ASSERT_TRUE(WriteMakefile(folder.Path() + "/", known));
  options.McuType = "other";
  EXPECT_TRUE(LoadMakefileOptions(folder.Path(), options));
  EXPECT_EQ(options.McuType, "atmega16");
  // Another format is make's to tell: the options stay as they were.
  SaveBytesToFile(path, "MCU = atmega8\nall:\n\tavr-gcc -mmcu=$(MCU) -c main.c\n");
  EXPECT_FALSE(LoadMakefileOptions(folder.Path(), options));
  EXPECT_EQ(options.McuType, "atmega16");
  SaveBytesToFile(path, MakefileText(known));

  chmod(path.c_str(), 0444);
  known.McuType = "atmega8";
  try {
    WriteMakefile(folder.Path(), known);
    ADD_FAILURE() << "a read-only makefile was replaced";
  } catch (const EMakefileSave& e) {
    EXPECT_EQ(e.Message(), path + " Do not save the makefile file!");
  }
  EXPECT_EQ(LoadBytesFromFile(path), MakefileText(KnownOptions()));
}

// make clean takes what the build made and never a source: not one whose
// name no rule turns into an object, nor an assembler source named as the
// assembler text a C source would give.
TEST(EnvironmentMakefileTest, CleanKeepsEverySource) {
  if (system("command -v make >/dev/null 2>&1") != 0) GTEST_SKIP() << "make is not installed";
  const struct {
    const char* Name;
    const char* CSources;
    const char* AsmSources;
    std::vector<std::string> Sources, Made;
  } rows[] = {
      {"an assembler source named as a C source's assembler text", "x.c", "x.s", {"x.c", "x.s"}, {"x.o", "x.lst"}},
      {"an assembler source no rule turns into an object", "", "start.asm", {"start.asm"}, {"main.o"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    test::TTempFolder folder;
    TMakefileOptions options;
    options.Target = "main";
    options.CAddSources = row.CSources;
    options.AsmAddSources = row.AsmSources;
    ASSERT_TRUE(WriteMakefile(folder.Path(), options));
    for (const std::vector<std::string>* files : {&row.Sources, &row.Made})
      for (const std::string& file : *files) SaveBytesToFile(folder.File(file), "x\n");
    ASSERT_EQ(system(("make -s -C '" + folder.Path() + "' clean >/dev/null 2>&1").c_str()), 0);
    for (const std::string& file : row.Sources) EXPECT_TRUE(FileExists(folder.File(file))) << file;
    for (const std::string& file : row.Made) EXPECT_FALSE(FileExists(folder.File(file))) << file;
  }
}

}  // namespace
}  // namespace vk
