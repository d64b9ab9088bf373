#pragma once
// Before a project's makefile is written over: a makefile the settings
// dialog wrote is its own to write again; any other one (the user's, the
// wizard's) is replaced only when the user agrees, and is kept beside the
// new one as "<name>.bak". The settings dialog's OK and the makefile wizard
// both ask here.

#include <string>

namespace vk {

// Whether the makefile at the path may be written. Yes for a file that is
// not there or that IsOwnMakefile; for any other one the question
// "<path> was not written by Vornkit. Replace it? ..." (Yes, No), and on Yes
// the old bytes saved to "<path>.bak" first. A makefile that cannot be read,
// or whose copy cannot be saved, is reported and left as it is (no).
bool MayReplaceMakefile(const std::string& path);

}  // namespace vk
