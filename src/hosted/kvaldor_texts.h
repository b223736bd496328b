// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adventure's texts outside the room tables: the introduction, the
// story, the endings and the two subroutines' texts. UTF-8 here; printed
// through the Windows-1250 cache of kvaldor_text.h.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "hosted/kvaldor_world.h"

namespace orbela::kvaldor {

std::span<const std::string_view> IntroductionLines();
inline constexpr std::string_view StoryTitle = "kvaldor.";
std::span<const std::string_view> StoryParagraphs();

// The lines of one death, printed before the play-again question.
std::span<const std::string_view> DeathLines(Death death);
std::span<const std::string_view> WinLines();

inline constexpr std::string_view PlayAgainQuestion = "chceš hrát znovu? 0 =ano, 1 =ne";
inline constexpr std::string_view GameOver = "hra je skončena.";
inline constexpr std::string_view Refusal = "nelze provést.";
inline constexpr std::string_view CarryingHeading = "neseš sebou: ";
inline constexpr std::string_view PromptBlank = " ";

// One line of the inventory listing: the item's variable, the word shown
// while it is carried and the text shown while it is not.
struct InventoryItem {
    Var var;
    std::string_view word;
    std::string_view absent;
};
inline constexpr std::size_t InventoryItemCount = 15;
std::span<const InventoryItem, InventoryItemCount> InventoryItems();

} // namespace orbela::kvaldor
