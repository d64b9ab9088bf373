// Printing through Qt into PDF files (read back with poppler's tools) and
// the Qt print dialogs.

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <functional>

#include "SrcEdit/Source/SrcEditPrint.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "platform/Printers.h"
#include "platform/qt/QtPrintDialogs.h"
#include "tests/platform/TempFolder.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

// The output of a poppler tool, or a skip when it is not installed.
#define RUN_POPPLER(output, tool, ...)                                                              \
  if (QStandardPaths::findExecutable(tool).isEmpty())                                               \
    GTEST_SKIP() << tool << " (Debian package poppler-utils) is not installed";                     \
  std::string output = RunTool(tool, {__VA_ARGS__})

std::string RunTool(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << tool.toStdString();
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return process.readAllStandardOutput().toStdString();
}

// Sends the printer into a file for one test.
class TPdfOutput {
public:
  explicit TPdfOutput(const std::string& path) { Printer().SetFileName(path); }
  ~TPdfOutput() { Printer().SetFileName(""); }
};

std::vector<std::string> AvrSource(int lines) {
  std::vector<std::string> source = {"/* blink.c: toggles PB5 */", "#include <avr/io.h>", ""};
  for (int i = 0; static_cast<int>(source.size()) < lines; ++i) {
    source.push_back("void step" + std::to_string(i) + "(void) {");
    source.push_back("  PORTB ^= 0x20;  // toggle the LED");
    source.push_back("}");
  }
  source.resize(lines);
  return source;
}

TEST(QtPrinterTest, APdfPageIsTheDefaultPrintersPage) {
  TTempFolder folder;
  TPdfOutput pdf(folder.File("caps.pdf"));
  // Qt keeps page sizes and margins in points: a pixel or two off.
  const std::pair<int, int> caps[] = {{PHYSICALWIDTH, 2481}, {PHYSICALHEIGHT, 3507}, {HORZRES, 2358},
                                      {VERTRES, 3407},       {PHYSICALOFFSETX, 65},  {PHYSICALOFFSETY, 50}};
  for (auto [index, value] : caps) EXPECT_NEAR(Printer().GetDeviceCaps(index), value, 4) << index;
  EXPECT_EQ(Printer().GetDeviceCaps(LOGPIXELSX), 300);
  EXPECT_EQ(Printer().GetDeviceCaps(LOGPIXELSY), 300);
}

