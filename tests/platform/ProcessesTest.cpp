#include "platform/Processes.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include <gtest/gtest.h>

#include "platform/FilePaths.h"
#include "platform/ScopeGuard.h"
#include "platform/Shell.h"
#include "platform/Streams.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

struct TCollector {
  std::vector<std::string> Lines;
  void Line(const std::string& line) { Lines.push_back(line); }
};

std::vector<std::string> RunScript(const std::string& script, int* status = nullptr, const std::string& folder = "") {
  TProcessRunner runner;
  TCollector collector;
  runner.OnLine = TLineEvent(&collector, &TCollector::Line);
  runner.SetCommand({"/bin/sh", "-c", script});
  runner.SetDirectory(folder);
  int result = runner.Run();
  if (status) *status = result;
  EXPECT_EQ(result, runner.ExitStatus());
  return collector.Lines;
}

using Lines = std::vector<std::string>;

std::string ReadIfThere(const std::string& fileName) {
  try {
    return LoadBytesFromFile(fileName);
  } catch (const EFOpenError&) {
    return "";
  }
}

TEST(ProcessRunnerTest, OutputArrivesAsWholeLinesInTheOrderWritten) {
  setenv("MAKEFLAGS", "-k", 1);
  setenv("MAKELEVEL", "1", 1);
  setenv("MFLAGS", "-k", 1);
  TScopeExit restore([] {
    unsetenv("MAKEFLAGS");
    unsetenv("MAKELEVEL");
    unsetenv("MFLAGS");
  });
  struct Case {
    const char* Script;
    Lines Expected;
    int Status;
  } cases[] = {
      {"echo out1; echo err1 >&2; echo out2; echo err2 >&2", {"out1", "err1", "out2", "err2"}, 0},
      {"printf 'a\\r\\nb\\n\\nno break'", {"a", "b", "", "no break"}, 0},
      {"printf 'split '; sleep 0.1; echo line", {"split line"}, 0},
      {"read x; echo \"read $?\"; cat; echo done", {"read 1", "done"}, 0},  // standard input is at its end
      {"echo \"$LC_ALL\"; exit 3", {"C"}, 3},
      // A make started here is not a sub-make of one that started the program.
      {"echo \"${MAKEFLAGS-none} ${MAKELEVEL-none} ${MFLAGS-none}\"", {"none none none"}, 0},
      // The command goes out in UTF-8 and its output comes back in the code
      // page; bytes that are no UTF-8 (a quoted source line) come as printed.
      {"echo 한글; printf '\\307\\321\\n'", {"한글", "\xC7\xD1"}, 0},
      {"kill -9 $$", {}, 128 + SIGKILL},
  };
  for (const auto& c : cases) {
    int status = -1;
    EXPECT_EQ(c.Expected, RunScript(c.Script, &status)) << c.Script;
    EXPECT_EQ(c.Status, status) << c.Script;
  }
  Lines longLines = RunScript("head -c 70000 /dev/zero | tr '\\0' x; echo; echo next");
  ASSERT_EQ(2u, longLines.size());
  EXPECT_EQ(std::string(70000, 'x'), longLines[0]);
}

TEST(ProcessRunnerTest, StartsInAFolderWhoseNameHoldsBlanksQuotesDollarsOrHangul) {
  test::TTempFolder temp;
  for (const char* name : {"a b'c\"$HOME", "프로젝트"}) {
    std::string folder = temp.File(name);
    ForceFolders(folder);
    EXPECT_EQ(Lines{folder}, RunScript("pwd", nullptr, folder));
  }
}

