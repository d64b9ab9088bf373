#include "SrcEdit/Source/SrcEdit.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace vk {
namespace {

TEST(SrcEditTest, ANewEditorHasThePublishedDefaults) {
  TSrcEdit edit(nullptr);
  struct Case {
    const char* Name;
    long long Actual;
    long long Expected;
  } cases[] = {
      {"ActiveLineColor", edit.ActiveLineColor(), clNone},
      {"BorderStyle", edit.BorderStyle(), bsSingle},
      {"ExtraLineSpacing", edit.ExtraLineSpacing(), 0},
      {"HideSelection", edit.HideSelection(), false},
      {"Highlighter", edit.Highlighter() != nullptr, false},
      {"InsertCaret", edit.InsertCaret(), ctVerticalLine},
      {"InsertMode", edit.InsertMode(), true},
      {"Keystrokes", edit.Keystrokes().Count(), 82},
      {"Lines", edit.Lines().Count(), 0},
      {"MaxScrollWidth", edit.MaxScrollWidth(), 1024},
      {"MaxUndo", edit.MaxUndo(), 1024},
      {"Options", edit.Options().Mask(), 0x026C0192},
      {"OverwriteCaret", edit.OverwriteCaret(), ctBlock},
      {"ReadOnly", edit.ReadOnly(), false},
      {"RightEdge", edit.RightEdge(), 80},
      {"RightEdgeColor", edit.RightEdgeColor(), clSilver},
      {"ScrollHintColor", edit.ScrollHintColor(), clInfoBk},
      {"ScrollHintFormat", edit.ScrollHintFormat(), shfTopLineOnly},
      {"ScrollBars", edit.ScrollBars(), ssBoth},
      {"SearchEngine", edit.SearchEngine() != nullptr, false},
      {"SelectionMode", edit.SelectionMode(), smNormal},
      {"ActiveSelectionMode", edit.ActiveSelectionMode(), smNormal},
      {"TabWidth", edit.TabWidth(), 8},
      {"WantReturns", edit.WantReturns(), true},
      {"WantTabs", edit.WantTabs(), false},
      {"WordWrap", edit.WordWrap(), false},
      {"Color", edit.Color(), clWindow},
      {"ParentColor", edit.ParentColor(), false},
      {"ParentFont", edit.ParentFont(), false},
      {"TabStop", edit.TabStop(), true},
      {"Cursor", edit.Cursor(), crIBeam},
      {"Width", edit.Width(), 200},
      {"Height", edit.Height(), 150},
      {"Font.Size", edit.GetFont().Size(), 10},
      {"Font.Charset", edit.GetFont().Charset(), DEFAULT_CHARSET},
      {"CaretX", edit.CaretX(), 1},
      {"CaretY", edit.CaretY(), 1},
      {"TopLine", edit.TopLine(), 1},
      {"LeftChar", edit.LeftChar(), 1},
      {"Modified", edit.Modified(), false},
      {"GutterWidth", edit.GutterWidth(), edit.Gutter().Width()},
      {"TextOrigin", edit.TextOrigin(), edit.Gutter().Width() + 2},
      {"PaintLockCount", edit.PaintLockCount(), 0},
      {"Marks", edit.Marks().Count(), 0},
      {"Plugins", edit.PluginCount(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Expected, c.Actual) << c.Name;
  EXPECT_EQ("Courier New", edit.GetFont().Name());
  EXPECT_TRUE(edit.ControlStyle().Contains(csOpaque));
  // The cell is measured through the text drawer.
  EXPECT_EQ(edit.TextDrawer().GetCharWidth(), edit.CellWidth());
  EXPECT_GT(edit.CellWidth(), 0);
  EXPECT_GT(edit.RowHeight(), 0);
  EXPECT_NE(&edit.UndoList(), &edit.RedoList());
}

TEST(SrcEditTest, TheWindowHasNoCaptionClipsItsChildrenAndShowsAClientEdge) {
  TSrcEdit edit(nullptr);
  edit.SetText("not a caption");
  edit.HandleNeeded();
  const TCreateParams& params = edit.WindowParams();
  EXPECT_EQ("", params.Caption);
  EXPECT_EQ(0u, params.WindowClass.style & (CS_HREDRAW | CS_VREDRAW));
  EXPECT_NE(0u, params.Style & WS_CLIPCHILDREN);
  // A 3D single border is the client edge instead of the flat border.
  EXPECT_EQ(0u, params.Style & WS_BORDER);
  EXPECT_NE(0u, params.ExStyle & WS_EX_CLIENTEDGE);
}

// Records every status report.
struct StatusLog {
  std::vector<TSrcStatusChanges> Reports;
  void Changed(TObject*, TSrcStatusChanges changes) { Reports.push_back(changes); }
  TStatusChangeEvent Handler() { return TStatusChangeEvent(this, &StatusLog::Changed); }
};

TEST(SrcEditTest, ThePaintLockDeliversOneMergedStatusReportWhenItEnds) {
  TSrcEdit edit(nullptr);
  edit.HandleNeeded();
  StatusLog log;
  edit.OnStatusChange = log.Handler();
  edit.IncPaintLock();
  edit.IncPaintLock();
  edit.StatusChanged({scCaretX});
  edit.StatusChanged({scTopLine, scCaretX});
  edit.DecPaintLock();
  EXPECT_TRUE(log.Reports.empty());
  edit.DecPaintLock();
  ASSERT_EQ(1u, log.Reports.size());
  EXPECT_EQ((TSrcStatusChanges{scCaretX, scTopLine}), log.Reports[0]);
  EXPECT_TRUE(edit.PendingStatusChanges().Empty());

  // Outside the lock each change is reported at once.
  edit.StatusChanged({scInsertMode});
  ASSERT_EQ(2u, log.Reports.size());
  EXPECT_EQ(TSrcStatusChanges{scInsertMode}, log.Reports[1]);
}

TEST(SrcEditTest, DecPaintLockAtZeroDoesNothing) {
  TSrcEdit edit(nullptr);
  edit.HandleNeeded();
  StatusLog log;
  edit.OnStatusChange = log.Handler();
  edit.DecPaintLock();
  edit.EndUpdate();
  EXPECT_EQ(0, edit.PaintLockCount());
  EXPECT_TRUE(log.Reports.empty());
  // The count is intact: one lock still defers.
  edit.BeginUpdate();
  edit.StatusChanged({scSelection});
  EXPECT_TRUE(log.Reports.empty());
  edit.EndUpdate();
  EXPECT_EQ(1u, log.Reports.size());
}

TEST(SrcEditTest, ChangesWaitForAHandlerAndComeWithTheNextChange) {
  TSrcEdit edit(nullptr);
  edit.StatusChanged({scCaretX});
  edit.StatusChanged({scModified});
  EXPECT_EQ((TSrcStatusChanges{scCaretX, scModified}), edit.PendingStatusChanges());
  StatusLog log;
  edit.OnStatusChange = log.Handler();
  edit.StatusChanged({scTopLine});
  ASSERT_EQ(1u, log.Reports.size());
  EXPECT_EQ((TSrcStatusChanges{scCaretX, scModified, scTopLine}), log.Reports[0]);
  EXPECT_TRUE(edit.PendingStatusChanges().Empty());
}

TEST(SrcEditTest, WithoutAWindowTheReleaseKeepsTheChangesForLater) {
  TSrcEdit edit(nullptr);
  StatusLog log;
  edit.OnStatusChange = log.Handler();
  edit.IncPaintLock();
  edit.StatusChanged({scLeftChar});
  edit.DecPaintLock();
  EXPECT_TRUE(log.Reports.empty());
  EXPECT_EQ(TSrcStatusChanges{scLeftChar}, edit.PendingStatusChanges());
  edit.StatusChanged({scTopLine});
  ASSERT_EQ(1u, log.Reports.size());
  EXPECT_EQ((TSrcStatusChanges{scLeftChar, scTopLine}), log.Reports[0]);
}

TEST(SrcEditTest, ThePaintLockGuardReleasesWhenAnExceptionPasses) {
  TSrcEdit edit(nullptr);
  edit.HandleNeeded();
  StatusLog log;
  edit.OnStatusChange = log.Handler();
  EXPECT_THROW(
      {
        TSrcPaintLock outer(edit);
        TSrcPaintLock inner(edit);
        edit.StatusChanged({scSelection});
        throw std::runtime_error("step failed");
      },
      std::runtime_error);
  EXPECT_EQ(0, edit.PaintLockCount());
  ASSERT_EQ(1u, log.Reports.size());
  EXPECT_EQ(TSrcStatusChanges{scSelection}, log.Reports[0]);
}

// A status handler that fails while another failure unwinds the lock: the
// first failure reaches the caller.
struct FailingStatus {
  void Changed(TObject*, TSrcStatusChanges) { throw std::logic_error("handler"); }
};

TEST(SrcEditTest, AFailingReportDuringUnwindingLeavesTheFirstFailure) {
  TSrcEdit edit(nullptr);
  edit.HandleNeeded();
  FailingStatus failing;
  edit.OnStatusChange = TStatusChangeEvent(&failing, &FailingStatus::Changed);
  EXPECT_THROW(
      {
        TSrcPaintLock lock(edit);
        edit.StatusChanged({scSelection});
        throw std::runtime_error("step failed");
      },
      std::runtime_error);
  EXPECT_EQ(0, edit.PaintLockCount());
  // Without another failure the handler's own reaches the caller.
  EXPECT_THROW(
      {
        TSrcPaintLock lock(edit);
        edit.StatusChanged({scCaretY});
      },
      std::logic_error);
  EXPECT_EQ(0, edit.PaintLockCount());
}

// Fonts named "Arial" measure as proportional: their widest character is
// twice the average.
class ProportionalArialMetrics : public TFixedFontMetrics {
public:
  TTextMetric TextMetrics(const TLogFont& font) const override {
    TTextMetric metric = TFixedFontMetrics::TextMetrics(font);
    if (font.FaceName() == "Arial") metric.tmMaxCharWidth = 2 * metric.tmAveCharWidth;
    return metric;
  }
};

class MetricsScope {
public:
  explicit MetricsScope(std::unique_ptr<TFontMetrics> metrics) : FPrevious(SetFontMetrics(std::move(metrics))) {}
  ~MetricsScope() { SetFontMetrics(std::move(FPrevious)); }
  MetricsScope(const MetricsScope&) = delete;
  MetricsScope& operator=(const MetricsScope&) = delete;

private:
  std::unique_ptr<TFontMetrics> FPrevious;
};

TEST(SrcEditTest, SetFontForcesAFixedPitchOnAProportionalFontAndKeepsAFixedOne) {
  MetricsScope metrics(std::make_unique<ProportionalArialMetrics>());
  struct Case {
    const char* Name;
    TFontPitch Pitch;
    TFontPitch Expected;
  } cases[] = {
      {"Arial", fpDefault, fpFixed},
      {"Arial", fpVariable, fpFixed},
      {"Lucida Console", fpDefault, fpDefault},
      {"Lucida Console", fpVariable, fpVariable},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Name) + " pitch " + std::to_string(c.Pitch));
    TSrcEdit edit(nullptr);
    TFont font;
    font.SetName(c.Name);
    font.SetSize(12);
    font.SetStyle({fsBold, fsItalic});
    font.SetColor(clRed);
    font.SetPitch(c.Pitch);
    edit.SetFont(font);
    EXPECT_EQ(c.Name, edit.GetFont().Name());
    EXPECT_EQ(12, edit.GetFont().Size());
    EXPECT_EQ((TFontStyles{fsBold, fsItalic}), edit.GetFont().Style());
    EXPECT_EQ(clRed, edit.GetFont().Color());
    EXPECT_EQ(c.Expected, edit.GetFont().Pitch());
    // The cell follows the new font.
    EXPECT_EQ(edit.TextDrawer().GetCharWidth(), edit.CellWidth());
  }
}

TEST(SrcEditTest, ExtraLineSpacingIsAddedToTheRowHeight) {
  TSrcEdit edit(nullptr);
  int plain = edit.RowHeight();
  edit.SetExtraLineSpacing(3);
  EXPECT_EQ(3, edit.ExtraLineSpacing());
  EXPECT_EQ(plain + 3, edit.RowHeight());
}

TEST(SrcEditTest, GutterWidthIsNeverNegativeAndMovesTheTextOrigin) {
  struct Case {
    int Width;
    int Expected;
  } cases[] = {{-5, 0}, {0, 0}, {45, 45}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Width);
    TSrcEdit edit(nullptr);
    edit.HandleNeeded();
    edit.SetGutterWidth(c.Width);
    EXPECT_EQ(c.Expected, edit.GutterWidth());
    EXPECT_EQ(c.Expected + 2, edit.TextOrigin());
    EXPECT_EQ((edit.ClientWidth() - c.Expected - 2) / edit.CellWidth(), edit.ColumnsInWindow());
  }
}

