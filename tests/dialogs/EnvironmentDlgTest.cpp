#include "dialogs/EnvironmentDlg.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

#include "services/MemoryReport.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "platform/FilePaths.h"
#include "platform/Registry.h"
#include "platform/ScopeGuard.h"
#include "platform/Streams.h"
#include "tests/dialogs/AvrProject.h"
#include "tests/platform/FontMetricsScope.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk {
namespace {

// The install folder beside the test program: the build draws the part
// pictures into it.
const std::string InstallFolder = LookUpInstallFolder().Folder;

bool HavePartPictures() { return std::filesystem::exists(InstallFolder + "/image/NotFoundImage.jpg"); }

std::string Joined(const TStrings& lines) {
  std::string text;
  for (int i = 0; i < lines.Count(); ++i) text += (i ? "\n" : "") + lines.Get(i);
  return text;
}

// What a control shows: a memo's lines joined by "\n", else its text.
std::string Shown(const TControl* control) {
  if (auto* memo = dynamic_cast<const TMemo*>(control)) return Joined(memo->Lines());
  return control->Text();
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

// Every registry file's bytes: equal before and after means nothing was
// written.
std::string RegistryBytes(const test::TRegistryScope& registry) {
  std::string bytes;
  for (const auto& entry : std::filesystem::directory_iterator(registry.Folder().Path()))
    bytes += test::ReadTextFile(entry.path().string());
  return bytes;
}

class EnvironmentDlgTest : public test::TFormsCase {
protected:
  EnvironmentDlgTest() {
    WriteFirstRunDefaults(DesignHighlighter, InstallFolder);
    Editor.SetHighlighter(&Shared);
    LineNumberCmd.SetChecked(true);
  }

  // A new dialog on the project (panels 4 and 5), shown; a project without
  // a makefile answers its load message with OK.
  TEnvironmentDlg* Open(const std::string& folder, const std::string& mainFile = "main.c") {
    if (!folder.empty() && !FileExists(ProjectMakefilePath(folder))) MessageBoxAnswers().Push(IDOK);
    auto* dialog = NewForm<TEnvironmentDlg>(&Application());
    dialog->SetProject(folder, mainFile);
    dialog->SetTargets(&Shared, {{&Editor, &LineNumberCmd}});
    dialog->Show();
    return dialog;
  }
  TEnvironmentDlg* Open() { return Open(Project.Folder() + "/"); }
  // OK on a project without a makefile writes one and reports nothing (an
  // unanswered message box fails the test).
  void PressOk(TEnvironmentDlg* dialog) { dialog->OKBtn->Click(); }
  static std::optional<std::string> String(const char* name) {
    return TSettingsReader(AttrKeyNames[EditorKeyIndex]).String(name);
  }
  static std::optional<int> Integer(const char* key, const char* name) { return TSettingsReader(key).Integer(name); }
  static void WriteEditorValue(const char* name, const std::string& text) {
    TRegistry registry;
    registry.OpenKey(SettingsKeyPath(AttrKeyNames[EditorKeyIndex]), false);
    registry.WriteString(name, text);
  }
  static void WriteEditorValue(const char* name, int number) {
    TRegistry registry;
    registry.OpenKey(SettingsKeyPath(AttrKeyNames[EditorKeyIndex]), false);
    registry.WriteInteger(name, number);
  }

  test::TRegistryScope Registry;
  test::TFontMetricsScope Metrics;
  test::TAvrProject Project;
  TSrcAvrHl DesignHighlighter{nullptr};
  TSrcAvrHl Shared{nullptr};
  TSrcEdit Editor{nullptr};
  TAction LineNumberCmd{nullptr};
};

TEST_F(EnvironmentDlgTest, ShowReadsRegistryAddFileAndMakefileWithoutRunningHandlers) {
  // Values the radio groups' handlers would rewrite if they ran on load.
  WriteEditorValue(EditorValue::AvrGccVornkitBool, 0);
  WriteEditorValue(EditorValue::AvrGccPath, "/opt/avr");
  WriteEditorValue(EditorValue::ExtMemoryOptionsName, 7);
  WriteEditorValue(EditorValue::ExtMemoryOptionsEdit, "-Wl,--own");
  Project.Write("AddFile.ini", "[marker]\r\na.c b.c\r\ntwice.S\r\n");
  TMakefileOptions options;
  options.McuType = "atmega16";
  options.LinkerOptions = {"-Wl,-Map=$(TARGET).map", "-lm"};
  ASSERT_TRUE(WriteMakefile(Project.Folder(), options));
  // The registry's colours, bold and italic exactly as stored.
  {
    TRegistry registry;
    registry.OpenKey(SettingsKeyPath("CommentAttri"), false);
    registry.WriteBool(AttributeValue::Italic, false);
    registry.WriteInteger(AttributeValue::Foreground, static_cast<int>(clNavy));
  }

  TEnvironmentDlg* dialog = Open(Project.Folder() + "/", "main.c");
  const std::pair<TControl*, std::string> shown[] = {
      {dialog->ComboBoxFont, "Courier New"},
      {dialog->ComboBoxFontSize, "10"},
      {dialog->CBGutterWidth, "25"},
      {dialog->AvrGccIncludePathEdit, "."},
      {dialog->VornkitPathEdit, InstallFolder},
      {dialog->AvrGccPathEdit, "/opt/avr"},
      {dialog->ExtMemoryOptionsEdit, "-Wl,--own"},
      {dialog->McuTargetEdit, "main"},
      {dialog->McuTargetDirEdit, Project.Folder() + "/"},
      {dialog->McuCAddSourceEdit, "a.c b.c"},
      {dialog->McuAsmAddSourceEdit, "twice.S"},
      {dialog->McuTypeComboBox, "atmega16"},  // the makefile's part wins
      {dialog->LinkerOptionsMemo, Lines({"-Wl,-Map=$(TARGET).map", "-lm"})},
      {dialog->ComboBoxTabstop, "8"},
      {dialog->ComboBoxUndoLimit, "1024"},
      {dialog->Label11, "16KBytes"},
      {dialog->Label18, "512Bytes"},
      {dialog->Label12, "1024Bytes"},
  };
  for (const auto& [control, text] : shown) EXPECT_EQ(Shown(control), text);
  EXPECT_EQ(dialog->VornkitRadioGroup->ItemIndex(), 1);
  EXPECT_EQ(dialog->ExtMemoryOptionsRadioGroup->ItemIndex(), 2);
  EXPECT_TRUE(dialog->ExtMemoryOptionsEdit->Enabled());
  EXPECT_TRUE(dialog->CBGutter->Checked());
  EXPECT_FALSE(dialog->CBAutoIndentMode->Checked());  // the first run's false beats the design's tick
  EXPECT_EQ(EditorFolderAtShow, InstallFolder);
  EXPECT_EQ(dialog->SrcAvrHl->CommentAttri()->Foreground(), clNavy);
  EXPECT_TRUE(dialog->SrcAvrHl->CommentAttri()->Style().Empty());
  if (HavePartPictures()) {
    EXPECT_EQ(dialog->Image1->Picture()->Width(), 649);
  }
}

TEST_F(EnvironmentDlgTest, AMissingOrForeignMakefileKeepsTheDefaultOptions) {
  struct Case {
    const char* name;
    const char* makefile;  // nullptr: none
    std::vector<int> answers;
    std::vector<std::string> messages;
  };
  const std::string path = Project.File("makefile");
  const Case cases[] = {
      {"none, OK", nullptr, {IDOK}, {" makefile Cannot open file!"}},
      {"none, Cancel tries again", nullptr, {IDCANCEL, IDOK}, {" makefile Cannot open file!", path + "Cannot open file!"}},
      {"not ours", "all:\n\tcc main.c\n", {}, {}},
  };
  // The external RAM option an earlier default stored, which did not link.
  WriteEditorValue(EditorValue::ExtMemoryOptionsName, 1);
  WriteEditorValue(EditorValue::ExtMemoryOptionsEdit, "-Wl,-Tdata=0x801100,--defsym=__heap_end=0x80ffff");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    if (c.makefile) Project.Write("makefile", c.makefile);
    for (int answer : c.answers) MessageBoxAnswers().Push(answer);
    auto* dialog = NewForm<TEnvironmentDlg>(&Application());
    dialog->SetProject(Project.Folder(), "main.c");
    dialog->Show();
    std::vector<std::string> messages;
    for (const TMessageBoxRequest& request : MessageBoxAnswers().Requests()) messages.push_back(request.Text);
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(test::LinesOf(dialog->CompilerOptionsMemo->Lines()), MakefileDefaults::CompilerOptions());
    EXPECT_EQ(test::LinesOf(dialog->LinkerOptionsMemo->Lines()), MakefileDefaults::LinkerOptions());
    EXPECT_EQ(dialog->ExtMemoryOptionsEdit->Text(), MakefileDefaults::ExtMemoryForData);
    delete dialog;
    MessageBoxAnswers().Clear();
  }
}

TEST_F(EnvironmentDlgTest, OkAfterOneChangeOnEachPageWritesEveryStore) {
  TEnvironmentDlg* d = Open();
  d->McuTypeComboBox->UserSelect(IndexOfMcu("atmega16"));                        // McuType
  d->McuFrqComboBox->UserEdit("8000000");                                        // McuOptions
  d->McuOptimizComboBox->UserSelect(4);                                          // Compiler: "s"
  d->LinkOptBootDefaultBtn->Click();                                             // Linker
  d->PrintfOptionsRadioGroup->Buttons(1)->SetChecked(true);                      // Library
  d->McuDebugFormatEdit->SetText("stabs");                                       // Debugging
  d->McuAvrDudePortEdit->SetText("/dev/ttyS0");                                  // Programming
  d->ObjDirEdit->SetText("obj");                                                 // AvrGccPath
  d->McuCAddSourceEdit->SetText("a.c b.c");                                      // SourceAdd
  d->CheckBoxAutoInsert->SetChecked(true);                                       // VornkitPath
  d->CBSmartTab->SetChecked(true);                                               // Editor
  d->ComboBoxTabstop->UserEdit("4");
  d->LBElements->UserSelect(9);                                                  // Color: Number red
  d->ColorGrid->SetForegroundIndex(9);
  PressOk(d);
  EXPECT_EQ(d->ModalResult(), mrOk);

  using namespace EditorValue;
  const std::map<std::string, std::string> strings = {
      {EditorFont, "Courier New"},  {GccIncludesPath, "."},           {GccLibrariesPath, "."},
      {GccBinPath, "."},            {SouAvrMcuType, "atmega16"},       {SouSourceName, "main"},
      {SouSourcePath, Project.Folder() + "/"}, {EditorPath, InstallFolder}, {AvrGccPath, InstallFolder + "/WinAvr"},
      {McuFrq, "8000000"},          {ExtMemoryOptionsEdit, ""},        {EditorTabstop, "4"},
      {EditorUndoLimit, "1024"}};
  for (const auto& [name, text] : strings) EXPECT_EQ(String(name.c_str()), text) << name;
  const std::map<std::string, int> numbers = {
      {Gutter, 1},         {GutterLineNumbers, 1}, {GutterLineNumbersZero, 0}, {GutterWidth, 25},
      {EditorFontSize, 10}, {ExtMemoryOptionsName, 0}, {AvrGccVornkitBool, 1}, {AutoIndentModeBool, 0},
      {CursorMoveEolBool, 0}, {SmartTabBool, 1},   {InserModeBool, 1},         {AutoInsertBool, 1},
      {AutoMakefileCreateBool, 1}};
  for (const auto& [name, number] : numbers) EXPECT_EQ(Integer("Editor", name.c_str()), number) << name;
  EXPECT_EQ(Integer("NumberAttri", AttributeValue::Foreground), static_cast<int>(clRed));

  TMakefileOptions written;
  LoadMakefileOptions(Project.Folder(), written);
  EXPECT_EQ(written.McuType, "atmega16");
  EXPECT_EQ(written.McuFrq, "8000000");
  EXPECT_EQ(written.Optimization, "s");
  std::vector<std::string> bootLoader = MakefileDefaults::BootLoaderLinkerOptions();
  bootLoader[1] = "$(EXTMEMOPTS)";  // written without its trailing blank
  EXPECT_EQ(written.LinkerOptions, bootLoader);
  EXPECT_EQ(written.PrintfLib, Trim(MakefileDefaults::PrintfFloatLib));
  EXPECT_EQ(written.DebugFormat, "stabs");
  EXPECT_EQ(written.AvrdudePort, "/dev/ttyS0");
  EXPECT_EQ(written.ObjDir, "obj");
  EXPECT_NE(Project.Read("makefile").find("SRC=$(TARGET).c a.c b.c\r\n"), std::string::npos);
  EXPECT_EQ(Project.Read("AddFile.ini"), std::string(AddFileMarker) + "\r\na.c b.c\r\n\r\n");

  // The documents: colours on the shared highlighter, the editor's options.
  EXPECT_EQ(Shared.NumberAttri()->Foreground(), clRed);
  EXPECT_TRUE(Editor.Options().Contains(eoSmartTabs));
  EXPECT_FALSE(Editor.Options().Contains(eoAutoIndent));
  EXPECT_EQ(Editor.TabWidth(), 4);
  EXPECT_TRUE(Editor.Gutter().Visible());
  EXPECT_TRUE(LineNumberCmd.Checked());
}

// OK writes the makefile make reads, whichever its spelling; one the
// program did not write is replaced only when the user agrees, and then
// kept beside the new one. The question says what the new one will not do
// as the old one did (here the part the user chose instead), and then
// keeps the old one unless told otherwise. Declined, the settings are
// stored all the same.
TEST_F(EnvironmentDlgTest, OkReplacesAMakefileOfAnotherOriginOnlyWhenTheUserAgrees) {
  TMakefileOptions atmega8;
  atmega8.McuType = "atmega8";
  const std::string own = MakefileText(atmega8);
  const std::string foreign = "MCU = atmega8\nall:\n\tavr-gcc -mmcu=$(MCU) -Os main.c util.c -o main.elf\n";
  const std::string wizard =
      "# Makefile template of the Vornkit makefile wizard, for avr-gcc and make.\r\nMCU = atmega8\r\n" + foreign;
  const struct {
    const char* Name;
    const char* File;
    const std::string& Old;
    std::vector<int> Answers;  // to the question; none: no question
    bool UserMakefile;
    bool Replaced;
  } cases[] = {
      {"own makefile", "makefile", own, {}, false, true},
      {"own Makefile", "Makefile", own, {}, false, true},
      {"the wizard's makefile, Yes", "makefile", wizard, {IDYES}, false, true},
      {"the wizard's makefile, No", "makefile", wizard, {IDNO}, false, false},
      {"foreign makefile, Yes", "makefile", foreign, {IDYES}, false, true},
      {"foreign makefile, No", "makefile", foreign, {IDNO}, false, false},
      {"foreign Makefile, Yes", "Makefile", foreign, {IDYES}, false, true},
      {"foreign Makefile, No", "Makefile", foreign, {IDNO}, false, false},
      {"foreign makefile, User makefile", "makefile", foreign, {}, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const char* file : {"makefile", "Makefile", "makefile.bak", "Makefile.bak"})
      std::filesystem::remove(Project.File(file));
    const std::string other = c.File == std::string("makefile") ? "Makefile" : "makefile";
    const std::string backup = c.File + std::string(".bak");
    Project.Write(c.File, c.Old);
    Project.Write("util.c", "");
    MessageBoxAnswers().Clear();
    TEnvironmentDlg* d = Open();
    EXPECT_TRUE(MessageBoxAnswers().Requests().empty()) << "the makefile was found";
    EXPECT_EQ(d->McuTypeComboBox->Text(), "atmega8") << "and read";
    d->McuTypeComboBox->UserSelect(IndexOfMcu("atmega16"));
    if (c.UserMakefile) d->RadioGroupMakeFile->Buttons(1)->SetChecked(true);
    for (int answer : c.Answers) MessageBoxAnswers().Push(answer);
    d->OKBtn->Click();
    EXPECT_EQ(d->ModalResult(), mrOk);
    std::vector<std::string> questions;
    for (const TMessageBoxRequest& request : MessageBoxAnswers().Requests()) {
      questions.push_back(request.Text);
      EXPECT_EQ(request.Caption, "Makefile message");
      EXPECT_EQ(request.Buttons(), static_cast<uint32_t>(MB_YESNO));
      EXPECT_TRUE(request.Flags & MB_DEFBUTTON2) << "No is the default";
    }
    EXPECT_EQ(questions, std::vector<std::string>(c.Answers.size(),
                                                  Project.File(c.File) +
                                                      (&c.Old == &wizard ? " was written by the makefile wizard."
                                                                         : " was not written by Vornkit.") +
                                                      " Replace it? The old file is kept as " + backup +
                                                      ".\n\nThe new makefile will not build the same:\n- main.c, util.c: "
                                                      "compiled -mmcu=atmega16 in place of -mmcu=atmega8\n- the link of "
                                                      "main.elf: -mmcu=atmega16 in place of -mmcu=atmega8"));
    EXPECT_EQ(String(EditorValue::SouAvrMcuType), "atmega16") << "the settings are stored";
    if (c.Replaced) {
      EXPECT_NE(Project.Read(c.File).find("\r\nMCU=atmega16\r\n"), std::string::npos);
    } else {
      EXPECT_EQ(Project.Read(c.File), c.Old);
    }
    EXPECT_FALSE(Project.Exists(other)) << "no second makefile beside the one make reads";
    EXPECT_FALSE(Project.Exists(".dep")) << "asking make leaves no folder";
    if (!c.Replaced && !c.UserMakefile) {
      EXPECT_FALSE(Project.Exists("AddFile.ini")) << "No writes only what the user changed";
    }
    std::filesystem::remove(Project.File("AddFile.ini"));
    const bool keptOld = c.Replaced && &c.Old != &own;
    EXPECT_EQ(Project.Exists(backup), keptOld);
    if (keptOld) {
      EXPECT_EQ(Project.Read(backup), c.Old);
    }
    delete d;
  }
}

TEST_F(EnvironmentDlgTest, CancelChangesNothing) {
  const std::string registry = RegistryBytes(Registry);
  const TColor numberColor = Shared.NumberAttri()->Foreground();
  const std::string font = Editor.Font().Name();
  MessageBoxAnswers().Push(IDOK);  // no makefile yet
  ModalAnswers().PushResponder([](TCustomForm* form) {
    auto* d = static_cast<TEnvironmentDlg*>(form);
    d->ComboBoxFont->UserSelect(d->ComboBoxFont->Items().IndexOf("Arial"));
    d->LBElements->UserSelect(9);
    d->ColorGrid->SetForegroundIndex(12);
    d->McuCAddSourceEdit->SetText("a.c");
    d->CancelBtn->Click();
    return mrNone;
  });
  TForm* main = nullptr;
  Application().CreateForm(main);
  Application().CreateForm(EnvironmentDlg);
  EnvironmentDlg->SetProject(Project.Folder(), "main.c");
  EnvironmentDlg->SetTargets(&Shared, {{&Editor, &LineNumberCmd}});
  EXPECT_EQ(EnvironmentDlg->ShowModal(), mrCancel);
  Application().ProcessMessages();
  EXPECT_EQ(EnvironmentDlg, nullptr);  // freed on closing
  EXPECT_EQ(RegistryBytes(Registry), registry);
  EXPECT_FALSE(Project.Exists("makefile"));
  EXPECT_FALSE(Project.Exists("AddFile.ini"));
  EXPECT_EQ(Shared.NumberAttri()->Foreground(), numberColor);
  EXPECT_EQ(Editor.Font().Name(), font);
}

TEST_F(EnvironmentDlgTest, AValueThatCannotBeTakenStopsOkBeforeAnythingIsWritten) {
  struct Case {
    const char* name;
    std::function<void(TEnvironmentDlg*)> set;
  };
  const Case cases[] = {
      {"font size letters", [](TEnvironmentDlg* d) { d->ComboBoxFontSize->SetText("big"); }},
      {"font size 0", [](TEnvironmentDlg* d) { d->ComboBoxFontSize->SetText("0"); }},
      {"tab width letters", [](TEnvironmentDlg* d) { d->ComboBoxTabstop->SetText("x"); }},
      {"undo limit empty", [](TEnvironmentDlg* d) { d->ComboBoxUndoLimit->SetText(""); }},
      {"gutter width empty", [](TEnvironmentDlg* d) { d->CBGutterWidth->SetText(""); }},
      {"line break in a makefile value",
       [](TEnvironmentDlg* d) { d->McuAvrDudePortEdit->SetText("/dev/ttyS0\nall:\n\trm -rf ~"); }},
  };
  const std::string registry = RegistryBytes(Registry);
  const int tabWidth = Editor.TabWidth();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TEnvironmentDlg* d = Open();
    c.set(d);
    d->LBElements->UserSelect(9);
    d->ColorGrid->SetForegroundIndex(12);
    d->McuCAddSourceEdit->SetText("a.c");
    EXPECT_ANY_THROW(d->OKBtn->Click());
    EXPECT_EQ(d->ModalResult(), mrNone);
    EXPECT_EQ(RegistryBytes(Registry), registry);
    EXPECT_FALSE(Project.Exists("makefile"));
    EXPECT_FALSE(Project.Exists("AddFile.ini"));
    EXPECT_NE(Shared.NumberAttri()->Foreground(), clBlue);
    EXPECT_EQ(Editor.TabWidth(), tabWidth);
    delete d;
  }
}

