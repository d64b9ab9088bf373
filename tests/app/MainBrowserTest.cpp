// The side panel through the main window: the file browser over a folder,
// opening listed files, the project tree's functions and navigation, and
// the #include lines inserted before a build and by hand.

#include <sys/stat.h>

#include "services/IncludeInsertion.h"
#include "platform/Shell.h"
#include "tests/app/IdeTestSupport.h"

namespace vk::test {
namespace {

using TTexts = std::vector<std::string>;

class MainBrowserTest : public TIdeCase {
protected:
  MainBrowserTest() {
    StartIde();
    mkdir(Project.File("drivers").c_str(), 0755);
    mkdir(Project.File("drivers/lcd").c_str(), 0755);
    mkdir(Project.File(".git").c_str(), 0755);
    WriteTextFile(Project.File("main.c"),
                  "#include \"lcd.h\"\r\nvoid init_port(void);\r\nint main(void)\r\n{\r\n  init_port();\r\n}\r\n"
                  "static void delay (int ms)\r\n{\r\n}\r\nvoid init_port(void)\r\n{\r\n  PORTB = 1;\r\n}");
    WriteTextFile(Project.File("lcd.h"), "void lcd_init(void);");
    WriteTextFile(Project.File("uart.h"), "");
    WriteTextFile(Project.File("blink.hex"), ":00000001FF");
    WriteTextFile(Project.File("drivers/spi.c"), "");
  }
  ~MainBrowserTest() override { ScriptedShell()->Answers.Clear(); }

  static TTexts Nodes(const TTreeView& tree) {
    TTexts texts;
    for (int i = 0; i < tree.Items()->Count(); ++i) texts.push_back(tree.Items()->Item(i)->Text());
    return texts;
  }
  static TTexts Files() {
    TTexts names;
    for (int i = 0; i < MainForm->ListView1->Items()->Count(); ++i)
      names.push_back(MainForm->ListView1->Items()->Item(i)->Caption());
    return names;
  }
  static TListItem* File(const std::string& name) {
    for (int i = 0; i < MainForm->ListView1->Items()->Count(); ++i)
      if (MainForm->ListView1->Items()->Item(i)->Caption() == name) return MainForm->ListView1->Items()->Item(i);
    return nullptr;
  }
  static void DoubleClickFile(const std::string& name) {
    MainForm->ListView1->ClickItem(File(name));
    MainForm->ListView1->DblClickItem();
  }
  static TTreeNode* Node(const TTreeView& tree, const std::string& text) {
    for (int i = 0; i < tree.Items()->Count(); ++i)
      if (tree.Items()->Item(i)->Text() == text) return tree.Items()->Item(i);
    return nullptr;
  }
};

TEST_F(MainBrowserTest, TheBrowserShowsFoldersAndFilesOfTheDrive) {
  // At start: the root folder.
  EXPECT_EQ(MainForm->TreeView2->Items()->Item(0)->Text(), "C:");
  EXPECT_EQ(MainForm->FileListFolder, "/");

  // A folder typed into the drive box stands for a drive.
  MainForm->ComboBox1DIR->UserEdit(Project.Path());
  EXPECT_EQ(Nodes(*MainForm->TreeView2), (TTexts{Project.Path(), "drivers"}));
  EXPECT_EQ(Files(), TTexts{"main.c"});
  MainForm->ComboBox2FILE->UserEdit("*.h");
  EXPECT_EQ(Files(), (TTexts{"lcd.h", "uart.h"}));
  EXPECT_EQ(File("lcd.h")->SubItems()->Get(0), "0 KB");

  // A folder is filled when first clicked; the list always shows the files
  // of the folder clicked.
  TTreeNode* drivers = Node(*MainForm->TreeView2, "drivers");
  MainForm->ComboBox2FILE->UserEdit("*.c");
  MainForm->TreeView2->ClickNode(drivers);
  EXPECT_EQ(Nodes(*MainForm->TreeView2), (TTexts{Project.Path(), "drivers", "lcd"}));
  EXPECT_EQ(Files(), TTexts{"spi.c"});
  MainForm->TreeView2->ClickNode(MainForm->TreeView2->Items()->Item(0));
  EXPECT_EQ(Files(), TTexts{"main.c"});
  MainForm->TreeView2->ClickNode(drivers);
  EXPECT_EQ(Files(), TTexts{"spi.c"});
  EXPECT_EQ(MainForm->FileListFolder, Project.File("drivers/"));
  EXPECT_EQ(MainForm->TreeView2->Items()->Count(), 3);
  drivers->Expand(false);
  EXPECT_EQ(drivers->ImageIndex(), 1);
  drivers->Collapse(false);
  EXPECT_EQ(drivers->ImageIndex(), 0);

  // A drive this system does not have shows nothing.
  MainForm->ComboBox1DIR->UserEdit("D:");
  EXPECT_EQ(Nodes(*MainForm->TreeView2), TTexts{"D:"});
  EXPECT_TRUE(Files().empty());

  MainForm->N14->Click();
  EXPECT_EQ(MainForm->ListView1->ViewStyle(), vsIcon);
  EXPECT_TRUE(MainForm->N14->Checked());
  EXPECT_FALSE(MainForm->N19->Checked());
}

TEST_F(MainBrowserTest, ADoubleClickedSourceOpensOtherFilesGoToTheDesktop) {
  MainForm->ComboBox1DIR->UserEdit(Project.Path());
  MainForm->ComboBox2FILE->UserEdit("*.*");
  MainForm->ListView1->ClickItem(nullptr);
  MainForm->ListView1->DblClickItem();
  EXPECT_EQ(MainForm->DocumentCount(), 0);

  ScriptedShell()->Answers.Push("");
  DoubleClickFile("blink.hex");
  ASSERT_EQ(ScriptedShell()->Answers.Requests().size(), 1u);
  EXPECT_EQ(ScriptedShell()->Answers.Requests()[0].Target, Project.File("blink.hex"));

  DoubleClickFile("main.c");
  EXPECT_EQ(Captions(), (TTexts{Project.File("main.c"), Project.File("lcd.h")}));
  EXPECT_EQ(OpenFromListFlag, 0);
}

TEST_F(MainBrowserTest, TheProjectTreeListsFunctionsAndFindsThem) {
  Open(Project.File("main.c"));
  TTreeView& tree = *MainForm->TreeView1;
  TTreeNode* header = Node(tree, "lcd.h");
  tree.SetSelected(header);
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Project.File("lcd.h"));
  EXPECT_EQ(header->Count(), 0);  // a prototype names no function

