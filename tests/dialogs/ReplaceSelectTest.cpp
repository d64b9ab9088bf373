// The question at each hit: where it goes on the screen, what each mode
// shows and answers, and how wide the question makes it.

#include <gtest/gtest.h>

#include "dialogs/ReplaceSelect.h"
#include "platform/SystemMetrics.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk {
namespace {

class ReplaceSelectTest : public test::TFormsCase {
protected:
  ReplaceSelectTest() { ReplaceSelect = NewForm<TReplaceSelect>(&Application()); }
  ~ReplaceSelectTest() override { SetScreenSize(1024, 768); }
};

// Headless text metrics: 8 by 16 pixels a character, so the box keeps 16
// pixels to the point's side and 32 above or below it. The box is 483 by
// 129 pixels.
TEST_F(ReplaceSelectTest, PlacedBesideThePointAndAlwaysOnTheScreen) {
  const struct {
    const char* Name;
    int ScreenWidth, ScreenHeight, X, Y, Left, Top;
  } cases[] = {
      {"below and right", 1024, 768, 100, 100, 116, 132},
      {"above near the bottom", 1024, 768, 100, 700, 116, 539},
      {"ending at the bottom edge stays below", 1024, 768, 100, 607, 116, 639},
      {"left near the right edge", 1024, 768, 900, 100, 401, 132},
      {"above and left near the bottom-right corner", 1024, 768, 900, 700, 401, 539},
      {"a point above and left of the screen", 1024, 768, -50, -40, 0, 0},
      {"a screen too narrow to flip into", 400, 300, 10, 10, 0, 42},
      {"a screen too low to flip into", 1024, 150, 10, 30, 26, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetScreenSize(c.ScreenWidth, c.ScreenHeight);
    ReplaceSelect->PlaceNear(c.X, c.Y);
    EXPECT_EQ(ReplaceSelect->Left(), c.Left);
    EXPECT_EQ(ReplaceSelect->Top(), c.Top);
    EXPECT_EQ(ReplaceSelect->Width(), 483);
    EXPECT_EQ(ReplaceSelect->Height(), 129);
  }
}

TEST_F(ReplaceSelectTest, EachModeShowsItsButtonsAndAnswersTheEditorsAction) {
  const struct {
    TConfirmMode Mode;
    TButton* TReplaceSelect::*Pressed;  // none: the close box
    TSrcReplaceAction Action;
  } cases[] = {
      {cmReplace, &TReplaceSelect::YesBtn, raReplace},   {cmReplace, &TReplaceSelect::NoBtn, raSkip},
      {cmReplace, &TReplaceSelect::AllBtn, raReplaceAll}, {cmReplace, &TReplaceSelect::CancelBtn, raCancel},
      {cmReplace, nullptr, raCancel},                     {cmFind, &TReplaceSelect::YesBtn, raSkip},
      {cmFind, &TReplaceSelect::CancelBtn, raCancel},     {cmFind, nullptr, raCancel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.Mode << ", action " << c.Action);
    ReplaceSelect->SetMode(c.Mode, "PORTB");
    ModalAnswers().PushResponder([&](TCustomForm* form) {
      const bool replace = c.Mode == cmReplace;
      EXPECT_EQ(form->Caption(), replace ? "Replace the found character?" : "The found character?");
      EXPECT_EQ(ReplaceSelect->LabelTxt->Caption(), "found character PORTBReplace?");
      EXPECT_EQ(ReplaceSelect->YesBtn->Caption(), replace ? "OK" : "Next");
      EXPECT_EQ(ReplaceSelect->NoBtn->Visible(), replace);
      EXPECT_EQ(ReplaceSelect->AllBtn->Visible(), replace);
      EXPECT_TRUE(ReplaceSelect->CancelBtn->Visible());
      if (c.Pressed)
        (ReplaceSelect->*c.Pressed)->Click();
      else
        form->Close();
      return mrNone;
    });
    EXPECT_EQ(ReplaceSelect->Ask(), c.Action);
  }
}

// The question fits: a long text widens the box (its buttons keep to the
// right edge), a short one brings it back, and a widened box near the
// right edge moves left to stay on the screen.
TEST_F(ReplaceSelectTest, TheBoxIsAsWideAsItsQuestion) {
  const struct {
    std::string Text;
    int PlacedX;
    int Width, Left;
    std::string Shown;
  } cases[] = {
      {std::string(60, 'a'), 100, 60 + 8 * 84 + 105, 116, "found character " + std::string(60, 'a') + "Replace?"},
      {"a && b", 100, 483, 116, "found character a && bReplace?"},
      {std::string(60, 'a'), 500, 60 + 8 * 84 + 105, 1024 - (60 + 8 * 84 + 105),
       "found character " + std::string(60, 'a') + "Replace?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    ReplaceSelect->PlaceNear(c.PlacedX, 100);
    ReplaceSelect->SetMode(cmReplace, c.Text);
    ModalAnswers().PushResponder([&](TCustomForm*) {
      EXPECT_EQ(ReplaceSelect->LabelTxt->DisplayText(), c.Shown);
      EXPECT_EQ(ReplaceSelect->Width(), c.Width);
      EXPECT_EQ(ReplaceSelect->Left(), c.Left);
      EXPECT_EQ(ReplaceSelect->Width() - ReplaceSelect->AllBtn->BoundsRect().Right, 105);
      return mrCancel;
    });
    ReplaceSelect->Ask();
  }
}

}  // namespace
}  // namespace vk
