// The build command through the main window, with make and the real AVR
// tool chain on small projects: the output, the error pane and its counts,
// the result box, and the jump from a pane line to its source line.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <thread>

#include "dialogs/CompilerDlg.h"
#include "dialogs/EnvironmentDlg.h"
#include "services/SharedTables.h"
#include "services/EnvironmentMakefile.h"
#include "services/MakefileWizardText.h"
#include "services/ProjectFiles.h"
#include "platform/InputHold.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/ScopeGuard.h"
#include "platform/SysUtils.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

struct TSourceFile {
  std::string Name, Text;
};

// A project's makefile as the makefile wizard writes it from the shipped
// template (WriteProject's default is the settings dialog's).
const char* const WizardMakefile = "(the wizard's)";

class MainBuildTest : public TIdeCase {
protected:
  MainBuildTest() { StartIde(); }

  // A project in a folder of its own below the temporary one: its sources,
  // AddFile.ini naming the extra C sources, and the makefile the settings
  // dialog writes for them (with the C++ and assembler sources among the
  // files) unless the project brings its own.
  std::string WriteProject(const std::string& folderName, const std::vector<TSourceFile>& files,
                           const std::string& extraSources = "", const char* makefile = nullptr) {
    std::string folder = Project.File(folderName);
    ForceFolders(folder);
    for (const TSourceFile& file : files) {
      ForceFolders(ExtractFilePath(folder + "/" + file.Name));
      WriteTextFile(folder + "/" + file.Name, file.Text);
    }
    if (!extraSources.empty()) WriteTextFile(folder + "/AddFile.ini", "[AddFile]\r\n" + extraSources + "\r\n\r\n");
    if (makefile == WizardMakefile) {
      TMakefileWizardRun wizard;
      wizard.Values.MainSource = "main";
      wizard.Values.SourceFolder = folder;
      wizard.Values.CSources = extraSources;
      wizard.BuildLines(VK_SOURCE_DIR "/data");
      wizard.Save();
    } else if (makefile) {
      WriteTextFile(folder + "/makefile", makefile);
    } else {
      TMakefileOptions options;
      options.Target = "main";
      options.CAddSources = extraSources;
      for (const TSourceFile& file : files) {
        if (file.Name.ends_with(".cpp")) options.CppAddSources += file.Name + " ";
        if (file.Name.ends_with(".S")) options.AsmAddSources += file.Name + " ";
      }
      WriteMakefile(folder + "/", options);
    }
    return folder;
  }

  // F9 on the open project; the result box's six rows as it showed them
  // (none when no box came up: its answer is left waiting).
  static std::vector<std::string> Build(const std::function<void()>& start = [] { MainForm->RunRunCmd->Execute(); }) {
    std::vector<std::string> rows;
    ModalAnswers().PushResponder([&rows](TCustomForm* const& form) {
      const TCompilerDlg& box = dynamic_cast<const TCompilerDlg&>(*form);
      rows = {box.LblPrj->Caption(),
              box.LblErr->Caption() + " " + box.LblNumErr->Caption() + " " + box.LblNumWarn->Caption(),
              box.LbMcuType->Caption(),
              box.LblLines->Caption(),
              box.LbDataBss->Caption(),
              box.LbEepromMem->Caption()};
      return mrOk;
    });
    start();
    return rows;
  }

  static std::vector<std::string> Pane() { return LinesOf(MainForm->SrcEditErrLine->Lines()); }
  static std::vector<std::string> Counts() { return LinesOf(MainForm->MemoErrorCount->Lines()); }

  // A double click on the pane line, as the pane's editor reports it.
  static void DoubleClickPaneLine(int line) {
    MainForm->SrcEditErrLine->SetCaretXY({3, line});
    MainForm->SrcEditErrLine->OnDblClick(MainForm->SrcEditErrLine);
  }

  // The result box's memory rows against the part's sizes: for a program
  // that was linked, its figures as avr-size gives them; "Unknown size" for
  // each when the build wrote no map and no program (the last one's were
  // deleted). A failed link writes a map, but no program to measure.
  static void ExpectMemoryRows(const std::vector<std::string>& rows, const std::string& folder,
                               const char* part = "atmega128") {
    ASSERT_EQ(rows.size(), 6u);
    const TMcuRow* sizes = FindMcu(part);
    ASSERT_NE(sizes, nullptr);
    const std::string totals[] = {sizes->Flash + std::string(" KBytes"), sizes->Sram + std::string(" Bytes"),
                                  sizes->Eeprom + std::string(" Bytes")};
    if (!FileExists(folder + "/main.elf") && FileExists(folder + "/main.map")) {
      EXPECT_FALSE(rows[3].starts_with("Unknown size")) << "the map this build's failed link wrote counts";
      return;
    }
    if (!FileExists(folder + "/main.map")) {
      EXPECT_EQ(std::vector<std::string>(rows.begin() + 3, rows.end()),
                (std::vector<std::string>{"Unknown size of FLASH (Total " + totals[0] + ")",
                                          "Unknown size of SRAM (Total " + totals[1] + ")",
                                          "Unknown size of EEPROM (Total " + totals[2] + ")"}));
      return;
    }
    std::map<std::string, TAvrSizeFigure> avrSize = AvrSizeFigures(folder, part);
    const char* const figures[] = {"Program", "Data", "EEPROM"};
    const char* const memories[] = {"FLASH", "SRAM", "EEPROM"};
    for (int i = 0; i < 3; ++i) {
      const std::string& row = rows[3 + i];
      ExpectAvrSizeFigure(row, avrSize[figures[i]]);
      EXPECT_NE(row.find("(Total " + totals[i] + ") = "), std::string::npos) << row;
      EXPECT_TRUE(row.ends_with(std::string("% Full of ") + memories[i])) << row;
    }
  }
};

// The text with every marker (%F: the project folder) replaced by the folder.
std::string InFolder(std::string text, const std::string& folder, const std::string& marker = "%F") {
  for (size_t at; (at = text.find(marker)) != std::string::npos;) text.replace(at, marker.size(), folder);
  return text;
}

