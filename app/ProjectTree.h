#pragma once
// The project tree of the side panel: file nodes (made when a project
// opens) with the names of the functions each file defines below them.
//
// A function is found the simple way, line by line: a line that holds
// "void" names the function that follows it (so only functions returning
// void, or taking void, are listed).

#include <string>

namespace vk {

class TStrings;
class TTreeNode;
class TTreeView;

// The name a line defines: the characters after the first "void" up to the
// first "(", "*" or ")" (or the line's end), blanks left out. A line that
// holds ";" (a prototype, a pointer to void) defines none, and a line with
// "void" that mentions "main" anywhere defines "main". "" for none.
std::string FunctionNameOfLine(const std::string& line);

// Adds the functions the lines define as children of the file's node, each
// name once in the whole tree (a name already there, at any level, is not
// added again).
void AddFunctionNodes(TTreeView& tree, TTreeNode& fileNode, const TStrings& lines);

// The node's picture by the end of its text: 1 a ".c" file, 2 a ".h" file
// (either case), 3 anything else (functions, assembler sources).
int ProjectNodeImage(const std::string& text);

}  // namespace vk
