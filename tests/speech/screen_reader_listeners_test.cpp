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
    // Some of what the registry lists for Orca 43, beside a tool watching
    // windows.
    auto listeners = From(":1.7", {"Window:Activate:", "Object:ChildrenChanged:"});
    for (auto& listener :
         From(":1.12", {"Focus::", "Document:Reload:", "Mouse:Button:", "Object:TextCaretMoved:",
                        "Object:TextChanged:Insert", "Object:StateChanged:Focused", "Object:StateChanged:Showing"}))
        listeners.push_back(listener);
    EXPECT_TRUE(ListenersShowScreenReader(listeners));
    // Broader prefixes take in the same events, in either spelling.
    EXPECT_TRUE(ListenersShowScreenReader(From(":1.3", {"Object::", "Focus::"})));
    EXPECT_TRUE(ListenersShowScreenReader(From(":1.3", {"object:state-changed:", "object:text-caret-moved"})));
}

TEST(ScreenReaderListeners, ToolsThatReadTheTreeOrWatchOtherEventsAreNot)
{
    EXPECT_FALSE(ListenersShowScreenReader({}));
    EXPECT_FALSE(ListenersShowScreenReader(From(":1.4", {"Window:Create:", "Object:ChildrenChanged:Add"})));
    // Only the focus, or only the caret: a test tool waiting for one thing.
    EXPECT_FALSE(ListenersShowScreenReader(From(":1.4", {"Object:StateChanged:Focused"})));
    EXPECT_FALSE(ListenersShowScreenReader(From(":1.4", {"Object:TextCaretMoved:", "Object:StateChanged:Checked"})));
    // Focus and caret heard by two different clients: neither reads both.
    auto split = From(":1.5", {"Focus::"});
    split.emplace_back(":1.6", "Object:TextCaretMoved:");
    EXPECT_FALSE(ListenersShowScreenReader(split));
    // A part that is not a whole part of the name takes in nothing.
    EXPECT_FALSE(ListenersShowScreenReader(From(":1.4", {"Object:TextCaret", "Foc::"})));
}

} // namespace
} // namespace orbela
