#include "services/ProjectHeader.h"

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEdit.h"
#include "services/SettingsStore.h"
#include "platform/Registry.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/FontMetricsScope.h"
#include "tests/platform/RegistryScope.h"

namespace vk {
namespace {

std::tm Time(int year, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day, t.tm_hour = hour, t.tm_min = minute;
  return t;
}

class ProjectHeaderTest : public ::testing::Test {
protected:
  ProjectHeaderTest() {
    Edit.HandleNeeded();
    TRegistry reg;
    reg.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
    reg.WriteString("SouAvrMcu Type", "atmega16");
    reg.WriteString("McuFrq", "8000000");
    test::WriteTextFile(Project.File("AddFile.ini"), "[marker]\r\na.c b.c\r\ntwice.S\r\n");
    Context = {Project.Path() + "/", "/home/me/prj/main.c", Time(2008, 5, 20, 9, 5)};
  }

  void SetLines(const std::vector<std::string>& lines) {
    Edit.Lines().Clear();
    for (const std::string& line : lines) Edit.Lines().Add(line);
    Edit.ClearUndo();
    Edit.SetModified(false);
  }
  std::vector<std::string> Lines() const { return test::LinesOf(Edit.Lines()); }
  std::vector<std::string> Block() { return ProjectHeaderLines(Fields); }

