// The keyboard lock state, asked of the X server where there is one.
#include "app/shell/keyboard_locks.h"

#include <QGuiApplication>

#ifdef POLYDROM_HAVE_X11
// X11's headers define macros (None, Bool, KeyPress) that clash with Qt's; they come last.
#include <X11/XKBlib.h>
#endif

KeyboardLocks QueryKeyboardLocks()
{
    KeyboardLocks locks;
#ifdef POLYDROM_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return locks;
    // The indicators are looked up by name: their bit positions differ between keymaps.
    auto lit = [display](const char* name, bool* on) {
        Atom atom = XInternAtom(display, name, True);
        int state = 0;
        if (atom != 0 && XkbGetNamedIndicator(display, atom, nullptr, &state, nullptr, nullptr)) {
            *on = state != 0;
            return true;
        }
        return false;
    };
    const bool caps = lit("Caps Lock", &locks.caps);
    const bool num = lit("Num Lock", &locks.num);
    lit("Scroll Lock", &locks.scroll);
    locks.known = caps || num;
#endif
    return locks;
}
