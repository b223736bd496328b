// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/engine_event_relay.h"

namespace orbela {

EngineEventRelay::EngineEventRelay(GuiThreadPoster& poster)
    : poster_(poster), target_(std::make_shared<Target>())
{
}

EngineEventRelay::~EngineEventRelay()
{
    target_->listener = nullptr;
}

void EngineEventRelay::SetListener(SpeechEngineListener* listener)
{
    // Events already posted belong to the old listener: cut them off by
    // giving the new one a target of its own.
    auto fresh = std::make_shared<Target>();
    fresh->listener = listener;
    std::lock_guard lock(mutex_);
    target_->listener = nullptr;
    target_ = std::move(fresh);
}

std::shared_ptr<EngineEventRelay::Target> EngineEventRelay::CurrentTarget()
{
    std::lock_guard lock(mutex_);
    return target_;
}

void EngineEventRelay::PostAudioStart()
{
    poster_.Post([target = CurrentTarget()] {
        if (target->listener != nullptr)
            target->listener->AudioStart();
    });
}

void EngineEventRelay::PostAudioStop(std::uint64_t requestsFinished)
{
    poster_.Post([target = CurrentTarget(), requestsFinished] {
        if (target->listener != nullptr)
            target->listener->AudioStop(requestsFinished);
    });
}

} // namespace orbela
