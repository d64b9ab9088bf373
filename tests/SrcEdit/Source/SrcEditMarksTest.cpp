#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ImageList.h"
#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

// Records the bookmark events; can drop or replace placed marks.
struct BookmarkEvents {
  std::vector<std::string> Log;
  bool Drop = false;
  void Place(TObject*, TSrcEditMark*& mark) {
    Log.push_back("place " + std::to_string(mark->BookmarkNumber()));
    if (Drop) mark = nullptr;
  }
  void Clear(TObject*, TSrcEditMark*& mark) { Log.push_back("clear " + std::to_string(mark->Line())); }
};

class MarksTest : public EditorTest {
protected:
  MarksTest() {
    SetLines(std::vector<std::string>(40, "some text"));
    Edit.OnPlaceBookmark = TPlaceMarkEvent(&Events, &BookmarkEvents::Place);
    Edit.OnClearBookmark = TPlaceMarkEvent(&Events, &BookmarkEvents::Clear);
  }
  TSrcEditMark* AddMark(int line, int number = -1) {
    auto mark = std::make_unique<TSrcEditMark>(&Edit);
    mark->SetLine(line);
    mark->SetBookmarkNumber(number);
    TSrcEditMark* added = mark.get();
    Edit.Marks().Add(std::move(mark));
    return added;
  }

  BookmarkEvents Events;
};

