// Every kind of makefile the settings dialog and the makefile wizard write,
// built with the installed tool chain. Each row makes its project through
// the dialog or the wizard; then all rows' makes run at once, and each row
// checks make's exit status, what was linked and made, and that the memory
// report reads from the map what avr-size reads from the program.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "services/MemoryReport.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "dialogs/EnvironmentDlg.h"
#include "services/EnvironmentToolChain.h"
#include "dialogs/MakefileWizardForm.h"
#include "services/MakefileWizardText.h"
#include "platform/Registry.h"
#include "platform/StringLists.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/FontMetricsScope.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk {
namespace {

// One command run in a folder; its output and exit status land in
// <Name>.log and <Name>.status there.
struct TJob {
  std::string Folder;
  std::string Command;
  std::string Name = "build";
};

struct TJobResult {
  int Status = -1;
  std::string Output;
};

// Runs the jobs side by side (one make -j over them all) and answers their
// results in order. Each job's make runs on its own, without the outer
// make's job slots, as the IDE runs it.
std::vector<TJobResult> RunAtOnce(const std::vector<TJob>& jobs) {
  test::TTempFolder driver;
  std::string makefile = "all:";
  for (size_t i = 0; i < jobs.size(); ++i) makefile += " job" + std::to_string(i);
  makefile += "\n";
  for (size_t i = 0; i < jobs.size(); ++i) {
    const TJob& job = jobs[i];
    makefile += "job" + std::to_string(i) + ":\n\t@cd '" + job.Folder + "' && MAKEFLAGS= MAKELEVEL= " + job.Command +
                " >" + job.Name + ".log 2>&1; echo $$? >" + job.Name + ".status\n";
  }
  test::WriteTextFile(driver.File("makefile"), makefile);
  const unsigned jobSlots = std::max(2u, std::thread::hardware_concurrency());
  const test::TCommandResult run = test::RunCommand(driver.Path(), "make -j" + std::to_string(jobSlots));
  EXPECT_EQ(run.Status, 0);
  std::vector<TJobResult> results;
  for (const TJob& job : jobs) {
    const std::string status = test::ReadTextFile(job.Folder + "/" + job.Name + ".status");
    results.push_back({status.empty() ? -1 : std::stoi(status), test::ReadTextFile(job.Folder + "/" + job.Name + ".log")});
  }
  return results;
}

std::string ShippedTemplate() { return VK_SOURCE_DIR "/data/makefile"; }

std::string Text(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// ----- the sources the rows build

const char* const LoneMain = "#include <avr/io.h>\nint main(void) {\n  DDRB = 0xFF;\n  for (;;) {\n  }\n}\n";
const char* const MainOfEveryKind =
    "int add_a(int x);\nint add_cpp(int x);\nunsigned char asm_twice(unsigned char x);\n"
    "unsigned char asm_thrice(unsigned char x);\nvolatile unsigned char port;\n"
    "int main(void) {\n  port = (unsigned char)add_a(add_cpp(asm_twice(asm_thrice(port))));\n  for (;;) {\n  }\n}\n";
const char* const MainWithoutCpp =
    "int add_a(int x);\nunsigned char asm_twice(unsigned char x);\nunsigned char asm_thrice(unsigned char x);\n"
    "volatile unsigned char port;\n"
    "int main(void) {\n  port = (unsigned char)add_a(asm_twice(asm_thrice(port)));\n  for (;;) {\n  }\n}\n";
// Initialised data and zeroed data, for the external memory choices.
const char* const MainWithData =
    "volatile char table[300] = {1, 2, 3};\nvolatile int counter;\n"
    "int main(void) {\n  for (;;) counter += table[counter & 255];\n}\n";
const char* const MainWithPrintf =
    "#include <stdio.h>\nchar text[24];\nvolatile float value = 1.5f;\n"
    "int main(void) {\n  float read;\n  sprintf(text, \"%f\", (double)value);\n  sscanf(text, \"%f\", &read);\n"
    "  return (int)read;\n}\n";
// Waits with the delay library, which wants F_CPU and optimisation, and
// needs its board header from drv/ and the debug level from the flags.
const char* const MainWithDelay =
    "#include <avr/io.h>\n#include <util/delay.h>\n#include \"board.h\"\n"
    "#ifndef DEBUG_LEVEL\n#error DEBUG_LEVEL is not defined\n#endif\n"
    "int main(void) {\n  LED_DDR |= LED_BIT;\n  for (;;) {\n    LED_PORT ^= LED_BIT;\n    _delay_ms(250);\n  }\n}\n";
const char* const BoardHeader = "#define LED_DDR DDRB\n#define LED_PORT PORTB\n#define LED_BIT (1 << 1)\n";
const std::map<std::string, std::string> ExtraSources = {
    {"a.c", "int add_a(int x) { return x + 1; }\n"},
    {"b.cpp", "extern \"C\" int add_cpp(int x) { return x * 3; }\n"},
    {"twice.S", ".global asm_twice\nasm_twice:\n  add r24, r24\n  ret\n"},
    {"thrice.s", ".global asm_thrice\nasm_thrice:\n  mov r25, r24\n  add r24, r24\n  add r24, r25\n  ret\n"},
    {"my a.c", "int in_a_file_make_cannot_take;\n"},
    {"한글.c", "int in_a_file_named_in_hangul;\n"},
};

class MakefileBuildTest : public test::TFormsCase {
protected:
  MakefileBuildTest() { std::filesystem::copy_file(ShippedTemplate(), EditorFolder.File("makefile")); }

  // The settings dialog on the project, as the setup command opens it, with
  // the editor settings of a first start: the row sets its controls, then OK.
  void ThroughDialog(const std::string& folder, const std::function<void(TEnvironmentDlg&)>& set) {
    TRegistry().DeleteKey("SOFTWARE\\ZE_VAD\\Editor");
    if (!std::filesystem::exists(folder + "/makefile") && !std::filesystem::exists(folder + "/Makefile"))
      MessageBoxAnswers().Push(IDOK);
    std::unique_ptr<TEnvironmentDlg> dialog(NewForm<TEnvironmentDlg>(&Application()));
    dialog->SetProject(folder + "/", "main.c");
    dialog->Show();
    set(*dialog);
    dialog->OKBtn->Click();
    EXPECT_EQ(dialog->ModalResult(), mrOk);
  }

  // A wizard run with the values of its pages, saved.
  void ThroughWizard(const std::string& folder, const std::function<void(TMakefileWizardValues&)>& set) {
    TMakefileWizardRun run;
    run.Values.MainSource = "main";
    run.Values.SourceFolder = folder;
    set(run.Values);
    run.BuildLines(EditorFolder.Path());
    run.Save();
  }

  // Picks the file in the row's list of the SourceAdd page, as a double click.
  static void Pick(TButton* add, TListBox* list, const std::string& name) {
    add->Click();
    list->UserSelect(list->Items().IndexOf(name));
    list->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  }

  test::TRegistryScope Registry;
  test::TFontMetricsScope Metrics;
  test::TTempFolder EditorFolder;
};

struct TBuildRow {
  const char* Name;
  const char* Main;  // main.c; the extra sources lie beside it in every row
  std::function<void(const std::string& folder)> WriteMakefile;
  const char* Part;                  // the part the memory report reads the sizes of
  std::vector<std::string> Objects;  // linked: the map names them
  std::vector<std::string> Made;     // files the build leaves
  std::vector<std::string> Said;     // texts of make's output
  std::vector<std::string> Unsaid;
  std::vector<std::string> EveryCompile = {};  // texts every avr-gcc -c command carries
  const uint64_t* OwnFlash = nullptr;           // the flash the project's own makefile filled, to come near
};

// A foreign project's own build, made and cleaned again: the flash it filled.
uint64_t OwnBuildFlash(const std::string& folder) {
  const test::TCommandResult own = test::RunCommand(folder, "make");
  EXPECT_EQ(own.Status, 0) << ::testing::PrintToString(own.Lines);
  std::map<std::string, uint64_t> sections = test::AvrSectionSizes(folder);
  EXPECT_EQ(test::RunCommand(folder, "make clean").Status, 0);
  return sections[".text"] + sections[".data"];
}

TEST_F(MakefileBuildTest, EveryChoiceOfTheDialogAndTheWizardBuilds) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const std::string sizeProgram = test::RunCommand("/", "command -v avr-size").Lines.at(0);
  test::TTempFolder binFolder;
  // A bin folder whose avr-size leaves a trace before it runs the real one.
  test::WriteTextFile(binFolder.File("avr-size"), "#!/bin/sh\ntouch bin-path-used\nexec " + sizeProgram + " \"$@\"\n");
  std::filesystem::permissions(binFolder.File("avr-size"), std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  const char* const handRule = "\r\nall: handmade.txt\r\nhandmade.txt:\r\n\techo made by hand >$@\r\n";
  // The makefile written through the dialog, the part picked from its list.
  auto dialogWith = [this](const char* part, std::function<void(TEnvironmentDlg&)> set) {
    return [this, part, set](const std::string& folder) {
      ThroughDialog(folder, [&](TEnvironmentDlg& d) {
        d.McuTypeComboBox->UserSelect(IndexOfMcu(part));
        set(d);
      });
    };
  };

  // A project that builds with its own Makefile (its board header in a
  // folder of its own), built so first, then replaced through the dialog.
  uint64_t commandFlash = 0, plainFlash = 0;
  auto foreignReplaced = [this](const char* boardFolder, const char* makefile, uint64_t& ownFlash,
                                std::function<void(TEnvironmentDlg&)> set) {
    return [this, boardFolder, makefile, &ownFlash, set](const std::string& folder) {
      std::filesystem::create_directories(folder + "/" + boardFolder);
      test::WriteTextFile(folder + "/" + boardFolder + "/board.h", BoardHeader);
      test::WriteTextFile(folder + "/Makefile", makefile);
      ownFlash = OwnBuildFlash(folder);
      ThroughDialog(folder, [&](TEnvironmentDlg& d) {
        set(d);
        MessageBoxAnswers().Push(IDYES);  // replace it
      });
    };
  };
  const TBuildRow rows[] = {
      {"dialog: C, C++, .S and .s sources picked on the SourceAdd page", MainOfEveryKind,
       dialogWith("atmega128",
                  [](TEnvironmentDlg& d) {
                    Pick(d.BtnCSourceAdd, d.ListBoxAddSourceC, "a.c");
                    MessageBoxAnswers().Push(IDOK);
                    Pick(d.BtnCSourceAdd, d.ListBoxAddSourceC, "my a.c");
                    EXPECT_EQ(MessageBoxAnswers().Requests().back().Text.find("make cannot take the file name"), 0u);
                    MessageBoxAnswers().Push(IDOK);
                    Pick(d.BtnCSourceAdd, d.ListBoxAddSourceC, "한글.c");
                    EXPECT_EQ(MessageBoxAnswers().Requests().back().Text.find("make cannot take the file name"), 0u);
                    EXPECT_TRUE(d.PanelCSourceAdd->Visible()) << "the list stays open for another pick";
                    Pick(d.BtnCppSourceAdd, d.ListBoxAddSourceCpp, "b.cpp");
                    Pick(d.BtnAsmSourceAdd, d.ListBoxAddSourceAsm, "twice.S");
                    Pick(d.BtnAsmSourceAdd, d.ListBoxAddSourceAsm, "thrice.s");
                    EXPECT_EQ(d.McuCAddSourceEdit->Text(), "a.c");
                    EXPECT_EQ(d.McuAsmAddSourceEdit->Text(), "twice.S thrice.s");
                  }),
       "atmega128", {"main.o", "a.o", "b.o", "twice.o", "thrice.o"},
       {"main.hex", "twice.lst", "thrice.lst", "b.lst"}, {"-mmcu=atmega128"}, {}},
      {"dialog: external RAM for variables and heap", MainWithData,
       dialogWith("atmega128", [](TEnvironmentDlg& d) { d.ExtMemoryOptionsRadioGroup->Buttons(1)->SetChecked(true); }),
       "atmega128", {"main.o"}, {"main.hex"}, {"-Tdata=0x801100"}, {}},
      {"dialog: external RAM for the heap only", MainWithData,
       dialogWith("atmega128", [](TEnvironmentDlg& d) { d.ExtMemoryOptionsRadioGroup->Buttons(2)->SetChecked(true); }),
       "atmega128", {"main.o"}, {"main.hex"}, {"__heap_start=0x801100"}, {}},
      {"dialog: an object folder, after an empty one was refused", LoneMain,
       [&](const std::string& folder) {
         ThroughDialog(folder, [&](TEnvironmentDlg& d) {
           d.McuTypeComboBox->UserSelect(IndexOfMcu("atmega16"));
           d.ObjDirEdit->SetText("");
           EXPECT_THROW(d.OKBtn->Click(), EMakefileValue);
           EXPECT_FALSE(std::filesystem::exists(folder + "/makefile"));
           d.ObjDirEdit->SetText("obj");
         });
       },
       "atmega16", {"obj/main.o"}, {"obj/main.o", "obj/main.lst", "main.hex"}, {}, {" /main.o"}},
      {"dialog: floating-point printf and scanf, a part typed in capitals", MainWithPrintf,
       [&](const std::string& folder) {
         ThroughDialog(folder, [](TEnvironmentDlg& d) {
           d.McuTypeComboBox->UserEdit("ATmega16");
           d.PrintfOptionsRadioGroup->Buttons(1)->SetChecked(true);
           d.ScanfOptionsRadioGroup->Buttons(1)->SetChecked(true);
         });
       },
       "atmega16", {"main.o", "libprintf_flt.a", "libscanf_flt.a"}, {"main.hex"}, {"-mmcu=atmega16 "}, {}},
      {"dialog: standard printf and scanf with the boot loader's lines", MainWithPrintf,
       dialogWith("atmega128",
                  [](TEnvironmentDlg& d) {
                    d.LinkOptBootDefaultBtn->Click();
                    d.PrinterOptBootDefaultBtn->Click();
                  }),
       "atmega128", {"main.o"}, {"main.hex"}, {"--section-start=.text=0x1E000"}, {"printf_min"}},
      {"dialog: a user makefile with a rule added by hand", LoneMain,
       [&](const std::string& folder) {
         dialogWith("atmega8", [](TEnvironmentDlg&) {})(folder);
         std::string makefile = test::ReadTextFile(folder + "/makefile") + handRule;
         test::WriteTextFile(folder + "/makefile", makefile);
         ThroughDialog(folder, [](TEnvironmentDlg& d) {
           d.RadioGroupMakeFile->Buttons(1)->SetChecked(true);
           d.CBSmartTab->SetChecked(true);
           d.McuCAddSourceEdit->SetText("a.c");
         });
         EXPECT_EQ(test::ReadTextFile(folder + "/makefile"), makefile);
         EXPECT_TRUE(std::filesystem::exists(folder + "/AddFile.ini"));
         EXPECT_EQ(TSettingsReader("Editor").Integer("AutoMakefileCreateBool"), 0);
       },
       "atmega8", {"main.o"}, {"main.hex", "handmade.txt"}, {"echo made by hand"}, {}},
      // make cannot tell what it builds: the fields keep their values, and
      // the question says so.
      {"dialog: a makefile of the user's that sets only the part, replaced", LoneMain,
       [&](const std::string& folder) {
         test::WriteTextFile(folder + "/makefile", "MCU = atmega8\r\n");
         ThroughDialog(folder, [](TEnvironmentDlg& d) {
           EXPECT_EQ(d.McuTypeComboBox->Text(), "atmega128");
           EXPECT_EQ(test::LinesOf(d.CompilerOptionsMemo->Lines()), MakefileDefaults::CompilerOptions());
           d.McuTypeComboBox->UserSelect(IndexOfMcu("atmega8"));
           MessageBoxAnswers().Push(IDYES);  // replace it
         });
         EXPECT_NE(MessageBoxAnswers().Requests().back().Text.find("make cannot tell what it builds"), std::string::npos);
         EXPECT_EQ(test::ReadTextFile(folder + "/makefile.bak"), "MCU = atmega8\r\n");
       },
       "atmega8", {"main.o"}, {"main.hex", "main.map"}, {"-mmcu=atmega8 ", "-funsigned-char"}, {}},
      {"dialog: a Makefile built from its own variables, replaced", LoneMain,
       [&](const std::string& folder) {
         const std::string foreign =
             "PRG = demo\nOBJ = main.o\nMCU_TARGET = atmega168\nOPTIMIZE = -O2\nDEFS =\nCC = avr-gcc\n"
             "override CFLAGS = -g -Wall $(OPTIMIZE) -mmcu=$(MCU_TARGET) $(DEFS)\n"
             "override LDFLAGS = -Wl,-Map,$(PRG).map\nall: target328\ntarget328: MCU_TARGET = atmega328p\n"
             "target328: $(PRG).elf\n$(PRG).elf: $(OBJ)\n\t$(CC) $(CFLAGS) $(LDFLAGS) -o $@ $^\n"
             "clean:\n\trm -f *.o *.elf *.map\n";
         test::WriteTextFile(folder + "/Makefile", foreign);
         const test::TCommandResult own = test::RunCommand(folder, "make && make clean");
         EXPECT_EQ(own.Status, 0) << ::testing::PrintToString(own.Lines);
         ThroughDialog(folder, [](TEnvironmentDlg& d) {
           EXPECT_EQ(d.McuTypeComboBox->Text(), "atmega328p");
           EXPECT_EQ(test::LinesOf(d.CompilerOptionsMemo->Lines()),
                     (std::vector<std::string>{"$(CDEFS)", "-g$(DEBUG)", "-Wall", "-O$(OPT)"}));
           EXPECT_EQ(d.McuOptimizComboBox->Text(), "2");
           EXPECT_EQ(d.McuFrqComboBox->Text(), "") << "the build defines no F_CPU";
           EXPECT_EQ(test::LinesOf(d.LinkerOptionsMemo->Lines()),
                     std::vector<std::string>{"-Wl,-Map=$(TARGET).map,--cref"});
           MessageBoxAnswers().Push(IDYES);  // replace it
         });
         EXPECT_EQ(test::ReadTextFile(folder + "/Makefile.bak"), foreign);
       },
       "atmega328p", {"main.o"}, {"main.hex", "main.map"}, {}, {"-mmcu= ", "-DF_CPU", "-funsigned-char"},
       {"-mmcu=atmega328p ", "-O2 ", "-Wall "}},
      {"dialog: a Makefile whose compile command variable holds the fields, replaced", MainWithDelay,
       foreignReplaced("drv",
                       "DEVICE = atmega8\nF_CPU = 16000000\nCFLAGS = -Idrv -I. -DDEBUG_LEVEL=0\nOBJECTS = main.o\n"
                       "COMPILE = avr-gcc -Wall -Os -DF_CPU=$(F_CPU) $(CFLAGS) -mmcu=$(DEVICE)\n"
                       "all: main.hex\n.c.o:\n\t$(COMPILE) -c $< -o $@\nmain.elf: $(OBJECTS)\n"
                       "\t$(COMPILE) -o main.elf $(OBJECTS)\nmain.hex: main.elf\n"
                       "\tavr-objcopy -j .text -j .data -O ihex main.elf main.hex\n"
                       "clean:\n\trm -f main.hex main.elf $(OBJECTS)\n",
                       commandFlash,
                       [](TEnvironmentDlg& d) {
                         EXPECT_EQ(d.McuTypeComboBox->Text(), "atmega8");
                         EXPECT_EQ(d.McuFrqComboBox->Text(), "16000000");
                         EXPECT_EQ(d.McuOptimizComboBox->Text(), "s");
                         EXPECT_EQ(d.McuIoptionEdit->Text(), "-Idrv");
                       }),
       "atmega8", {"main.o"}, {"main.hex", "main.map"}, {}, {"F_CPU not defined", "optimizations disabled"},
       {"-mmcu=atmega8 ", "-Os ", "-DF_CPU=16000000 ", "-Wall ", "-Idrv ", "-DDEBUG_LEVEL=0"}, &commandFlash},
      {"dialog: a plain example's CFLAGS, replaced, another frequency chosen", MainWithDelay,
       foreignReplaced(".",
                       "CC = avr-gcc\nMCU = atmega16\nCFLAGS = -g -Wall -Os -DDEBUG_LEVEL=1 -DF_CPU=1000000UL -mmcu=$(MCU)\n"
                       "all: main.elf\nmain.elf: main.o\n\t$(CC) $(CFLAGS) -o $@ $^\nclean:\n\trm -f main.elf main.o\n",
                       plainFlash,
                       [](TEnvironmentDlg& d) {
                         EXPECT_EQ(d.McuFrqComboBox->Text(), "1000000");
                         EXPECT_EQ(d.McuOptimizComboBox->Text(), "s");
                         d.McuFrqComboBox->UserEdit("8000000");
                       }),
       "atmega16", {"main.o"}, {"main.hex", "main.map"}, {}, {"F_CPU not defined", "optimizations disabled"},
       {"-mmcu=atmega16 ", "-Os ", "-DF_CPU=8000000UL ", "-Wall ", "-DDEBUG_LEVEL=1"}, &plainFlash},
      {"wizard: C, .S and .s sources, a capitalised part, the default folders", MainWithoutCpp,
       [&](const std::string& folder) {
         ThroughWizard(folder, [](TMakefileWizardValues& v) {
           v.McuType = "at90CAN128";
           v.CSources = "a.c";
           v.AsmSources = "twice.S thrice.s";
         });
       },
       "at90can128", {"main.o", "a.o", "twice.o", "thrice.o"}, {"main.hex"}, {"-mmcu=at90can128"}, {"WinAvr"}},
      {"wizard: a bin folder and a library folder that exist", LoneMain,
       [&](const std::string& folder) {
         ThroughWizard(folder, [&](TMakefileWizardValues& v) {
           v.McuType = "atmega644P";
           v.BinPath = binFolder.Path();
           v.LibraryPath = "/usr/lib/avr/lib";
         });
       },
       "atmega644p", {"main.o"}, {"main.hex", "bin-path-used"}, {"-L/usr/lib/avr/lib"}, {}},
  };

  std::vector<std::unique_ptr<test::TTempFolder>> folders;
  std::vector<TJob> jobs;
  for (const TBuildRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::string& folder = folders.emplace_back(std::make_unique<test::TTempFolder>())->Path();
    test::WriteTextFile(folder + "/main.c", row.Main);
    for (const auto& [name, text] : ExtraSources) test::WriteTextFile(folder + "/" + name, text);
    row.WriteMakefile(folder);
    jobs.push_back({folder, "make"});
  }
  const std::vector<TJobResult> results = RunAtOnce(jobs);

  for (size_t i = 0; i < std::size(rows); ++i) {
    const TBuildRow& row = rows[i];
    const std::string& folder = jobs[i].Folder;
    SCOPED_TRACE(row.Name);
    ASSERT_EQ(results[i].Status, 0) << results[i].Output;
    for (const std::string& text : row.Said) EXPECT_NE(results[i].Output.find(text), std::string::npos) << text;
    for (const std::string& text : row.Unsaid) EXPECT_EQ(results[i].Output.find(text), std::string::npos) << text;
    for (const std::string& file : row.Made) EXPECT_TRUE(std::filesystem::exists(folder + "/" + file)) << file;
    std::istringstream output(results[i].Output);
    int compiles = 0;
    for (std::string line; std::getline(output, line);) {
      if (!line.starts_with("avr-gcc -c ")) continue;
      ++compiles;
      for (const std::string& text : row.EveryCompile) EXPECT_NE(line.find(text), std::string::npos) << text << " in " << line;
    }
    EXPECT_TRUE(row.EveryCompile.empty() || compiles > 0);
    EXPECT_EQ(test::ReadTextFile(folder + "/thrice.s"), ExtraSources.at("thrice.s")) << "a source was overwritten";
    const std::string map = test::ReadTextFile(folder + "/main.map");
    for (const std::string& object : row.Objects) EXPECT_NE(map.find(object), std::string::npos) << object;

    std::map<std::string, uint64_t> sections = test::AvrSectionSizes(folder);
    const TMemoryReport report = ComputeMemoryReport(LinkerMapPath(folder, "main.c"), row.Part);
    ASSERT_TRUE(report.MapLoaded);
    EXPECT_GT(report.Flash.Bytes, 0u);
    EXPECT_EQ(report.Flash.Bytes, sections[".text"] + sections[".data"]);
    EXPECT_EQ(report.Sram.Bytes, sections[".data"] + sections[".bss"] + sections[".noinit"]);
    EXPECT_EQ(report.Eeprom.Bytes, sections[".eeprom"]);
    if (row.OwnFlash) {
      EXPECT_NEAR(double(sections[".text"] + sections[".data"]), double(*row.OwnFlash), *row.OwnFlash * 0.25);
    }
  }
}

// Every object and the program of a build, by their names in the folder.
std::vector<std::string> ObjectsAndProgram(const std::string& folder) {
  std::vector<std::string> files{"main.elf"};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.path().extension() == ".o") files.push_back(std::filesystem::relative(entry.path(), folder).string());
  return files;
}

// A project built for atmega8, then its part changed to atmega16 where the
// settings dialog or the wizard wrote the makefile, and built again: either
// by make alone (the objects depend on the makefile), or by make clean and
// make with the makefile's time set back before the first build (as a copy
// restored with its time would have it), so that clean alone must take every
// object and listing away. Every object of the new program is made for the new part,
// and the sources' warnings come again.
TEST_F(MakefileBuildTest, AChangeOfThePartRebuildsEveryObject) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const std::map<std::string, std::string> sources = {
      {"a.c", "int add_a(int x) {\n  int unused_in_c;\n  return x + 1;\n}\n"},
      {"c2.cpp", "extern \"C\" int add_cpp(int x) {\n  int unused_in_cpp;\n  return x * 3;\n}\n"},
      // A vector of its own: an object of the old part's vector table would
      // clash with it.
      {"twice.S", ".global asm_twice, __vector_2\nasm_twice:\n  add r24, r24\n  ret\n__vector_2:\n  reti\n"}};
  const char* const callsAll =
      "int add_a(int x);\nint add_cpp(int x);\nunsigned char asm_twice(unsigned char x);\nvolatile unsigned char port;\n"
      "int main(void) {\n  port = (unsigned char)add_a(add_cpp(asm_twice(port)));\n  for (;;) {\n  }\n}\n";
  const char* const callsC =  // the wizard's makefile builds no C++
      "int add_a(int x);\nunsigned char asm_twice(unsigned char x);\nvolatile unsigned char port;\n"
      "int main(void) {\n  port = (unsigned char)add_a(asm_twice(port));\n  for (;;) {\n  }\n}\n";
  auto dialogFor = [this](const char* objDir) {
    return [this, objDir](const std::string& folder, const char* part) {
      ThroughDialog(folder, [&](TEnvironmentDlg& d) {
        d.McuTypeComboBox->UserSelect(IndexOfMcu(part));
        if (d.McuCAddSourceEdit->Text().empty()) {  // the first time
          d.ObjDirEdit->SetText(objDir);
          Pick(d.BtnCSourceAdd, d.ListBoxAddSourceC, "a.c");
          Pick(d.BtnCppSourceAdd, d.ListBoxAddSourceCpp, "c2.cpp");
          Pick(d.BtnAsmSourceAdd, d.ListBoxAddSourceAsm, "twice.S");
        }
      });
    };
  };
  auto wizard = [this](const std::string& folder, const char* part) {
    ThroughWizard(folder, [&](TMakefileWizardValues& v) {
      v.McuType = part;
      v.CSources = "a.c";
      v.AsmSources = "twice.S";
    });
  };
  const struct {
    const char* Name;
    std::function<void(const std::string& folder, const char* part)> WriteMakefile;
    const char* Main;
    bool Clean;
    std::vector<std::string> Warnings;  // in the second build's output
  } rows[] = {
      {"dialog, make again", dialogFor("."), callsAll, false, {"a.c:2:7: warning", "c2.cpp:2:7: warning"}},
      {"dialog, make clean", dialogFor("."), callsAll, true, {"a.c:2:7: warning", "c2.cpp:2:7: warning"}},
      {"dialog with an object folder, make again", dialogFor("obj"), callsAll, false,
       {"a.c:2:7: warning", "c2.cpp:2:7: warning"}},
      {"dialog with an object folder, make clean", dialogFor("obj"), callsAll, true,
       {"a.c:2:7: warning", "c2.cpp:2:7: warning"}},
      {"wizard, make again", wizard, callsC, false, {"a.c:2:7: warning"}},
      {"wizard, make clean", wizard, callsC, true, {"a.c:2:7: warning"}},
  };

