#pragma once
// Starting programs and opening files and help as the desktop does. A
// failure to start is reported to the caller as EProcessError. Headless the
// requests go to scripted answers; the Qt program installs the desktop.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Processes.h"
#include "platform/ScriptedAnswers.h"

namespace vk {

class TShellService {
public:
  virtual ~TShellService() = default;
  // Opens the file with its default program.
  virtual void OpenDocument(const std::string& fileName) = 0;
  // Starts a program with arguments and lets it run on its own.
  virtual void StartProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // Shows a help file; the caller tells the user when this raises.
  virtual void OpenHelp(const std::string& helpFile) = 0;
};

// The desktop: posix_spawn for programs, an opener program (xdg-open) with
// the file as its one argument for documents and help.
class TDesktopShell : public TShellService {
public:
  explicit TDesktopShell(std::string opener = "xdg-open") : FOpener(std::move(opener)) {}
  void OpenDocument(const std::string& fileName) override;
  void StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
  void OpenHelp(const std::string& helpFile) override;

private:
  std::string FOpener;
};

struct TShellRequest {
  enum TKind { Document, Program, Help } Kind = Document;
  std::string Target;  // the file or program
  std::vector<std::string> Arguments;
};

// The headless service: records each request; an answer of "" means done,
// any other answer is raised as the failure's text.
class TScriptedShell : public TShellService {
public:
  void OpenDocument(const std::string& fileName) override;
  void StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
  void OpenHelp(const std::string& helpFile) override;

  TScriptedAnswers<TShellRequest, std::string> Answers;

private:
  void Take(const TShellRequest& request, const char* what);
};

// The process's shell (scripted until a backend installs the desktop's).
TShellService& Shell();
std::unique_ptr<TShellService> SetShellService(std::unique_ptr<TShellService> service);
TScriptedShell* ScriptedShell();

}  // namespace vk