TEST(ProcessRunnerTest, ACommandThatCannotStartIsAnError) {
  struct Case {
    std::vector<std::string> Command;
    std::string Folder;
  } cases[] = {
      {{"/nonexistent/program"}, ""},
      {{"no-such-program-anywhere"}, ""},
      {{"/bin/sh", "-c", "true"}, "/nonexistent/folder"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    TProcessRunner runner;
    runner.SetCommand(c.Command);
    runner.SetDirectory(c.Folder);
    EXPECT_THROW(runner.Run(), EProcessError) << (c.Command.empty() ? "" : c.Command[0]);
    EXPECT_FALSE(runner.Running());
  }
}

// Reads a process's state letter; ' ' when it is gone.
char ProcessState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  size_t paren = text.rfind(')');
  return paren == std::string::npos || paren + 2 >= text.size() ? ' ' : text[paren + 2];
}

// Waits a little for a process to be gone (or a zombie waiting for its new parent).
bool Ended(pid_t pid) {
  for (int i = 0; i < 150 && ProcessState(pid) != ' ' && ProcessState(pid) != 'Z'; ++i) usleep(20000);
  return ProcessState(pid) == ' ' || ProcessState(pid) == 'Z';
}

struct TDestroyer {
  TProcessRunner* Runner = nullptr;
  std::vector<pid_t> Pids;
  void Line(const std::string& line) {
    Pids.push_back(std::stoi(line));
    if (Pids.size() == 2) {
      delete Runner;  // while its command runs
      Runner = nullptr;
    }
  }
};

TEST(ProcessRunnerTest, DestroyingTheRunnerEndsTheWholeProcessGroup) {
  TDestroyer destroyer;
  destroyer.Runner = new TProcessRunner;
  TProcessRunner* runner = destroyer.Runner;
  runner->OnLine = TLineEvent(&destroyer, &TDestroyer::Line);
  runner->SetCommand({"/bin/sh", "-c", "sleep 30 & echo $!; echo $$; wait"});
  EXPECT_THROW(runner->Run(), EAbort);
  ASSERT_EQ(2u, destroyer.Pids.size());
  // A child of the command ends too.
  for (pid_t pid : destroyer.Pids) EXPECT_TRUE(Ended(pid)) << pid << " is " << ProcessState(pid);
}

struct TStopper {
  TProcessRunner* Runner = nullptr;
  std::vector<pid_t> Pids;
  void Line(const std::string& line) {
    Pids.push_back(std::stoi(line));
    if (Pids.size() == 2 && Runner) Runner->Stop();
  }
};

TEST(ProcessRunnerTest, AStopOrTheTimeLimitEndsTheWholeProcessGroup) {
  struct Case {
    const char* Name;
    const char* Script;
    int TimeLimit;
    bool StopFromHandler;
    int Status;
  } cases[] = {
      {"stopped", "sleep 30 & echo $!; echo $$; wait", 0, true, 128 + SIGTERM},
      {"past the time limit", "sleep 30 & echo $!; echo $$; wait", 300, false, 128 + SIGTERM},
      // A group that does not end when asked is killed a moment later.
      {"deaf to the request", "trap '' TERM; sleep 30 & echo $!; echo $$; wait; wait", 300, false, 128 + SIGKILL},
      {"done within the limit", "echo 1; echo 2", 5000, false, 0},
      // The group is asked first: a process in it may end in its own way.
      {"asked before killed",
       "trap : TERM; sh -c 'trap \"exit 7\" TERM; echo $$; exec 2>/dev/null; while :; do sleep 0.05; done' & "
       "echo $$; wait $!; wait $!",
       0, true, 7},
      // A process in a session of its own holds the output open; the
      // command's end ends the wait, and a command that ended in time did.
      {"ended, output held", "setsid sleep 2 & echo 1", 1000, false, 0},
      {"stopped, output held", "setsid sh -c 'echo $$; exec sleep 2' & echo $$; wait", 0, true, 128 + SIGTERM},
  };
  for (const auto& c : cases) {
    TProcessRunner runner;
    TStopper stopper{c.StopFromHandler ? &runner : nullptr, {}};
    runner.OnLine = TLineEvent(&stopper, &TStopper::Line);
    runner.SetCommand({"/bin/sh", "-c", c.Script});
    runner.SetTimeLimit(c.TimeLimit);
    const long long start = MonotonicMilliseconds();
    EXPECT_EQ(c.Status, runner.Run()) << c.Name;
    EXPECT_LT(MonotonicMilliseconds() - start, c.TimeLimit + 1500) << c.Name;
    EXPECT_EQ(c.Status != 0, runner.Stopped()) << c.Name;
    EXPECT_EQ(c.Status != 0 && !c.StopFromHandler, runner.TimedOut()) << c.Name;
    for (pid_t pid : stopper.Pids) EXPECT_TRUE(c.Status == 0 || Ended(pid)) << c.Name << ": " << pid;
  }
}