TEST_F(MainBuildTest, TheOutputIsSortedCountedAndEachPaneLineJumpsToItsSource) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  struct TJump {
    int PaneLine;
    const char* File;  // relative to the project folder; nullptr: no document is touched
    int Line;
    const char* Box = nullptr;  // the message it shows (%F: the project folder)
  };
  // Progress messages name the sources ("Compiling C: error_handler.c"), and
  // so does the compiler's "error_handler.c: In function 'error_handler':".
  const std::vector<TSourceFile> namedLikeDiagnostics = {
      {"main.c", "int error_handler(void);\nint warning(void);\nint undefined(void);\n"
                 "int main(void) {\n  return error_handler() + warning() + undefined();\n}\n"},
      {"error_handler.c", "int error_handler(void) {\n  int unused;\n  return 1;\n}\n"},
      {"warning.c", "int warning(void) { return 2; }\n"},
      {"undefined.c", "int undefined(void) { return 3; }\n"}};
  const struct {
    const char* Folder;
    std::vector<TSourceFile> Files;
    std::string ExtraSources;
    const char* Makefile;  // nullptr: the settings dialog's; WizardMakefile
    std::vector<std::string> Pane;
    std::vector<std::string> Counts;  // lines 1 and 3 of the count memo
    const char* Verdict;              // the result box: verdict, errors, warnings
    std::vector<TJump> Jumps;
  } cases[] = {
      {"clean",
       {{"main.c", "#include <avr/io.h>\nint main(void) {\n  DDRB = 0xff;\n  return 0;\n}\n"}},
       "",
       nullptr,
       {},
       {"Ok", "Ok"},
       "Ok 0 0",
       {{1, nullptr, 0}}},  // an empty pane
      // The echoed source line names an error; the template's objcopy line
      // says --no-change-warnings.
      {"my project",
       {{"main.c", "#include <avr/io.h>\nint main(void) {\n  int unused_error = 3;\n  return 0;\n}\n"}},
       "",
       nullptr,
       {"main.c:3:7: warning: unused variable 'unused_error' [-Wunused-variable]"},
       {"Ok", "1"},
       "Ok 0 1",
       {{1, "main.c", 3}}},
      {"syntax",
       {{"main.c", "int main(void) {\n  int x = 3\n  return x;\n}\n"}},
       "",
       nullptr,
       {"main.c:3:3: error: expected ',' or ';' before 'return'",
        "main.c:2:7: warning: unused variable 'x' [-Wunused-variable]"},
       {"1", "1"},
       "Error 1 1",
       {{1, "main.c", 3}, {2, "main.c", 2}}},
      {"undefined ref",
       {{"main.c", "void foo(void);\nint main(void) {\n  foo();\n  return 0;\n}\n"}},
       "",
       nullptr,
       {"%F/main.c:3: undefined reference to `foo'", "collect2: error: ld returned 1 exit status"},
       {"2", "Ok"},
       "Error 2 0",
       {{1, "main.c", 3}, {2, nullptr, 0}}},
      // shared() below main(): the assembler's listing of a function
      // inlined into a later one warns "unable to rebuffer file".
      {"twice",
       {{"main.c", "#include <avr/io.h>\nvoid shared(void);\nint main(void) {\n  shared();\n}\n"
                   "void shared(void) { PORTB = 1; }\n"},
        {"b.c", "#include <avr/io.h>\nvoid shared(void) { PORTB = 2; }\n"}},
       "b.c",
       nullptr,
       {"%F/b.c:2: multiple definition of `shared'", "main.o:%F/main.c:6: first defined here",
        "collect2: error: ld returned 1 exit status"},
       {"3", "Ok"},
       "Error 3 0",
       {{1, "b.c", 2}, {2, "main.c", 6}}},
      {"named like diagnostics",
       namedLikeDiagnostics,
       "error_handler.c warning.c undefined.c",
       nullptr,
       {"error_handler.c:2:7: warning: unused variable 'unused' [-Wunused-variable]"},
       {"Ok", "1"},
       "Ok 0 1",
       {{1, "error_handler.c", 2}}},
      {"named like diagnostics, wizard",
       namedLikeDiagnostics,
       "error_handler.c warning.c undefined.c",
       WizardMakefile,
       {"error_handler.c:2:7: warning: unused variable 'unused' [-Wunused-variable]"},
       {"Ok", "1"},
       "Ok 0 1",
       {{1, "error_handler.c", 2}}},
      // avr-g++ says in which member function, constructor, destructor and
      // template instantiation the warnings below stand: no diagnostics,
      // whatever the class and the file are called.
      {"C++ named like diagnostics",
       {{"main.c", "int uart_init(void);\nint error_handler(void);\n"
                   "int main(void) {\n  return uart_init() + error_handler();\n}\n"},
        {"uart.cpp", "class error_log {\npublic:\n  error_log() { int unused_a = 1; }\n"
                     "  ~error_log() { int unused_b = 2; }\n  void put(char c) { int unused_c = c; }\n};\n"
                     "template <typename T> struct warning_box {\n  T get() { int unused_d; return T(); }\n};\n"
                     "extern \"C\" int uart_init(void) {\n  error_log log;\n  log.put('x');\n"
                     "  warning_box<int> box;\n  return box.get();\n}\n"},
        {"error_handler.cpp", "extern \"C\" int error_handler(void) {\n  int unused_e = 5;\n  return 0;\n}\n"}},
       "",
       nullptr,
       {"uart.cpp:3:21: warning: unused variable 'unused_a' [-Wunused-variable]",
        "uart.cpp:4:22: warning: unused variable 'unused_b' [-Wunused-variable]",
        "uart.cpp:5:26: warning: unused variable 'unused_c' [-Wunused-variable]",
        "uart.cpp:8:17: warning: unused variable 'unused_d' [-Wunused-variable]",
        "error_handler.cpp:2:7: warning: unused variable 'unused_e' [-Wunused-variable]"},
       {"Ok", "5"},
       "Ok 0 5",
       {{1, "uart.cpp", 3}, {4, "uart.cpp", 8}, {5, "error_handler.cpp", 2}}},
      // make's line for the failed target names it: error_handler.o is no
      // error of its own, warning_led.o no warning.
      {"C++ instantiation error",
       {{"main.c", "int error_handler(void);\nint main(void) {\n  return error_handler();\n}\n"},
        {"error_handler.cpp", "template <typename T> struct error_box {\n  T bad() { return T::missing; }\n};\n"
                              "extern \"C\" int error_handler(void) {\n  error_box<int> box;\n"
                              "  return box.bad();\n}\n"}},
       "",
       nullptr,
       {"error_handler.cpp:2:23: error: 'missing' is not a member of 'int'"},
       {"1", "Ok"},
       "Error 1 0",
       {{1, "error_handler.cpp", 2}}},
      {"C source named like a warning",
       {{"main.c", "int warning_led(void);\nint main(void) {\n  return warning_led();\n}\n"},
        {"warning_led.c", "int warning_led(void) {\n  return 1\n}\n"}},
       "warning_led.c",
       nullptr,
       {"warning_led.c:3:1: error: expected ';' before '}' token"},
       {"1", "Ok"},
       "Error 1 0",
       {{1, "warning_led.c", 3}}},
      // The assembler writes its kinds capitalised, after a line number; an
      // included file's line names that file, whatever its extension.
      {"assembler",
       {{"main.c", "void start_timer(void);\nint main(void) {\n  start_timer();\n  return 0;\n}\n"},
        {"error.S", "  .global start_timer\nstart_timer:\n  ldi r16, 1 garbage\n"
                    "  .warning \"timer left running\"\n  ret\n#include \"usbdrv/usbdrvasm16.inc\"\n"},
        {"usbdrv/usbdrvasm16.inc", "; timing\n  nop\n  bogus r1, r2\n"}},
       "",
       nullptr,
       {"error.S:3: Error: garbage at end of line", "error.S:4: Warning: timer left running",
        "usbdrv/usbdrvasm16.inc:3: Error: unknown opcode `bogus'"},
       {"2", "1"},
       "Error 2 1",
       {{1, "error.S", 3}, {2, "error.S", 4}, {3, "usbdrv/usbdrvasm16.inc", 3}}},
      // A file that no window shows opens; one that cannot be read does not.
      {"outside the project",
       {{"main.c",
         "int main(void) {\n#line 2 \"%F/../shared/lib.h\"\n  int outside = 1;\n"
         "#line 9 \"gone.h\"\n  int missing = 2;\n#line 20 \"gone\"\n  int nameless = 3;\n  return 0;\n}\n"},
        {"../shared/lib.h", "/* shared */\nint lib;\n"}},
       "",
       nullptr,
       {"gone:20:7: warning: unused variable 'nameless' [-Wunused-variable]",
        "gone.h:9:7: warning: unused variable 'missing' [-Wunused-variable]",
        "%F/../shared/lib.h:2:7: warning: unused variable 'outside' [-Wunused-variable]"},
       {"Ok", "3"},
       "Ok 0 3",
       {{3, "../shared/lib.h", 2},
        {2, nullptr, 0, "%F/gone.h Cannot find a file"},
        {1, nullptr, 0, "%F/gone Cannot find a file"}}},
      // The compiler colours its output; so do fixed lines, with links and
      // text of the code page.
      {"coloured",
       {{"main.c", "int main(void) {\n  int x = 3;\n  return y;\n}\n"},
        {"colour.txt",
         "\x1b]8;;file:///x\x1b\\\x1b[01m\x1b[Ka.hpp:2:\x1b[m\x1b]8;;\x07 \x1b[01;35mwarning:\x1b(B \xb0\xa1\x9b\n"}},
       "",
       "all:\n\t@cat colour.txt\n\tavr-gcc -fdiagnostics-color=always -Wall -c main.c\n",
       {"a.hpp:2: warning: \xb0\xa1\x9b", "main.c:3:10: error: 'y' undeclared (first use in this function)",
        "main.c:2:7: warning: unused variable 'x' [-Wunused-variable]"},
       {"1", "2"},
       "Error 1 2",
       {{2, "main.c", 3}, {3, "main.c", 2}, {1, nullptr, 0, "%F/a.hpp Cannot find a file"}}},
      // make names the folder of its sub-make, whose compiler names the
      // file from there.
      {"sub-make",
       {{"main.c", "int main(void) {\n  int unused_top;\n  return 0;\n}\n"},
        {"lib/makefile", "all:\n\tavr-gcc -Wall -c foo.c\n"},
        {"lib/foo.c", "int foo(void) {\n  return 1;\n  int unused_lib;\n}\n"}},
       "",
       "all:\n\t$(MAKE) -C lib\n\tavr-gcc -Wall -c main.c\n",
       {"foo.c:3:7: warning: unused variable 'unused_lib' [-Wunused-variable]",
        "main.c:2:7: warning: unused variable 'unused_top' [-Wunused-variable]"},
       {"Ok", "2"},
       "Ok 0 2",
       {{1, "lib/foo.c", 3}, {2, "main.c", 2}}},
      {"silent failure",
       {{"main.c", "int main(void) { return 0; }\n"}},
       "",
       "all: missing.o\n",
       {"error: the build failed with exit status 2"},
       {"1", "Ok"},
       "Error 1 0",
       {{1, nullptr, 0}}},
  };
  mkdir(Project.File("shared").c_str(), 0700);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Folder);
    std::vector<TSourceFile> files = c.Files;
    for (TSourceFile& file : files) file.Text = InFolder(file.Text, Project.File(c.Folder));
    std::string folder = WriteProject(c.Folder, files, c.ExtraSources, c.Makefile);
    Open(folder + "/main.c");
    std::vector<std::string> rows = Build();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], folder + "/main.c");
    EXPECT_EQ(rows[1], c.Verdict);
    if (c.Makefile == nullptr || c.Makefile == WizardMakefile) {
      EXPECT_EQ(rows[2], "atmega128");
      ExpectMemoryRows(rows, folder);
    } else {
      // Neither the build nor make names a part or a program, and the
      // settings are another project's.
      EXPECT_EQ(std::vector<std::string>(rows.begin() + 2, rows.end()),
                (std::vector<std::string>{"Unknown", "Unknown size of FLASH", "Unknown size of SRAM",
                                          "Unknown size of EEPROM"}));
    }
    std::vector<std::string> pane;
    for (const std::string& line : c.Pane) pane.push_back(InFolder(line, folder));
    EXPECT_EQ(Pane(), pane) << MainForm->Memo1->Lines().Text();
    EXPECT_EQ(MainForm->Memo1->Lines().Text().find('\x1b'), std::string::npos);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"Total Error:", c.Counts[0], "Total Warning:", c.Counts[1]}));
    EXPECT_EQ(MainForm->PageControl1->ActivePage(), MainForm->TabSheet3);

    for (const auto& jump : c.Jumps) {
      SCOPED_TRACE(jump.PaneLine);
      TMDIChild* before = MainForm->ActiveDocument();
      before->Editor->SetCaretXY({1, 1});
      const int documents = MainForm->DocumentCount();
      if (jump.Box) Answer(IDOK);
      DoubleClickPaneLine(jump.PaneLine);
      if (jump.Box) {
        EXPECT_EQ(Boxes().back(), InFolder(jump.Box, folder));
      }
      TMDIChild* front = MainForm->ActiveDocument();
      if (!c.Pane.empty()) {
        EXPECT_EQ(MainForm->SrcEditErrLine->BlockBegin(), (TBufferCoord{1, jump.PaneLine}));
        EXPECT_EQ(MainForm->SrcEditErrLine->BlockEnd(), (TBufferCoord{500, jump.PaneLine}));
      }
      if (!jump.File) {
        EXPECT_EQ(front, before);
        EXPECT_EQ(MainForm->DocumentCount(), documents);
        EXPECT_FALSE(front->Editor->SelAvail());
        continue;
      }
      EXPECT_EQ(front->Caption(), std::filesystem::path(folder + "/" + jump.File).lexically_normal().string());
      EXPECT_EQ(front->WindowState(), wsMaximized);
      EXPECT_EQ(front->Editor->CaretY(), jump.Line);
      EXPECT_EQ(front->Editor->SelText(), front->Editor->Lines().Get(jump.Line - 1));
    }
    MainForm->CloseAll();
    Settle();
  }
}

