#include "platform/Ime.h"

#include <algorithm>
#include <cstring>

#include "platform/Controls.h"

namespace vk {

// A context handle is the address of the window's context; it is valid
// while the window exists.

HIMC ImmGetContext(TWinControl& control) {
  if (!control.HandleAllocated()) return 0;
  return reinterpret_cast<HIMC>(&control.ImeContext());
}

bool ImmReleaseContext(TWinControl&, HIMC context) { return context != 0; }

TInputContext& InputContext(HIMC context) { return *reinterpret_cast<TInputContext*>(context); }

int ImmGetCompositionString(HIMC context, uint32_t index, void* buffer, uint32_t size) {
  if (!context || index != GCS_RESULTSTR) return 0;
  const std::string& result = InputContext(context).ResultString;
  if (!buffer || size == 0) return static_cast<int>(result.size());
  size_t count = std::min<size_t>(result.size(), size);
  std::memcpy(buffer, result.data(), count);
  return static_cast<int>(count);
}

bool ImmSetCompositionWindow(HIMC context, const TCompositionForm& form) {
  if (!context) return false;
  InputContext(context).Window = form;
  return true;
}

bool ImmSetCompositionFont(HIMC context, const TLogFont& font) {
  if (!context) return false;
  InputContext(context).Font = font;
  InputContext(context).FontSet = true;
  return true;
}

}  // namespace vk
