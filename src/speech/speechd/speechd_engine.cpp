// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/speechd/speechd_engine.h"

#include <libspeechd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

#include "text/cp1250.h"
#include "text/error.h"

namespace orbela {

std::optional<SpeechdPriority> ParseSpeechdPriority(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, SpeechdPriority>, 5> names{{
        {"important", SpeechdPriority::Important},
        {"message", SpeechdPriority::Message},
        {"text", SpeechdPriority::Text},
        {"notification", SpeechdPriority::Notification},
        {"progress", SpeechdPriority::Progress},
    }};
    for (const auto& [text, priority] : names) {
        if (text == name)
            return priority;
    }
    return std::nullopt;
}

namespace {

SPDPriority ToSpd(SpeechdPriority priority)
{
    switch (priority) {
    case SpeechdPriority::Important:
        return SPD_IMPORTANT;
    case SpeechdPriority::Message:
        return SPD_MESSAGE;
    case SpeechdPriority::Text:
        return SPD_TEXT;
    case SpeechdPriority::Notification:
        return SPD_NOTIFICATION;
    case SpeechdPriority::Progress:
        return SPD_PROGRESS;
    }
    return SPD_MESSAGE;
}

} // namespace

struct SpeechdEngine::Connection {
    explicit Connection(SPDConnection* opened) : spd(opened) {}
    ~Connection() { spd_close(spd); }
    SPDConnection* spd;
};

// libspeechd's callbacks carry no user data, only the client's number:
// they find their engine here.
struct SpeechdEngine::Registry {
    static std::mutex& Mutex()
    {
        static std::mutex mutex;
        return mutex;
    }
    static std::map<std::size_t, SpeechdEngine*>& Engines()
    {
        static std::map<std::size_t, SpeechdEngine*> engines;
        return engines;
    }
    static void Dispatch(std::size_t message, std::size_t client, SPDNotificationType type)
    {
        std::lock_guard lock(Mutex());
        const auto found = Engines().find(client);
        if (found == Engines().end())
            return;
        found->second->OnEvent(message, type == SPD_EVENT_BEGIN ? Event::Begin : Event::End);
    }
};

SpeechdEngine::SpeechdEngine(GuiThreadPoster& poster, Spawn spawn) : relay_(poster)
{
    char* error = nullptr;
    SPDConnection* opened = spd_open2("orbela", "speech", nullptr, SPD_MODE_THREADED, nullptr,
                                      spawn == Spawn::IfNeeded ? 1 : 0, &error);
    if (!opened) {
        std::string reason = error ? error : "no connection";
        std::free(error);
        throw Error("Speech Dispatcher cannot be reached: " + Utf8ToCp1250Lossy(reason));
    }
    std::free(error);
    connection_ = std::make_unique<Connection>(opened);
    SPDConnection* connection = opened;
    clientId_ = static_cast<std::size_t>(spd_get_client_id(connection));
    {
        std::lock_guard lock(Registry::Mutex());
        Registry::Engines()[clientId_] = this;
    }
    connection->callback_begin = &Registry::Dispatch;
    connection->callback_end = &Registry::Dispatch;
    connection->callback_cancel = &Registry::Dispatch;
    if (spd_set_notification_on(connection, SPD_BEGIN) != 0 || spd_set_notification_on(connection, SPD_END) != 0 ||
        spd_set_notification_on(connection, SPD_CANCEL) != 0 || spd_set_language(connection, "cs") != 0 ||
        spd_set_data_mode(connection, SPD_DATA_TEXT) != 0) {
        {
            std::lock_guard lock(Registry::Mutex());
            Registry::Engines().erase(clientId_);
        }
        throw Error("Speech Dispatcher refused the connection's settings");
    }
}

SpeechdEngine::~SpeechdEngine()
{
    {
        std::lock_guard lock(Registry::Mutex());
        Registry::Engines().erase(clientId_);
    }
    connection_.reset();
}

void SpeechdEngine::Speak(std::string_view utf8Text, SpeechMarkup markup)
{
    // The service says nothing for nothing and reports nothing either:
    // the request is over at once.
    if (utf8Text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        std::lock_guard lock(mutex_);
        Finished();
        return;
    }
    const bool ssml = markup == SpeechMarkup::Ssml;
    if (ssml != ssmlMode_) {
        if (spd_set_data_mode(connection_->spd, ssml ? SPD_DATA_SSML : SPD_DATA_TEXT) != 0)
            throw Error("Speech Dispatcher refused the data mode");
        ssmlMode_ = ssml;
    }
    std::string text(utf8Text);
    if (ssml && text.rfind("<speak", 0) != 0)
        text = "<speak>" + text + "</speak>";
    const int message = spd_say(connection_->spd, ToSpd(priority_), text.c_str());
    if (message < 0)
        throw Error("Speech Dispatcher refused the text");
    std::lock_guard lock(mutex_);
    const auto id = static_cast<std::size_t>(message);
    if (endedEarly_.erase(id) > 0) {
        Finished();
        return;
    }
    pending_.insert(id);
}

void SpeechdEngine::Reset()
{
    spd_cancel(connection_->spd);
    // Messages dropped from the queue may never report: count them all as
    // over now, and let their late events pass.
    std::lock_guard lock(mutex_);
    if (!pending_.empty())
        resetBelow_ = std::max(resetBelow_, *pending_.rbegin() + 1);
    finished_ += pending_.size();
    pending_.clear();
    endedEarly_.clear();
    relay_.PostAudioStop(finished_);
}

void SpeechdEngine::SelectVoice(const std::string&)
{
    throw Error("The system speech service speaks with the system's voice");
}

void SpeechdEngine::Finished()
{
    ++finished_;
    relay_.PostAudioStop(finished_);
}

void SpeechdEngine::OnEvent(std::size_t message, Event event)
{
    std::lock_guard lock(mutex_);
    if (event == Event::Begin) {
        if (message >= resetBelow_)
            relay_.PostAudioStart();
        return;
    }
    if (pending_.erase(message) > 0) {
        Finished();
        return;
    }
    if (message >= resetBelow_)
        endedEarly_.insert(message);
}

} // namespace orbela
