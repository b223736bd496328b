// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/screen_reader_listeners.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

namespace orbela {
namespace {

// An event's name in parts, compared without case and dashes: the registry
// lists "Object:TextCaretMoved:" for what a client asked as
// "object:text-caret-moved".
std::vector<std::string> Parts(std::string_view name)
{
    std::vector<std::string> parts(1);
    for (const char c : name) {
        if (c == ':')
            parts.emplace_back();
        else if (c != '-' && c != '_')
            parts.back() += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return parts;
}

// Whether a listener for `registered` receives `event`: an empty part, or a
// missing one, takes in every event below it.
bool Covers(std::string_view registered, std::string_view event)
{
    const auto want = Parts(registered);
    const auto have = Parts(event);
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (want[i].empty())
            return true;
        if (i >= have.size() || want[i] != have[i])
            return false;
    }
    return true;
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
        return CoversAny(events, {"Focus:", "Object:StateChanged:Focused"}) &&
               CoversAny(events, {"Object:TextCaretMoved"});
    });
}

} // namespace orbela
