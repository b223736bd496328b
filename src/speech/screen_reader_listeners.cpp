// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/screen_reader_listeners.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace orbela {
namespace {

// Whether a listener for `registered` receives `event`: the registry
// matches by prefix at the ':' boundaries, and "" takes in everything.
bool Covers(std::string_view registered, std::string_view event)
{
    if (registered.empty())
        return true;
    if (event.substr(0, registered.size()) != registered)
        return false;
    return registered.size() == event.size() || registered.back() == ':' || event[registered.size()] == ':';
}

bool CoversAny(const std::vector<std::string>& registered, std::initializer_list<std::string_view> events)
{
    return std::any_of(registered.begin(), registered.end(), [&](const std::string& r) {
        return std::any_of(events.begin(), events.end(), [&](std::string_view e) { return Covers(r, e); });
    });
}

} // namespace

bool ListenersShowScreenReader(const std::vector<EventListener>& listeners)
{
    std::map<std::string, std::vector<std::string>> byClient;
    for (const auto& [client, event] : listeners)
        byClient[client].push_back(event);
    return std::any_of(byClient.begin(), byClient.end(), [](const auto& entry) {
        const auto& events = entry.second;
        return CoversAny(events, {"focus:", "object:state-changed:focused"}) &&
               CoversAny(events, {"object:text-caret-moved"});
    });
}

} // namespace orbela