// A bookmark stays on its text when its line joins the one above (by
// Backspace, by Delete at the end of the line above, by undoing the line
// break that made it), and the lines below keep theirs.
TEST_F(MarksTest, BookmarksStayWithTheirTextWhenLinesJoin) {
  struct Case {
    const char* Name;
    std::function<void()> Join;
  } cases[] = {
      {"Backspace at the start of the line",
       [this] {
         Goto(1, 5);
         Run(ecDeleteLastChar);
       }},
      {"Delete at the end of the line above",
       [this] {
         Goto(3, 4);
         Run(ecDeleteChar);
       }},
      {"undo of the line break",
       [this] {
         Edit.ClearBookMark(5);
         Edit.ClearBookMark(6);
         Goto(2, 4);
         Run(ecLineBreak);
         Edit.SetBookMark(5, 1, 5);
         Edit.SetBookMark(6, 1, 6);
         Edit.Undo();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines({"1", "2", "3", "44", "5", "6"});
    Edit.ClearUndo();
    Edit.SetBookMark(5, 1, 5);
    Edit.SetBookMark(6, 1, 6);
    c.Join();
    int x = 0;
    int y = 0;
    EXPECT_TRUE(Edit.GetBookMark(5, x, y));
    EXPECT_EQ(4, y);
    EXPECT_TRUE(Edit.GetBookMark(6, x, y));
    EXPECT_EQ(5, y);
  }
}

TEST_F(MarksTest, SettingABookmarkReplacesTheOneOfTheSameNumber) {
  Edit.SetBookMark(3, 5, 10);
  Edit.SetBookMark(3, 2, 12);
  ASSERT_EQ(1, Edit.Marks().Count());
  int x = 0;
  int y = 0;
  ASSERT_TRUE(Edit.GetBookMark(3, x, y));
  EXPECT_EQ(2, x);
  EXPECT_EQ(12, y);
  EXPECT_EQ((std::vector<std::string>{"place 3", "place 3", "clear 10"}), Events.Log);
  const TSrcEditMark& mark = *Edit.Marks().Items(0);
  EXPECT_TRUE(mark.Visible());
  EXPECT_TRUE(mark.InternalImage());  // no image list
  EXPECT_EQ(3, mark.ImageIndex());

  // Refused: numbers outside 0..9, lines outside the text, a dropped mark.
  Events.Log.clear();
  Edit.SetBookMark(10, 1, 1);
  Edit.SetBookMark(-1, 1, 1);
  Edit.SetBookMark(4, 1, 41);
  Edit.SetBookMark(4, 1, 0);
  Events.Drop = true;
  Edit.SetBookMark(3, 1, 1);
  EXPECT_EQ((std::vector<std::string>{"place 3"}), Events.Log);
  EXPECT_EQ(1, Edit.Marks().Count());
  EXPECT_TRUE(Edit.GetBookMark(3, x, y));
  EXPECT_EQ(12, y);

  // With an image list, marks placed from then on use it.
  Events.Drop = false;
  TImageList images(nullptr, 16, 16);
  Edit.BookMarkOptions().SetBookmarkImages(&images);
  Edit.SetBookMark(5, 1, 1);
  EXPECT_FALSE(Edit.Marks().Items(1)->InternalImage());
  EXPECT_TRUE(Edit.Marks().Items(0)->InternalImage());
  Edit.BookMarkOptions().SetBookmarkImages(nullptr);

  // An empty text takes a bookmark on line 1.
  SetLines({});
  Edit.SetBookMark(1, 1, 1);
  EXPECT_TRUE(Edit.IsBookmark(1));
}

TEST_F(MarksTest, GotoBookmarkCentresItsLineAndDropsTheSelection) {
  Edit.SetBookMark(2, 4, 30);
  Select({1, 1}, {3, 2});
  Edit.GotoBookMark(2);
  EXPECT_EQ((TBufferCoord{4, 30}), Edit.CaretXY());
  EXPECT_FALSE(Edit.SelAvail());
  EXPECT_EQ(16, Edit.TopLine());  // the centred view, clamped to the last page
  // After its line was deleted the bookmark leads nowhere.
  Edit.Lines().DeleteLines(20, 20);
  Edit.SetCaretXY({1, 1});
  Edit.GotoBookMark(2);
  EXPECT_EQ((TBufferCoord{1, 1}), Edit.CaretXY());
  Edit.GotoBookMark(7);  // not set
  EXPECT_EQ((TBufferCoord{1, 1}), Edit.CaretXY());
  Edit.GotoLineAndCenter(15);
  EXPECT_EQ((TBufferCoord{1, 15}), Edit.CaretXY());
}

TEST_F(MarksTest, MarksOfALineAreFoundInListOrderAndClearedExceptBookmarks) {
  std::vector<TSrcEditMark*> onLine;
  for (int i = 0; i < 20; ++i) {
    AddMark(8 + i % 2);  // interleaved with another line
    onLine.push_back(AddMark(7));
  }
  TSrcEditMarks marks;
  Edit.Marks().GetMarksForLine(7, marks);
  EXPECT_TRUE(std::equal(marks.begin(), marks.end(), onLine.begin()));
  Edit.Marks().GetMarksForLine(99, marks);
  EXPECT_EQ(nullptr, marks[0]);

  Edit.SetBookMark(1, 1, 7);
  Edit.Marks().ClearLine(7);
  Edit.Marks().GetMarksForLine(7, marks);
  EXPECT_TRUE(marks[0] && marks[0]->IsBookmark());
  EXPECT_EQ(nullptr, marks[1]);
  EXPECT_EQ(21, Edit.Marks().Count());
}

TEST_F(MarksTest, AMarkOutOfTheListHasNoEditorAndFreesItsBookmarkSlot) {
  Edit.SetBookMark(4, 1, 5);
  TSrcEditMark* mark = Edit.Marks().Items(0);
  EXPECT_EQ(&Edit, mark->GetEdit());
  std::unique_ptr<TSrcEditMark> taken = Edit.Marks().Extract(mark);
  EXPECT_EQ(nullptr, taken->GetEdit());
  EXPECT_FALSE(Edit.IsBookmark(4));
  Edit.GotoBookMark(4);  // the slot is free: nothing happens
  EXPECT_EQ((TBufferCoord{1, 1}), Edit.CaretXY());

  // Clearing everything frees every slot; bookmarks can be set again.
  Edit.SetBookMark(5, 1, 5);
  Edit.ClearAll();
  Edit.GotoBookMark(5);
  Edit.SetBookMark(5, 1, 1);
  EXPECT_EQ(1, Edit.Marks().Count());
}

TEST_F(MarksTest, AVisibleMarkRepaintsTheGutterWhereItWasAndWhereItGoes) {
  TSrcEditMark* mark = AddMark(3);
  mark->SetVisible(true);
  Edit.ValidateAll();
  mark->SetLine(6);
  const int row = Edit.RowHeight();
  ASSERT_FALSE(Edit.UpdateRegion().empty());
  EXPECT_EQ(Rect(0, 2 * row, Edit.GutterWidth(), 6 * row), Edit.UpdateRect());
  Edit.ValidateAll();
  mark->SetVisible(false);
  mark->SetLine(9);
  Edit.ValidateAll();
  mark->SetImageIndex(2);
  EXPECT_TRUE(Edit.UpdateRegion().empty());
}

}  // namespace
}  // namespace vk::test
