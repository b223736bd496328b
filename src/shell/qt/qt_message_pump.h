// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The GUI message loop for the waits of the core.

#include "runtime/message_pump.h"

namespace orbela {

class QtMessagePump final : public MessagePump {
public:
    void ProcessPending() override;
    void WaitAndProcess() override;
};

} // namespace orbela
