#pragma once
// What a build made, which the result box reports on: the part it built
// for, the linker map and the program its link wrote. The build itself
// tells first: the start-up code the linker loaded, and the commands make
// printed (BuildCommands). Where its output shows no link, or no part, the
// makefile tells: the program's own (the settings dialog's or the
// wizard's) as its format says, any other as make itself says in its dry
// run (MakeDryRun). The settings stored for this project tell the part only
// beside a makefile the program wrote.

#include <cstdint>
#include <string>

namespace vk {

class TStrings;

// The part whose start-up code the linker loaded first ("LOAD
// .../crtatmega16.o" gives atmega16); "" when the map names none (a program
// linked without start-up code).
std::string LinkerMapPart(const TStrings& map);

// The settings' part ("SouAvrMcu Type") when the settings were stored for
// this project folder ("SouSource Path"); "" otherwise.
std::string ProjectSettingsPart(const std::string& projectFolder);

struct TBuildProducts {
  std::string Part;     // as the commands or the own makefile name it; "": unknown
  std::string Map;      // the map the link names (absolute); "": none
  std::string Program;  // the program the link writes (absolute); "": no link known
  bool OwnMakefile = false;
};

// From the commands the build's output shows (nullptr: none), else from
// the makefile make reads in the project folder. Of several links, the one
// that writes a program named after the main file, else the last; where no
// link is known, the map and program named after the main file beside it.
// askMake false: make is not asked (the user stopped it a moment ago).
TBuildProducts FindBuildProducts(const TStrings* output, const std::string& projectFolder,
                                 const std::string& mainFile, const std::string& installFolder, bool askMake = true);

// The file was written since the build started (startNs by
// FileClockFloorNs; 0 takes a file of any time): a map or program of an
// earlier build, or one the project ships, was not.
bool WrittenSince(const std::string& file, int64_t startNs);

// The map's part (map nullptr: none), else the products', else, beside the
// program's own makefile, ProjectSettingsPart; "" when nothing tells it.
std::string BuildPart(const TStrings* map, const TBuildProducts& products, const std::string& projectFolder);

}  // namespace vk
