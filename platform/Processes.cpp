#include "platform/Processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/FilePaths.h"

extern char** environ;

namespace vk {

namespace {

TProcessPump GPump;
bool GCommandRunning = false;

// The inherited environment with the given variables added or replaced,
// and the unset ones taken out.
std::vector<std::string> Environment(const std::vector<std::pair<std::string, std::string>>& changes,
                                     const std::vector<std::string>& unset) {
  std::vector<std::string> result;
  for (char** entry = environ; entry && *entry; ++entry) {
    std::string text = *entry;
    bool replaced = false;
    for (const auto& [name, value] : changes) replaced = replaced || text.rfind(name + "=", 0) == 0;
    for (const std::string& name : unset) replaced = replaced || text.rfind(name + "=", 0) == 0;
    if (!replaced) result.push_back(text);
  }
  for (const auto& [name, value] : changes) result.push_back(name + "=" + value);
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The spawn attributes and file actions, released with the scope.
struct TSpawnSetup {
  posix_spawnattr_t Attributes;
  posix_spawn_file_actions_t Actions;
  TSpawnSetup() {
    posix_spawnattr_init(&Attributes);
    posix_spawn_file_actions_init(&Actions);
  }
  ~TSpawnSetup() {
    posix_spawn_file_actions_destroy(&Actions);
    posix_spawnattr_destroy(&Attributes);
  }
  TSpawnSetup(const TSpawnSetup&) = delete;
  TSpawnSetup& operator=(const TSpawnSetup&) = delete;
};

int ExitStatusOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// The tools print names as the file system spells them (UTF-8); a line
// that is no such text (a source line quoted as its bytes, in the code page)
// arrives as it was printed.
std::string OutputLine(const std::string& printed) { return FileNameFromDisk(printed).value_or(printed); }

// How long a stopped command's group has to end before it is killed.
constexpr long long StopGraceMilliseconds = 1000;
// How long the output is still read once the command has ended: what it
// wrote last is in the pipe by then, and a process it left running (started
// in a session of its own, out of reach of its group) may hold the pipe
// open for any time.
constexpr long long LastOutputMilliseconds = 250;

// Whether the child has ended; it stays a zombie until WaitFor, so that its
// process group id is not given to another process meanwhile.
bool HasEnded(pid_t pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return ExitStatusOf(status);
}

}  // namespace

long long MonotonicMilliseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int SpawnProcess(const TSpawnOptions& options) {
  if (options.Command.empty() || options.Command[0].empty()) throw EProcessError("Cannot run \"\". No program named");
  TSpawnSetup setup;
  posix_spawn_file_actions_addopen(&setup.Actions, 0, "/dev/null", O_RDONLY, 0);
  if (options.Output >= 0) {
    posix_spawn_file_actions_adddup2(&setup.Actions, options.Output, 1);
    posix_spawn_file_actions_adddup2(&setup.Actions, options.Output, 2);
  }
  const std::string directory = FileNameToDisk(options.Directory);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&setup.Actions, directory.c_str());
  // The child starts with the default signal handling and no blocked
  // signals, whatever this process changed.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&setup.Attributes, &none);
  posix_spawnattr_setsigdefault(&setup.Attributes, &all);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  flags |= options.NewSession ? POSIX_SPAWN_SETSID : POSIX_SPAWN_SETPGROUP;
  posix_spawnattr_setpgroup(&setup.Attributes, 0);
  posix_spawnattr_setflags(&setup.Attributes, flags);

  // The program, its arguments and its folder are the program's text; the
  // child reads them as the file system spells names.
  std::vector<std::string> arguments;
  for (const std::string& argument : options.Command) arguments.push_back(FileNameToDisk(argument));
  std::vector<std::string> environment = Environment(options.Environment, options.Unset);
  std::vector<char*> argv = Pointers(arguments), envp = Pointers(environment);
  pid_t pid = 0;
  bool search = options.Command[0].find('/') == std::string::npos;
  int error = search ? posix_spawnp(&pid, argv[0], &setup.Actions, &setup.Attributes, argv.data(), envp.data())
                     : posix_spawn(&pid, argv[0], &setup.Actions, &setup.Attributes, argv.data(), envp.data());
  if (error != 0) {
    std::string where = options.Directory.empty() ? "" : Format(" in \"%s\"", options.Directory.c_str());
    throw EProcessError(
        Format("Cannot run \"%s\"%s. %s", options.Command[0].c_str(), where.c_str(), std::strerror(error)));
  }
  return pid;
}

void RunProcessPump() {
  if (GPump) GPump();
}

TProcessPump SetProcessPump(TProcessPump pump) {
  TProcessPump previous = GPump;
  GPump = pump;
  return previous;
}

// What Run shares with the destructor: a runner destroyed while its command
// runs ends the command, and Run, still on the stack, must not touch the
// runner again.
struct TProcessRunner::TState {
  pid_t Pid = -1;
  bool Abandoned = false;
  long long StopSentAt = -1;  // when the group was asked to end; -1: not asked
  long long EndedAt = -1;     // when the command was seen to have ended; -1: running
};

namespace {

// One running command: the output pipe is closed and the child waited for
// when the scope ends; leaving early (a handler raised) ends the command's
// whole process group first.
class TCommandScope {
public:
  TCommandScope(std::shared_ptr<TProcessRunner::TState> state, pid_t pid, int output)
      : FState(std::move(state)), FPid(pid), FOutput(output) {
    FState->Pid = pid;
    GCommandRunning = true;
  }
  ~TCommandScope() {
    if (FOutput < 0) return;
    kill(-FPid, SIGKILL);
    Finish();
  }
  TCommandScope(const TCommandScope&) = delete;
  TCommandScope& operator=(const TCommandScope&) = delete;

