// SPDX-License-Identifier: GPL-3.0-or-later
// Telling a screen reader from other clients of the accessibility bus by
// the listeners the registry lists for them.
#include "speech/screen_reader_listeners.h"

#include <gtest/gtest.h>

namespace orbela {
namespace {

std::vector<EventListener> From(const std::string& client, std::initializer_list<const char*> events)
{
    std::vector<EventListener> listeners;
    for (const char* event : events)
        listeners.emplace_back(client, event);
    return listeners;
}

TEST(ScreenReaderListeners, OrcasListenersMakeAScreenReaderAmongOtherClients)
{
    // What Orca 43 registers (its default script), beside a tool watching
    // windows.
    auto listeners = From(":1.7", {"window:activate", "object:children-changed"});
    for (auto& listener :
         From(":1.12", {"focus:", "keyboard:modifiers", "mouse:button", "object:text-caret-moved",
                        "object:text-changed:insert", "object:state-changed:focused", "object:state-changed:showing"}))
        listeners.push_back(listener);
    EXPECT_TRUE(ListenersShowScreenReader(listeners));
    // Broader prefixes take in the same events.
    EXPECT_TRUE(ListenersShowScreenReader(From(":1.3", {"object:", "focus:"})));
    EXPECT_TRUE(ListenersShowScreenReader(From(":1.3", {"object:state-changed", "object:text-caret-moved"})));
}

TEST(ScreenReaderListeners, ToolsThatReadTheTreeOrWatchOtherEventsAreNot)
{
    EXPECT_FALSE(ListenersShowScreenReader({}));
    EXPECT_FALSE(ListenersShowScreenReader(From(":1.4", {"window:create", "object:children-changed:add"})));
    // Only the focus, or only the caret: a test tool waiting for one thing.
    EXPECT_FALSE(ListenersShowScreenReader(From(":1.4", {"object:state-changed:focused"})));
    EXPECT_FALSE(ListenersShowScreenReader(From(":1.4", {"object:text-caret-moved", "object:state-changed:checked"})));
    // Focus and caret heard by two different clients: neither reads both.
    auto split = From(":1.5", {"focus:"});
    split.emplace_back(":1.6", "object:text-caret-moved");
    EXPECT_FALSE(ListenersShowScreenReader(split));
    // A prefix that is not a whole part of the name takes in nothing.
    EXPECT_FALSE(ListenersShowScreenReader(From(":1.4", {"object:text-car", "foc"})));
}

} // namespace
} // namespace orbela