  std::vector<std::unique_ptr<test::TTempFolder>> folders;
  std::vector<TJob> first, clean, again;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::string& folder = folders.emplace_back(std::make_unique<test::TTempFolder>())->Path();
    test::WriteTextFile(folder + "/main.c", row.Main);
    for (const auto& [name, text] : sources) test::WriteTextFile(folder + "/" + name, text);
    row.WriteMakefile(folder, "atmega8");
    first.push_back({folder, "make", "first"});
  }
  for (const TJobResult& result : RunAtOnce(first)) ASSERT_EQ(result.Status, 0) << result.Output;
  for (size_t i = 0; i < std::size(rows); ++i) {
    const std::string& folder = folders[i]->Path();
    rows[i].WriteMakefile(folder, "atmega16");
    if (rows[i].Clean) {
      // As old as the sources, which are older than every object.
      std::filesystem::last_write_time(folder + "/makefile", std::filesystem::last_write_time(folder + "/main.c"));
      clean.push_back({folder, "make clean", "clean"});
    }
    again.push_back({folder, "make", "again"});
  }
  for (const TJobResult& result : RunAtOnce(clean)) ASSERT_EQ(result.Status, 0) << result.Output;
  for (const TJob& job : clean) {
    SCOPED_TRACE(job.Folder);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(job.Folder))
      EXPECT_TRUE(entry.path().extension() != ".o" && entry.path().extension() != ".lst") << entry.path();
  }
  const std::vector<TJobResult> results = RunAtOnce(again);

  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].Name);
    ASSERT_EQ(results[i].Status, 0) << results[i].Output;
    for (const std::string& warning : rows[i].Warnings)
      EXPECT_NE(results[i].Output.find(warning), std::string::npos) << warning;
    const std::string& folder = folders[i]->Path();
    const std::vector<std::string> files = ObjectsAndProgram(folder);
    EXPECT_EQ(files.size(), rows[i].Main == callsAll ? 5u : 4u) << ::testing::PrintToString(files);
    const std::map<std::string, std::string> architectures = test::AvrArchitectures(folder, files);
    EXPECT_EQ(architectures.at("main.elf"), "avr:5");
    for (const std::string& file : files) EXPECT_EQ(architectures.at(file), "avr:5") << file;
  }
}