  // Answers the exit status.
  int Finish() {
    close(FOutput);
    FOutput = -1;
    int status = WaitFor(FPid);
    FState->Pid = -1;
    GCommandRunning = false;
    return status;
  }

private:
  std::shared_ptr<TProcessRunner::TState> FState;
  pid_t FPid;
  int FOutput;
};

}  // namespace

TProcessRunner::TProcessRunner() : FState(std::make_shared<TState>()) {
  FOptions.Environment.emplace_back("LC_ALL", "C");
  FOptions.Unset = {"MAKEFLAGS", "MFLAGS", "MAKELEVEL"};
}

TProcessRunner::~TProcessRunner() {
  if (FState->Pid > 0) kill(-FState->Pid, SIGKILL);
  FState->Abandoned = true;
}

void TProcessRunner::SetEnvironment(const std::string& name, const std::string& value) {
  for (auto& entry : FOptions.Environment)
    if (entry.first == name) {
      entry.second = value;
      return;
    }
  FOptions.Environment.emplace_back(name, value);
}

bool TProcessRunner::Running() const { return FState->Pid > 0; }

void TProcessRunner::Stop() {
  // A command that has ended by itself, though the loop has not seen it
  // yet (a question was open), is not stopped: how it ended is its own.
  if (FState->Pid <= 0 || FState->StopSentAt >= 0 || FState->EndedAt >= 0 || HasEnded(FState->Pid)) return;
  FStopped = true;
  kill(-FState->Pid, SIGTERM);
  FState->StopSentAt = MonotonicMilliseconds();
}

int TProcessRunner::Run() {
  if (GCommandRunning) throw EProcessError("A command is already running");
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw EProcessError(Format("Cannot run a command. %s", std::strerror(errno)));
  TSpawnOptions options = FOptions;
  options.Output = pipeEnds[1];
  FStopped = FTimedOut = false;
  FState->StopSentAt = FState->EndedAt = -1;
  const long long deadline = FTimeLimit > 0 ? MonotonicMilliseconds() + FTimeLimit : -1;
  pid_t pid;
  try {
    pid = SpawnProcess(options);
  } catch (...) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    throw;
  }
  close(pipeEnds[1]);  // the pipe ends when the command and all it started have closed it

  // From here on only locals and the shared state are used: a handler may
  // destroy this runner.
  TCommandScope command(FState, pid, pipeEnds[0]);
  std::shared_ptr<TState> state = FState;
  TLineEvent onLine = OnLine;
  std::string pending;
  auto deliver = [&](bool all) {
    size_t start = 0;
    for (size_t end; !state->Abandoned && (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
      size_t length = end - start;
      if (length > 0 && pending[end - 1] == '\r') --length;
      if (onLine) onLine(OutputLine(pending.substr(start, length)));
    }
    pending.erase(0, start);
    if (all && !pending.empty() && !state->Abandoned) {
      if (onLine) onLine(OutputLine(pending));
      pending.clear();
    }
  };
  char buffer[65536];
  // The output is read until every process has closed the pipe, but no
  // longer than a moment after the command itself has ended.
  bool outputEnded = false;
  while (!state->Abandoned) {
    pollfd wait{pipeEnds[0], POLLIN, 0};
    const int ready = poll(&wait, outputEnded ? 0 : 1, 50);
    if (ready < 0 && errno != EINTR) outputEnded = true;
    if (ready > 0) {
      ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
      if (n > 0) pending.append(buffer, static_cast<size_t>(n));
      else if (n == 0 || (errno != EINTR && errno != EAGAIN)) outputEnded = true;
    }
    deliver(outputEnded);
    const long long now = MonotonicMilliseconds();
    if (state->EndedAt < 0 && HasEnded(pid)) state->EndedAt = now;
    if (state->EndedAt >= 0 && (outputEnded || now - state->EndedAt >= LastOutputMilliseconds)) break;
    if (!state->Abandoned) RunProcessPump();
    if (state->Abandoned) break;
    // A command that has ended is not stopped: its status is its own.
    if (deadline >= 0 && now >= deadline && state->StopSentAt < 0 && state->EndedAt < 0) {
      Stop();
      FTimedOut = true;
    }
    // A group that does not end when asked is killed.
    if (state->StopSentAt >= 0 && now - state->StopSentAt >= StopGraceMilliseconds) kill(-pid, SIGKILL);
  }
  deliver(true);  // a last line without a break
  int status = command.Finish();
  if (state->Abandoned) throw EAbort("Operation aborted");
  FExitStatus = status;
  return status;
}

}  // namespace vk
