// The keyboard's lock state for the CAP, NUM and SCRL panes, where the platform tells it.
#pragma once

struct KeyboardLocks {
    bool known = false;  // false where the platform does not say (offscreen, Wayland)
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

KeyboardLocks QueryKeyboardLocks();
