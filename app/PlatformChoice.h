#pragma once

// The Qt platform to force before the application starts, or null to leave Qt's own choice. Reminders appear only
// while the main window is minimized, and a Wayland compositor never tells a client that its window was
// minimized; under Wayland with an X server at hand (XWayland) the program therefore runs on xcb, unless the user
// chose a platform.
const char* ChooseQtPlatform(const char* sessionType, const char* waylandDisplay, const char* display,
                             const char* qtPlatform);