TEST_F(EnvironmentDlgTest, AddFileExistsExactlyWhenAListHasEntries) {
  struct Case {
    const char* c;
    const char* assembler;
    const char* file;  // nullptr: no file
  };
  const std::string marker = AddFileMarker;
  const Case cases[] = {
      {"a.c", "", "a.c\r\n\r\n"},
      {"", "twice.S", "\r\ntwice.S\r\n"},
      {"a.c b.c", "twice.S", "a.c b.c\r\ntwice.S\r\n"},
      {"", "", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.c) + "|" + c.assembler);
    TEnvironmentDlg* d = Open();
    d->McuCAddSourceEdit->SetText(c.c);
    d->McuAsmAddSourceEdit->SetText(c.assembler);
    PressOk(d);
    if (c.file)
      EXPECT_EQ(Project.Read("AddFile.ini"), marker + "\r\n" + c.file);
    else
      EXPECT_FALSE(Project.Exists("AddFile.ini"));
    delete d;
  }
}

TEST_F(EnvironmentDlgTest, WithoutAProjectOrADocumentOkWritesOnlyTheRegistry) {
  test::TTempFolder current;
  const std::string before = GetCurrentDir();
  ASSERT_EQ(chdir(current.Path().c_str()), 0);
  TScopeExit back([&] { EXPECT_EQ(chdir(before.c_str()), 0); });
  auto* d = NewForm<TEnvironmentDlg>(&Application());
  d->Show();
  d->McuCAddSourceEdit->SetText("a.c");
  d->CBSmartTab->SetChecked(true);
  d->OKBtn->Click();
  EXPECT_EQ(d->ModalResult(), mrOk);
  EXPECT_EQ(Integer("Editor", EditorValue::SmartTabBool), 1);
  EXPECT_TRUE(std::filesystem::is_empty(current.Path()));
}

