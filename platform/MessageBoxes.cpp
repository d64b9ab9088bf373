#include "platform/MessageBoxes.h"

#include "platform/Controls.h"
#include "platform/Forms.h"

namespace vk {

namespace {

std::unique_ptr<TMessageBoxService> GService;

}  // namespace

bool TMessageBoxRequest::HasAnswer(int answer) const {
  switch (Buttons()) {
    case MB_OKCANCEL: return answer == IDOK || answer == IDCANCEL;
    case MB_YESNOCANCEL: return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO: return answer == IDYES || answer == IDNO;
    default: return answer == IDOK;
  }
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
  if (GService) return GService->Show(request);
  int answer = MessageBoxAnswers().Take(request, "message box \"" + text + "\" (" + caption + ")");
  if (!request.HasAnswer(answer))
    throw EInvalidOperation(Format("Answer %d is no button of the message box \"%s\"", answer, text.c_str()));
  return answer;
}

void ShowMessage(const std::string& text) { MessageBox(text, Application().Title(), MB_OK); }

}  // namespace vk
