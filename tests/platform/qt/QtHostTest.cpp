#include <gtest/gtest.h>

#include <QtWidgets/QScrollBar>
#include <iostream>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditHotKey.h"
#include "platform/Caret.h"
#include "platform/ScrollBars.h"
#include "platform/SystemMetrics.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtPlatform.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

TEST(QtHostTest, TheWidgetShowsWhatTheControlPaintsInsideItsFrame) {
  struct TCase {
    uint32_t Style, ExStyle;
    int Frame;
    QRgb Corner;
  } cases[] = {
      {0, 0, 0, Rgb(clRed)},
      {WS_BORDER, 0, 1, Rgb(clWindowFrame)},
      {0, WS_EX_CLIENTEDGE, 2, Rgb(clBtnShadow)},
  };
  for (const TCase& c : cases) {
    TProbe probe;
    probe.Background = clRed;
    probe.ExtraStyle = c.Style;
    probe.ExtraExStyle = c.ExStyle;
    TQtControlHost host(probe);
    ASSERT_EQ(probe.FrameWidth(), c.Frame);
    QImage image = host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(image.pixel(0, 0), c.Corner);
    EXPECT_EQ(CountOther(image, QRect(c.Frame, c.Frame, 200 - 2 * c.Frame, 100 - 2 * c.Frame), Rgb(clRed)), 0);
    EXPECT_EQ(host.ClientArea()->geometry(), QRect(c.Frame, c.Frame, 200 - 2 * c.Frame, 100 - 2 * c.Frame));
  }
}

// Rows of 10 pixels in alternating colours, counted from the top of a
// document that ScrollBy moves through.
class TStripes : public TProbe {
public:
  int Offset = 0;
  void ScrollBy(int dy) {
    Offset += dy;
    ScrollWindow(0, -dy);
  }
  static QRgb RowColor(int documentY) { return (documentY / 10) % 2 ? Rgb(clNavy) : Rgb(clYellow); }

protected:
  void Paint() override {
    Painted.push_back(Canvas().ClipRect());
    TRect clip = Canvas().ClipRect();
    for (int y = clip.Top; y < clip.Bottom; ++y) {
      Canvas().Brush().SetColor(RowColor(y + Offset) == Rgb(clNavy) ? clNavy : clYellow);
      Canvas().FillRect(Rect(clip.Left, y, clip.Right, y + 1));
    }
  }
};

TEST(QtHostTest, InvalidationAndUpdateRepaintJustTheInvalidatedRectangles) {
  TProbe probe;
  TQtControlHost host(probe);
  ShowAndActivate(host);
  ScreenImage(host);
  probe.Painted.clear();
  probe.InvalidateRect(Rect(10, 10, 30, 20), false);
  EXPECT_TRUE(probe.Painted.empty());  // painted in Qt's paint cycle
  QCoreApplication::processEvents();
  ASSERT_EQ(probe.Painted.size(), 1u);
  EXPECT_EQ(probe.Painted[0], Rect(10, 10, 30, 20));
  EXPECT_TRUE(probe.UpdateRegion().empty());

  // Update paints at once.
  probe.Painted.clear();
  probe.InvalidateRect(Rect(50, 40, 60, 45), false);
  probe.Update();
  ASSERT_EQ(probe.Painted.size(), 1u);
  EXPECT_EQ(probe.Painted[0], Rect(50, 40, 60, 45));
  EXPECT_TRUE(probe.UpdateRegion().empty());

  // A region of several rectangles is painted once, in its bands.
  probe.Painted.clear();
  probe.InvalidateRect(Rect(0, 20, 200, 30), false);
  probe.InvalidateRect(Rect(190, 0, 200, 100), false);
  QCoreApplication::processEvents();
  ASSERT_EQ(probe.Painted.size(), 1u);
  EXPECT_EQ(probe.Painted[0], Rect(0, 0, 200, 100));
  EXPECT_EQ(probe.PaintedRegion,
            (std::vector<TRect>{Rect(190, 0, 200, 20), Rect(0, 20, 200, 30), Rect(190, 30, 200, 100)}));
}