  test::TRegistryScope Registry;
  test::TTempFolder Project;
  test::TFontMetricsScope Metrics;
  TSrcEdit Edit{nullptr};
  TPrjNameFields Fields;
  TProjectHeaderContext Context;
};

TEST_F(ProjectHeaderTest, TheBlockListsTheFieldsBetweenItsMarkers) {
  for (int n = 0; n < PrjNameFieldCount; ++n) Fields[n] = "v" + std::to_string(n + 1);
  Fields[pfSubMenu] = "";
  const std::vector<std::string> block = Block();
  ASSERT_EQ(block.size(), 19u);
  EXPECT_EQ(block[0], "/*__VornkitPrjName__START" + std::string(55, '-'));
  EXPECT_EQ(block[18], std::string(57, '-') + "__VornkitPrjName__END*/");
  EXPECT_EQ(block[1], "1. Project Name      :v1");
  EXPECT_EQ(block[2], "2. Author\t        :v2");
  EXPECT_EQ(block[10], "10. CreatedDate       :v10");
  EXPECT_EQ(block[11], "11. ModifiedDate\t:v11");
  EXPECT_EQ(block[14], "14. Clock Frequency\t:v14");
  EXPECT_EQ(block[17], "17. SubMenu\t        :");  // an empty field ends at its colon
}

TEST_F(ProjectHeaderTest, TheStampComesFromTheLocalClockInFixedWidths) {
  EXPECT_EQ(ModificationStamp(Time(2008, 5, 20, 9, 5)), "2008-05-20-09:05");
  EXPECT_EQ(ModificationStamp(Time(2024, 12, 1, 7, 3)), "2024-12-01-07:03");
  EXPECT_EQ(ModificationStamp(Time(1999, 1, 31, 14, 30)), "1999-01-31-14:30");
}

TEST_F(ProjectHeaderTest, InsertRefreshesTheProjectFieldsAndIsOneUndoStep) {
  const std::vector<std::string> source = {"/* a comment first */", "int main(void) { return 0; }"};
  SetLines(source);
  {
    TRegistry reg;
    reg.OpenKey(SettingsKeyPath(ProjectHeaderKey), true);
    reg.WriteString("Author", "Kim");
    reg.WriteString("Filename", "old.c");
  }
  Fields[pfSubMenu] = "typed but not stored";
  EXPECT_EQ(InsertProjectHeader(Edit, Fields, Context), phChanged);

  EXPECT_EQ(Fields[pfAuthor], "Kim");
  EXPECT_EQ(Fields[pfFilename], "main.c");
  EXPECT_EQ(Fields[pfModifiedDate], "2008-05-20-09:05");
  EXPECT_EQ(Fields[pfMcuType], "atmega16");
  EXPECT_EQ(Fields[pfClockFrequency], "8000000");
  EXPECT_EQ(Fields[pfAddSourceName], "a.c b.c");
  EXPECT_EQ(Fields[pfSubMenu], "");  // reloaded from the registry
  std::vector<std::string> expected = Block();
  expected.insert(expected.end(), source.begin(), source.end());
  EXPECT_EQ(Lines(), expected);
  EXPECT_TRUE(Edit.Modified());

  Edit.Undo();
  EXPECT_EQ(Lines(), source);
  EXPECT_FALSE(Edit.Modified());
}

TEST_F(ProjectHeaderTest, ASecondInsertIsRefusedButStillRefreshesTheFields) {
  SetLines({"int x;"});
  ASSERT_EQ(InsertProjectHeader(Edit, Fields, Context), phChanged);
  const std::vector<std::string> once = Lines();
  Context.Now = Time(2009, 1, 2, 3, 4);
  Context.Caption = "NONAME3";
  EXPECT_EQ(InsertProjectHeader(Edit, Fields, Context), phAlreadyCreated);
  EXPECT_EQ(Lines(), once);
  EXPECT_EQ(Fields[pfModifiedDate], "2009-01-02-03:04");
  EXPECT_EQ(Fields[pfFilename], "NONAME3");
}

TEST_F(ProjectHeaderTest, InsertIntoEmptyTextsAndWithoutAProject) {
  Context.ProjectFolder = "";  // no project: no AddFile.ini is looked for
  SetLines({});
  ASSERT_EQ(InsertProjectHeader(Edit, Fields, Context), phChanged);
  EXPECT_EQ(Lines(), Block());
  EXPECT_EQ(Fields[pfAddSourceName], "");

  SetLines({""});
  ASSERT_EQ(InsertProjectHeader(Edit, Fields, Context), phChanged);
  std::vector<std::string> expected = Block();
  expected.push_back("");
  EXPECT_EQ(Lines(), expected);
}

TEST_F(ProjectHeaderTest, InsertInColumnModeStillAddsWholeLines) {
  SetLines({"int x;", "int y;"});
  Edit.SetSelectionMode(smColumn);
  ASSERT_EQ(InsertProjectHeader(Edit, Fields, Context), phChanged);
  EXPECT_EQ(Edit.Lines().Count(), 21);
  EXPECT_EQ(Edit.Lines().Get(19), "int x;");
  EXPECT_EQ(Edit.SelectionMode(), smColumn);
}

TEST_F(ProjectHeaderTest, DeleteRemovesOnlyACompleteBlock) {
  const std::vector<std::string> block = Block();
  const auto with = [&](std::vector<std::string> before, std::vector<std::string> after) {
    before.insert(before.end(), block.begin(), block.end());
    before.insert(before.end(), after.begin(), after.end());
    return before;
  };
  struct Case {
    const char* name;
    std::vector<std::string> text;
    TProjectHeaderResult result;
    std::vector<std::string> after;
  };
  const std::vector<std::string> endOnly = {"int a; /* __VornkitPrjName__END */", "int b;"};
  const std::vector<std::string> endWithoutStart = {"int a;", "x __VornkitPrjName__END", "int b;"};
  const std::vector<std::string> startOnly = {"/*__VornkitPrjName__START", "int b;"};
  // Fields whose text holds a marker's text stand inside the block.
  TPrjNameFields markers;
  markers[pfProjectName] = "x__VornkitPrjName__END*/";
  markers[pfSubMenu] = "/*__VornkitPrjName__START";
  std::vector<std::string> fieldsWithMarkers = ProjectHeaderLines(markers);
  fieldsWithMarkers.insert(fieldsWithMarkers.begin(), "int a;");
  std::vector<std::string> codeAfterEnd = with({}, {"int a;"});
  codeAfterEnd[18] += " int c;";
  const Case cases[] = {
      {"fields holding marker texts", fieldsWithMarkers, phChanged, {"int a;"}},
      {"an END line that is not the block's whole line", codeAfterEnd, phNotFound, codeAfterEnd},
      {"block at the top", with({}, {"int a;"}), phChanged, {"int a;"}},
      {"block in the middle", with({"int a;"}, {"int b;"}), phChanged, {"int a;", "int b;"}},
      {"block at the end of a short text", with({"int a;"}, {}), phChanged, {"int a;"}},
      {"the block alone", block, phChanged, {""}},
      {"two blocks: the first goes", with({}, block), phChanged, block},
      {"END on line 0", endOnly, phNotFound, endOnly},
      {"END without START", endWithoutStart, phNotFound, endWithoutStart},
      {"START without END", startOnly, phNotFound, startOnly},
  };
  for (const Case& c : cases) {
    SetLines(c.text);
    EXPECT_EQ(DeleteProjectHeader(Edit), c.result) << c.name;
    EXPECT_EQ(Lines(), c.after) << c.name;
    EXPECT_EQ(Edit.Modified(), c.result == phChanged) << c.name;
    Edit.Undo();
    EXPECT_EQ(Lines(), c.text) << c.name;
  }
}

TEST_F(ProjectHeaderTest, TheDialogStoresAndReloadsTheFields) {
  for (int n = 0; n < PrjNameFieldCount; ++n) Fields[n] = "field " + std::to_string(n);
  LoadPrjNameFields(Fields);  // no key yet: the edits keep their texts
  EXPECT_EQ(Fields[pfCompany], "field 2");

  ASSERT_TRUE(SavePrjNameFields(Fields));
  TPrjNameFields loaded;
  LoadPrjNameFields(loaded);
  EXPECT_EQ(loaded, Fields);
  TRegistry reg;
  reg.OpenKey(SettingsKeyPath(ProjectHeaderKey), false);
  EXPECT_EQ(reg.ReadString("SubMenu"), "field 16");
  reg.DeleteValue("Phone Number");
  LoadPrjNameFields(loaded);
  EXPECT_EQ(loaded[pfPhoneNumber], "");
  // A value of another kind ends the reading: the fields after it keep their texts.
  reg.WriteString("Author", "Lee");
  reg.WriteInteger("Email", 5);
  loaded[pfEmail] = loaded[pfFilename] = "typed";
  LoadPrjNameFields(loaded);
  EXPECT_EQ(loaded[pfAuthor], "Lee");
  EXPECT_EQ(loaded[pfEmail], "typed");
  EXPECT_EQ(loaded[pfFilename], "typed");
}

}  // namespace
}  // namespace vk
