#pragma once
// Before a project's makefile is written over: a makefile the settings
// dialog wrote is its own to write again; any other one (the user's, the
// wizard's) is replaced only when the user agrees, and is kept beside the
// new one as "<name>.bak". This unit decides and keeps the copy; the forms
// that write makefiles (the settings dialog's OK, the makefile wizard) ask
// the question through dialogs/MakefileReplaceQuestion.

#include <string>

namespace vk {

enum TMakefileReplace {
  mrFree,        // no file there, or one the settings dialog wrote: write it
  mrForeign,     // another origin's file: write it only when the user agrees
  mrUnreadable,  // neither known to be ours nor to be kept: it stays
};

// What stands at the path, with the bytes of a foreign file for its copy.
struct TMakefileReplaceCheck {
  TMakefileReplace State = mrFree;
  std::string Old;
};
TMakefileReplaceCheck CheckMakefileReplace(const std::string& path);

// The user's question for a foreign makefile, and the messages of the two
// failures ("<path> Do not open file!", "<path>.bak Do not save file!").
std::string MakefileReplaceQuestion(const std::string& path);
std::string MakefileUnreadableMessage(const std::string& path);
std::string MakefileBackupFailedMessage(const std::string& path);

// Saves the old bytes as "<path>.bak"; false when they could not be saved.
bool KeepMakefileBackup(const std::string& path, const std::string& old);

}  // namespace vk
