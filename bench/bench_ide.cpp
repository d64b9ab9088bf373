// What a person waits for in the IDE around the editor, on a generated
// 1,000,000-line C source, through the headless forms model as the main
// window runs it: each figure against the same work on a bare editor (or a
// string list) measured in the same run.
//   File/Open into a document window, with the project's directive scan and
//   the window's first paint              vs  loading into an editor with the highlighter
//   a keystroke with its key up, the posted messages and the idle pass
//                                         vs  the same key messages to a bare editor
//   Ctrl+End, Page Down, Page Up, Ctrl+Home and Ctrl+A with the idle pass
//                                         vs  the editor's commands
//   Find (dialog, search, the question at the hit) and replace-all through
//   the document window                   vs  the editor's SearchReplace
//   a build's 20,000 output lines into Memo1 and the error pane
//                                         vs  appending them to a string list
//   a document window coming to the front (its file checked for another
//   program's change) and a save, on the 40 MB file: settled, just saved,
//   and with a modification time in the future
//                                         vs  the same on a file of 100 lines
//   opening the file into an editor with the highlighter, the window's
//   reload of it after another program changed it, that reload's undo and
//   its redo                              vs  reading the file and counting
//                                             its lines with memchr

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcEditKeyCmds.h"
#include "SrcEdit/Source/SrcEditSearch.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "services/BuildOutput.h"
#include "app/ChildWin.h"
#include "services/SettingsStore.h"
#include "dialogs/FindText.h"
#include "app/Main.h"
#include "dialogs/ReplaceFind.h"
#include "dialogs/ReplaceSelect.h"
#include "bench/BenchSupport.h"
#include "platform/InputState.h"
#include "platform/MessageBoxes.h"
#include "platform/StringLists.h"

namespace {

using namespace vk::bench;

constexpr int kLines = 1000000;

// A folder of the run's files, removed at exit.
struct TFolder {
  TFolder() {
    std::string pattern = "/tmp/vk-bench-ide-XXXXXX";
    Path = mkdtemp(pattern.data());
  }
  ~TFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
  }
  std::string File(const std::string& name) const { return Path + "/" + name; }
  std::string Path;
};