TEST(QtHostTest, ScrollWindowMovesThePixelsAndRepaintsOnlyTheUncoveredBand) {
  TStripes probe;
  TQtControlHost host(probe);
  ShowAndActivate(host);
  ScreenImage(host);
  for (int dy : {7, -3, 25}) {
    probe.Painted.clear();
    probe.ScrollBy(dy);
    QImage image = ScreenImage(host);
    for (int y = 0; y < 100; ++y) ASSERT_EQ(image.pixel(100, y), TStripes::RowColor(y + probe.Offset)) << y;
    ASSERT_EQ(probe.Painted.size(), 1u);
    EXPECT_EQ(probe.Painted[0], dy > 0 ? Rect(0, 100 - dy, 200, 100) : Rect(0, 0, 200, -dy));
    EXPECT_TRUE(probe.ScrollRequests().empty());  // the host consumed the log
  }
}

TEST(QtHostTest, SizeVisibilityAndFocusGoBothWays) {
  TProbe probe;
  TQtControlHost host(probe);
  ShowAndActivate(host);
  host.resize(300, 150);
  EXPECT_EQ(probe.Width(), 300);
  EXPECT_EQ(probe.Height(), 150);
  probe.SetBounds(0, 0, 250, 120);
  EXPECT_EQ(host.size(), QSize(250, 120));
  EXPECT_EQ(host.ClientArea()->size(), QSize(250, 120));

  probe.SetFocus();
  EXPECT_TRUE(host.ClientArea()->hasFocus());
  host.ClientArea()->clearFocus();
  EXPECT_FALSE(probe.Focused());
  EXPECT_EQ(probe.Messages(WM_KILLFOCUS).size(), 1u);

  probe.Hide();
  EXPECT_FALSE(host.isVisible());
  probe.Show();
  EXPECT_TRUE(host.isVisible());
  host.hide();
  EXPECT_FALSE(probe.Visible());
}

