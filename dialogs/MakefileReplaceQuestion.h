#pragma once
// The question the settings dialog's OK and the makefile wizard ask before
// they write over a project's makefile of another origin.

#include <functional>
#include <string>

#include "services/EnvironmentMakefileReplace.h"

namespace vk {

// What the new makefile will not do that the old one does, worked out only
// when the question is asked.
using TMakefileLossesQuery = std::function<TMakefileLosses()>;

// Whether the makefile at the path may be written. Yes for a file that is
// not there or that the settings dialog wrote, and for the wizard's when a
// query finds the new makefile loses nothing; for any other one the question
// "<path> was not written by Vornkit. Replace it? ..." (Yes, No), listing
// what the new makefile will not do when a query is given (No is then the
// default where it would not do everything, or make cannot tell), and on
// Yes the old bytes saved to "<path>.bak" first. The hourglass shows while
// the query asks make. A makefile that cannot be
// read, or whose copy cannot be saved, is reported and left as it is (no).
bool MayReplaceMakefile(const std::string& path, const TMakefileLossesQuery& losses = nullptr);

}  // namespace vk