// A program with constants in flash, variables in SRAM and data in EEPROM:
// the result box's three memory rows agree with avr-size of the same build.
TEST_F(MainBuildTest, TheMemoryRowsAgreeWithAvrSize) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  std::string folder = WriteProject(
      "memory", {{"main.c",
                  "#include <avr/io.h>\n#include <avr/pgmspace.h>\n#include <avr/eeprom.h>\n"
                  "const char msg[] PROGMEM = \"hello\";\nuint8_t EEMEM ee[10] = {1, 2, 3};\n"
                  "volatile int counter = 5;\nvolatile char buf[20];\n"
                  "int main(void) {\n  for (;;) counter += pgm_read_byte(&msg[counter & 3]) + buf[1] +\n"
                  "                 eeprom_read_byte(&ee[1]);\n}\n"}});
  Open(folder + "/main.c");
  std::vector<std::string> rows = Build();
  EXPECT_EQ(Pane(), std::vector<std::string>{});
  ExpectMemoryRows(rows, folder);
  std::map<std::string, uint64_t> size = AvrSectionSizes(folder);
  EXPECT_EQ(size[".eeprom"], 10u);
  EXPECT_GE(size[".data"] + size[".bss"], 22u);
}

// The result box of a real build shows the part the project's makefile
// built for, whatever part the settings name, with that part's totals, and
// counts in SRAM the variables a reset keeps (.noinit).
TEST_F(MainBuildTest, TheResultBoxShowsThePartAndTheSramOfTheBuild) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const char* const program =
      "#include <avr/io.h>\n__attribute__((section(\".noinit\"))) volatile uint8_t kept;\n"
      "volatile uint8_t counter = 5;\nint main(void) {\n  for (;;) counter += kept++;\n}\n";
  const struct {
    const char* Name;
    const char* MakefileName;
    const char* Makefile;  // nullptr: the settings dialog's, for atmega16
    const char* Part;
  } cases[] = {
      {"the settings dialog makefile for atmega16", "makefile", nullptr, "atmega16"},
      {"a Makefile through MCU_TARGET, linked without start-up code", "Makefile",
       "MCU_TARGET = atmega8\nCFLAGS = -Os -mmcu=$(MCU_TARGET)\n"
       "all:\n\tavr-gcc $(CFLAGS) -nostartfiles main.c -o main.elf -Wl,-Map=main.map\n",
       "atmega8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string folder = WriteProject(c.Name, {{"main.c", program}});
    std::filesystem::remove(folder + "/makefile");
    if (c.Makefile) {
      WriteTextFile(folder + "/" + c.MakefileName, c.Makefile);
    } else {
      TMakefileOptions options;
      options.Target = "main";
      options.McuType = c.Part;
      WriteMakefile(folder, options);
    }
    Open(folder + "/main.c");
    std::vector<std::string> rows = Build();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], "Ok 0 0");
    EXPECT_EQ(rows[2], c.Part) << "the settings name atmega128";
    ExpectMemoryRows(rows, folder, c.Part);
    EXPECT_EQ(AvrSectionSizes(folder)[".noinit"], 1u);
    MainForm->CloseAll();
    Settle();
  }
}