TEST(SrcEditTest, LineNumbersWidenTheGutterForTheGutterFont) {
  TSrcEdit edit(nullptr);
  const int plain = edit.GutterWidth();
  // While the stored form is read the gutter waits for Loaded.
  edit.BeginLoading();
  edit.Gutter().SetShowLineNumbers(true);
  EXPECT_EQ(plain, edit.GutterWidth());
  edit.Loaded();
  int cell = edit.TextDrawer().GetCharWidth();
  EXPECT_EQ(edit.Gutter().RealGutterWidth(cell), edit.GutterWidth());
  EXPECT_EQ(edit.GutterWidth() + 2, edit.TextOrigin());
  // Measuring the gutter's font leaves the drawer on the editor's font.
  EXPECT_EQ(edit.GetFont().Name(), edit.TextDrawer().Stock().BaseFont()->Name());
  edit.Gutter().SetVisible(false);
  EXPECT_EQ(0, edit.GutterWidth());
}

TEST(SrcEditTest, WhileDesignedTheTextFollowsTheNameItEquals) {
  struct Case {
    const char* Name;
    bool Designing;
    std::string Text;
    std::string Expected;
  } cases[] = {
      {"designed, text equals the old name", true, "Editor1 ", "Editor2"},
      {"designed, other text", true, "custom", "custom"},
      {"not designed", false, "Editor1", "Editor1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSrcEdit edit(nullptr);
    edit.SetName("Editor1");
    edit.SetText(c.Text);
    edit.SetDesigning(c.Designing);
    edit.SetName("Editor2");
    EXPECT_EQ("Editor2", edit.Name());
    EXPECT_EQ(c.Expected, edit.Text());
  }
}

TEST(SrcEditTest, AReadOnlyEditorCannotUndoOrRedo) {
  TSrcEdit edit(nullptr);
  StatusLog log;
  edit.OnStatusChange = log.Handler();
  edit.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  edit.RedoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  EXPECT_TRUE(edit.CanUndo());
  EXPECT_TRUE(edit.CanRedo());
  log.Reports.clear();
  edit.SetReadOnly(true);
  EXPECT_FALSE(edit.CanUndo());
  EXPECT_FALSE(edit.CanRedo());
  ASSERT_EQ(1u, log.Reports.size());
  EXPECT_EQ(TSrcStatusChanges{scReadOnly}, log.Reports[0]);
  edit.SetReadOnly(true);  // unchanged: no report
  EXPECT_EQ(1u, log.Reports.size());
}

TEST(SrcEditTest, UndoLocksBlocksAndClearingReachBothLists) {
  TSrcEdit edit(nullptr);
  {
    TSrcUndoLock lock(edit);
    edit.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
    edit.RedoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  }
  EXPECT_FALSE(edit.UndoList().CanUndo());
  EXPECT_FALSE(edit.RedoList().CanUndo());
  EXPECT_THROW(
      {
        TSrcEditUndoBlock block(edit);
        EXPECT_EQ(1, edit.UndoList().BlockCount());
        throw std::runtime_error("step failed");
      },
      std::runtime_error);
  EXPECT_EQ(0, edit.UndoList().BlockCount());
  edit.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  edit.RedoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  edit.ClearUndo();
  EXPECT_FALSE(edit.UndoList().CanUndo());
  EXPECT_FALSE(edit.RedoList().CanUndo());
}

TEST(SrcEditTest, MaxUndoSetsBothListsAndIgnoresNegativeValues) {
  TSrcEdit edit(nullptr);
  edit.SetMaxUndo(10);
  EXPECT_EQ(10, edit.UndoList().MaxUndoActions());
  EXPECT_EQ(10, edit.RedoList().MaxUndoActions());
  edit.SetMaxUndo(-1);
  EXPECT_EQ(10, edit.MaxUndo());
}

// Counts the change notifications of an editor.
struct ChangeCounter {
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

TEST(SrcEditTest, ARecordedChangeSetsModifiedAndIsReportedOncePerBlock) {
  TSrcEdit edit(nullptr);
  ChangeCounter changes;
  edit.OnChange = TNotifyEvent(&changes, &ChangeCounter::Changed);
  StatusLog log;
  edit.OnStatusChange = log.Handler();
  edit.RedoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  {
    TSrcEditUndoBlock block(edit);
    edit.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
    edit.UndoList().AddChange(crInsert, {2, 1}, {3, 1}, "", smNormal);
  }
  EXPECT_TRUE(edit.Modified());
  EXPECT_FALSE(edit.RedoList().CanUndo());  // a fresh change ends the redo history
  EXPECT_EQ(2, changes.Count);              // the redo item, then the closed block
  ASSERT_FALSE(log.Reports.empty());
  EXPECT_TRUE(log.Reports.front().Contains(scModified));
}

TEST(SrcEditTest, AddKeyRefusesABoundPairAndLeavesTheTableAsItWas) {
  TSrcEdit edit(nullptr);
  const int defaults = edit.Keystrokes().Count();
  try {
    edit.AddKey(ecUserFirst, VK_UP, {});  // bound to ecUp by default
    FAIL() << "no exception";
  } catch (const ESrcKeyError& e) {
    EXPECT_EQ("Shortcut already exists", e.Message());
  }
  EXPECT_EQ(defaults, edit.Keystrokes().Count());
  EXPECT_EQ(ecUp, edit.Keystrokes().Items(edit.Keystrokes().FindKeycode(VK_UP, {}))->Command());

  edit.AddKey(ecUserFirst, 'K', {ssCtrl}, 'B', {ssCtrl});
  ASSERT_EQ(defaults + 1, edit.Keystrokes().Count());
  const TSrcEditKeyStroke* added = edit.Keystrokes().Items(defaults);
  EXPECT_EQ(ecUserFirst, added->Command());
  EXPECT_EQ('K', added->Key());
  EXPECT_EQ(TShiftState{ssCtrl}, added->Shift());
  EXPECT_EQ('B', added->Key2());
  EXPECT_EQ(TShiftState{ssCtrl}, added->Shift2());
  // The same chord again is refused; another second stroke is a new pair.
  EXPECT_THROW(edit.AddKey(ecUserFirst + 1, 'K', {ssCtrl}, 'B', {ssCtrl}), ESrcKeyError);
  edit.AddKey(ecUserFirst + 1, 'K', {ssCtrl}, 'C', {ssCtrl});
  EXPECT_EQ(defaults + 2, edit.Keystrokes().Count());
}

TEST(SrcEditTest, GetBookMarkFindsTheFirstBookmarkOfThatNumber) {
  TSrcEdit edit(nullptr);
  int x = 0;
  int y = 0;
  EXPECT_FALSE(edit.GetBookMark(3, x, y));
  auto add = [&](int number, int column, int line) {
    auto mark = std::make_unique<TSrcEditMark>(&edit);
    mark->SetBookmarkNumber(number);
    mark->SetChar(column);
    mark->SetLine(line);
    edit.Marks().Add(std::move(mark));
  };
  add(-1, 9, 9);  // an ordinary mark
  add(3, 2, 5);
  add(3, 7, 8);
  EXPECT_TRUE(edit.GetBookMark(3, x, y));
  EXPECT_EQ(2, x);
  EXPECT_EQ(5, y);
  EXPECT_TRUE(edit.IsBookmark(3));
  EXPECT_FALSE(edit.IsBookmark(4));
  EXPECT_FALSE(edit.IsBookmark(-1));
}

// Records paints into a shared log and tells when it is freed.
class LoggingPlugin : public TSrcEditPlugin {
public:
  LoggingPlugin(TCustomSrcEdit* owner, std::string name, std::vector<std::string>& log)
      : TSrcEditPlugin(owner), FName(std::move(name)), FLog(log) {}
  ~LoggingPlugin() override { FLog.push_back(FName + " freed"); }
  void AfterPaint(TCanvas&, const TRect&, int first, int last) override {
    FLog.push_back(FName + " painted " + std::to_string(first) + ".." + std::to_string(last));
  }
  void LinesInserted(int, int) override {}
  void LinesDeleted(int, int) override {}

private:
  std::string FName;
  std::vector<std::string>& FLog;
};

TEST(SrcEditTest, PluginsPaintInTheOrderTheyJoinedAndGoWithTheEditor) {
  std::vector<std::string> log;
  {
    TSrcEdit edit(nullptr);
    auto* first = new LoggingPlugin(&edit, "first", log);
    new LoggingPlugin(&edit, "second", log);
    auto* third = new LoggingPlugin(&edit, "third", log);
    EXPECT_EQ(3, edit.PluginCount());
    EXPECT_EQ(first, edit.Plugins(0));
    EXPECT_THROW(edit.Plugins(3), EListError);
    delete third;  // leaves its editor
    EXPECT_EQ(2, edit.PluginCount());
    edit.PluginsAfterPaint(edit.Canvas(), Rect(0, 0, 10, 10), 1, 4);
  }
  EXPECT_EQ((std::vector<std::string>{"third freed", "first painted 1..4", "second painted 1..4", "second freed",
                                      "first freed"}),
            log);
}

TEST(SrcEditTest, ABookmarkImageListThatGoesAwayIsDropped) {
  TSrcEdit edit(nullptr);
  auto images = std::make_unique<TImageList>(nullptr, 16, 16);
  edit.BookMarkOptions().SetBookmarkImages(images.get());
  images.reset();
  EXPECT_EQ(nullptr, edit.BookMarkOptions().BookmarkImages());
}

TEST(SrcEditTest, TheScrollBarsFollowTheLinesOnceTheWindowExists) {
  TSrcEdit edit(nullptr);
  for (int i = 0; i < 40; ++i) edit.Lines().Add("line " + std::to_string(i));
  edit.HandleNeeded();
  EXPECT_EQ(40, edit.ScrollBar(SB_VERT).Max);
  edit.IncPaintLock();
  edit.Lines().Add("one more");
  EXPECT_EQ(40, edit.ScrollBar(SB_VERT).Max);  // deferred to the end of the lock
  EXPECT_TRUE(edit.StateFlags().Contains(sfScrollbarChanged));
  edit.DecPaintLock();
  EXPECT_EQ(41, edit.ScrollBar(SB_VERT).Max);
  EXPECT_FALSE(edit.StateFlags().Contains(sfScrollbarChanged));
  edit.SetScrollBars(ssNone);
  EXPECT_FALSE(edit.ScrollBar(SB_VERT).Visible);
  EXPECT_FALSE(edit.ScrollBar(SB_HORZ).Visible);
}

}  // namespace
}  // namespace vk
