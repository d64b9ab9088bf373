#include "SrcEdit/Source/SrcEditMiscClasses.h"

#include <gtest/gtest.h>

#include <functional>

#include "SrcEdit/Source/SrcEditMiscProcs.h"
#include "platform/RasterCanvas.h"
#include "platform/RecordingCanvas.h"

namespace vk {
namespace {

// Counts the change notifications of an option object.
struct TChangeCounter : TObject {
  int Count = 0;
  TObject* LastSender = nullptr;
  void Changed(TObject* sender) {
    ++Count;
    LastSender = sender;
  }
  TNotifyEvent Event() { return TNotifyEvent(this, &TChangeCounter::Changed); }
};

TEST(SrcGutterTest, LineNumberArithmetic) {
  struct Case {
    const char* Name;
    std::function<void(TSrcGutter&)> Setup;
    int Line;
    std::string Text;
  };
  const Case cases[] = {
      {"plain", [](TSrcGutter&) {}, 7, "   7"},
      {"leading zeros", [](TSrcGutter& g) { g.SetLeadingZeros(true); }, 7, "0007"},
      {"zero start with zeros", [](TSrcGutter& g) { g.SetLeadingZeros(true); g.SetZeroStart(true); }, 1, "0000"},
      {"zero start", [](TSrcGutter& g) { g.SetZeroStart(true); }, 10, "   9"},
      {"start at 10", [](TSrcGutter& g) { g.SetLineNumberStart(10); }, 1, "  10"},
      {"longer than the field", [](TSrcGutter& g) { g.SetDigitCount(2); }, 12345, "12345"},
      {"two digits of zeros", [](TSrcGutter& g) { g.SetDigitCount(2); g.SetLeadingZeros(true); }, 3, "03"},
  };
  for (const Case& c : cases) {
    TSrcGutter gutter;
    c.Setup(gutter);
    EXPECT_EQ(gutter.FormatLineNumber(c.Line), c.Text) << c.Name;
  }
}

TEST(SrcGutterTest, AutoSizeAndRealWidth) {
  TSrcGutter gutter;
  TChangeCounter changes;
  gutter.SetShowLineNumbers(true);
  gutter.SetAutoSize(true);
  gutter.OnChange = changes.Event();
  gutter.AutoSizeDigitCount(12345);
  EXPECT_EQ(gutter.ShownDigits(), 5);
  EXPECT_EQ(changes.Count, 1);
  gutter.AutoSizeDigitCount(99999);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(gutter.RealGutterWidth(8), 16 + 2 + 8 * 5 + 2);
  EXPECT_EQ(gutter.RealGutterWidth(0), 20);  // a zero cell width is harmless
  gutter.AutoSizeDigitCount(12);  // never below DigitCount
  EXPECT_EQ(gutter.ShownDigits(), 4);
  gutter.SetLineNumberStart(99998);  // the number shown for the last line counts
  gutter.AutoSizeDigitCount(5);
  EXPECT_EQ(gutter.ShownDigits(), 6);
  changes.Count = 0;
  gutter.SetAutoSize(false);
  gutter.AutoSizeDigitCount(12345);  // back to DigitCount, quietly
  EXPECT_EQ(gutter.ShownDigits(), 4);
  EXPECT_EQ(changes.Count, 1);
  gutter.SetShowLineNumbers(false);
  gutter.SetWidth(33);
  EXPECT_EQ(gutter.RealGutterWidth(8), 33);
  gutter.SetVisible(false);
  EXPECT_EQ(gutter.RealGutterWidth(8), 0);
}

TEST(SrcGutterTest, SettersClampAndNotifyOnlyOnChange) {
  struct Case {
    const char* Name;
    std::function<void(TSrcGutter&)> Set;
    std::function<int(const TSrcGutter&)> Get;
    int Stored;
    int Notifications;  // setting the same value twice
  };
  const Case cases[] = {
      {"DigitCount low", [](TSrcGutter& g) { g.SetDigitCount(1); }, [](const TSrcGutter& g) { return g.DigitCount(); }, 2, 1},
      {"DigitCount high", [](TSrcGutter& g) { g.SetDigitCount(20); }, [](const TSrcGutter& g) { return g.ShownDigits(); }, 12, 1},
      {"GradientSteps", [](TSrcGutter& g) { g.SetGradientSteps(0); }, [](const TSrcGutter& g) { return g.GradientSteps(); }, 2, 1},
      {"Width", [](TSrcGutter& g) { g.SetWidth(-3); }, [](const TSrcGutter& g) { return g.Width(); }, 0, 1},
      {"LeftOffset", [](TSrcGutter& g) { g.SetLeftOffset(-1); }, [](const TSrcGutter& g) { return g.LeftOffset(); }, 0, 1},
      {"RightOffset", [](TSrcGutter& g) { g.SetRightOffset(-1); }, [](const TSrcGutter& g) { return g.RightOffset(); }, 0, 1},
      {"LineNumberStart", [](TSrcGutter& g) { g.SetLineNumberStart(-5); }, [](const TSrcGutter& g) { return g.LineNumberStart(); }, 0, 1},
      {"Color", [](TSrcGutter& g) { g.SetColor(clRed); }, [](const TSrcGutter& g) { return g.Color(); }, clRed, 1},
      {"BorderColor", [](TSrcGutter& g) { g.SetBorderColor(clRed); }, [](const TSrcGutter& g) { return g.BorderColor(); }, clRed, 1},
      {"GradientStartColor", [](TSrcGutter& g) { g.SetGradientStartColor(clRed); }, [](const TSrcGutter& g) { return g.GradientStartColor(); }, clRed, 1},
      {"GradientEndColor", [](TSrcGutter& g) { g.SetGradientEndColor(clRed); }, [](const TSrcGutter& g) { return g.GradientEndColor(); }, clRed, 1},
      {"Gradient", [](TSrcGutter& g) { g.SetGradient(true); }, [](const TSrcGutter& g) { return int(g.Gradient()); }, 1, 1},
      {"LeadingZeros", [](TSrcGutter& g) { g.SetLeadingZeros(true); }, [](const TSrcGutter& g) { return int(g.LeadingZeros()); }, 1, 1},
      {"Visible", [](TSrcGutter& g) { g.SetVisible(false); }, [](const TSrcGutter& g) { return int(g.Visible()); }, 0, 1},
      {"UseFontStyle", [](TSrcGutter& g) { g.SetUseFontStyle(false); }, [](const TSrcGutter& g) { return int(g.UseFontStyle()); }, 0, 1},
      {"Font", [](TSrcGutter& g) { g.Font().SetSize(12); }, [](const TSrcGutter& g) { return g.Font().Size(); }, 12, 1},
      {"BorderStyle same value", [](TSrcGutter& g) { g.SetBorderStyle(gbsMiddle); }, [](const TSrcGutter& g) { return int(g.BorderStyle()); }, gbsMiddle, 2},
      {"Cursor is plain", [](TSrcGutter& g) { g.SetCursor(5); }, [](const TSrcGutter& g) { return int(g.Cursor()); }, 5, 0},
  };
  for (const Case& c : cases) {
    TSrcGutter gutter;
    TChangeCounter changes;
    gutter.OnChange = changes.Event();
    c.Set(gutter);
    c.Set(gutter);
    EXPECT_EQ(c.Get(gutter), c.Stored) << c.Name;
    EXPECT_EQ(changes.Count, c.Notifications) << c.Name;
    if (changes.Count) {
      EXPECT_EQ(changes.LastSender, &gutter) << c.Name;
    }
  }
}

TEST(SrcGutterTest, LineNumberStartAndZeroStart) {
  TSrcGutter gutter;
  EXPECT_EQ(gutter.Font().Name(), "Courier New");
  EXPECT_EQ(gutter.Font().Size(), 8);
  gutter.SetLineNumberStart(-5);
  EXPECT_EQ(gutter.LineNumberStart(), 0);
  EXPECT_TRUE(gutter.ZeroStart());
  gutter.SetLineNumberStart(10);
  EXPECT_FALSE(gutter.ZeroStart());
  EXPECT_EQ(gutter.ShownNumber(1), 10);
  gutter.SetZeroStart(true);  // wins over the start, which it leaves alone
  EXPECT_EQ(gutter.LineNumberStart(), 10);
  EXPECT_EQ(gutter.ShownNumber(1), 0);
}

TEST(SrcGutterTest, AssignCopiesStoredFieldsAndNotifiesOnce) {
  TSrcGutter source, target;
  source.Font().SetName("Mono");
  source.SetShowLineNumbers(true);
  source.SetAutoSize(true);
  source.AutoSizeDigitCount(123456);
  source.SetLineNumberStart(0);
  source.SetBorderStyle(gbsRight);
  source.SetGradient(true);
  source.SetGradientSteps(10);
  source.SetCursor(3);
  TChangeCounter changes;
  target.OnChange = changes.Event();
  target.Assign(source);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(target.Font().Name(), "Mono");
  EXPECT_EQ(target.ShownDigits(), 6);
  EXPECT_TRUE(target.ZeroStart());
  EXPECT_EQ(target.BorderStyle(), gbsRight);
  EXPECT_EQ(target.GradientSteps(), 10);
  EXPECT_EQ(target.Cursor(), 0);  // not copied
  // The font stays the gutter's own and still reports.
  target.Font().SetSize(20);
  EXPECT_EQ(changes.Count, 2);
  EXPECT_EQ(source.Font().Size(), 8);
  TSrcSelectedColor other;
  EXPECT_THROW(target.Assign(other), EConvertError);
}

TEST(SrcSelectedColorTest, DefaultsSettersAndAssign) {
  TSrcSelectedColor colors, copy;
  EXPECT_EQ(colors.Background(), clHighlight);
  EXPECT_EQ(colors.Foreground(), clHighlightText);
  TChangeCounter changes;
  colors.OnChange = changes.Event();
  colors.SetBG(clHighlight);
  colors.SetFG(clHighlightText);
  EXPECT_EQ(changes.Count, 0);
  colors.SetBG(clRed);
  colors.SetFG(clBlue);
  EXPECT_EQ(changes.Count, 2);
  copy.OnChange = changes.Event();
  copy.Assign(colors);
  copy.Assign(colors);  // reports even without a change
  EXPECT_EQ(changes.Count, 4);
  EXPECT_EQ(copy.Background(), clRed);
  EXPECT_EQ(copy.Foreground(), clBlue);
}

TEST(SrcBookMarkOptTest, SettersAssignAndTheImageListGoing) {
  struct TEditor : TComponent {
    using TComponent::TComponent;
    TSrcBookMarkOpt Options{this};
    void Notification(TComponent* component, TOperation operation) override {
      TComponent::Notification(component, operation);
      if (operation == opRemove && component == Options.BookmarkImages()) Options.SetBookmarkImages(nullptr);
    }
  };
  TEditor editor(nullptr);
  TSrcBookMarkOpt& options = editor.Options;
  EXPECT_TRUE(options.DrawBookmarksFirst());
  EXPECT_EQ(options.LeftMargin(), 2);
  EXPECT_EQ(options.Xoffset(), 12);
  TChangeCounter changes;
  options.OnChange = changes.Event();
  options.SetLeftMargin(2);
  options.SetEnableKeys(false);  // a plain field
  EXPECT_EQ(changes.Count, 0);
  options.SetLeftMargin(-4);  // no bounds
  options.SetXoffset(20);
  options.SetGlyphsVisible(false);
  options.SetDrawBookmarksFirst(false);
  EXPECT_EQ(changes.Count, 4);
  auto images = std::make_unique<TImageList>(nullptr, 11, 14);
  options.SetBookmarkImages(images.get());
  options.SetBookmarkImages(images.get());
  EXPECT_EQ(changes.Count, 5);

  TSrcBookMarkOpt copy(nullptr);
  copy.OnChange = changes.Event();
  copy.Assign(options);
  EXPECT_EQ(changes.Count, 6);
  EXPECT_EQ(copy.BookmarkImages(), images.get());
  EXPECT_EQ(copy.LeftMargin(), -4);
  EXPECT_FALSE(copy.EnableKeys());
  EXPECT_FALSE(copy.DrawBookmarksFirst());

  images.reset();  // the editor hears of it and drops the reference
  EXPECT_EQ(options.BookmarkImages(), nullptr);
  copy.SetBookmarkImages(nullptr);
}

TEST(SrcGlyphTest, PicturesSizesAndAssign) {
  TSrcGlyph wrap(HInstance, "SrcEditWrapped", clLime);
  EXPECT_EQ(wrap.Width(), 15);
  EXPECT_EQ(wrap.Height(), 14);
  TSrcGlyph empty(HInstance, "", clLime);
  EXPECT_EQ(empty.Width(), 0);
  EXPECT_EQ(empty.ResourcePicture(), nullptr);
  EXPECT_THROW(TSrcGlyph(HInstance, "Missing", clLime), EResNotFound);

  TChangeCounter changes;
  wrap.OnChange = changes.Event();
  TBitmap mine;
  mine.SetSize(5, 6);
  wrap.SetGlyph(mine);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(wrap.Width(), 5);  // the user's picture wins
  wrap.SetMaskColor(clNone);
  wrap.SetVisible(true);
  EXPECT_EQ(changes.Count, 1);
  wrap.SetMaskColor(clWhite);
  wrap.SetVisible(false);
  EXPECT_EQ(changes.Count, 3);

  auto copy = std::make_unique<TSrcGlyph>(HInstance, "", clNone);
  copy->OnChange = changes.Event();
  copy->Assign(wrap);
  EXPECT_EQ(changes.Count, 4);
  EXPECT_FALSE(copy->Visible());
  EXPECT_EQ(copy->MaskColor(), clWhite);
  EXPECT_EQ(copy->Width(), 5);
  ASSERT_NE(copy->ResourcePicture(), nullptr);
  EXPECT_NE(copy->ResourcePicture(), wrap.ResourcePicture());  // copied, not shared
  copy.reset();
  EXPECT_EQ(wrap.ResourcePicture()->Width(), 15);
}

TEST(SrcGlyphTest, DrawCentresOrCutsToTheLine) {
  TSrcGlyph wrap(HInstance, "SrcEditWrapped", clLime);
  struct Case {
    int LineHeight;
    std::string Expected;
  };
  const Case cases[] = {
      {10, "BrushCopy [3 4 18 14] [0 2 15 12] clLime"},  // rows 2..11 of the picture
      {20, "BrushCopy [3 7 18 21] [0 0 15 14] clLime"},
      {14, "BrushCopy [3 4 18 18] [0 0 15 14] clLime"},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    wrap.Draw(canvas, 3, 4, c.LineHeight);
    EXPECT_EQ(canvas.Log(), (std::vector<std::string>{c.Expected}));
  }
  // Lime shows the canvas brush.
  TRasterCanvas canvas(20, 20);
  canvas.Brush().SetColor(clBtnFace);
  wrap.Draw(canvas, 0, 0, 14);
  EXPECT_EQ(canvas.PixelAt(0, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(canvas.PixelAt(11, 1), ColorToRGB(clNavy));
  TSrcGlyph empty(HInstance, "", clNone);
  TRecordingCanvas nothing;
  empty.Draw(nothing, 0, 0, 14);
  EXPECT_TRUE(nothing.Log().empty());
}

TEST(SrcInternalImageTest, SharedStripLoadedOnceAndFreedWithTheLast) {
  int before = TSrcInternalImage::SharedPictureCount();
  auto first = std::make_unique<TSrcInternalImage>(HInstance, "SrcEditInternalImages", 10);
  auto second = std::make_unique<TSrcInternalImage>(HInstance, "SRCEDITINTERNALIMAGES", 10);
  EXPECT_EQ(TSrcInternalImage::SharedPictureCount(), before + 1);
  EXPECT_EQ(&first->Strip(), &second->Strip());
  EXPECT_EQ(first->GlyphWidth(), 11);
  EXPECT_EQ(first->GlyphHeight(), 14);
  first.reset();
  EXPECT_EQ(second->Strip().Width(), 110);
  second.reset();
  EXPECT_EQ(TSrcInternalImage::SharedPictureCount(), before);
  EXPECT_THROW(TSrcInternalImage(HInstance, "Missing", 10), EResNotFound);
  EXPECT_EQ(TSrcInternalImage::SharedPictureCount(), before);
}

TEST(SrcInternalImageTest, GlyphRectanglesAndCounts) {
  struct Case {
    int Count;
    int Number;
    int LineHeight;
    std::string Expected;  // "" = nothing drawn
  };
  const Case cases[] = {
      {10, 3, 14, "CopyRect [5 6 16 20] [33 0 44 14]"},
      {10, 9, 18, "CopyRect [5 8 16 22] [99 0 110 14]"},
      {10, 0, 10, "CopyRect [5 6 16 16] [0 2 11 12]"},
      {10, 10, 14, ""},
      {10, -1, 14, ""},
      {3, 1, 14, "CopyRect [5 6 42 20] [37 0 74 14]"},  // 110 / 3 rounds to 37
      {0, 0, 14, ""},                                  // no glyphs, no division by zero
  };
  for (const Case& c : cases) {
    TSrcInternalImage image(HInstance, "SrcEditInternalImages", c.Count);
    TRecordingCanvas canvas;
    image.Draw(canvas, c.Number, 5, 6, c.LineHeight);
    EXPECT_EQ(canvas.Log().empty() ? "" : canvas.Log()[0], c.Expected) << c.Count << " " << c.Number;
  }
  TSrcInternalImage image(HInstance, "SrcEditInternalImages", 10);
  TRecordingCanvas canvas;
  image.DrawTransparent(canvas, 1, 0, 0, 14, clSilver);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"BrushCopy [0 0 11 14] [11 0 22 14] clSilver"}));
  // The glyph shows in the gutter.
  TRasterCanvas raster(20, 20);
  image.Draw(raster, 1, 2, 3, 14);
  EXPECT_EQ(raster.PixelAt(3, 3), ColorToRGB(clNavy));  // the border
  EXPECT_EQ(raster.PixelAt(3, 4), ColorToRGB(clYellow));
  EXPECT_EQ(raster.PixelAt(2, 3), ColorToRGB(clSilver));  // the corner
  EXPECT_EQ(raster.PixelAt(1, 4), RGB(255, 255, 255));
}

// A chain test bench: named handlers that log, and may act on the chain.
struct TChainBench : TObject {
  TSrcNotifyEventChain Chain{this};
  std::vector<std::string> Log;
  std::function<void()> DuringA, DuringB, DuringC;
  void A(TObject* sender) {
    Log.push_back(sender == this ? "A" : "A?");
    if (DuringA) DuringA();
  }
  void B(TObject*) {
    Log.push_back("B");
    if (DuringB) DuringB();
  }
  void C(TObject*) {
    Log.push_back("C");
    if (DuringC) DuringC();
  }
  TNotifyEvent EventA() { return TNotifyEvent(this, &TChainBench::A); }
  TNotifyEvent EventB() { return TNotifyEvent(this, &TChainBench::B); }
  TNotifyEvent EventC() { return TNotifyEvent(this, &TChainBench::C); }
  void ErrorHandler(TObject*, Exception& e, bool& doContinue) {
    Log.push_back("error " + e.Message());
    doContinue = ContinueAfterError;
  }
  void FailingHandler(TObject*, Exception&, bool&) { throw Exception("again"); }
  bool ContinueAfterError = true;
};

TEST(SrcNotifyEventChainTest, ChangesWhileFiring) {
  struct Case {
    const char* Name;
    std::function<void(TChainBench&)> Setup;
    std::vector<std::string> Expected;
    int CountAfter;
  };
  const Case cases[] = {
      {"in order", [](TChainBench&) {}, {"A", "B", "C"}, 3},
      {"removes itself", [](TChainBench& b) { b.DuringA = [&b] { b.Chain.Remove(b.EventA()); }; }, {"A", "B", "C"}, 2},
      {"removes the next", [](TChainBench& b) { b.DuringA = [&b] { b.Chain.Remove(b.EventB()); }; }, {"A", "C"}, 2},
      {"removes an earlier one", [](TChainBench& b) { b.DuringB = [&b] { b.Chain.Remove(b.EventA()); }; }, {"A", "B", "C"}, 2},
      {"removes all", [](TChainBench& b) {
         b.DuringB = [&b] {
           b.Chain.Remove(b.EventA());
           b.Chain.Remove(b.EventB());
           b.Chain.Remove(b.EventC());
         };
       }, {"A", "B"}, 0},
      {"adds one", [](TChainBench& b) { b.DuringC = [&b] { if (b.Log.size() < 4) b.Chain.Add(b.EventA()); }; }, {"A", "B", "C", "A"}, 4},
      {"fires again inside", [](TChainBench& b) {
         b.DuringB = [&b] {
           b.DuringB = nullptr;
           b.Chain.Remove(b.EventA());
           b.Chain.Fire();
         };
       }, {"A", "B", "B", "C", "C"}, 2},
  };
  for (const Case& c : cases) {
    TChainBench bench;
    bench.Chain.Add(bench.EventA());
    bench.Chain.Add(bench.EventB());
    bench.Chain.Add(bench.EventC());
    c.Setup(bench);
    bench.Chain.Fire();
    EXPECT_EQ(bench.Log, c.Expected) << c.Name;
    EXPECT_EQ(bench.Chain.Count(), c.CountAfter) << c.Name;
  }
}

TEST(SrcNotifyEventChainTest, DuplicatesAreCalledAndRemovedTogether) {
  TChainBench bench;
  bench.Chain.Add(bench.EventA());
  bench.Chain.Add(bench.EventB());
  bench.Chain.Add(bench.EventA());
  bench.Chain.Fire();
  EXPECT_EQ(bench.Log, (std::vector<std::string>{"A", "B", "A"}));
  bench.Chain.Remove(bench.EventA());
  EXPECT_EQ(bench.Chain.Count(), 1);
}

TEST(SrcNotifyEventChainTest, ExceptionsInHandlers) {
  struct Case {
    const char* Name;
    int Handler;  // 0 none, 1 continue, 2 stop, 3 raising handler
    std::vector<std::string> Expected;
    std::string Escapes;  // message of the exception that leaves Fire
  };
  const Case cases[] = {
      {"continue", 1, {"A", "B", "error boom", "C"}, ""},
      {"stop", 2, {"A", "B", "error boom"}, ""},
      {"no handler", 0, {"A", "B"}, "boom"},
      {"raising handler", 3, {"A", "B"},
       "TSrcNotifyEventChain.DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler"},
  };
  for (const Case& c : cases) {
    TChainBench bench;
    bench.Chain.Add(bench.EventA());
    bench.Chain.Add(bench.EventB());
    bench.Chain.Add(bench.EventC());
    bench.DuringB = [] { throw Exception("boom"); };
    bench.ContinueAfterError = c.Handler == 1;
    if (c.Handler == 1 || c.Handler == 2) bench.Chain.ErrorHandler = {&bench, &TChainBench::ErrorHandler};
    if (c.Handler == 3) bench.Chain.ErrorHandler = {&bench, &TChainBench::FailingHandler};
    std::string escaped;
    try {
      bench.Chain.Fire();
    } catch (const Exception& e) {
      escaped = e.Message();
    }
    EXPECT_EQ(bench.Log, c.Expected) << c.Name;
    EXPECT_EQ(escaped, c.Escapes) << c.Name;
  }
}

TEST(SrcDrawGradientTest, BandsAndColours) {
  struct Case {
    int Steps;
    bool Horizontal;
    TRect Area;
    std::vector<std::string> Fills;
  };
  const Case cases[] = {
      {2, false, Rect(0, 0, 4, 10), {"FillRect [0 0 4 5] $00000000", "FillRect [0 5 4 10] $00FFFFFF"}},
      {1, true, Rect(10, 0, 14, 2), {"FillRect [10 0 12 2] $00000000", "FillRect [12 0 14 2] $00FFFFFF"}},
      {3, true, Rect(0, 0, 10, 1),
       {"FillRect [0 0 3 1] $00000000", "FillRect [3 0 7 1] $00808080", "FillRect [7 0 10 1] $00FFFFFF"}},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    SrcDrawGradient(canvas, clBlack, clWindow, c.Steps, c.Area, c.Horizontal);
    EXPECT_EQ(canvas.Calls("FillRect"), c.Fills) << c.Steps;
  }
  TRecordingCanvas many;
  SrcDrawGradient(many, clRed, clBlue, 1000, Rect(0, 0, 512, 1), true);
  EXPECT_EQ(many.CountOf("FillRect"), 256);
  EXPECT_EQ(many.Calls("FillRect").front(), "FillRect [0 0 2 1] $000000FF");
  EXPECT_EQ(many.Calls("FillRect").back(), "FillRect [510 0 512 1] $00FF0000");
}

}  // namespace
}  // namespace vk
