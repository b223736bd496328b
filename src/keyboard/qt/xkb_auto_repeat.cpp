// SPDX-License-Identifier: GPL-3.0-or-later
// The X server's side of held keys, apart from the rest: X11's headers
// define macros (None, KeyPress, Bool) that clash with Qt's names.

#include <QGuiApplication>

#include "keyboard/qt/auto_repeat.h"

#ifdef ORBELA_HAVE_XKB
#include <X11/XKBlib.h>
#endif

namespace orbela {

bool RequestDetectableAutoRepeat()
{
#ifdef ORBELA_HAVE_XKB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return false;
    // The setting belongs to the connection: Qt's own, shared with Xlib.
    int supported = 0;
    const bool set = XkbSetDetectableAutoRepeat(x11->display(), 1, &supported);
    return set && supported;
#else
    return false;
#endif
}

} // namespace orbela