TEST(QtPrinterTest, AnAvrSourcePrintsToThreePdfPages) {
  TTempFolder folder;
  std::string path = folder.File("blink.pdf");
  TPdfOutput pdf(path);
  TSrcAvrHl highlighter(nullptr);
  TSrcEditPrint print(nullptr);
  print.Font().SetName("Courier New");
  print.Font().SetPitch(fpFixed);
  print.Font().SetSize(10);
  print.SetHighlighter(&highlighter);
  print.SetColors(true);
  print.SetLineNumbers(true);
  print.SetTitle("blink.c");
  print.Header().Add("$TITLE$", nullptr, taLeftJustify, 1);
  print.Header().Add("Page $PAGENUM$ of $PAGECOUNT$", nullptr, taRightJustify, 1);
  print.Footer().Add("$DATE$", nullptr, taCenter, 1);
  print.Footer().SetFrameTypes({ftLine, ftShaded});

  // Two full pages and a few lines on the third.
  TStringList lines;
  lines.Add("x");
  print.SetLines(lines);
  ASSERT_EQ(print.GetPageCount(), 1);
  int perPage = (print.Margins().PixBottom - print.Margins().PixTop) / print.LineHeight();
  for (const std::string& line : AvrSource(2 * perPage + 10)) lines.Add(line);
  lines.Delete(0);
  print.SetLines(lines);
  ASSERT_EQ(print.GetPageCount(), 3);
  print.Print();

  RUN_POPPLER(info, "pdfinfo", QString::fromStdString(path));
  EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
  RUN_POPPLER(text, "pdftotext", "-layout", QString::fromStdString(path), "-");
  for (const char* expected : {"blink.c", "Page 1 of 3", "Page 3 of 3", "1: /* blink.c: toggles PB5 */",
                               "PORTB ^= 0x20;", "// toggle the LED", "2: #include <avr/io.h>"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text.substr(0, 2000);

  std::string png = std::string(VK_SCREENSHOT_DIR) + "/print-page1";
  QDir().mkpath(QStringLiteral(VK_SCREENSHOT_DIR));
  RUN_POPPLER(ignored, "pdftoppm", "-png", "-r", "75", "-f", "1", "-l", "1", "-singlefile",
              QString::fromStdString(path), QString::fromStdString(png));
  QImage page(QString::fromStdString(png + ".png"));
  ASSERT_FALSE(page.isNull());
  // A4 at 75 pixels per inch; the text starts 25 mm (74 px) from the top.
  EXPECT_EQ(page.size(), QSize(620, 878));
  EXPECT_EQ(CountOther(page.convertToFormat(QImage::Format_RGB32), QRect(0, 0, 620, 20), qRgb(255, 255, 255)), 0);
}

TEST(QtPrinterTest, PlainTextLinesPrintToAPdfFile) {
  TTempFolder folder;
  std::string path = folder.File("notes.pdf");
  TPdfOutput pdf(path);
  TStringList lines;
  lines.SetText("first line\nsecond\tline");
  TFont font;
  font.SetSize(12);
  PrintTextLines(Printer(), "notes.txt", lines, font);
  RUN_POPPLER(text, "pdftotext", "-layout", QString::fromStdString(path), "-");
  EXPECT_NE(text.find("first line"), std::string::npos) << text;
  EXPECT_NE(text.find("second"), std::string::npos) << text;
}

TEST(QtPrinterTest, WithoutAPrinterOrFileBeginDocSaysSo) {
  if (Printer().Printers().Count() > 0) GTEST_SKIP() << "a printer is installed here";
  EXPECT_THROW(Printer().BeginDoc(), EPrinter);
  EXPECT_FALSE(Printer().Printing());
}

// Runs the dialog that the action opens, and acts on it once it shows.
template <class Result>
Result WithModal(const std::function<Result()>& action, const std::function<void(QDialog&)>& person) {
  QTimer::singleShot(0, [&person] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) person(*dialog);
  });
  return action();
}

TEST(QtPrintDialogsTest, PrinterSetupOffersThePrinters) {
  TQtPrintDialogs dialogs;
  std::optional<int> chosen = WithModal<std::optional<int>>(
      [&] { return dialogs.ExecuteSetup({{"Laser", "Ink"}, 0}); },
      [](QDialog& dialog) {
        dialog.findChild<QComboBox*>("Printers")->setCurrentIndex(1);
        SaveScreenshot(dialog.grab().toImage(), "printer-setup.png");
        dialog.accept();
      });
  EXPECT_EQ(chosen, 1);
  chosen = WithModal<std::optional<int>>([&] { return dialogs.ExecuteSetup({{"Laser"}, 0}); },
                                         [](QDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(chosen, std::nullopt);
}

TEST(QtPrintDialogsTest, PrintDialogKeepsAFileChoice) {
  TTempFolder folder;
  TQtPrintDialogs dialogs;
  TPrintDialogData shown;
  shown.FileName = folder.File("out.pdf");
  shown.Copies = 2;
  std::optional<TPrintDialogData> chosen = WithModal<std::optional<TPrintDialogData>>(
      [&] { return dialogs.ExecutePrint(shown); },
      [](QDialog& dialog) {
        SaveScreenshot(dialog.grab().toImage(), "print-dialog.png");
        dialog.accept();
      });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->FileName, shown.FileName);
  EXPECT_EQ(chosen->Copies, 2);
  EXPECT_EQ(chosen->PrintRange, prAllPages);
}

}  // namespace
}  // namespace vk::test
