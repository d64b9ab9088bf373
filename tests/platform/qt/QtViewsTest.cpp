// Views and pictures on the screen: a form with a directory tree with
// folder icons, a file list in report style with file icons, a JPEG picture
// stretched and the colour grid. QTest clicks and keys go to the widgets;
// the model must see each one.

#include <gtest/gtest.h>

#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QMenu>
#include <iostream>
#include <string>
#include <vector>

#include "platform/ColorGrids.h"
#include "platform/ExtImages.h"
#include "platform/FileIcons.h"
#include "platform/Forms.h"
#include "platform/ListViews.h"
#include "platform/TreeViews.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtViewPeers.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

std::string Ansi(const char* utf8) { return QStringToAnsi(QString::fromUtf8(utf8)); }

// Closed and open folder pictures, 16 x 16.
void AddFolderImages(TImageList& list) {
  for (TColorRef face : {RGB(230, 180, 40), RGB(255, 220, 90)}) {
    TBitmap b;
    b.SetSize(16, 16);
    b.Fill(Rect(0, 0, 16, 16), RGB(255, 0, 255));
    b.Fill(Rect(1, 3, 15, 14), RGB(150, 110, 0));
    b.Fill(Rect(2, 5, 14, 13), face);
    list.Add(b, static_cast<TColor>(RGB(255, 0, 255)));
  }
}

class TViewsForm : public TForm {
public:
  explicit TViewsForm(TComponent* owner) : TForm(owner) {
    SetCaption("Views");
    SetBounds(0, 0, 640, 440);
    Folders->SetParent(this);
    Folders->SetBounds(8, 8, 200, 240);
    AddFolderImages(*FolderImages);
    Folders->SetImages(FolderImages);
    TTreeNode* c = Folders->Items()->Add(nullptr, "C:");
    for (const char* name : {"Windows", "avr", "Program Files"}) Folders->Items()->AddChild(c, name);
    for (const char* name : {"System32", "Fonts"}) Folders->Items()->AddChild(Folders->Items()->Item(1), name);
    Folders->AlphaSort();
    c->Expand(false);
    Folders->OnExpanding = TTVExpandingEvent(this, &TViewsForm::Opening);
    Folders->OnCollapsing = TTVCollapsingEvent(this, &TViewsForm::Closing);
    Folders->OnChange = TTVChangedEvent(this, &TViewsForm::FolderChanged);
    Folders->OnClick = TNotifyEvent(this, &TViewsForm::Log<'c'>);
    Folders->OnDblClick = TNotifyEvent(this, &TViewsForm::Log<'d'>);

    Files->SetParent(this);
    Files->SetBounds(216, 8, 416, 240);
    Files->SetViewStyle(vsReport);
    Files->SetSortType(stText);
    Files->SetSmallImages(&FileIcons().SmallImages());
    Files->SetLargeImages(&FileIcons().LargeImages());
    const struct {
      const char* Caption;
      int Width;
      TAlignment Alignment;
    } columns[] = {{"파일명", 130, taLeftJustify}, {"파일크기", 60, taCenter}, {"생성일", 120, taCenter}};
    for (const auto& c : columns) {
      TListColumn* column = Files->Columns()->Add();
      column->SetCaption(Ansi(c.Caption));
      column->SetWidth(c.Width);
      column->SetAlignment(c.Alignment);
    }
    for (const char* name : {"main.c", "led.h", "Makefile", "blink.hex", "start.s"}) {
      TListItem* item = Files->Items()->Add();
      item->SetCaption(name);
      item->SetImageIndex(FileIcons().IconIndex(name));
      item->SubItems()->Add(std::string(name).size() > 6 ? "2 KB" : "0 KB");
      item->SubItems()->Add("2024-03-01 12:00");
    }
    Files->OnClick = TNotifyEvent(this, &TViewsForm::Log<'C'>);
    Files->OnDblClick = TNotifyEvent(this, &TViewsForm::Log<'D'>);
    auto* insert = new TMenuItem(this);
    insert->SetCaption("Insert include");
    insert->OnClick = TNotifyEvent(this, &TViewsForm::Log<'I'>);
    FileMenu->Items()->Add(insert);
    Files->SetPopupMenu(FileMenu);

    Picture->SetParent(this);
    Picture->SetBounds(8, 256, 200, 150);
    Picture->SetStretch(true);

    Grid->SetParent(this);
    Grid->SetBounds(216, 256, 160, 160);
    Grid->OnChange = TNotifyEvent(this, &TViewsForm::Log<'g'>);
  }