struct TReentry {
  TProcessRunner* Runner = nullptr;
  std::string Refusal;
  int Pumps = 0;
  void Line(const std::string&) {
    try {
      TProcessRunner other;
      other.SetCommand({"/bin/true"});
      other.Run();
    } catch (const EProcessError& e) {
      Refusal = e.Message();
    }
  }
  void Pump() { ++Pumps; }
};

TEST(ProcessRunnerTest, ThePumpRunsMeanwhileButNoSecondCommandStarts) {
  TReentry probe;
  TProcessPump previous = SetProcessPump(TProcessPump(&probe, &TReentry::Pump));
  TProcessRunner runner;
  runner.OnLine = TLineEvent(&probe, &TReentry::Line);
  runner.SetCommand({"/bin/sh", "-c", "echo first; sleep 0.3"});
  EXPECT_EQ(0, runner.Run());
  SetProcessPump(previous);
  EXPECT_EQ("A command is already running", probe.Refusal);
  EXPECT_GE(probe.Pumps, 3);
  runner.SetCommand({"/bin/true"});
  EXPECT_EQ(0, runner.Run());  // free again afterwards
}

TEST(ShellTest, TheDesktopOpensWithAnArgumentVectorAndReportsFailures) {
  test::TTempFolder temp;
  std::string opener = temp.File("opener");
  SaveBytesToFile(opener, "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.args\"\ncase \"$1\" in *.HLP) exit 3;; esac\n");
  chmod(opener.c_str(), 0755);
  TDesktopShell shell(opener);
  std::string odd = "/p a t h/it's \"$HOME\".hex";
  shell.OpenDocument(odd);
  EXPECT_EQ(odd + "|", LoadBytesFromFile(opener + ".args"));
  try {
    shell.OpenHelp("/help/VornkitHelpE.HLP");
    ADD_FAILURE() << "no failure reported";
  } catch (const EProcessError& e) {
    EXPECT_EQ("Cannot open \"/help/VornkitHelpE.HLP\". No program is set up to open it", e.Message());
  }
  EXPECT_THROW(TDesktopShell(temp.File("none")).OpenDocument(odd), EProcessError);
  EXPECT_THROW(shell.StartProgram(temp.File("FontEdit/FontEdit.exe"), {}), EProcessError);

  shell.StartProgram("/bin/sh", {"-c", "echo started > \"$0\"", temp.File("started")});
  for (int i = 0; i < 100 && ReadIfThere(temp.File("started")).empty(); ++i) usleep(20000);
  EXPECT_EQ("started\n", ReadIfThere(temp.File("started")));
}

TEST(ShellTest, TheScriptedShellRecordsAndAnswers) {
  SetShellService(nullptr);
  TScriptedShell& shell = *ScriptedShell();
  shell.Answers.Push("");
  shell.Answers.Push("Cannot open it");
  Shell().StartProgram("/opt/FontEdit", {"-x"});
  EXPECT_THROW(Shell().OpenHelp("/help/a.HLP"), EProcessError);
  EXPECT_THROW(Shell().OpenDocument("a.hex"), EUnscriptedRequest);
  ASSERT_EQ(3u, shell.Answers.Requests().size());
  EXPECT_EQ(TShellRequest::Help, shell.Answers.Requests()[1].Kind);
  EXPECT_EQ(std::vector<std::string>{"-x"}, shell.Answers.Requests()[0].Arguments);
}

}  // namespace
}  // namespace vk
