#include "platform/ScriptedAnswers.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

TEST(ScriptedAnswersTest, AnswersInOrderAndAnUnscriptedRequestRaisesAndIsKept) {
  TScriptedAnswers<std::string, int> answers;
  answers.Push(6);
  answers.PushResponder([](const std::string& request) { return static_cast<int>(request.size()); });

  EXPECT_EQ(answers.Take("first", "box 'first'"), 6);
  EXPECT_EQ(answers.Take("four", "box 'four'"), 4);
  EXPECT_THROW(answers.Take("third", "box 'third'"), EUnscriptedRequest);

  EXPECT_EQ(answers.Requests(), (std::vector<std::string>{"first", "four", "third"}));
  EXPECT_EQ(answers.Unscripted(), std::vector<std::string>{"box 'third'"});
  EXPECT_EQ(answers.Pending(), 0u);
}

}  // namespace
}  // namespace vk