TFolder& Folder() {
  static TFolder folder;
  return folder;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

// The generated source as a project's main file.
const std::string& SourceFile() {
  static const std::string path = [] {
    std::filesystem::create_directory(Folder().File("project"));
    std::string name = Folder().File("project/big.c");
    WriteFile(name, AvrSource(kLines));
    return name;
  }();
  return path;
}

// The main window as the program shows it at start, with the find and
// replace dialogs, on a private registry and install folder; the forms go
// with the session.
struct TIdeSession {
  TIdeSession() {
    std::filesystem::create_directory(Folder().File("registry"));
    std::filesystem::create_directory(Folder().File("install"));
    setenv("VORNKIT_REGISTRY_DIR", Folder().File("registry").c_str(), 1);
    setenv("VORNKIT_INSTALL_README", (Folder().File("install") + "/").c_str(), 1);
    std::filesystem::create_directory(Folder().File("install/Vornkit"));
    for (const char* name : {"FindF.ini", "ReplaceF.ini", "ReplaceR.ini"})
      WriteFile(Folder().File("install/Vornkit/") + name, "");
    vk::Application().CreateForm(vk::MainForm);
    vk::MainForm->Show();
    vk::Application().CreateForm(vk::ReplaceSelect);
    vk::Application().CreateForm(vk::ReplaceFind);
    vk::Application().CreateForm(vk::FindForm);
  }
  ~TIdeSession() {
    // Nothing is saved on the way out.
    for (int i = 0; i < vk::MainForm->DocumentCount(); ++i) vk::MainForm->Documents(i)->Editor->SetModified(false);
    vk::Application().Reset();
    vk::MessageBoxAnswers().Clear();
    vk::ModalAnswers().Clear();
    unsetenv("VORNKIT_INSTALL_README");
    unsetenv("VORNKIT_REGISTRY_DIR");
  }

  // File/Open of the file, as the file list opens it; the document window
  // it makes, with its editor focused.
  static vk::TMDIChild* Open(const std::string& path) {
    vk::OpenFromListFlag = 1;
    vk::OpenFromListPath = path;
    vk::MainForm->FileOpenCmd->Execute();
    vk::TMDIChild* document = vk::MainForm->ActiveDocument();
    document->Editor->SetFocus();
    return document;
  }
  // The documents closed unchanged and released.
  static void CloseAll() {
    for (int i = 0; i < vk::MainForm->DocumentCount(); ++i) vk::MainForm->Documents(i)->Editor->SetModified(false);
    vk::MainForm->CloseAll();
    vk::Application().ProcessMessages();
  }
};

// What follows every input in the running program: the posted messages
// handled, then the idle pass that updates every action list.
void Settle() {
  vk::Application().ProcessMessages();
  vk::Application().Idle();
}

// An editor with a window and the C highlighter, as the document window's.
struct TBareEditor {
  TBareEditor() {
    Edit.HandleNeeded();
    Edit.SetBounds(0, 0, 900, 700);
    Edit.SetHighlighter(&Highlighter);
  }
  ~TBareEditor() { Edit.SetHighlighter(nullptr); }
  vk::TSrcAvrHl Highlighter{nullptr};
  vk::TSrcEdit Edit{nullptr};
};

// ---------------------------------------------------------------- File/Open

void Opening(benchmark::State& state) {
  TIdeSession ide;
  const std::string& path = SourceFile();
  for (auto _ : state) {
    double start = Now();
    {
      TBareEditor bare;
      bare.Edit.Lines().LoadFromFile(path);
      Record("editor load", Now() - start);
      if (bare.Edit.Lines().Count() < kLines) state.SkipWithError("the editor did not load the file");
    }
    start = Now();
    vk::TMDIChild* document = TIdeSession::Open(path);
    Settle();
    // The first paint, as the screen asks for it once the window shows.
    const bool damaged = !document->Editor->UpdateRegion().empty();
    document->Editor->Update();
    Record("File/Open", Now() - start);
    if (document->Editor->Lines().Count() < kLines) state.SkipWithError("the document did not load the file");
    if (!damaged) state.SkipWithError("the document's editor had nothing to paint");
    TIdeSession::CloseAll();
  }
}

// ---------------------------------------------------------------- keystrokes

constexpr int kKeystrokes = 200;

// A key down, its character and its key up, as the keyboard delivers them
// to the focused control.
void Keystroke(vk::TWinControl& control, char c, bool throughApplication) {
  const auto key = static_cast<uint16_t>(c - 'a' + 'A');
  if (throughApplication)
    vk::Application().KeyboardMessage(control, vk::WM_KEYDOWN, key, 0);
  else
    control.Perform(vk::WM_KEYDOWN, key, 0);
  control.Perform(vk::WM_CHAR, static_cast<unsigned char>(c), 0);
  control.Perform(vk::WM_KEYUP, key, 0);
}

void Typing(benchmark::State& state) {
  TIdeSession ide;
  vk::TMDIChild* document = TIdeSession::Open(SourceFile());
  vk::TSrcEdit& ideEdit = *document->Editor;
  TBareEditor bare;
  bare.Edit.Lines().LoadFromFile(SourceFile());
  for (vk::TSrcEdit* edit : {&ideEdit, &bare.Edit}) {
    edit->SetMaxScrollWidth(1 << 20);
    edit->CommandProcessor(vk::ecEditorBottom, 0);
  }
  Settle();
  if (vk::FocusedControl() != &ideEdit) state.SkipWithError("the document's editor is not focused");
  for (auto _ : state) {
    double start = Now();
    for (int i = 0; i < kKeystrokes; ++i) {
      Keystroke(ideEdit, static_cast<char>('a' + i % 26), true);
      Settle();
    }
    Record("IDE keystroke", (Now() - start) / kKeystrokes);
    start = Now();
    for (int i = 0; i < kKeystrokes; ++i) Keystroke(bare.Edit, static_cast<char>('a' + i % 26), false);
    Record("editor keystroke", (Now() - start) / kKeystrokes);
  }
  if (ideEdit.Lines().Get(ideEdit.Lines().Count() - 1).size() < kKeystrokes) state.SkipWithError("keystrokes were lost");
}

// ---------------------------------------------------------------- moving and selecting

struct TMove {
  const char* Name;
  uint16_t Key;
  bool Ctrl;
  vk::TSrcEditorCommand Command;
};
constexpr TMove kMoves[] = {
    {"Ctrl+End", vk::VK_END, true, vk::ecEditorBottom},  {"Page Up", vk::VK_PRIOR, false, vk::ecPageUp},
    {"Page Down", vk::VK_NEXT, false, vk::ecPageDown},   {"Ctrl+Home", vk::VK_HOME, true, vk::ecEditorTop},
    {"Ctrl+A", 'A', true, vk::ecSelectAll},             {"Page Down, all selected", vk::VK_NEXT, false, vk::ecPageDown},
};

void Moving(benchmark::State& state) {
  TIdeSession ide;
  vk::TMDIChild* document = TIdeSession::Open(SourceFile());
  vk::TSrcEdit& ideEdit = *document->Editor;
  TBareEditor bare;
  bare.Edit.Lines().LoadFromFile(SourceFile());
  Settle();
  for (auto _ : state) {
    for (const TMove& move : kMoves) {
      vk::SetKeyDown(vk::VK_CONTROL, move.Ctrl);
      double start = Now();
      vk::Application().KeyboardMessage(ideEdit, vk::WM_KEYDOWN, move.Key, 0);
      ideEdit.Perform(vk::WM_KEYUP, move.Key, 0);
      Settle();
      Record(std::string("IDE ") + move.Name, Now() - start);
      vk::ReleaseAllKeys();
      start = Now();
      bare.Edit.CommandProcessor(move.Command, 0);
      Record(std::string("editor ") + move.Name, Now() - start);
    }
    if (ideEdit.CaretY() != bare.Edit.CaretY())
      state.SkipWithError("the document did not follow the keys");
    for (vk::TSrcEdit* edit : {&ideEdit, &bare.Edit}) edit->CommandProcessor(vk::ecEditorTop, 0);
  }
}

// ---------------------------------------------------------------- find and replace

// Its only hit is on line 999,994: every find goes through the whole text.
const char* const kRare = "counter_999993";
const char* const kFound = "the";
const char* const kReplacement = "that";

// Answers the next find dialog with the text, as typed and confirmed.
void AnswerFind(const std::string& text) {
  vk::ModalAnswers().PushResponder([text](vk::TCustomForm* const&) {
    vk::FindForm->ComboFindText->UserEdit(text);
    vk::FindForm->RBEntireScope->SetChecked(true);
    vk::FindForm->OKBtn->Click();
    return vk::mrNone;
  });
}

void AnswerReplaceAll(const std::string& text, const std::string& replacement) {
  vk::ModalAnswers().PushResponder([text, replacement](vk::TCustomForm* const&) {
    vk::ReplaceFind->ComboFindText->UserEdit(text);
    vk::ReplaceFind->ComboReplaceText->UserEdit(replacement);
    vk::ReplaceFind->CBMatchCase->SetChecked(true);
    vk::ReplaceFind->CBPrompt->SetChecked(false);
    vk::ReplaceFind->ReplaceAllBtn->Click();
    return vk::mrNone;
  });
}

void Searching(benchmark::State& state) {
  TIdeSession ide;
  vk::TMDIChild* document = TIdeSession::Open(SourceFile());
  vk::TSrcEdit& ideEdit = *document->Editor;
  TBareEditor bare;
  vk::TSrcEditSearch engine(nullptr);
  bare.Edit.SetSearchEngine(&engine);
  bare.Edit.Lines().LoadFromFile(SourceFile());
  Settle();
  const vk::TSrcSearchOptions replaceAll{vk::ssoReplaceAll, vk::ssoEntireScope, vk::ssoMatchCase};
  for (auto _ : state) {
    for (vk::TSrcEdit* edit : {&ideEdit, &bare.Edit}) edit->CommandProcessor(vk::ecEditorTop, 0);
    Settle();

    // Find: the dialog, the search, the question at the hit (which stops it).
    AnswerFind(kRare);
    vk::ModalAnswers().Push(vk::mrCancel);
    double start = Now();
    vk::MainForm->EditFindCmd->Execute();
    Settle();
    Record("IDE find", Now() - start);
    start = Now();
    bare.Edit.SearchReplace(kRare, "", vk::TSrcSearchOptions{vk::ssoEntireScope});
    Record("editor find", Now() - start);
    if (ideEdit.CaretY() != bare.Edit.CaretY()) state.SkipWithError("the find did not reach the hit");

    // Replace-all without the question; each undone after.
    AnswerReplaceAll(kFound, kReplacement);
    start = Now();
    vk::MainForm->EditReplaceCmd->Execute();
    Settle();
    Record("IDE replace-all", Now() - start);
    start = Now();
    bare.Edit.SearchReplace(kFound, kReplacement, replaceAll);
    Record("editor replace-all", Now() - start);
    if (ideEdit.Lines().Get(0) != bare.Edit.Lines().Get(0)) state.SkipWithError("the replace-all differs");
    for (vk::TSrcEdit* edit : {&ideEdit, &bare.Edit}) edit->Undo();
    Settle();
    vk::MessageBoxAnswers().Clear();
    vk::ModalAnswers().Clear();
  }
  bare.Edit.SetSearchEngine(nullptr);
}

// ---------------------------------------------------------------- the build's output

constexpr int kOutputLines = 20000;

// make's echo, the compiler's diagnostics with their source and caret lines,
// and plain lines, in turn.
std::vector<std::string> BuildOutput() {
  static const char* const shapes[] = {
      "avr-gcc -c -mmcu=atmega128 -Os -Wall main.c -o main.o",
      "main.c: In function 'main':",
      "main.c:%d:5: warning: unused variable 'counter_%d' [-Wunused-variable]",
      "  %d |     uint8_t counter;",
      "      |     ^~~~~~~",
      "main.c:%d:9: error: 'PORTX' undeclared (first use in this function)",
      "make: *** [main.o] Error %d",
      "text\t   data\t    bss\t    dec\t    hex\tfilename %d",
  };
  std::vector<std::string> lines;
  char buffer[160];
  for (int i = 0; i < kOutputLines; ++i) {
    std::snprintf(buffer, sizeof buffer, shapes[i % 8], i, i);
    lines.emplace_back(buffer);
  }
  return lines;
}

void BuildOutputToPane(benchmark::State& state) {
  TIdeSession ide;
  const std::vector<std::string> output = BuildOutput();
  for (auto _ : state) {
    double start = Now();
    {
      vk::TStringList list;
      for (const std::string& line : output) list.Add(line);
      Record("string list append", Now() - start);
    }
    vk::MainForm->Memo1->Lines().Clear();
    start = Now();
    // As the build runner hands each line to the main window, then sorts the
    // output into the pane.
    for (const std::string& line : output) {
      vk::MainForm->Memo1->Lines().Add(line);
    }
    vk::MainForm->ParseBuildOutput(vk::TBuildEnd{true, 2, 0});
    Settle();
    Record("build output to pane", Now() - start);
    if (vk::ErrorCount != kOutputLines / 8) state.SkipWithError("the errors were not all counted");
  }
}

// ---------------------------------------------------------------- the disk check

// Longer than the time within which a file's stamp cannot tell a second
// write from the first: the file's last change is settled.
void WaitUntilSettled() { usleep(3'200'000); }

// The file's modification time a day ahead, as an archive from a machine
// whose clock runs ahead leaves it.
void StampInTheFuture(const std::string& path) {
  timespec times[2];
  clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec += 86400;
  times[1] = times[0];
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Another window to the front, then this one, with the check it posts.
void Activate(vk::TMDIChild& other, vk::TMDIChild& document, const std::string& key) {
  other.BringToFront();
  Settle();
  const double start = Now();
  document.BringToFront();
  Settle();
  Record(key, Now() - start);
}

void Save(vk::TMDIChild& document, const std::string& key) {
  document.Editor->SetSelText("x");
  const double start = Now();
  document.Perform(vk::WM_DOCUMENTCOMMAND, vk::dcSave, 0);
  Record(key, Now() - start);
}

void DiskCheck(benchmark::State& state) {
  TIdeSession ide;
  std::filesystem::create_directory(Folder().File("project"));
  const std::string big = Folder().File("project/big.h");
  const std::string small = Folder().File("project/small.h");
  // 40 MB.
  WriteFile(big, AvrSource(kLines * 8 / 7));
  WriteFile(small, AvrSource(100));
  WriteFile(Folder().File("project/other.h"), "int o;\r\n");
  vk::TMDIChild* other = TIdeSession::Open(Folder().File("project/other.h"));
  vk::TMDIChild* documents[] = {TIdeSession::Open(big), TIdeSession::Open(small)};
  const char* names[] = {"40 MB", "small"};
  for (auto _ : state) {
    // A save first, so that no stamp of the last round is left in the future.
    for (vk::TMDIChild* document : documents) document->Perform(vk::WM_DOCUMENTCOMMAND, vk::dcSave, 0);
    WaitUntilSettled();
    // The first check after the wait reads each file once more: its bytes
    // were last known within a tick of its change.
    for (vk::TMDIChild* document : documents) Activate(*other, *document, "first activation after the wait");
    for (int i = 0; i < 2; ++i) Activate(*other, *documents[i], std::string("activation settled, ") + names[i]);
    for (int i = 0; i < 2; ++i) Save(*documents[i], std::string("save, ") + names[i]);
    for (int i = 0; i < 2; ++i) Activate(*other, *documents[i], std::string("activation just saved, ") + names[i]);
    for (int i = 0; i < 2; ++i) {
      StampInTheFuture(i == 0 ? big : small);
      // The first check after the change reads the file once.
      Activate(*other, *documents[i], "first activation, future stamp");
      Activate(*other, *documents[i], std::string("activation future stamp, ") + names[i]);
    }
  }
  if (documents[0]->Editor->Modified()) state.SkipWithError("the document was not saved");
}

// ---------------------------------------------------------------- open, reload and its undo

// The file read and its lines counted with memchr: the least any open or
// reload of it can cost, the baseline of the three below. It reads into
// fresh pages each time, as an open of the file does: from the heap, the
// buffer would cost more or less with whatever the editor left free there.
size_t ReadAndCountLines(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::fseek(f, 0, SEEK_END);
  const auto size = static_cast<size_t>(std::ftell(f));
  std::fseek(f, 0, SEEK_SET);
  void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) std::abort();
  const char* bytes = static_cast<const char*>(memory);
  if (std::fread(memory, 1, size, f) != size) std::abort();
  std::fclose(f);
  size_t lines = 1;
  for (const char* p = bytes; (p = static_cast<const char*>(std::memchr(p, '\n', size - (p - bytes)))); ++p) ++lines;
  munmap(memory, size);
  return lines;
}

// Open as the window loads a file (into an editor with the highlighter), a
// reload after another program changed the file (the window's check and its
// reload), its undo and its redo. The file changes between two texts of a
// million lines each round, so every reload replaces the whole text.
void Reloading(benchmark::State& state) {
  TIdeSession ide;
  std::filesystem::create_directory(Folder().File("project"));
  const std::string path = Folder().File("project/reload.c");
  const std::string texts[] = {AvrSource(kLines), "/* changed */\r\n" + AvrSource(kLines)};
  const int counts[] = {kLines + 1, kLines + 2};
  WriteFile(path, texts[0]);
  vk::TMDIChild* document = TIdeSession::Open(path);
  vk::TSrcEdit& edit = *document->Editor;
  Settle();
  int held = 0;
  for (auto _ : state) {
    double start = Now();
    benchmark::DoNotOptimize(ReadAndCountLines(path));
    Record("read + memchr line count", Now() - start);
    start = Now();
    {
      TBareEditor bare;
      bare.Edit.Lines().LoadFromFile(path);
      Record("open, highlighted", Now() - start);
    }
    const int was = held;
    held = 1 - held;
    WriteFile(path, texts[held]);
    start = Now();
    document->Perform(vk::WM_CHECKDISKFILE, 0, 0);
    Record("window reload", Now() - start);
    if (edit.Lines().Count() != counts[held]) state.SkipWithError("the window did not reload the file");
    start = Now();
    edit.Undo();
    Record("reload undo", Now() - start);
    if (edit.Lines().Count() != counts[was]) state.SkipWithError("the undo did not give back the text");
    start = Now();
    edit.Redo();
    Record("reload redo", Now() - start);
    if (edit.Lines().Count() != counts[held] || edit.Modified()) state.SkipWithError("the redo did not reload");
    Settle();
  }
}

BENCHMARK(Opening)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Typing)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Moving)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Searching)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BuildOutputToPane)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(DiskCheck)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Reloading)->Unit(benchmark::kMillisecond)->Iterations(7);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  constexpr TUnit kMicroseconds{"us", 1e6};
  PrintRatio("File/Open", "editor load");
  PrintRatio("IDE keystroke", "editor keystroke", kMicroseconds);
  for (const TMove& move : kMoves)
    PrintRatio(std::string("IDE ") + move.Name, std::string("editor ") + move.Name, kMicroseconds);
  PrintRatio("IDE find", "editor find");
  PrintRatio("IDE replace-all", "editor replace-all");
  PrintRatio("build output to pane", "string list append");
  for (const char* what : {"activation settled", "activation just saved", "activation future stamp", "save"})
    PrintRatio(std::string(what) + ", 40 MB", std::string(what) + ", small");
  for (const char* what : {"open, highlighted", "window reload", "reload undo", "reload redo"})
    PrintRatio(what, "read + memchr line count");
  benchmark::Shutdown();
}