TEST_F(EnvironmentDlgTest, EveryDefaultButtonResetsItsOwnGroup) {
  using namespace MakefileDefaults;
  auto join = [](const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
  };
  TEnvironmentDlg* d = Open();
  EditorFolderAtShow = "/opt/vk";
  struct Case {
    TButton* button;
    std::vector<std::pair<TControl*, std::string>> values;
    std::function<void()> more = nullptr;
  };
  const Case cases[] = {
      {d->CompilerOptionsDefaultBtn,
       {{d->CompilerOptionsMemo, join(CompilerOptions())}, {d->CppCompilerOptionsMemo, join(CppCompilerOptions())}},
       [&] { EXPECT_EQ(d->ExtMemoryOptionsEdit->Text(), "dirty"); }},
      {d->ExtlMemoryOptionsDefaultBtn, {{d->ExtMemoryOptionsEdit, ""}, {d->CompilerOptionsMemo, "dirty"}},
       [&] {
         EXPECT_EQ(d->ExtMemoryOptionsRadioGroup->ItemIndex(), 0);
         EXPECT_FALSE(d->ExtMemoryOptionsEdit->Enabled());
       }},
      {d->DorUOptionsDefaultBtn,
       {{d->McuCuOptionEdit, DorUOption}, {d->McuCppuOptionEdit, DorUOption}, {d->McuAuOptionEdit, DorUOption}}},
      {d->IOptionsDefaultBtn, {{d->McuIoptionEdit, ""}}},
      {d->OptimizationlevelDefaultBtn, {{d->McuOptimizComboBox, "3"}}},
      {d->AssemblerOptionsDefaultBtn, {{d->McuAssemblerOptionEdit, AssemblerOptions}}},
      {d->LinkerOptionsDefaultBtn, {{d->LinkerOptionsMemo, join(LinkerOptions())}}},
      {d->LinkOptBootDefaultBtn, {{d->LinkerOptionsMemo, join(BootLoaderLinkerOptions())}}},
      {d->LibraryOptionsDefaultButton,
       {{d->McuLibPrintfOptionEdit, PrintfLib}, {d->McuLibScanfOptionEdit, ScanfLib}, {d->McuLibMathOptionEdit, MathLib}},
       [&] { EXPECT_EQ(d->PrintfOptionsRadioGroup->ItemIndex(), 0); }},
      {d->PrinterOptBootDefaultBtn,
       {{d->McuLibPrintfOptionEdit, ""}, {d->McuLibScanfOptionEdit, ""}, {d->McuLibMathOptionEdit, ""}},
       [&] { EXPECT_EQ(d->ScanfOptionsRadioGroup->ItemIndex(), 0); }},
      {d->DebugFormatDefaultBtn, {{d->McuDebugFormatEdit, "dwarf-2"}}},
      {d->McuAvrHardwareOptionDefaultBtn,
       {{d->McuAvrHardwareOptionEdit, AvrdudeProgrammer},
        {d->McuAvrDudePortEdit, AvrdudePort},
        {d->McuAvrDudeWriteEepromEdit, AvrdudeWriteEeprom},
        {d->McuAvrDudeWriteFlashEdit, AvrdudeWriteFlash},
        {d->McuAvrDudeEraseCntEdit, AvrdudeEraseCounter},
        {d->McuAvrDudeNoVerifyEdit, AvrdudeNoVerify}}},
      {d->McuAvrDudeFlagsDefaultBtn, {{d->McuAvrDudeFlagsMemo, join(AvrdudeFlags())}}},
      {d->Avr_GccDefaultPathBtn,
       {{d->AvrGccIncludePathEdit, "/opt/vk/."},
        {d->AvrGccLibPathEdit, "/opt/vk/."},
        {d->AvrGccBinPathEdit, "/opt/vk/."},
        {d->ObjDirEdit, "."}}},
      {d->Avr_GccDirDefaultPathBtn, {{d->AvrGccPathEdit, InstallFolder + "/WinAvr"}},
       [&] { EXPECT_EQ(d->VornkitRadioGroup->ItemIndex(), 0); }},
      {d->EditMainDefaultPathBtn, {{d->VornkitPathEdit, InstallFolder}},
       [&] { EXPECT_FALSE(d->CheckBoxAutoInsert->Checked()); }},
      {d->Button3,
       {{d->CBGutterWidth, "25"},
        {d->ComboBoxFont, "Courier New"},
        {d->ComboBoxFontSize, "10"},
        {d->ComboBoxTabstop, "8"},
        {d->ComboBoxUndoLimit, "1024"}},
       [&] {
         EXPECT_TRUE(d->CBGutter->Checked());
         EXPECT_FALSE(d->CBLineNumbers->Checked());
         EXPECT_TRUE(d->CBAutoIndentMode->Checked());
         EXPECT_FALSE(d->CBSmartTab->Checked());
         EXPECT_TRUE(d->CBInserMode->Checked());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button->Caption() + " at " + c.button->Parent()->Caption());
    // Every control of the dialog away from its default: the button must
    // bring back its own group, whatever state it finds.
    for (TControl* control : {static_cast<TControl*>(d->CompilerOptionsMemo), static_cast<TControl*>(d->ExtMemoryOptionsEdit)})
      control->SetText("dirty");
    for (const auto& [control, value] : c.values) control->SetText("dirty");
    d->ExtMemoryOptionsRadioGroup->SetItemIndex(2);
    d->PrintfOptionsRadioGroup->SetItemIndex(1);
    d->ScanfOptionsRadioGroup->SetItemIndex(1);
    d->VornkitRadioGroup->SetItemIndex(1);
    d->CheckBoxAutoInsert->SetChecked(true);
    for (TCheckBox* box : {d->CBGutter, d->CBLineNumbers, d->CBAutoIndentMode, d->CBSmartTab, d->CBInserMode})
      box->SetChecked(!box->Checked());
    d->ExtMemoryOptionsEdit->SetText("dirty");
    c.button->Click();
    for (const auto& [control, value] : c.values) EXPECT_EQ(Shown(control), value);
    if (c.more) c.more();
  }
}

TEST_F(EnvironmentDlgTest, PartInformationShowsTheChosenPartOrNoPicture) {
  TEnvironmentDlg* d = Open();
  struct Case {
    const char* part;
    const char* folder;  // editor folder
    const char* flash;
    int width;  // of the picture; 0 for none
  };
  const Case cases[] = {
      {"atmega16", InstallFolder.c_str(), "16KBytes", 649},
      {"attiny43u", InstallFolder.c_str(), "4KBytes", 649},  // the "not found" picture
      {"atmega8", "/nonexistent", "8KBytes", 0},               // no stale picture
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    d->VornkitPathEdit->SetText(c.folder);
    d->McuTypeComboBox->UserSelect(IndexOfMcu(c.part));
    EXPECT_EQ(d->Label11->Caption(), c.flash);
    if (HavePartPictures() || c.width == 0) {
      EXPECT_EQ(d->Image1->Picture()->Width(), c.width);
    }
  }
  d->McuTypeComboBox->UserEdit("no part");
  EXPECT_EQ(d->Label11->Caption(), "8KBytes");

  // A part the table lacks: its sizes as the compiler expands its device
  // header's macros, or "Unknown" where it has none.
  if (!test::HaveAvrToolChain()) return;
  const char* const expand =
      "sh -c 'echo FLASHEND RAMSTART RAMEND E2END | avr-gcc -mmcu=atmega328 -E -P -include avr/io.h -x c -'";
  const std::vector<std::string> expanded = test::RunCommand("/", expand).Lines;
  ASSERT_FALSE(expanded.empty());
  std::istringstream words(expanded.back());
  uint64_t end[4] = {};
  for (uint64_t& value : end) {
    std::string word;
    words >> word;
    value = std::strtoull(word.substr(word.find_first_not_of('(')).c_str(), nullptr, 0);
  }
  for (auto [part, flash, sram, eeprom] :
       {std::tuple{"atmega328", std::to_string((end[0] + 1) / 1024) + "KBytes",
                   std::to_string(end[2] - end[1] + 1) + "Bytes", std::to_string(end[3] + 1) + "Bytes"},
        std::tuple{"atmega4809", std::string("Unknown"), std::string("Unknown"), std::string("Unknown")}}) {
    WriteEditorValue(EditorValue::SouAvrMcuType, part);
    TEnvironmentDlg* other = Open();
    EXPECT_EQ((std::vector<std::string>{other->Label11->Caption(), other->Label12->Caption(), other->Label18->Caption()}),
              (std::vector<std::string>{flash, sram, eeprom}));
    delete other;
  }
}

TEST_F(EnvironmentDlgTest, SourcePickersListTheProjectsSources) {
  std::filesystem::create_directory(Project.File("dir.c"));
  TEnvironmentDlg* d = Open();
  d->BtnCSourceAddClick(nullptr);
  EXPECT_TRUE(d->PanelCSourceAdd->Visible());
  EXPECT_EQ(test::LinesOf(d->ListBoxAddSourceC->Items()), (std::vector<std::string>{"a.c", "b.c", "main.c"}));
  d->ListBoxAddSourceCDblClick(nullptr);  // nothing selected: nothing happens
  EXPECT_TRUE(d->PanelCSourceAdd->Visible());
  for (int pick : {0, 1}) {
    d->BtnCSourceAdd->Click();
    d->ListBoxAddSourceC->UserSelect(pick);
    d->ListBoxAddSourceC->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  }
  EXPECT_EQ(d->McuCAddSourceEdit->Text(), "a.c b.c");
  EXPECT_FALSE(d->PanelCSourceAdd->Visible());
  d->BtnAsmSourceAdd->Click();
  EXPECT_EQ(test::LinesOf(d->ListBoxAddSourceAsm->Items()), std::vector<std::string>{"twice.S"});
  d->BitBtnAddCancelAsm->Click();
  EXPECT_FALSE(d->PanelAsmSourceAdd->Visible());
}

TEST_F(EnvironmentDlgTest, EditorPageBoxesKeepTheirValuesWithinBounds) {
  TEnvironmentDlg* d = Open();
  struct Case {
    TComboBox* box;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {d->ComboBoxTabstop, "0", "1"},       {d->ComboBoxTabstop, "300", "255"},
      {d->ComboBoxTabstop, "26", "26"},     {d->ComboBoxUndoLimit, "0", "1"},
      {d->ComboBoxUndoLimit, "32768", "32767"}, {d->ComboBoxUndoLimit, "-", "-"},
      {d->ComboBoxFont, "Cour", ""},        {d->ComboBoxFontSize, "13", ""},
  };
  for (const Case& c : cases) {
    c.box->UserEdit(c.typed);
    EXPECT_EQ(c.box->Text(), c.shown) << c.typed;
  }
  d->ComboBoxFont->UserSelect(d->ComboBoxFont->Items().IndexOf("Arial"));
  EXPECT_EQ(d->ComboBoxFont->Text(), "Arial");
  EXPECT_NE(Editor.Font().Name(), "Arial");  // only OK applies it
}

TEST_F(EnvironmentDlgTest, ThePreviewShowsEachElementInItsAttribute) {
  TEnvironmentDlg* d = Open();
  TSrcAvrHl& hl = *d->SrcAvrHl;
  const std::pair<int, TSrcHighlighterAttributes*> samples[] = {
      {0, hl.AsmAttri()},    {2, hl.AvrVarAttri()},   {3, hl.CommentAttri()},  {4, hl.DirecAttri()},
      {5, hl.HexKeyAttri()}, {6, hl.IdentifierAttri()}, {8, hl.KeyAttri()},    {11, hl.NumberAttri()},
      {13, hl.StringAttri()}, {14, hl.SymbolAttri()},
  };
  for (auto [line, attribute] : samples) {
    const std::string text = d->EditColor->Lines().Get(line);
    hl.ResetRange();
    hl.SetLine(text, line);
    hl.Next();  // the blank each sample starts with
    EXPECT_EQ(hl.GetTokenAttribute(), attribute) << text;
  }
  EXPECT_EQ(d->EditColor->Highlighter(), &hl);
  EXPECT_TRUE(d->EditColor->ReadOnly());
  EXPECT_LT(d->EditColor->Keystrokes().FindKeycode(VK_TAB, {}), 0);
}

TEST_F(EnvironmentDlgTest, TheColourGridBoldAndItalicWriteOnlyWhatWasPicked) {
  TEnvironmentDlg* d = Open();
  TSrcHighlighterAttributes& symbol = *d->SrcAvrHl->SymbolAttri();
  const TColor background = symbol.Background();
  auto click = [&](uint32_t button, int cell) {
    const TRect r = d->ColorGrid->CellRect(cell);
    d->ColorGrid->Perform(button, 0, MakeLParam(r.Left + 2, r.Top + 2));
    d->ColorGrid->Perform(button + 1, 0, MakeLParam(r.Left + 2, r.Top + 2));
  };
  click(WM_LBUTTONDOWN, 9);  // nothing selected: nothing written
  EXPECT_NE(symbol.Foreground(), clRed);

  d->LBElements->UserSelect(12);
  click(WM_LBUTTONDOWN, 9);
  EXPECT_EQ(symbol.Foreground(), clRed);
  EXPECT_EQ(symbol.Background(), background);  // shown as white, left alone
  click(WM_RBUTTONDOWN, 11);
  EXPECT_EQ(symbol.Background(), clYellow);
  EXPECT_EQ(symbol.Foreground(), clRed);
  EXPECT_EQ(d->ColorGrid->ForegroundIndex(), 9);
  EXPECT_EQ(d->ColorGrid->BackgroundIndex(), 11);

  TSrcHighlighterAttributes& number = *d->SrcAvrHl->NumberAttri();
  d->LBElements->UserSelect(9);
  d->CBBold->SetChecked(true);
  d->CBItalic->SetChecked(true);
  EXPECT_EQ(number.Style(), TFontStyles({fsBold, fsItalic}));
  d->CBItalic->SetChecked(false);
  EXPECT_EQ(number.Style(), TFontStyles({fsBold}));

  d->ColorDefaultBtn->Click();
  EXPECT_FALSE(d->CBBold->Checked());  // the selected row's controls follow
  d->LBElements->UserSelect(3);
  EXPECT_EQ(d->ColorGrid->ForegroundIndex(), 8);
  EXPECT_FALSE(d->CBBold->Checked());
  EXPECT_TRUE(d->CBItalic->Checked());
  EXPECT_EQ(symbol.Foreground(), clTeal);
  EXPECT_EQ(symbol.Background(), clYellow);  // backgrounds stay
}

}  // namespace
}  // namespace vk
