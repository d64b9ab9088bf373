// The list view: items kept in caption order, the selection by code and by
// the user, and what each change tells the screen.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/FileIcons.h"
#include "platform/ListViews.h"

namespace vk::test {
namespace {

std::string Captions(const TListView& view) {
  std::string out;
  for (int i = 0; i < view.Items()->Count(); ++i) {
    EXPECT_EQ(view.Items()->Item(i)->Index(), i);
    out += (i ? "," : "") + view.Items()->Item(i)->Caption();
  }
  return out;
}

TListItem* AddFile(TListView& view, const std::string& name, const std::string& size) {
  TListItem* item = view.Items()->Add();
  item->SetCaption(name);
  item->SetImageIndex(FileIcons().IconIndex(name));
  item->SubItems()->Add(size);
  return item;
}

TEST(ListViewsTest, SortedByTextItemsTakeTheirPlaceAsTheirCaptionIsSet) {
  TListView view(nullptr);
  for (const char* name : {"main.c", "Led.h", "b.c"}) AddFile(view, name, "0 KB");
  EXPECT_EQ(Captions(view), "main.c,Led.h,b.c");

  view.SetSortType(stText);  // sorts what is there
  EXPECT_EQ(Captions(view), "b.c,Led.h,main.c");
  TListItem* twin = AddFile(view, "LED.H", "1 KB");  // after its equal
  AddFile(view, "a.s", "2 KB");
  EXPECT_EQ(Captions(view), "a.s,b.c,Led.h,LED.H,main.c");
  twin->SetCaption("z.hex");
  EXPECT_EQ(Captions(view), "a.s,b.c,Led.h,main.c,z.hex");
  EXPECT_EQ(view.Items()->Item(4)->SubItems()->Get(0), "1 KB");

  // Files of one kind share an icon index.
  EXPECT_EQ(view.Items()->Item(1)->ImageIndex(), view.Items()->Item(3)->ImageIndex());
  EXPECT_NE(view.Items()->Item(1)->ImageIndex(), view.Items()->Item(2)->ImageIndex());
  EXPECT_THROW(view.Items()->Item(5), EListError);
}

struct TClicks {
  std::vector<std::string> Lines;
  TListView* View;
  void Click(TObject*) { Lines.push_back(std::string("click ") + (View->Selected() ? View->Selected()->Caption() : "-")); }
  void DblClick(TObject*) { Lines.push_back("dblclick"); }
};

TEST(ListViewsTest, AClickSelectsTheItemUnderThePointerOrNone) {
  TListView view(nullptr);
  TListItem* a = AddFile(view, "a.c", "");
  TListItem* b = AddFile(view, "b.c", "");
  TClicks log{{}, &view};
  view.OnClick = TNotifyEvent(&log, &TClicks::Click);
  view.OnDblClick = TNotifyEvent(&log, &TClicks::DblClick);

  view.ClickItem(a);
  view.DblClickItem();
  view.ClickItem(nullptr);
  b->SetSelected(true);
  EXPECT_TRUE(b->Selected());
  EXPECT_FALSE(a->Selected());
  view.Items()->Clear();
  EXPECT_EQ(view.Selected(), nullptr);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"click a.c", "dblclick", "click -"}));
}

class TRecordingPeer : public TControlPeer {
public:
  void PropertyChanged(TPeerProperty property) override { Changes.push_back(property); }
  std::vector<TPeerProperty> Changes;
};

TEST(ListViewsTest, EachChangeTellsTheScreenWhatToRedraw) {
  TRecordingPeer peer;  // outlives the view, which tells it the end
  TListView view(nullptr);
  view.SetPeer(&peer);
  TListItem* item = view.Items()->Add();
  TImageList images(nullptr, 16, 16);
  struct TCase {
    const char* Name;
    std::function<void()> Change;
    TPeerProperty Expected;
  };
  const TCase cases[] = {
      {"caption", [&] { item->SetCaption("main.c"); }, ppItems},
      {"sub-item", [&] { item->SubItems()->Add("1 KB"); }, ppItems},
      {"image index", [&] { item->SetImageIndex(2); }, ppImages},
      {"image list", [&] { view.SetSmallImages(&images); }, ppImages},
      {"selection", [&] { item->SetSelected(true); }, ppSelection},
      {"column", [&] { view.Columns()->Add()->SetWidth(130); }, ppColumns},
      {"column alignment", [&] { view.Columns()->Items(0)->SetAlignment(taCenter); }, ppColumns},
      {"view style", [&] { view.SetViewStyle(vsReport); }, ppStyle},
  };
  for (const TCase& test : cases) {
    peer.Changes.clear();
    test.Change();
    ASSERT_FALSE(peer.Changes.empty()) << test.Name;
    EXPECT_EQ(peer.Changes.back(), test.Expected) << test.Name;
  }
}

}  // namespace
}  // namespace vk::test