// A boot loader whose part comes from an included file, built with silent
// commands and without start-up code: neither the map nor the output tells
// the part, make's dry run does. The settings dialog shows that part; OK
// with No to replacing the Makefile leaves the file as it was, and the box
// shows the part with its totals.
TEST_F(MainBuildTest, ThePartOfASilentBuildIsTheOneMakeRuns) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const std::string makefile =
      "include config.mk\nCFLAGS = -Os -mmcu=$(MCU) -DF_CPU=$(F_CPU)UL\nall: main.elf\n"
      "main.elf: main.c\n\t@avr-gcc $(CFLAGS) -nostartfiles -Wl,-Map=main.map -o $@ main.c\n";
  const std::string folder = WriteProject(
      "boot", {{"main.c", "#include <avr/io.h>\nint main(void) {\n  DDRB = 1;\n  for (;;) PORTB ^= 1;\n}\n"},
               {"config.mk", "MCU = attiny167\nF_CPU = 16000000\n"}},
      "", makefile.c_str());
  std::filesystem::rename(folder + "/makefile", folder + "/Makefile");
  Open(folder + "/main.c");
  Answer(IDNO);  // to replacing the Makefile
  ModalAnswers().PushResponder([](TCustomForm* form) {
    auto* dialog = dynamic_cast<TEnvironmentDlg*>(form);
    EXPECT_EQ(dialog->McuTypeComboBox->Text(), "attiny167");
    dialog->OKBtn->Click();
    return mrNone;
  });
  MainForm->SetupAvrCmd->Execute();
  Settle();
  EXPECT_EQ(MessageBoxAnswers().Pending(), 0u);
  EXPECT_EQ(ReadTextFile(folder + "/Makefile"), makefile);

  std::vector<std::string> rows = Build();
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[1], "Ok 0 0");
  EXPECT_EQ(rows[2], "attiny167");
  ExpectAvrSizeFigure(rows[3], AvrSizeFigures(folder, "attiny167")["Program"]);
}

// A change is saved and built, also one made without a key (which would
// enable the Save All item); the last build's products are deleted first, so
// a second build compiles again and shows only its own output.
TEST_F(MainBuildTest, EveryBuildSavesCleansAndShowsOnlyItsOwnOutput) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  std::string folder = WriteProject("p", {{"main.c", "int main(void) {\n  return 0;\n}\n"}});
  Open(folder + "/main.c");
  TSrcEdit* editor = MainForm->ActiveDocument()->Editor;
  editor->SetCaretXY({1, 2});
  editor->SetSelText("  int unused = 1;\n");
  // F9 in the editor, then the tool button.
  for (const std::function<void()>& start : std::initializer_list<std::function<void()>>{
           [] { PressKey(VK_F9); }, [] { MainForm->ToBtnRun->Click(); }}) {
    EXPECT_EQ(Build(start)[1], "Ok 0 1");
    EXPECT_EQ(Pane(), (std::vector<std::string>{"main.c:2:7: warning: unused variable 'unused' [-Wunused-variable]"}));
    std::vector<std::string> output = LinesOf(MainForm->Memo1->Lines());
    EXPECT_EQ(std::count(output.begin(), output.end(), "-------- begin --------"), 1);
  }
  EXPECT_EQ(ReadTextFile(folder + "/main.c"), "int main(void) {\n  int unused = 1;\n  return 0;\n}\n");
}