TEST(QtHostTest, ScrollBarsFollowTheControlAndSendItScrollMessages) {
  TProbe probe;
  probe.ExtraStyle = WS_VSCROLL;
  TQtControlHost host(probe);
  ShowAndActivate(host);
  TScrollInfo info;
  info.fMask = SIF_ALL;
  info.nMin = 1;
  info.nMax = 100;
  info.nPage = 10;
  info.nPos = 5;
  SetScrollInfo(probe, SB_VERT, info, true);
  QScrollBar* bar = host.ScrollBar(SB_VERT);
  ASSERT_TRUE(bar->isVisible());
  EXPECT_FALSE(host.ScrollBar(SB_HORZ)->isVisible());
  EXPECT_EQ(bar->geometry(), QRect(200 - GetSystemMetrics(SM_CXVSCROLL), 0, GetSystemMetrics(SM_CXVSCROLL), 100));
  EXPECT_EQ(host.ClientArea()->width(), 200 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(bar->minimum(), 1);
  EXPECT_EQ(bar->maximum(), 91);
  EXPECT_EQ(bar->pageStep(), 10);
  EXPECT_EQ(bar->value(), 5);

  struct TCase {
    QAbstractSlider::SliderAction Action;
    int Code;
  } cases[] = {{QAbstractSlider::SliderSingleStepAdd, SB_LINEDOWN}, {QAbstractSlider::SliderSingleStepSub, SB_LINEUP},
               {QAbstractSlider::SliderPageStepAdd, SB_PAGEDOWN},   {QAbstractSlider::SliderPageStepSub, SB_PAGEUP},
               {QAbstractSlider::SliderToMinimum, SB_TOP},          {QAbstractSlider::SliderToMaximum, SB_BOTTOM}};
  for (const TCase& c : cases) {
    probe.Log.clear();
    bar->triggerAction(c.Action);
    auto scrolls = probe.Messages(WM_VSCROLL);
    ASSERT_EQ(scrolls.size(), 2u);
    EXPECT_EQ(LoWord(scrolls[0].WParam), c.Code);
    EXPECT_EQ(LoWord(scrolls[1].WParam), SB_ENDSCROLL);
    // The probe does not scroll, so the bar stays where the control is.
    EXPECT_EQ(bar->value(), 5);
  }

  // Dragging the thumb tracks, releasing it sets the position.
  probe.Log.clear();
  bar->setSliderDown(true);
  bar->setSliderPosition(40);
  EXPECT_EQ(probe.ScrollBar(SB_VERT).TrackPos, 40);
  bar->setSliderDown(false);
  auto scrolls = probe.Messages(WM_VSCROLL);
  ASSERT_EQ(scrolls.size(), 3u);
  EXPECT_EQ(scrolls[0].WParam, static_cast<uintptr_t>(SB_THUMBTRACK | 40 << 16));
  EXPECT_EQ(scrolls[1].WParam, static_cast<uintptr_t>(SB_THUMBPOSITION | 40 << 16));
  EXPECT_EQ(LoWord(scrolls[2].WParam), SB_ENDSCROLL);

  EnableScrollBar(probe, SB_VERT, ESB_DISABLE_BOTH);
  EXPECT_FALSE(bar->isEnabled());
  ShowScrollBar(probe, SB_VERT, false);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(host.ClientArea()->width(), 200);
}

TEST(QtHostTest, TheCaretInvertsItsPixelsAndBlinks) {
  TProbe probe;
  TQtControlHost host(probe);
  ShowAndActivate(host);
  TQtCaret& caret = TQtPlatform::Instance()->Caret();
  int blinkTime = caret.BlinkTime();
  caret.SetBlinkTime(0);
  ASSERT_TRUE(CreateCaret(probe, 2, 12));
  SetCaretPos(20, 30);
  EXPECT_EQ(CountOther(ScreenImage(host), QRect(20, 30, 2, 12), Rgb(clWhite)), 0);  // created hidden
  ShowCaret(&probe);
  QImage shown = ScreenImage(host);
  EXPECT_EQ(CountOther(shown, QRect(20, 30, 2, 12), Rgb(clBlack)), 0);
  EXPECT_EQ(shown.pixel(22, 30), Rgb(clWhite));
  // Moving it repaints the old place.
  SetCaretPos(40, 30);
  QImage moved = ScreenImage(host);
  EXPECT_EQ(CountOther(moved, QRect(20, 30, 2, 12), Rgb(clWhite)), 0);
  EXPECT_EQ(CountOther(moved, QRect(40, 30, 2, 12), Rgb(clBlack)), 0);

  caret.SetBlinkTime(20);
  QTest::qWait(30);
  bool sawOff = false, sawOn = false;
  for (int i = 0; i < 50 && !(sawOff && sawOn); ++i) {
    QTest::qWait(5);
    (ScreenImage(host).pixel(40, 30) == Rgb(clBlack) ? sawOn : sawOff) = true;
  }
  EXPECT_TRUE(sawOn && sawOff);
  DestroyCaret();
  EXPECT_EQ(CountOther(ScreenImage(host), QRect(40, 30, 2, 12), Rgb(clWhite)), 0);
  caret.SetBlinkTime(blinkTime);
}

TEST(QtHostTest, ANewWindowOfTheControlGetsItsNewFrame) {
  TSrcHotKey hotKey(nullptr);
  hotKey.SetBounds(0, 0, 120, 24);
  TQtControlHost host(hotKey);
  ShowAndActivate(host);
  hotKey.SetFocus();
  EXPECT_EQ(host.ClientArea()->geometry(), QRect(2, 2, 116, 20));
  hotKey.SetBorderStyle(bsNone);  // recreates the window
  EXPECT_EQ(host.ClientArea()->geometry(), QRect(0, 0, 120, 24));
  EXPECT_TRUE(host.ClientArea()->isVisible());
  EXPECT_TRUE(hotKey.Focused());
  EXPECT_TRUE(host.ClientArea()->hasFocus());
}

TEST(QtHostTest, AnExceptionWhilePaintingEndsOnlyThatPaint) {
  TProbe probe;
  probe.ThrowWhilePainting = true;
  TQtControlHost host(probe);
  ShowAndActivate(host);
  host.grab();
  EXPECT_FALSE(probe.Painted.empty());
  EXPECT_FALSE(host.Canvas().Painting());
  probe.ThrowWhilePainting = false;
  probe.Painted.clear();
  probe.Repaint();
  EXPECT_EQ(probe.Painted.size(), 1u);
}

TEST(QtHostTest, AControlFreedBeforeItsHostLeavesTheHostEmpty) {
  auto probe = std::make_unique<TProbe>();
  TQtControlHost host(*probe);
  ShowAndActivate(host);
  probe.reset();
  EXPECT_EQ(host.Control(), nullptr);
  host.repaint();
  QTest::keyClick(host.ClientArea(), Qt::Key_A);
}

TEST(QtHostTest, AHostFreedBeforeItsControlGivesTheControlItsHeadlessCanvasBack) {
  TProbe probe;
  {
    TQtControlHost host(probe);
    EXPECT_EQ(HostOf(&probe), &host);
    EXPECT_EQ(probe.Canvas().ClassName(), "TQtCanvas");
  }
  EXPECT_EQ(probe.Peer(), nullptr);
  EXPECT_EQ(probe.Canvas().ClassName(), "TScreenCanvas");
  probe.Invalidate();
  probe.Update();  // headless again: paints at once
  EXPECT_FALSE(probe.Painted.empty());
}

// Paints like a source editor: a gutter with line numbers, text in fixed
// cells with coloured and bold runs, a Korean comment, a selected block.
class TSourceSample : public TCustomControl {
public:
  TSourceSample() : TCustomControl(nullptr) {
    SetBounds(0, 0, 360, 120);
    Font().SetName(TestFace);
    Font().SetHeight(-15);
  }
  static constexpr int Gutter = 30;

protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style |= WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
  void Paint() override {
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    canvas.SelectFont(Font().Handle());
    TTextMetric tm;
    canvas.GetTextMetrics(tm);
    int cell = canvas.GetCharWidth('M');
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(Rect(0, 0, Gutter, ClientHeight()));
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(Rect(Gutter, 0, ClientWidth(), ClientHeight()));
    struct TRun {
      int Line, Column;
      const char* Text;
      TColor Fore, Back;
      bool Bold;
    } runs[] = {
        {0, 0, "int", clNavy, clWhite, true},
        {0, 4, "main(void) {", clBlack, clWhite, false},
        {1, 2, "PORTB = 0x20;", clBlack, clWhite, false},
        {1, 16, "// \xC7\xD1\xB1\xDB LED", clGreen, clWhite, false},
        {2, 2, "return", clNavy, clWhite, true},
        {2, 9, "0;", clHighlightText, clHighlight, false},
        {3, 0, "}", clBlack, clWhite, false},
    };
    for (const TRun& run : runs) {
      TLogFont font = Font().LogFont();
      if (run.Bold) font.lfWeight = FW_BOLD;
      HFONT handle = CreateFontIndirect(font);
      canvas.SelectFont(handle);
      canvas.SetTextColor(ColorToRGB(run.Fore));
      canvas.SetBkColor(ColorToRGB(run.Back));
      int length = static_cast<int>(std::string(run.Text).size());
      std::vector<int> dx(static_cast<size_t>(length), cell);
      int x = Gutter + 2 + run.Column * cell, y = run.Line * tm.tmHeight;
      TRect r = Rect(x, y, x + length * cell, y + tm.tmHeight);
      canvas.ExtTextOut(x, y, ETO_OPAQUE, &r, run.Text, length, dx.data());
      canvas.SelectFont(Font().Handle());
      DeleteFont(handle);
    }
    canvas.SetTextColor(0);
    canvas.SetBkColor(ColorToRGB(clBtnFace));
    for (int line = 0; line < 4; ++line) {
      std::string number = std::to_string(line + 1);
      canvas.ExtTextOut(Gutter - 4 - cell, line * tm.tmHeight, 0, nullptr, number.data(), 1, nullptr);
    }
  }
};

TEST(QtHostTest, AHostedSourceSampleLooksRight) {
  TSourceSample sample;
  TQtControlHost host(sample);
  ShowAndActivate(host);
  ASSERT_TRUE(CreateCaret(sample, 2, 15));
  SetCaretPos(TSourceSample::Gutter + 2, 0);
  ShowCaret(&sample);
  QImage image = ScreenImage(host);
  std::string path = SaveScreenshot(image, "hosted-control.png");
  int frame = sample.FrameWidth();
  EXPECT_EQ(image.pixel(frame + 1, frame + 60), Rgb(clBtnFace));
  EXPECT_EQ(image.pixel(frame + 200, frame + 100), Rgb(clWhite));
  // The selected run's background and a blue keyword glyph are there.
  int selected = 0, keyword = 0;
  for (int y = frame; y < frame + 60; ++y)
    for (int x = frame; x < frame + 300; ++x) {
      if (image.pixel(x, y) == Rgb(clHighlight)) ++selected;
      if (image.pixel(x, y) == Rgb(clNavy)) ++keyword;
    }
  EXPECT_GT(selected, 50);
  EXPECT_GT(keyword, 10);
  DestroyCaret();
  std::cout << "screenshot: " << path << "\n";
}

}  // namespace
}  // namespace vk::test