  void Opening(TObject*, TTreeNode* node, bool&) { node->SetImageIndex(1); }
  void Closing(TObject*, TTreeNode* node, bool&) { node->SetImageIndex(0); }
  void FolderChanged(TObject*, TTreeNode* node) { Events += "change " + (node ? node->Text() : "-") + ";"; }
  template <char C>
  void Log(TObject*) {
    Events += C;
  }

  TTreeView* Folders = new TTreeView(this);
  TImageList* FolderImages = new TImageList(this, 16, 16);
  TListView* Files = new TListView(this);
  TPopupMenu* FileMenu = new TPopupMenu(this);
  TImage* Picture = new TImage(this);
  TCColorGrid* Grid = new TCColorGrid(this);
  std::string Events;
};

class QtViewsTest : public testing::Test {
protected:
  ~QtViewsTest() override {
    Application().Reset();
    QCoreApplication::processEvents();
  }
  // Runs the deferred widget updates.
  static void Settle() { QCoreApplication::processEvents(); }
};

// A JPEG of four colour quarters: red, green / blue, white.
std::string WriteJpeg(const QTemporaryDir& dir) {
  QImage image(64, 48, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(0, 0, 32, 24, Qt::red);
  painter.fillRect(32, 0, 32, 24, Qt::green);
  painter.fillRect(0, 24, 32, 24, Qt::blue);
  painter.fillRect(32, 24, 32, 24, Qt::white);
  painter.end();
  const QString path = dir.filePath("quarters.jpg");
  EXPECT_TRUE(image.save(path, "JPG", 95));
  return QStringToFileName(path);
}

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 && std::abs(qBlue(a) - qBlue(b)) < 40;
}