// Each part of the dialog's and the wizard's lists, picked there, written
// into their makefiles and compiled from a one-line source: the parts
// avr-gcc compiles C for compile, the parts marked as assembler only
// assemble, and the parts marked as unknown do not compile.
TEST_F(MakefileBuildTest, EveryPartOfBothListsCompilesOrIsMarked) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  std::unique_ptr<TEnvironmentDlg> dialog(NewForm<TEnvironmentDlg>(&Application()));
  std::unique_ptr<TFormMakeWizzard> wizard(NewForm<TFormMakeWizzard>(&Application()));
  TStringList templateLines;
  templateLines.LoadFromFile(ShippedTemplate());
  // The part a list names and the makefile written for it.
  auto dialogMakefile = [](const std::string& part) {
    TMakefileOptions options;
    options.McuType = part;
    options.Target = "main";
    return MakefileText(options);
  };
  auto wizardMakefile = [&](const std::string& part) {
    TMakefileWizardValues values;
    values.McuType = part;
    values.MainSource = "main";
    return Text(WizardMakefileLines(templateLines, values));
  };
  const struct {
    const char* Name;
    TComboBox* List;
    std::function<std::string(const std::string&)> Makefile;
  } lists[] = {{"dialog", dialog->McuTypeComboBox, dialogMakefile}, {"wizard", wizard->ComboAvrMpu, wizardMakefile}};

  struct TPart {
    std::string List, Name;
    TPartSupport Support;
    size_t Compile, Assemble;  // their jobs
  };
  std::vector<TPart> parts;
  std::vector<std::unique_ptr<test::TTempFolder>> folders;
  std::vector<TJob> jobs;
  for (const auto& list : lists) {
    list.List->DropDown();  // marks the list
    list.List->CloseUp();
    std::set<std::string> seen;  // the dialog's list names a few parts twice
    for (int i = 0; i < list.List->Items().Count(); ++i) {
      const std::string item = list.List->Items().Get(i);
      const std::string part = PartOfListItem(item);
      const TPartSupport support = PartSupport(part);
      SCOPED_TRACE(std::string(list.Name) + " " + item);
      EXPECT_EQ(item == part, support == psCompiles) << "marked exactly when avr-gcc cannot compile C for it";
      if (support != psCompiles) MessageBoxAnswers().Push(IDOK);
      list.List->UserSelect(i);
      EXPECT_EQ(list.List->Text(), part);
      if (support != psCompiles) {
        EXPECT_EQ(MessageBoxAnswers().Requests().back().Text, PartSupportMessage(part));
      }
      if (!seen.insert(part).second) continue;

      const std::string& folder = folders.emplace_back(std::make_unique<test::TTempFolder>())->Path();
      test::WriteTextFile(folder + "/makefile", list.Makefile(list.List->Text()));
      test::WriteTextFile(folder + "/main.c", "int main(void) { return 0; }\n");
      parts.push_back({list.Name, part, support, jobs.size(), jobs.size()});
      jobs.push_back({folder, "make main.o", "c"});
      if (support == psAssemblerOnly) {
        test::WriteTextFile(folder + "/start.S", "nop\n");
        parts.back().Assemble = jobs.size();
        jobs.push_back({folder, "make start.o", "asm"});
      }
    }
  }
  const std::vector<TJobResult> results = RunAtOnce(jobs);

  for (const TPart& part : parts) {
    const TJobResult& c = results[part.Compile];
    const TJobResult& assembler = results[part.Assemble];
    SCOPED_TRACE(part.List + " " + part.Name);
    std::string lowerCase = part.Name;
    for (char& letter : lowerCase) letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    EXPECT_NE(c.Output.find("-mmcu=" + lowerCase + " "), std::string::npos) << c.Output;
    switch (part.Support) {
      case psCompiles:
        EXPECT_EQ(c.Status, 0) << c.Output;
        break;
      case psAssemblerOnly:
        EXPECT_NE(c.Status, 0);
        EXPECT_EQ(assembler.Status, 0) << assembler.Output;
        break;
      case psUnknown:
        EXPECT_NE(c.Status, 0);
        EXPECT_NE(c.Output.find("specs-" + lowerCase), std::string::npos) << c.Output;
        break;
    }
  }
}

}  // namespace
}  // namespace vk
