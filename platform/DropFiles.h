#pragma once
// Files dropped on a window from the desktop. The backend (or a test) makes
// a drop handle for the files and the point and sends WM_DROPFILES with it
// to a window registered with DragAcceptFiles; the receiver reads it and
// must finish it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Graphics.h"

namespace vk {

class TWinControl;

using HDROP = uintptr_t;

// A live drop handle for the files dropped at point (client coordinates).
HDROP CreateDropHandle(const std::vector<std::string>& files, const TPoint& point);
// Index 0xFFFFFFFF: the number of files. Otherwise copies the name of file
// index into the buffer (at most size - 1 bytes and a NUL) and answers its
// length; with no buffer, the length it needs. 0 for a bad handle or index.
unsigned DragQueryFile(HDROP drop, unsigned index, char* buffer, unsigned size);
bool DragQueryPoint(HDROP drop, TPoint& point);
// Frees the handle.
void DragFinish(HDROP drop);
// Handles not yet finished.
int LiveDropHandleCount();

// Makes a drop handle and sends WM_DROPFILES to the control; false (and no
// handle) when the control is not registered for dropped files.
bool DropFiles(TWinControl& control, const std::vector<std::string>& files, const TPoint& point);

}  // namespace vk
