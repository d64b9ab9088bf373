#pragma once
// Answers given in advance to requests that would need a person or the
// desktop (message boxes, file and folder dialogs, print dialogs). Headless,
// each such service keeps one of these: a test queues the answers, the
// service takes one per request and records the request. A request nobody
// answered raises EUnscriptedRequest with its description, so no test can
// hang on it or pass by accident.

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/SysUtils.h"

namespace vk {

class EUnscriptedRequest : public Exception {
  using Exception::Exception;
};

template <class Request, class Answer>
class TScriptedAnswers {
public:
  using TResponder = std::function<Answer(const Request&)>;

  // Queues a fixed answer for the next request.
  void Push(Answer answer) {
    FQueue.push_back([answer = std::move(answer)](const Request&) { return answer; });
  }
  // Queues a responder that looks at the request (and may act, as a person
  // filling in a dialog would) before it answers.
  void PushResponder(TResponder responder) { FQueue.push_back(std::move(responder)); }

  // Records the request and answers it from the queue.
  Answer Take(const Request& request, const std::string& description) {
    FRequests.push_back(request);
    if (FQueue.empty()) {
      FUnscripted.push_back(description);
      throw EUnscriptedRequest("Unscripted request: " + description);
    }
    TResponder responder = std::move(FQueue.front());
    FQueue.pop_front();
    return responder(request);
  }

  const std::vector<Request>& Requests() const { return FRequests; }
  // Descriptions of the requests that found no answer (a test's tear-down
  // checks that this stays empty, even where the exception was swallowed).
  const std::vector<std::string>& Unscripted() const { return FUnscripted; }
  size_t Pending() const { return FQueue.size(); }
  void Clear() {
    FQueue.clear();
    FRequests.clear();
    FUnscripted.clear();
  }

private:
  std::deque<TResponder> FQueue;
  std::vector<Request> FRequests;
  std::vector<std::string> FUnscripted;
};

}  // namespace vk
