// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/screen_review.h"

#include <string_view>

namespace orbela {
namespace {

constexpr std::string_view LineBreak = "\r\n";

} // namespace

int ScreenReview::EditorPosition(std::size_t position) const
{
    // One less per line break before.
    int breaks = 0;
    for (std::size_t at = text_.find(LineBreak); at != std::string::npos && at < position;
         at = text_.find(LineBreak, at + LineBreak.size()))
        ++breaks;
    return static_cast<int>(position) - breaks;
}

std::string ScreenReview::LineText(int line) const
{
    std::size_t start = 0;
    for (int i = 0; i < line; ++i) {
        start = text_.find(LineBreak, start);
        if (start == std::string::npos)
            return {};
        start += LineBreak.size();
    }
    const std::size_t end = text_.find(LineBreak, start);
    return text_.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool ScreenReview::EdgeClicks(bool atEdge)
{
    if (!atEdge)
        screenedge_ = false;
    else if (!screenedge_)
        screenedge_ = true;
    else
        return true;
    return false;
}

} // namespace orbela
