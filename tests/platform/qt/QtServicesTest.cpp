#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QWidget>

#include "platform/Dialogs.h"
#include "platform/FileIcons.h"
#include "platform/FilePaths.h"
#include "platform/Processes.h"
#include "platform/Streams.h"
#include "tests/platform/TempFolder.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

// Waits for the next modal file dialog and hands it to the action; a dialog
// that is still open two seconds later is cancelled, so no test can hang.
void WhenFileDialogOpens(std::function<void(QFileDialog&)> action) {
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [action, poll] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      action(*dialog);
      QTimer::singleShot(2000, dialog, [dialog] {
        if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();
      });
      *poll = nullptr;  // the timer chain ends here
    } else {
      QTimer::singleShot(20, *poll);
    }
  };
  QTimer::singleShot(20, *poll);
}

TEST(QtServicesTest, TheOpenDialogShowsTheFilterAndReturnsTheChosenFile) {
  TTempFolder folder;
  SaveBytesToFile(folder.File("main.c"), "int main;\n");
  TOpenDialog open(nullptr);
  open.SetFilter("C  files [*.c,cpp]|*.C;*.CPP|ASM  files [*.s,*.asm]|*.S; *. ASM|ALL files [*.*]|*.*");
  open.SetInitialDir(folder.Path());
  open.SetOptions({ofFileMustExist, ofNoChangeDir});
  open.SetFilterIndex(2);
  QStringList shownFilters;
  QString initialFilter;
  WhenFileDialogOpens([&](QFileDialog& dialog) {
    shownFilters = dialog.nameFilters();
    initialFilter = dialog.selectedNameFilter();
    dialog.selectNameFilter(shownFilters[0]);
    dialog.resize(640, 400);
    QTest::qWait(300);  // the folder's files are listed in the background
    SaveScreenshot(dialog.grab().toImage(), "open-dialog.png");
    // Typed as a person would (the dialog reads its folder in the background).
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(folder.File("main.c")));
    static_cast<QDialog&>(dialog).accept();  // as the Open button does
  });
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(folder.File("main.c"), open.FileName());
  EXPECT_EQ("C files [*.c,cpp] (*.C *.CPP)|ASM files [*.s,*.asm] (*.S *.ASM)|ALL files [*.*] (*.*)",
            shownFilters.join(QLatin1Char('|')).toStdString());
  EXPECT_EQ("ASM files [*.s,*.asm] (*.S *.ASM)", initialFilter.toStdString());
  EXPECT_EQ(1, open.FilterIndex());

  WhenFileDialogOpens([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(open.Execute());
  EXPECT_EQ(folder.File("main.c"), open.FileName());
}

TEST(QtServicesTest, FolderPickerIconAndFileIconsComeFromQt) {
  TTempFolder temp;
  // The program spells the folders in the code page; one whose name the
  // code page lacks is reported, not chosen.
  const std::string hangul = temp.File("\xC7\xC1\xB7\xCE\xC1\xA7\xC6\xAE");  // 프로젝트
  const std::string emoji = temp.File("\xF0\x9F\x98\x80");
  for (const std::string& folder : {temp.Path(), hangul, emoji}) ForceFolders(folder);
  for (const std::string& folder : {temp.Path(), hangul}) {
    WhenFileDialogOpens([&](QFileDialog& dialog) {
      static_cast<QDialog&>(dialog).accept();  // the folder it opened in
    });
    std::string chosen;
    ASSERT_TRUE(SelectDirectory("Select a directory", folder, chosen));
    EXPECT_EQ(folder, chosen);
  }
  WhenFileDialogOpens([&](QFileDialog& dialog) {
    dialog.setDirectory(QString::fromStdString(emoji));
    static_cast<QDialog&>(dialog).accept();
  });
  std::string chosen;
  EXPECT_THROW(SelectDirectory("Select a directory", temp.Path(), chosen), EFileNameError);

  TBitmap icon;
  ASSERT_TRUE(DialogService().StandardIcon(IDI_QUESTION, icon));
  EXPECT_EQ(32, icon.Width());

  int c = FileIcons().IconIndex("main.c");
  EXPECT_EQ(c, FileIcons().IconIndex("lcd.c"));
  EXPECT_NE(c, FileIcons().IconIndex(hangul));
  EXPECT_EQ(FileIcons().SmallImages().Count(), FileIcons().LargeImages().Count());
}

class TPaintCounter : public QWidget {
public:
  int Paints = 0;

protected:
  void paintEvent(QPaintEvent*) override { ++Paints; }
};

struct TPaintProbe {
  TPaintCounter* Widget = nullptr;
  int PaintsAtLine = -1;
  void Line(const std::string&) { PaintsAtLine = Widget->Paints; }
};

TEST(QtServicesTest, WindowsRepaintWhileACommandRuns) {
  TPaintCounter widget;
  widget.resize(100, 50);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  QCoreApplication::processEvents();
  int before = widget.Paints;
  widget.update();
  TPaintProbe probe{&widget};
  TProcessRunner runner;
  runner.OnLine = TLineEvent(&probe, &TPaintProbe::Line);
  runner.SetCommand({"/bin/sh", "-c", "sleep 0.3; echo done"});
  EXPECT_EQ(0, runner.Run());
  EXPECT_GT(probe.PaintsAtLine, before);
}

}  // namespace
}  // namespace vk::test