TEST_F(QtViewsTest, EachViewShowsTheModelAndTheUsersActionsReachIt) {
  TViewsForm* form = NewForm<TViewsForm>(&Application());
  QTemporaryDir dir;
  form->Picture->Picture()->LoadFromFile(WriteJpeg(dir));
  form->Show();
  QWidget* window = QtPeerOf(form)->Widget();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  Settle();

  // The tree: rows as the nodes, sorted; a click selects, a double click opens.
  auto* tree = static_cast<TQtTreeViewPeer*>(QtPeerOf(form->Folders));
  QTreeWidget* folders = tree->Tree();
  ASSERT_EQ(folders->topLevelItemCount(), 1);
  QTreeWidgetItem* c = folders->topLevelItem(0);
  ASSERT_EQ(c->childCount(), 3);
  EXPECT_EQ(c->child(0)->text(0), "avr");
  EXPECT_EQ(c->child(2)->text(0), "Windows");
  EXPECT_TRUE(c->isExpanded());
  TTreeNode* windows = form->Folders->Items()->Item(3);
  QWidget* rows = folders->viewport();
  QTest::mouseClick(rows, Qt::LeftButton, {}, folders->visualItemRect(tree->RowOf(windows)).center());
  EXPECT_EQ(form->Folders->Selected(), windows);
  QTest::mouseDClick(rows, Qt::LeftButton, {}, folders->visualItemRect(tree->RowOf(windows)).center());
  EXPECT_TRUE(windows->Expanded());
  EXPECT_EQ(windows->ImageIndex(), 1);
  Settle();
  EXPECT_TRUE(tree->RowOf(windows)->isExpanded());
  QTest::keyClick(folders, Qt::Key_Down);  // into the opened folder
  EXPECT_EQ(form->Folders->Selected(), windows->Item(0));
  EXPECT_EQ(form->Events, "change Windows;cdchange Fonts;");

  // The list: report columns, rows by caption, clicks and the pop-up menu.
  auto* list = static_cast<TQtListViewPeer*>(QtPeerOf(form->Files));
  QTreeView* report = list->Report();
  EXPECT_EQ(list->Shown(), report);
  EXPECT_EQ(report->model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("파일크기"));
  EXPECT_EQ(report->header()->sectionSize(0), 130);
  EXPECT_EQ(report->model()->index(0, 0).data().toString(), "blink.hex");
  EXPECT_EQ(report->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHCenter, Qt::AlignHCenter);
  EXPECT_FALSE(report->model()->index(1, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
  form->Events.clear();
  QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, report->visualRect(report->model()->index(1, 0)).center());
  ASSERT_NE(form->Files->Selected(), nullptr);
  EXPECT_EQ(form->Files->Selected()->Caption(), "led.h");
  QTest::mouseDClick(report->viewport(), Qt::LeftButton, {}, report->visualRect(report->model()->index(1, 0)).center());
  QTimer::singleShot(50, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->actions()[0]->trigger();
    menu->close();
  });
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 40), report->viewport()->mapToGlobal(QPoint(20, 40)));
  QCoreApplication::sendEvent(report->viewport(), &menuEvent);
  EXPECT_EQ(form->Events, "CDI");
  QTest::keyClick(report, Qt::Key_Down);
  EXPECT_EQ(form->Files->Selected()->Caption(), "main.c");
  // A new file takes its place by name.
  TListItem* added = form->Files->Items()->Add();
  added->SetCaption("io.h");
  added->SetImageIndex(FileIcons().IconIndex("io.h"));
  Settle();
  EXPECT_EQ(report->model()->index(1, 0).data().toString(), "io.h");

  // The grid: left picks the foreground, right and middle the background.
  QWidget* grid = HostOf(form->Grid)->ClientArea();
  auto cell = [&](int index) {
    TRect r = form->Grid->CellRect(index);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  };
  form->Events.clear();
  QTest::mouseClick(grid, Qt::LeftButton, {}, cell(9));
  QTest::mouseClick(grid, Qt::RightButton, {}, cell(11));
  QTest::mouseClick(grid, Qt::MiddleButton, {}, cell(4));
  EXPECT_EQ(form->Grid->ForegroundIndex(), 9);
  EXPECT_EQ(form->Grid->BackgroundIndex(), 4);
  EXPECT_EQ(form->Events, "ggg");

  // The picture fills the control, stretched.
  QImage shot = window->grab().toImage();
  std::cout << "screenshot: " << SaveScreenshot(shot, "controls-views.png") << "\n";
  const QPoint image = QtPeerOf(form->Picture)->Widget()->mapTo(window, QPoint(0, 0));
  EXPECT_TRUE(Near(shot.pixel(image + QPoint(5, 5)), qRgb(255, 0, 0)));
  EXPECT_TRUE(Near(shot.pixel(image + QPoint(194, 144)), qRgb(255, 255, 255)));
  EXPECT_TRUE(Near(shot.pixel(image + QPoint(5, 144)), qRgb(0, 0, 255)));

  // Another view style shows the icon view over the same rows.
  form->Files->SetViewStyle(vsIcon);
  Settle();
  EXPECT_EQ(list->Shown(), list->Icons());
  EXPECT_EQ(list->Icons()->iconSize(), QSize(32, 32));
  EXPECT_EQ(list->Icons()->selectionModel()->currentIndex().row(), form->Files->Selected()->Index());
}

}  // namespace
}  // namespace vk::test
