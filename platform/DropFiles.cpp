#include "platform/DropFiles.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/Controls.h"

namespace vk {

namespace {

struct TDrop {
  std::vector<std::string> Files;
  TPoint Point;
};

// Live drop handles; never freed, like the desktop's own table.
std::map<HDROP, TDrop>& Drops() {
  static auto* drops = new std::map<HDROP, TDrop>;
  return *drops;
}

HDROP GLastDrop = 0;

const TDrop* Find(HDROP drop) {
  auto found = Drops().find(drop);
  return found == Drops().end() ? nullptr : &found->second;
}

}  // namespace

HDROP CreateDropHandle(const std::vector<std::string>& files, const TPoint& point) {
  HDROP drop = ++GLastDrop;
  Drops()[drop] = TDrop{files, point};
  return drop;
}

unsigned DragQueryFile(HDROP drop, unsigned index, char* buffer, unsigned size) {
  const TDrop* found = Find(drop);
  if (!found) return 0;
  if (index == 0xFFFFFFFFu) return static_cast<unsigned>(found->Files.size());
  if (index >= found->Files.size()) return 0;
  const std::string& name = found->Files[index];
  if (!buffer) return static_cast<unsigned>(name.size());
  if (size == 0) return 0;
  size_t count = std::min<size_t>(name.size(), size - 1);
  std::memcpy(buffer, name.data(), count);
  buffer[count] = '\0';
  return static_cast<unsigned>(count);
}

bool DragQueryPoint(HDROP drop, TPoint& point) {
  const TDrop* found = Find(drop);
  if (!found) return false;
  point = found->Point;
  return true;
}

void DragFinish(HDROP drop) { Drops().erase(drop); }

int LiveDropHandleCount() { return static_cast<int>(Drops().size()); }

bool DropFiles(TWinControl& control, const std::vector<std::string>& files, const TPoint& point) {
  if (!AcceptsDroppedFiles(control)) return false;
  control.Perform(WM_DROPFILES, CreateDropHandle(files, point));
  return true;
}

}  // namespace vk
