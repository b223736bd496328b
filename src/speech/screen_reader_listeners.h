// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which clients of the accessibility bus are screen readers, judged from
// the event listeners they registered with the bus's registry. A screen
// reader follows the focus and the caret to read them aloud, so it listens
// to both; a tool that only reads the tree (automation, tests) registers no
// listener, and one that watches windows or children registers neither.

#include <string>
#include <utility>
#include <vector>

namespace orbela {

// One registered listener: the client's bus name and the event it asked
// for, as the registry lists them ("Object:TextCaretMoved:", or a prefix
// such as "Object::" that takes in every event below it).
using EventListener = std::pair<std::string, std::string>;

bool ListenersShowScreenReader(const std::vector<EventListener>& listeners);

} // namespace orbela
