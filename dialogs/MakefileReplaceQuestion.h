#pragma once
// The question the settings dialog's OK and the makefile wizard ask before
// they write over a project's makefile of another origin.

#include <string>

namespace vk {

// Whether the makefile at the path may be written. Yes for a file that is
// not there or that the settings dialog wrote; for any other one the
// question "<path> was not written by Vornkit. Replace it? ..." (Yes, No),
// and on Yes the old bytes saved to "<path>.bak" first. A makefile that
// cannot be read, or whose copy cannot be saved, is reported and left as it
// is (no).
bool MayReplaceMakefile(const std::string& path);

}  // namespace vk
