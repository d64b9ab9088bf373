#include "SrcEdit/Source/SrcEditKbdHandler.h"

namespace vk {

void TSrcEditKbdHandler::ExecuteKeyDown(TObject* sender, uint16_t& key, TShiftState shift) {
  FKeyDownChain.Run([&] { return key == 0; }, sender, key, shift);
}

void TSrcEditKbdHandler::ExecuteKeyUp(TObject* sender, uint16_t& key, TShiftState shift) {
  FKeyUpChain.Run([&] { return key == 0; }, sender, key, shift);
}

void TSrcEditKbdHandler::ExecuteKeyPress(TObject* sender, char& key) {
  FKeyPressChain.Run([&] { return key == '\0'; }, sender, key);
}

namespace {
constexpr bool NeverStop() { return false; }
}  // namespace

void TSrcEditKbdHandler::ExecuteMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
  FMouseDownChain.Run(NeverStop, sender, button, shift, x, y);
}

void TSrcEditKbdHandler::ExecuteMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
  FMouseUpChain.Run(NeverStop, sender, button, shift, x, y);
}

void TSrcEditKbdHandler::ExecuteMouseCursor(TObject* sender, const TBufferCoord& aLineCharPos, TCursor& aCursor) {
  FMouseCursorChain.Run(NeverStop, sender, aLineCharPos, aCursor);
}

}  // namespace vk
