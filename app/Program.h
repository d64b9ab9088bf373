#pragma once
// The program's run: the windows made at start-up, in their order (the main
// window first), the message loop until the main window closes, then every
// form freed. An exception that escapes is shown in the application's
// exception box. The backend (its event loop and services) is in place
// before, and goes after.

namespace vk {

int RunProgram();

}  // namespace vk
