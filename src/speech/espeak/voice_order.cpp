// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/espeak/voice_order.h"

#include <algorithm>
#include <string_view>
#include <tuple>

namespace orbela {

namespace {

bool IsLanguage(std::string_view language, std::string_view code)
{
    return language == code ||
           (language.size() > code.size() && language.substr(0, code.size()) == code && language[code.size()] == '-');
}

int Rank(const VoiceInfo& voice)
{
    if (IsLanguage(voice.language, "cs"))
        return 0;
    if (IsLanguage(voice.language, "sk"))
        return 1;
    if (IsLanguage(voice.language, "en"))
        return 2;
    return 3;
}

} // namespace

void SortVoicesForList(std::vector<VoiceInfo>& voices)
{
    std::stable_sort(voices.begin(), voices.end(), [](const VoiceInfo& a, const VoiceInfo& b) {
        return std::make_tuple(Rank(a), std::string_view(a.name)) < std::make_tuple(Rank(b), std::string_view(b.name));
    });
}

} // namespace orbela