// A failed build deletes the last build's products beside a makefile the
// program wrote, and nothing beside another one, which does its own
// cleaning: a boot loader's shipped image survives an error typed in.
TEST_F(MainBuildTest, OnlyTheProgramsOwnMakefileHasItsProductsDeleted) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const char* const foreign = "main.hex: main.c\n\tavr-gcc -mmcu=atmega8 -Os main.c -o main.elf\n"
                              "\tavr-objcopy -O ihex main.elf main.hex\n";
  for (const bool own : {true, false}) {
    SCOPED_TRACE(own ? "own makefile" : "another makefile");
    const std::string folder =
        WriteProject(own ? "own" : "other", {{"main.c", "int main(void) {\n  return 0;\n}\n"}, {"main.hex", "shipped\n"}},
                     "", own ? nullptr : foreign);
    // A program of an earlier build, which the failed one does not measure.
    ASSERT_EQ(RunCommand(folder, "avr-gcc -mmcu=atmega8 -Os main.c -o main.elf").Status, 0);
    Open(folder + "/main.c");
    MainForm->ActiveDocument()->Editor->SetSelText("syntax error ");
    // Shipped or built before the source's last change, as make sees it.
    for (const char* product : {"/main.hex", "/main.elf"})
      std::filesystem::last_write_time(folder + product, std::filesystem::last_write_time(folder + "/main.c") -
                                                             std::filesystem::file_time_type::duration(3600LL * 1000 * 1000 * 1000));  // an hour
    const std::vector<std::string> rows = Build();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1].substr(0, 5), "Error") << MainForm->Memo1->Lines().Text();
    EXPECT_TRUE(rows[3].starts_with("Unknown size of FLASH")) << rows[3];
    EXPECT_EQ(FileExists(folder + "/main.hex"), !own);
    if (!own) {
      EXPECT_EQ(ReadTextFile(folder + "/main.hex"), "shipped\n");
    }
    MainForm->CloseAll();
    Settle();
  }
}

// F9 after the part was changed in the makefile: every object of the new
// program is made for the new part, and the C++ source's warning comes
// again. The makefile's time is set back to the sources' (as a copy
// restored with its time would have it), so that F9's deletion alone must
// take away the objects of the last build.
TEST_F(MainBuildTest, F9AfterAChangeOfThePartLinksOnlyObjectsOfTheNewPart) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const std::string folder = WriteProject(
      "part",
      {{"main.c", "int add_a(int x);\nint add_cpp(int x);\nunsigned char asm_twice(unsigned char x);\n"
                  "volatile unsigned char port;\n"
                  "int main(void) {\n  port = (unsigned char)add_a(add_cpp(asm_twice(port)));\n  for (;;) {\n  }\n}\n"},
       {"a.c", "int add_a(int x) { return x + 1; }\n"},
       {"c2.cpp", "extern \"C\" int add_cpp(int x) {\n  int unused_in_cpp;\n  return x * 3;\n}\n"},
       // A vector of its own, which the old part's vector table would clash with.
       {"twice.S", ".global asm_twice, __vector_2\nasm_twice:\n  add r24, r24\n  ret\n__vector_2:\n  reti\n"}});
  WriteExtraSources(folder, {"a.c", "twice.S"});  // as the settings dialog keeps them
  TMakefileOptions options;
  options.Target = "main";
  options.CAddSources = "a.c";
  options.CppAddSources = "c2.cpp";
  options.AsmAddSources = "twice.S";
  Open(folder + "/main.c");
  const struct {
    const char* Part;
    const char* Architecture;
  } builds[] = {{"atmega8", "avr:4"}, {"atmega16", "avr:5"}};
  for (const auto& build : builds) {
    SCOPED_TRACE(build.Part);
    options.McuType = build.Part;
    WriteMakefile(folder, options);
    std::filesystem::last_write_time(folder + "/makefile", std::filesystem::last_write_time(folder + "/main.c"));
    const std::vector<std::string> rows = Build();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], "Ok 0 1") << MainForm->Memo1->Lines().Text();
    EXPECT_EQ(rows[2], build.Part);
    EXPECT_EQ(Pane(), std::vector<std::string>{"c2.cpp:2:7: warning: unused variable 'unused_in_cpp' [-Wunused-variable]"});
    const std::vector<std::string> files = {"main.elf", "main.o", "a.o", "c2.o", "twice.o"};
    const std::map<std::string, std::string> architectures = AvrArchitectures(folder, files);
    for (const std::string& file : files) EXPECT_EQ(architectures.at(file), build.Architecture) << file;
  }
}

// With "AutoInsertBool" on, the missing #include lines go in before the
// documents are saved: make compiles them, and the file holds them, above
// the project's own header that needs them.
TEST_F(MainBuildTest, IncludesInsertedBeforeTheBuildAreCompiled) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const std::string source = "/* blink */\n#include \"lcd.h\"\nint main(void) {\n  DDRB = 0xff;\n  for (;;) lcd_put(1);\n}\n";
  const std::string header = "/* lcd */\n\nstatic inline void lcd_put(uint8_t v) { PORTB ^= v; }\n";
  for (bool autoInsert : {false, true}) {
    SCOPED_TRACE(autoInsert);
    std::string folder = WriteProject(autoInsert ? "on" : "off", {{"main.c", source}, {"lcd.h", header}});
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SettingsKeyPath("Editor"), true));
    registry.WriteBool(EditorValue::AutoInsertBool, autoInsert);
    Open(folder + "/main.c");
    EXPECT_EQ(Build()[1].substr(0, 5), autoInsert ? "Ok 0 " : "Error");
    EXPECT_EQ(ReadTextFile(folder + "/main.c"),
              autoInsert ? "/* blink */\n#include <avr/io.h>\n" + source.substr(12) : source);
    MainForm->CloseAll();
    Settle();
  }
}

