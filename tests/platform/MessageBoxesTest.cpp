// The scripted message box: it answers from its queue and records every
// box; a box nobody scripted, or an answer the box has no button for,
// fails the test.

#include "platform/Controls.h"
#include "platform/MessageBoxes.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk::test {
namespace {

class MessageBoxesTest : public TFormsCase {};

TEST_F(MessageBoxesTest, BoxesAreAnsweredInTurnAndRecorded) {
  MessageBoxAnswers().Push(IDCANCEL);
  MessageBoxAnswers().Push(IDOK);
  EXPECT_EQ(MessageBox("Save to file?", "Save message", MB_YESNOCANCEL | MB_ICONQUESTION), IDCANCEL);
  ShowMessage("Done");
  const auto& boxes = MessageBoxAnswers().Requests();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], (TMessageBoxRequest{"Save to file?", "Save message", MB_YESNOCANCEL | MB_ICONQUESTION}));
  EXPECT_EQ(boxes[0].Buttons(), MB_YESNOCANCEL);
  EXPECT_EQ(boxes[0].Icon(), MB_ICONQUESTION);
  EXPECT_EQ(boxes[1], (TMessageBoxRequest{"Done", Application().Title(), MB_OK}));
}

TEST_F(MessageBoxesTest, AnUnscriptedBoxOrAWrongAnswerFails) {
  EXPECT_THROW(MessageBox("Exit?", "Exit message", MB_YESNO), EUnscriptedRequest);
  ASSERT_EQ(MessageBoxAnswers().Unscripted().size(), 1u);
  EXPECT_NE(MessageBoxAnswers().Unscripted()[0].find("Exit?"), std::string::npos);
  MessageBoxAnswers().Clear();
  struct TCase {
    uint32_t Buttons;
    int Answer;
  } wrong[] = {{MB_OK, IDYES}, {MB_OKCANCEL, IDNO}, {MB_YESNO, IDCANCEL}, {MB_YESNOCANCEL, IDOK}};
  for (const TCase& c : wrong) {
    MessageBoxAnswers().Push(c.Answer);
    EXPECT_THROW(MessageBox("text", "caption", c.Buttons), EInvalidOperation) << c.Buttons;
  }
}

}  // namespace
}  // namespace vk::test
