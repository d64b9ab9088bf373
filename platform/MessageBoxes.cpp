#include "platform/MessageBoxes.h"

#include <algorithm>
#include <optional>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/InputHold.h"

namespace vk {

namespace {

std::unique_ptr<TMessageBoxService> GService;

}  // namespace

std::vector<int> TMessageBoxRequest::Answers() const {
  switch (Buttons()) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    default: return {IDOK};
  }
}

int TMessageBoxRequest::DefaultAnswer() const {
  const std::vector<int> answers = Answers();
  return answers[(Flags & MB_DEFBUTTON2) && answers.size() > 1 ? 1 : 0];
}

bool TMessageBoxRequest::HasAnswer(int answer) const {
  const std::vector<int> answers = Answers();
  return std::find(answers.begin(), answers.end(), answer) != answers.end();
}

TScriptedAnswers<TMessageBoxRequest, int>& MessageBoxAnswers() {
  static TScriptedAnswers<TMessageBoxRequest, int> answers;
  return answers;
}

std::unique_ptr<TMessageBoxService> SetMessageBoxService(std::unique_ptr<TMessageBoxService> service) {
  std::swap(service, GService);
  return service;
}

int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  TMessageBoxRequest request{text, caption, flags};
  TPostedMessagesHold posted;
  std::optional<TTypingHold> typing;
  if (flags & MB_UNASKED) typing.emplace();
  if (GService) return GService->Show(request);
  int answer = MessageBoxAnswers().Take(request, "message box \"" + text + "\" (" + caption + ")");
  if (!request.HasAnswer(answer))
    throw EInvalidOperation(Format("Answer %d is no button of the message box \"%s\"", answer, text.c_str()));
  return answer;
}

void ShowMessage(const std::string& text) { MessageBox(text, Application().Title(), MB_OK); }

}  // namespace vk