// The jump opens a header of the tool chain from outside the project: the
// next build writes only what changed, so neither that header nor a new
// window that was never saved is written or asks for a name, and it scans
// the header for no keyword.
TEST_F(MainBuildTest, AHeaderTheJumpOpenedIsNeitherSavedNorScannedByTheNextBuild) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(SettingsKeyPath("Editor"), true));
  registry.WriteBool(EditorValue::AutoInsertBool, true);
  const std::string header = Project.File("sys/delay.h");
  ForceFolders(Project.File("sys"));
  WriteTextFile(header, "/* tool chain */\nstatic inline void wait(void) { cli(); sei(); }  // progmem\n");
  chmod(header.c_str(), 0444);
  const std::string source = "#include <avr/io.h>\nint main(void) {\n#line 2 \"" + Project.File("p") +
                             "/../sys/delay.h\"\n  int unused = 1;\n  return 0;\n}\n";
  const std::string folder = WriteProject("p", {{"main.c", source}});
  Open(folder + "/main.c");
  MainForm->FileNewCmd->Execute();
  MainForm->FileNewCmd->Execute();
  MainForm->ActiveDocument()->Editor->SetSelText("scratch");
  EXPECT_EQ(Build()[1], "Ok 0 1");
  DoubleClickPaneLine(1);
  ASSERT_EQ(MainForm->ActiveDocument()->Caption(), header);
  struct stat before {};
  stat(header.c_str(), &before);

  EXPECT_EQ(Build()[1], "Ok 0 1");
  EXPECT_EQ(ReadTextFile(folder + "/main.c"), source);
  struct stat after {};
  stat(header.c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_TRUE(Document("NONAME3")->Editor->Modified());
  EXPECT_NE(Document("NONAME2"), nullptr);
}

// With "AutoInsertBool" on and a header changed: a build without a makefile
// inserts and saves nothing; later stops come after both.
TEST_F(MainBuildTest, WhatStopsABuildBeforeMakeRuns) {
  const struct {
    const char* Name;
    const char* MainFile;
    bool Makefile;
    bool CloseMainWindow;
    bool InstallFolderGone;
    const char* Box;  // %F: the project folder, %I: the install folder
    bool Runs;        // the classification follows
    bool Saves;       // the includes were inserted (into an open main file) and the documents saved
  } cases[] = {
      {"no makefile", "main.c", false, false, false, "%F/'makefile'Cannot open file!", false, false},
      {"main window closed", "main.c", true, true, false,
       "Cannot move to the line with more than one files already opened", false, true},
      {"script cannot be written", "main.c", true, false, true, "%I/AvrRun.batCannot open file!", false, true},
      {"no base name", ".c", true, false, false, "File needs to be chosen!", true, true},
  };
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(SettingsKeyPath("Editor"), true));
  registry.WriteBool(EditorValue::AutoInsertBool, true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string folder = Project.File(c.Name);
    mkdir(folder.c_str(), 0700);
    WriteTextFile(folder + "/" + c.MainFile, "#include \"lcd.h\"\nint main(void) { return 0; }\n");
    WriteTextFile(folder + "/lcd.h", "\n");
    if (c.Makefile) WriteTextFile(folder + "/makefile", "all:\n\techo ran\n");
    Open(folder + "/" + c.MainFile);
    Document(folder + "/lcd.h")->Editor->SetSelText("void lcd_init(void);");
    if (c.CloseMainWindow) {
      MainForm->FileCloseCmd->Execute();
      Settle();
    }
    const std::string install = InstallFolder;
    if (c.InstallFolderGone) InstallFolder = Install.File("gone");
    const std::string box = InFolder(InFolder(c.Box, folder, "%F"), InstallFolder, "%I");
    MainForm->SrcEditErrLine->Lines().SetTextStr("old pane\n");
    MainForm->MemoErrorCount->Lines().Put(1, "7");
    Answer(IDOK);
    std::vector<std::string> rows = Build();
    EXPECT_EQ(Boxes().back(), box);
    EXPECT_EQ(rows.empty(), !c.Runs);
    ModalAnswers().Clear();
    InstallFolder = install;
    EXPECT_EQ(Pane(), std::vector<std::string>{});
    EXPECT_EQ(MainForm->Memo1->Lines().Count(), 0);
    EXPECT_EQ(Counts()[1], "Ok") << "the last build's counts go with its pane";
    EXPECT_EQ(FileExists(InstallFolder + "/AVRRUN.BAT"), c.Runs);
    EXPECT_EQ(ReadTextFile(folder + "/lcd.h") != "\n", c.Saves);
    if (TMDIChild* main = Document(folder + "/" + c.MainFile)) {
      EXPECT_EQ(main->Editor->Lines().Get(0) == "#include <avr/io.h>", c.Saves);
    }
    if (!c.Saves) Answer(IDNO);  // the changed header
    MainForm->CloseAll();
    Settle();
  }
}

// Before F9 saves and builds, every window, in front or not, shows its file
// as another program left it (or asks, over changes of its own): make, the
// window and the saved file then hold one text. A deleted file is written
// again only when the person says so.
TEST_F(MainBuildTest, BeforeTheBuildEveryWindowShowsItsFileAsAnotherProgramLeftIt) {
  const struct {
    const char* Name;
    bool Typed;    // "/* own */" typed into the header's window, which is not in front
    bool Deleted;  // else another program wrote "int other;" to the header
    int Answer;
    const char* Box;    // after the header's path
    const char* Built;  // the header's line as make read it, the window shows it and the file holds it
    bool KeptThenUndone = false;  // the answer given as the window came to the front, then the change undone
  } cases[] = {
      {"without changes", false, false, 0, nullptr, "int other;"},
      {"changes, reloaded", true, false, IDYES, ChangedOnDiskText, "int other;"},
      {"changes, kept", true, false, IDNO, ChangedOnDiskText, "/* own */int lcd;"},
      {"deleted, then Yes to writing it again", false, true, IDOK, DeletedOnDiskText, "int lcd;"},
      {"changes, kept, then undone", true, false, IDNO, ChangedOnDiskText, "int other;", true},
  };
  int row = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string folder = WriteProject("row" + std::to_string(row++),
                                            {{"main.c", "#include \"lcd.h\"\nint main(void) { return 0; }\n"},
                                             {"lcd.h", "int lcd;\n"}},
                                            "", "all:\n\t@cat lcd.h\n");
    const std::string header = folder + "/lcd.h";
    Open(folder + "/main.c");
    TMDIChild* window = Document(header);
    ASSERT_NE(window, nullptr);
    if (c.Typed) window->Editor->SetSelText("/* own */");
    if (c.Deleted)
      std::remove(header.c_str());
    else
      WriteTextFile(header, "int other;\n");
    if (c.Answer) Answer(c.Answer);
    if (c.Deleted) Answer(IDYES);
    if (c.KeptThenUndone) {
      window->BringToFront();
      Settle();
      window->Editor->Undo();
    }
    Build();
    std::vector<std::string> boxes;
    if (c.Box) boxes.push_back(header + c.Box);
    if (c.Deleted) boxes.push_back(header + DeletedOnDiskSaveText);
    EXPECT_EQ(Boxes(), boxes);
    const std::vector<std::string> output = LinesOf(MainForm->Memo1->Lines());
    EXPECT_TRUE(std::find(output.begin(), output.end(), c.Built) != output.end()) << MainForm->Memo1->Lines().Text();
    EXPECT_EQ(window->Editor->Lines().Get(0), c.Built);
    EXPECT_FALSE(window->Editor->Modified());
    EXPECT_EQ(ReadTextFile(header), c.Built + std::string("\n"));
    MainForm->CloseAll();
    Settle();
    MessageBoxAnswers().Clear();
  }
}

