#pragma once
// Sorting a build's output into the error pane: the lines that hold one of
// five words are copied and counted as errors or warnings. Also the output
// read from the build's pipe cut into lines, and the pane line that reports a
// build that failed without saying so.
//
// After a build the main window calls, in this order: ClassifyBuildOutput
// (output memo into the emptied pane), AddBuildFailureLine (with how the
// build ended), then shows CountText of both counts in the count memo and
// hands the counts to the result box.

#include <functional>
#include <string>
#include <string_view>

namespace vk {

class TStrings;

enum TOutputLineClass { olNone, olError, olWarning };

// The leftmost of "error", "warning", "undefined", "first defined" and
// "multiple definition" decides (case-sensitive, also inside identifiers);
// "warning" counts as a warning, the others as errors.
TOutputLineClass ClassifyOutputLine(std::string_view line);

struct TBuildCounts {
  int Errors = 0;
  int Warnings = 0;
};

// Appends every error and warning line of the output to the pane, once each,
// and counts them. The compiler echoes the source line a diagnostic points
// at, with a caret line under it: both belong to the diagnostic above and are
// neither copied nor counted, whatever words the source line holds.
TBuildCounts ClassifyBuildOutput(const TStrings& output, TStrings& pane);

// How the build's child ended.
struct TBuildEnd {
  bool Started = true;  // false: the child could not be started
  int ExitStatus = 0;   // when it exited
  int Signal = 0;       // non-zero: ended by this signal
};

// A build that failed (could not start, exited non-zero or was killed)
// without printing an error line gets one pane line that says so, counted
// as an error, so that the verdict is not "Ok".
void AddBuildFailureLine(const TBuildEnd& end, TBuildCounts& counts, TStrings& pane);

// A count as the count memo shows it: "Ok" for none.
std::string CountText(int count);

// Cuts the bytes read from the build's pipe into lines at line breaks only
// (CR LF, LF or CR), however the pipe divides them into reads.
class TOutputLineSplitter {
public:
  using TLineHandler = std::function<void(const std::string& line)>;
  explicit TOutputLineSplitter(TLineHandler onLine) : FOnLine(std::move(onLine)) {}
  void Feed(std::string_view bytes);
  // The last line, when the output did not end with a line break.
  void Finish();

private:
  TLineHandler FOnLine;
  std::string FPending;
  bool FAfterCR = false;
};

}  // namespace vk
