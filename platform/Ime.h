#pragma once
// The input method's side of a window: the composed result string that a
// WM_IME_COMPOSITION announces, and where and in which font the composition
// window is shown. The backend fills the result string before it sends the
// message; tests do the same.

#include <cstdint>
#include <string>

#include "platform/Graphics.h"

namespace vk {

class TWinControl;

using HIMC = uintptr_t;

// WM_IME_COMPOSITION flags.
constexpr uint32_t GCS_COMPSTR = 0x0008;
constexpr uint32_t GCS_RESULTSTR = 0x0800;
// WM_IME_NOTIFY codes.
constexpr uintptr_t IMN_SETOPENSTATUS = 0x0008;
// Composition window styles.
constexpr uint32_t CFS_POINT = 0x0002;

struct TCompositionForm {
  uint32_t dwStyle = 0;
  TPoint ptCurrentPos;
  TRect rcArea;
};

// The state kept per window.
struct TInputContext {
  std::string ResultString;
  TCompositionForm Window;
  TLogFont Font;
  bool FontSet = false;
};

// The window's input context (made on first use; it lives with the window).
HIMC ImmGetContext(TWinControl& control);
bool ImmReleaseContext(TWinControl& control, HIMC context);
// GCS_RESULTSTR: copies up to size bytes of the result string (no NUL) and
// answers the bytes copied; with no buffer or size 0, the bytes there are.
// Other indexes answer 0.
int ImmGetCompositionString(HIMC context, uint32_t index, void* buffer, uint32_t size);
bool ImmSetCompositionWindow(HIMC context, const TCompositionForm& form);
bool ImmSetCompositionFont(HIMC context, const TLogFont& font);

// The context behind a handle (for the backend and tests).
TInputContext& InputContext(HIMC context);

}  // namespace vk
