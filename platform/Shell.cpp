#include "platform/Shell.h"

#include <signal.h>
#include <sys/wait.h>
#include <time.h>

#include <cerrno>
#include <cstring>

namespace vk {

namespace {

// Programs started to run on their own are reaped whenever the shell is
// used again, so none stays behind as a zombie for long.
std::vector<pid_t>& Started() {
  static std::vector<pid_t> pids;
  return pids;
}

void ReapStarted() {
  auto& pids = Started();
  for (size_t i = 0; i < pids.size();) {
    int status;
    pid_t done = waitpid(pids[i], &status, WNOHANG);
    if (done == pids[i] || (done < 0 && errno == ECHILD)) pids.erase(pids.begin() + i);
    else ++i;
  }
}

const char* OpenerFailure(int status) {
  switch (status) {
    case 2: return "The file does not exist";
    case 3: return "No program is set up to open it";
    default: return "The program that opens it failed";
  }
}

std::unique_ptr<TShellService>& Installed() {
  static std::unique_ptr<TShellService> service = std::make_unique<TScriptedShell>();
  return service;
}

}  // namespace

void TDesktopShell::OpenDocument(const std::string& fileName) {
  ReapStarted();
  pid_t pid = SpawnProcess({{FOpener, fileName}, "", {}, -1, true, {}});
  // The opener hands the file to its program and ends at once; its answer
  // is waited for a moment (the GUI still painting), then it runs on.
  for (long long until = MonotonicMilliseconds() + 1500; MonotonicMilliseconds() < until;) {
    int status;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
      throw EProcessError(Format("Cannot open \"%s\". %s", fileName.c_str(),
                                 OpenerFailure(WIFEXITED(status) ? WEXITSTATUS(status) : -1)));
    }
    if (done < 0 && errno != EINTR) return;
    timespec pause{0, 20 * 1000000};
    nanosleep(&pause, nullptr);
    RunProcessPump();
  }
  Started().push_back(pid);
}

void TDesktopShell::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  ReapStarted();
  std::vector<std::string> command{program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  Started().push_back(SpawnProcess({command, "", {}, -1, true, {}}));
}

void TDesktopShell::OpenHelp(const std::string& helpFile) { OpenDocument(helpFile); }

void TScriptedShell::Take(const TShellRequest& request, const char* what) {
  std::string failure = Answers.Take(request, Format("%s \"%s\"", what, request.Target.c_str()));
  if (!failure.empty()) throw EProcessError(failure);
}

void TScriptedShell::OpenDocument(const std::string& fileName) {
  Take({TShellRequest::Document, fileName, {}}, "Open document");
}

void TScriptedShell::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  Take({TShellRequest::Program, program, arguments}, "Start program");
}

void TScriptedShell::OpenHelp(const std::string& helpFile) { Take({TShellRequest::Help, helpFile, {}}, "Open help"); }

TShellService& Shell() { return *Installed(); }

std::unique_ptr<TShellService> SetShellService(std::unique_ptr<TShellService> service) {
  std::unique_ptr<TShellService> previous = std::move(Installed());
  Installed() = service ? std::move(service) : std::make_unique<TScriptedShell>();
  return previous;
}

TScriptedShell* ScriptedShell() { return dynamic_cast<TScriptedShell*>(&Shell()); }

}  // namespace vk
