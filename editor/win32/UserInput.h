#pragma once
// A scripted user's input on the layer's windows: the software layer's
// synthetic input, or the messages of a user's input on the system's real
// windows. Both offer the same calls (clickControl, drag, rightClick, wheel,
// key and deliverPaint, which paints what the input left to paint), so the
// code above the layer names them once, as user_input::.
#ifdef _WIN32
#include "editor/win32/Win32Input.h"
namespace wowfix {
namespace user_input = win32_input;
}
#else
#include "editor/win32/SoftInput.h"
namespace wowfix {
namespace user_input = soft;
}
#endif