// F9 builds only when every changed document was written: a No to one of
// the save's questions names the document and builds nothing, since make
// would compile a text the window does not show (or a file another program
// deleted, which make would compile too). Closing that window lets the
// next F9 build.
TEST_F(MainBuildTest, F9BuildsNothingWhenAChangedDocumentWasNotWritten) {
  const struct {
    const char* Name;
    std::vector<int> Answers;  // to the NUL-byte question, then to the disk question
    bool OtherWrites;          // another program writes the header while the NUL-byte question is open
    const char* Built;         // the header's line as make read it; nullptr: no build
    bool Deleted = false;      // another program deleted the header (said first)
  } cases[] = {
      {"No to the NUL-byte question", {IDNO}, false, nullptr},
      {"No to the disk question", {IDYES, IDNO}, true, nullptr},
      {"No to writing the deleted header again", {IDOK, IDYES, IDNO}, false, nullptr, true},
      {"Yes to both", {IDYES, IDYES}, true, "/* own */int"},
  };
  int row = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string folder = WriteProject("nul" + std::to_string(row++),
                                            {{"main.c", "#include \"lcd.h\"\nint main(void) { return 0; }\n"},
                                             {"lcd.h", std::string("int\0 lcd;\n", 10)}},
                                            "", "all:\n\t@head -c 12 lcd.h; echo\n");
    const std::string header = folder + "/lcd.h";
    Answer(IDOK);  // the header holds a NUL byte
    Open(folder + "/main.c");
    Document(header)->Editor->SetSelText("/* own */");
    if (c.Deleted) std::remove(header.c_str());
    for (size_t i = 0; i < c.Answers.size(); ++i)
      MessageBoxAnswers().PushResponder([&, i](const TMessageBoxRequest&) {
        if (i == 0 && c.OtherWrites) WriteTextFile(header, "int other;\n");
        return c.Answers[i];
      });
    if (!c.Built) Answer(IDOK);
    const std::vector<std::string> rows = Build();
    ModalAnswers().Clear();
    EXPECT_EQ(rows.empty(), !c.Built);
    if (c.Built) {
      EXPECT_EQ(LinesOf(MainForm->Memo1->Lines()), std::vector<std::string>{c.Built});
    } else {
      EXPECT_EQ(Boxes().back(), header + NotSavedBuildText);
      EXPECT_EQ(MainForm->Memo1->Lines().Count(), 0);
      EXPECT_TRUE(Document(header)->Editor->Modified());
      EXPECT_EQ(ReadTextFile(header), c.OtherWrites ? "int other;\n"
                                      : c.Deleted   ? std::string()
                                                    : std::string("int\0 lcd;\n", 10));
      EXPECT_EQ(FileExists(header), !c.Deleted);
      Answer(IDNO);  // "Save to file?"
      Document(header)->Close();
      Settle();
      EXPECT_FALSE(Build().empty());
      ModalAnswers().Clear();
    }
    if (TMDIChild* window = Document(header)) window->Editor->SetModified(false);
    MainForm->CloseAll();
    Settle();
    MessageBoxAnswers().Clear();
  }
}

// A project in a folder whose name is Hangul: the program shows and finds it
// by its name in the code page, the tools work on the file system's UTF-8
// name, and the paths they print come back to the pane and the jump.
TEST_F(MainBuildTest, AProjectInAHangulFolderOpensSavesBuildsAndJumps) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const std::string folder = WriteProject("프로젝트", {{"main.c", "void foo(void);\nint main(void) {\n  foo();\n}\n"}});
  Open(folder + "/main.c");
  EXPECT_EQ(Captions(), std::vector<std::string>{folder + "/main.c"});
  EXPECT_EQ(Panel(spProjectFolder), folder + "/");
  TSrcEdit* editor = MainForm->ActiveDocument()->Editor;
  editor->SetCaretXY({1, 3});
  editor->SetSelText("  int unused = 1;\n");
  std::vector<std::string> rows = Build();
  EXPECT_EQ(ReadTextFile(folder + "/main.c"), "void foo(void);\nint main(void) {\n  int unused = 1;\n  foo();\n}\n");
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], folder + "/main.c");
  EXPECT_EQ(rows[1], "Error 2 1");
  EXPECT_EQ(Pane(), (std::vector<std::string>{"main.c:3:7: warning: unused variable 'unused' [-Wunused-variable]",
                                              folder + "/main.c:4: undefined reference to `foo'",
                                              "collect2: error: ld returned 1 exit status"}));
  DoubleClickPaneLine(2);
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), folder + "/main.c");
  EXPECT_EQ(editor->CaretY(), 4);
}

// Installed where the user cannot write, the program keeps its build script
// and its search histories in the user's state folder, the histories
// starting from the install's copies.
TEST_F(MainBuildTest, AReadOnlyInstallBuildsAndKeepsItsHistoriesPerUser) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  CreateSearchDialogs();
  const std::string install = LookUpInstallFolder().Folder, state = Project.File("state");
  WriteTextFile(install + "/FindF.ini", "shipped\r\n");
  setenv("XDG_STATE_HOME", state.c_str(), 1);
  TScopeExit restore([] { unsetenv("XDG_STATE_HOME"); });
  for (const std::string& folder : {install, Install.Path()}) chmod(folder.c_str(), 0555);
  TScopeExit writable([&] {
    for (const std::string& folder : {install, Install.Path()}) chmod(folder.c_str(), 0755);
  });

  Open(WriteProject("p", {{"main.c", "int main(void) { return 0; }\n"}}) + "/main.c");
  EXPECT_EQ(Build()[1], "Ok 0 0");
  EXPECT_TRUE(FileExists(state + "/vornkit/AVRRUN.BAT"));
  EXPECT_FALSE(FileExists(InstallFolder + "/AVRRUN.BAT"));

  FindForm->ComboFindText->SetText("blink");
  ModalAnswers().PushResponder([](TCustomForm*) {
    FindForm->OKBtn->Click();
    return mrNone;
  });
  FindForm->ShowModal();
  EXPECT_EQ(ReadTextFile(state + "/vornkit/FindF.ini"), "blink\r\nshipped\r\n");
  EXPECT_EQ(ReadTextFile(install + "/FindF.ini"), "shipped\r\n");
}

