#pragma once
// Running a command the way a build needs it: an argument vector (never a
// command line), in a given folder, in a process group of its own, with
// standard input from /dev/null, standard output and standard error in one
// pipe in the order written, and the environment plus LC_ALL=C (so the
// tools print 8-bit text) but without make's MAKEFLAGS, MFLAGS and
// MAKELEVEL (a make it starts is a make of its own, not a sub-make of one
// that started the program). The output arrives line by line while the
// command runs; the exit status is kept. A command can be stopped, and can
// be given a time limit: either ends its whole process group. The command,
// its arguments and its folder go to the system, and the lines come back, converted between the
// code page and the file system's UTF-8 (a line that is no UTF-8 text of
// the code page, such as a quoted source line, comes as it was printed).
//
// Run blocks until the command has ended, but calls the process pump about
// every 50 ms and after every piece of output, so a GUI can paint meanwhile
// (the Qt backend processes paint events there, and user input only while
// a TInputHold, InputHold.h, filters it). Only one command runs at a time
// in the process.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Events.h"
#include "platform/SysUtils.h"

namespace vk {

class EProcessError : public Exception {
  using Exception::Exception;
};

// How a program is started: standard input from /dev/null; standard output
// and standard error into `Output` (inherited when -1); its own process
// group, or its own session when it is to outlive the program's terminal.
struct TSpawnOptions {
  std::vector<std::string> Command;
  std::string Directory;
  std::vector<std::pair<std::string, std::string>> Environment;  // added or replaced
  int Output = -1;
  bool NewSession = false;
  std::vector<std::string> Unset;  // names taken out
};
// Starts the program with posix_spawn and answers its process id; raises
// EProcessError "Cannot run \"%s\". %s" when it cannot start.
int SpawnProcess(const TSpawnOptions& options);

// Milliseconds on a clock that only goes forward, for waits on a child.
long long MonotonicMilliseconds();

using TLineEvent = TDelegate<void(const std::string& line)>;
using TProcessPump = TDelegate<void()>;

// Installs the hook that Run calls while it waits; answers the previous one.
TProcessPump SetProcessPump(TProcessPump pump);
// Calls the hook (for other code that waits on a child).
void RunProcessPump();

// Keeps every line a command prints, for a caller that reads the output
// once the command has ended (runner.OnLine = lines.Event()).
class TOutputLines {
public:
  TLineEvent Event() { return TLineEvent(this, &TOutputLines::Add); }
  std::vector<std::string> Lines;

private:
  void Add(const std::string& line) { Lines.push_back(line); }
};

class TProcessRunner {
public:
  TProcessRunner();
  // A command still running is ended with its whole process group.
  ~TProcessRunner();
  TProcessRunner(const TProcessRunner&) = delete;
  TProcessRunner& operator=(const TProcessRunner&) = delete;

  // The program (found on PATH when it has no "/") and its arguments.
  const std::vector<std::string>& Command() const { return FOptions.Command; }
  void SetCommand(std::vector<std::string> command) { FOptions.Command = std::move(command); }
  // The folder the command starts in; "" for the current one.
  const std::string& Directory() const { return FOptions.Directory; }
  void SetDirectory(std::string directory) { FOptions.Directory = std::move(directory); }
  // Adds a variable to the inherited environment or replaces its value.
  void SetEnvironment(const std::string& name, const std::string& value);

  // Each complete line of output, without its line break (LF or CR LF); a
  // line split across reads arrives whole, and a last line without a break
  // arrives at the end.
  TLineEvent OnLine;

  // Milliseconds the command may run before Run stops it; 0 (the start
  // value) for no limit.
  int TimeLimit() const { return FTimeLimit; }
  void SetTimeLimit(int milliseconds) { FTimeLimit = milliseconds; }

  // Runs the command to its end and answers its exit status (128 + the
  // signal number when a signal ended it). Raises EProcessError when the
  // command cannot start or another command is running, and EAbort when
  // the runner was destroyed meanwhile (from a line handler or the pump).
  int Run();
  bool Running() const;
  int ExitStatus() const { return FExitStatus; }

  // Ends the running command (from a line handler or the pump): its whole
  // process group is asked to end (SIGTERM, so that make deletes what it
  // was making) and killed when it has not ended a second later. Run then
  // reads the rest of the output and answers as for a signal. Nothing
  // happens when no command runs, nor when it has already ended by itself.
  void Stop();
  // The last Run ended through Stop, or through the time limit.
  bool Stopped() const { return FStopped; }
  bool TimedOut() const { return FTimedOut; }

  struct TState;  // what a running command shares with the runner

private:
  TSpawnOptions FOptions;
  int FTimeLimit = 0;
  int FExitStatus = -1;
  bool FStopped = false;
  bool FTimedOut = false;
  std::shared_ptr<TState> FState;
};

}  // namespace vk