  TTreeNode* main = Node(tree, "main.c");
  tree.SetSelected(main);
  tree.SetSelected(header);
  tree.SetSelected(main);
  EXPECT_EQ(Nodes(tree), (TTexts{"main.c", "main", "delay", "init_port", "lcd.h"}));
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Project.File("main.c"));
  for (auto [text, image] : {std::pair{"main.c", 1}, {"lcd.h", 2}, {"delay", 3}})
    EXPECT_EQ(tree.ShownImageIndex(Node(tree, text)), image) << text;

  // A function node finds the first mention in its file, a prototype here.
  tree.SetSelected(header);
  tree.ClickNode(Node(tree, "init_port"));
  tree.DblClickNode(Node(tree, "init_port"));
  TSrcEdit& editor = *MainForm->ActiveDocument()->Editor;
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Project.File("main.c"));
  EXPECT_EQ(editor.SelText(), "init_port");
  EXPECT_EQ(editor.CaretY(), 2);

  // Once its file's window is closed, a function node leads nowhere.
  Document(Project.File("lcd.h"))->Editor->SetModified(false);
  MainForm->ActiveDocument()->Close();
  Settle();
  tree.ClickNode(Node(tree, "delay"));
  tree.DblClickNode(Node(tree, "delay"));
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Project.File("lcd.h"));
}

TEST_F(MainBrowserTest, IncludesAreInsertedBeforeABuildAndByHand) {
  Open(Project.File("main.c"));
  TSrcEdit& editor = *Document(Project.File("main.c"))->Editor;
  const TTexts before = LinesOf(editor.Lines());
  // The project's main file, not the C source or the header in front,
  // receives the lines; the keywords count in every window.
  TMDIChild* uart = MainForm->CreateMDIChild(Project.File("uart.c"));
  uart->Editor->Lines().Add("eeprom_read_block(b, 0, 4);");
  // A header the error jump opened from outside the project is none of its
  // sources, until the person opens it.
  TTempFolder outside;
  WriteTextFile(outside.File("delay.h"), "sei();\n");
  MainForm->SrcEditErrLine->Lines().SetTextStr(outside.File("delay.h") + ":1: warning: here\n");
  MainForm->SrcEditErrLine->SetCaretXY({3, 1});
  MainForm->SrcEditErrLine->OnDblClick(MainForm->SrcEditErrLine);
  ASSERT_NE(Document(outside.File("delay.h")), nullptr);
  Document(Project.File("lcd.h"))->Show();
  MainForm->AutoInsertIncludes();
  EXPECT_EQ(MainForm->ActiveDocument()->Caption(), Project.File("main.c"));
  EXPECT_EQ(editor.Lines().Get(0), "#include <avr/eeprom.h>");
  EXPECT_EQ(editor.Lines().Get(1), "#include <avr/io.h>");
  EXPECT_EQ(LinesOf(uart->Editor->Lines()), TTexts{"eeprom_read_block(b, 0, 4);"});
  EXPECT_TRUE(editor.Modified());
  editor.Undo();
  EXPECT_EQ(LinesOf(editor.Lines()), before);
  uart->Editor->SetModified(false);
  uart->Close();
  Settle();
  Open(outside.File("delay.h"));
  MainForm->AutoInsertIncludes();
  EXPECT_EQ(editor.Lines().Get(0), "#include <avr/interrupt.h>");
  editor.Undo();
  Document(outside.File("delay.h"))->Close();
  Settle();

  // "Insert include": below the last line naming a header, for a header.
  MainForm->ComboBox1DIR->UserEdit(Project.Path());
  MainForm->ComboBox2FILE->UserEdit("*.*");
  MainForm->PopIncludeAdd1Click(nullptr);  // no file chosen
  MainForm->ListView1->ClickItem(File("uart.h"));
  MainForm->PopIncludeAdd1->Click();
  EXPECT_EQ(editor.Lines().Get(1), "#include <uart.h>");
  EXPECT_EQ(editor.Lines().Count(), static_cast<int>(before.size()) + 1);
  ExpectSaveOffered(true);
  MainForm->ListView1->ClickItem(File("blink.hex"));
  Answer(IDOK);
  MainForm->PopIncludeAdd1->Click();
  EXPECT_EQ(Boxes(), TTexts{std::string("blink.hex") + NotAnIncludeFileText});
  EXPECT_EQ(editor.Lines().Count(), static_cast<int>(before.size()) + 1);
}

}  // namespace
}  // namespace vk::test