// While make runs the window keeps painting (the process pump), the output
// arrives line by line, and a second F9 starts nothing. Escape (the held
// input's stop request) or the close box asks whether to stop the build,
// No by default: No lets make go on; Yes ends it with everything it started
// (the sleep of its recipe), and the build counts as failed; Yes after make
// has ended by itself leaves make's own verdict. The window stays either
// way.
TEST_F(MainBuildTest, WhileMakeRunsTheOutputArrivesAndTheBuildCanBeStopped) {
  const struct {
    const char* Name;
    int Answer;  // to the stop question; 0: nobody asks
    bool Close;  // the close box, else Escape
    const char* Sleep;
    const char* Verdict;  // the result box: verdict, errors, warnings
    const char* Errors;   // the count memo's
    bool Ended = false;   // make ends by itself before the answer
  } cases[] = {
      {"nothing asked", 0, false, "0.3", "Ok 0 0", "Ok"},
      {"Escape, No", IDNO, false, "0.3", "Ok 0 0", "Ok"},
      {"Escape, Yes", IDYES, false, "30", "Stopped 1 0", "1"},
      {"close box, Yes", IDYES, true, "30", "Stopped 1 0", "1"},
      {"Escape, Yes after make ended", IDYES, false, "0.3", "Ok 0 0", "Ok", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string folder = WriteProject(
        c.Name, {{"main.c", "int main(void) { return 0; }\n"}}, "",
        ("all:\n\t@echo one\n\t@sh -c 'echo $$$$ > sleep.pid; exec sleep " + std::string(c.Sleep) +
         "'\n\t@echo two\n").c_str());
    Open(folder + "/main.c");
    struct TProbe {
      const std::string PidFile;
      bool Ask, Close, Ended;
      std::vector<int> Seen;
      void Pump() {
        Seen.push_back(MainForm->Memo1->Lines().Count());
        MainForm->RunRunCmd->Execute();
        if (!Ask || !FileExists(PidFile)) return;
        Ask = false;
        if (Ended) std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // make ends meanwhile
        Close ? MainForm->Close() : TInputHold::Current()->RequestStop();
      }
    } probe{folder + "/sleep.pid", c.Answer != 0, c.Close, c.Ended, {}};
    if (c.Answer) Answer(c.Answer);
    MainForm->MemoErrorCount->Lines().Clear();  // a person may empty it
    TProcessPump previous = SetProcessPump(TProcessPump(&probe, &TProbe::Pump));
    TScopeExit restore([previous] { SetProcessPump(previous); });
    std::vector<std::string> rows = Build();
    EXPECT_EQ(ModalAnswers().Requests().size(), 1u);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], c.Verdict);
    EXPECT_TRUE(MainForm && MainForm->Visible());
    const bool stopped = c.Answer == IDYES && !c.Ended;
    EXPECT_EQ(LinesOf(MainForm->Memo1->Lines()).back() == "two", !stopped) << MainForm->Memo1->Lines().Text();
    EXPECT_NE(std::find(probe.Seen.begin(), probe.Seen.end(), 1), probe.Seen.end());
    EXPECT_EQ(Counts(), (std::vector<std::string>{"", c.Errors, "", "Ok"}));
    EXPECT_EQ(Pane(), stopped ? std::vector<std::string>{"error: the build was stopped"}
                                        : std::vector<std::string>{});
    const TMessageBoxRequest question{StopBuildText, "Compile message", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2};
    EXPECT_EQ(MessageBoxAnswers().Requests(), std::vector<TMessageBoxRequest>(c.Answer ? 1 : 0, question));
    if (c.Answer == IDYES) {
      // Gone, or a zombie nobody has reaped yet.
      const std::string sleep = Trim(ReadTextFile(probe.PidFile));
      ASSERT_FALSE(sleep.empty());
      const std::string status = ReadTextFile("/proc/" + sleep + "/stat");
      EXPECT_TRUE(status.empty() || status.find(") Z ") != std::string::npos) << status;
    }
    MainForm->CloseAll();
    Settle();
    ModalAnswers().Clear();
    MessageBoxAnswers().Clear();
  }
}

TEST_F(MainBuildTest, ThePaneCanBeHiddenAndItsColourMenuMovesItsCheckMarks) {
  for (bool shown : {false, true}) {
    MainForm->SetupErrWindowShow1->Click();
    EXPECT_EQ(MainForm->SetupErrWindowShow1->Checked(), shown);
    EXPECT_EQ(MainForm->ErrorPanel->Visible(), shown);
    EXPECT_EQ(MainForm->Splitter1->Visible(), shown);
  }
  EXPECT_EQ(MainForm->ErrorPanel->Align(), alBottom);

  TMainForm* f = MainForm;
  auto checked = [f] {
    std::vector<TMenuItem*> items;
    for (TMenuItem* submenu : {f->SetUpErrFont1, f->SetUpErrColor1})
      for (int i = 0; i < submenu->Count(); ++i)
        if (submenu->Items(i)->Checked()) items.push_back(submenu->Items(i));
    return items;
  };
  EXPECT_EQ(checked(), (std::vector<TMenuItem*>{f->SetUpErrFontBlack1, f->SetUpErrColorWhite1}));
  const struct {
    TAction* Action;
    std::vector<TMenuItem*> Checked;
  } cases[] = {
      {f->SetUpErrFontRedCmd, {f->SetUpErrFontRed1, f->SetUpErrColorWhite1}},
      {f->SetUpErrColorGrayCmd, {f->SetUpErrFontRed1, f->SetUpErrColorGray1}},
      {f->SetUpErrFontGreenCmd, {f->SetUpErrFontGreen1, f->SetUpErrColorGray1}},
      {f->SetUpErrColorTealCmd, {f->SetUpErrFontGreen1, f->SetUpErrColorTeal1}},
  };
  TColor background = f->SrcEditErrLine->Color();
  for (const auto& c : cases) {
    c.Action->Execute();
    EXPECT_EQ(checked(), c.Checked) << c.Action->Caption();
  }
  EXPECT_EQ(f->SrcEditErrLine->Color(), background);  // the pane's colours stay
}

}  // namespace
}  // namespace vk::test
