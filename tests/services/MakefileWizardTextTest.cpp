#include "services/MakefileWizardText.h"

#include <gtest/gtest.h>


#include "platform/Registry.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"
#include "tests/platform/TempFolder.h"
#include "tests/platform/RegistryScope.h"

namespace vk {
namespace {

// Lines "t0" ... of the given count, then the cut line and one more line.
TStringList Template(int count) {
  TStringList lines;
  for (int i = 0; i < count; ++i) lines.Add("t" + std::to_string(i));
  lines.Add(WizardCutLine);
  lines.Add("dropped");
  return lines;
}

TEST(MakefileWizardTest, ExtraSourcesKeepTheirNamesWhateverTheirDots) {
  const struct {
    const char* list;
    std::vector<TWizardSource> sources;
  } cases[] = {
      {"a.c b.c", {{"a", "a.c"}, {"b", "b.c"}}},
      {"x.cc y.c", {{"x", "x.cc"}, {"y", "y.c"}}},
      {" lib.v2.c\tstart.S ", {{"lib.v2", "lib.v2.c"}, {"start", "start.S"}}},
      {"noext .hidden", {{"noext", "noext"}, {".hidden", ".hidden"}}},
      {"   ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(WizardSources(c.list), c.sources) << c.list;
}

TEST(MakefileWizardTest, TheTemplateGetsTheValuesTheCutAndARulePerExtraSource) {
  TMakefileWizardValues values;
  values.McuType = "at90CAN128";  // as -mmcu takes it: lower case
  values.MainSource = "main.c ";  // typed: a blank would make "main .c", ".c" "main.c.c"
  values.CSources = "a.c b.c";
  const std::vector<std::string> lines = WizardMakefileLines(Template(31), values);
  ASSERT_EQ(lines.size(), 34u);
  EXPECT_EQ(lines[9], "t9");
  EXPECT_EQ(lines[10], "\tINCDIR=.");
  EXPECT_EQ(lines[11], "\tLIBDIR=$(AVR)/WinAvr/Avr/Lib");
  EXPECT_EQ(lines[12], "\tBINDIR=$(AVR)/WinAvr/Bin");
  EXPECT_EQ(lines[13], "t13");
  EXPECT_EQ(lines[14], "     FORMAT=ihex");
  EXPECT_EQ(lines[16], "\tMCU=at90can128");
  EXPECT_EQ(lines[18], "\tTRG=main");
  EXPECT_EQ(lines[20], "\tSRC=$(TRG).c a.c b.c");
  EXPECT_EQ(lines[22], "\tASRC=");
  EXPECT_EQ(lines[27], "t27");
  EXPECT_EQ(lines[28], "\tCPFLAGS=-g -O3 -Wall -Wstrict-prototypes -Wa,-ahlms=$(<:.c=.lst)");
  EXPECT_EQ(lines[29], "\tASFLAGS=-Wa,-gstabs");
  EXPECT_EQ(lines[30], "\tLDFLAGS=-Wl,-Map=$(TRG).map,--cref");
  EXPECT_EQ(lines[31], WizardCutLine);
  EXPECT_EQ(lines[32], "a.o: a.c");
  EXPECT_EQ(lines[33], "b.o: b.c");

  values.CSources = "";
  values.AsmSources = "start.s";
  const std::vector<std::string> asmOnly = WizardMakefileLines(Template(31), values);
  EXPECT_EQ(asmOnly[20], "\tSRC=$(TRG).c ");
  EXPECT_EQ(asmOnly[22], "\tASRC= start.s");
  EXPECT_EQ(asmOnly.back(), "start.o: start.s");

  try {
    WizardMakefileLines(Template(28), values, "/ed/makefile");
    ADD_FAILURE() << "a short template was taken";
  } catch (const EMakefileWizard& e) {
    EXPECT_EQ(e.Message(), "/ed/makefile is too short for a makefile template!");
  }
}

TEST(MakefileWizardTest, ARunWithoutAUsableTemplateWritesNothing) {
  test::TTempFolder editor, project;
  TMakefileWizardRun run;
  run.Values.MainSource = "main";
  run.Values.SourceFolder = project.Path();
  SaveBytesToFile(project.File("makefile"), "the user's own");
  try {
    run.BuildLines(editor.Path());
    ADD_FAILURE() << "a missing template was taken";
  } catch (const EMakefileWizard& e) {
    EXPECT_EQ(e.Message(), editor.Path() + "/makefileCannot open file!");
  }
  EXPECT_FALSE(run.HasLines());
  run.Lines = {"typed on the text page"};
  EXPECT_THROW(run.Save(), EMakefileWizard);

  SaveBytesToFile(editor.File("makefile"), "too\nshort\n");
  EXPECT_THROW(run.BuildLines(editor.Path()), EMakefileWizard);
  EXPECT_THROW(run.Save(), EMakefileWizard);
  EXPECT_EQ(LoadBytesFromFile(project.File("makefile")), "the user's own");
  EXPECT_FALSE(run.Done());

  run.Values.SourceFolder = "";
  try {
    run.Save();
    ADD_FAILURE();
  } catch (const EMakefileWizard& e) {
    EXPECT_EQ(e.Message(), "C Source Target File needs to be chosen!");
  }
  // A new run starts unfinished, whatever the last one did.
  run.Finish();
  EXPECT_TRUE(run.Done());
  EXPECT_FALSE(TMakefileWizardRun().Done());
}

TEST(MakefileWizardTest, TheEditorFolderComesFromTheRegistry) {
  test::TRegistryScope registry;
  EXPECT_EQ(WizardEditorFolder(), "");
  TRegistry reg;
  reg.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
  reg.WriteString("Editor Path", "/opt/vornkit");
  EXPECT_EQ(WizardEditorFolder(), "/opt/vornkit");
  reg.WriteInteger("Editor Path", 1);
  try {
    WizardEditorFolder();
    ADD_FAILURE();
  } catch (const EMakefileWizard& e) {
    EXPECT_EQ(e.Message(), "'SOFTWARE\\ZE_VAD\\Editor\\Editor Path'Cannot open file!");
  }
}

}  // namespace
}  // namespace vk
