// SPDX-License-Identifier: GPL-3.0-or-later
#include "hosted/orbelaprog.h"

#include "hosted/kvaldor_game.h"

namespace orbela {

void RunKvaldor(Runtime& runtime)
{
    kvaldor::KvaldorGame game(runtime);
    game.Run();
}

} // namespace orbela
