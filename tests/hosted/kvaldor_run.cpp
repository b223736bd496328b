// SPDX-License-Identifier: GPL-3.0-or-later
#include "kvaldor_run.h"

#include <algorithm>
#include <array>

namespace orbela::testing {

// Virtual time that also remembers each wait and where in the speech it fell.
class KvaldorRun::WaitClock final : public Clock {
public:
    WaitClock(VirtualClock& clock, KvaldorRun& run) : clock_(clock), run_(run) {}
    void Sleep(std::chrono::milliseconds duration) override
    {
        run_.waits_.push_back({duration, run_.speech_.spoken.size()});
        clock_.Sleep(duration);
    }
    std::chrono::milliseconds Now() const override { return clock_.Now(); }

private:
    VirtualClock& clock_;
    KvaldorRun& run_;
};

// Mirrors the screen and keeps the rows that scroll off its top.
class KvaldorRun::ScreenHistory final : public ScreenObserver {
public:
    explicit ScreenHistory(const Screen& screen) : screen_(screen) {}
    void RowChanged(int row) override { rows_.at(row) = screen_.Row(row); }
    void Scrolled() override
    {
        gone_.push_back(rows_.front());
        std::rotate(rows_.begin(), rows_.begin() + 1, rows_.end());
        rows_.back().clear();
    }
    void Reset() override
    {
        for (auto& row : rows_)
            row.clear();
    }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> all = gone_;
        all.insert(all.end(), rows_.begin(), rows_.end());
        while (!all.empty() && all.back().empty())
            all.pop_back();
        for (auto& line : all) {
            line.erase(line.find_last_not_of(' ') + 1);
            line = Utf(line);
        }
        return all;
    }

private:
    const Screen& screen_;
    std::array<std::string, Screen::Rows> rows_{};
    std::vector<std::string> gone_;
};

KvaldorRun::KvaldorRun()
    : waitClock_(std::make_unique<WaitClock>(clock_, *this)),
      history_(std::make_unique<ScreenHistory>(screen_)),
      runtime_(std::make_unique<Runtime>(screen_, script_, speech_, *waitClock_)),
      game_(*runtime_)
{
    screen_.SetObserver(history_.get());
    script_.OnShow([this] { Opened(); });
}

KvaldorRun::~KvaldorRun()
{
    screen_.SetObserver(nullptr);
}

KvaldorRun& KvaldorRun::Type(std::string_view utf8Line)
{
    script_.ConfirmUtf8(utf8Line);
    return *this;
}

KvaldorRun& KvaldorRun::Type(std::initializer_list<std::string_view> utf8Lines)
{
    for (std::string_view line : utf8Lines)
        Type(line);
    return *this;
}

KvaldorRun& KvaldorRun::Type(const std::vector<std::string>& utf8Lines)
{
    for (const auto& line : utf8Lines)
        Type(line);
    return *this;
}

KvaldorRun& KvaldorRun::Cancel()
{
    script_.Cancel();
    return *this;
}

void KvaldorRun::Play()
{
    try {
        game_.Run();
        returned_ = true;
    } catch (const ScriptExhausted&) {
        returned_ = false;
    }
}

void KvaldorRun::Opened()
{
    inputs_.push_back({game_.StateVariables(), game_.ReturnStackEmpty(), Utf(game_.Command()), game_.CarriedSlots(),
                       speech_.spoken.size()});
}

std::vector<std::string> KvaldorRun::Said(std::size_t k) const
{
    const std::size_t from = k == 0 ? 0 : inputs_.at(k - 1).spokenBefore;
    const std::size_t to = k < inputs_.size() ? inputs_[k].spokenBefore : speech_.spoken.size();
    std::vector<std::string> said;
    for (std::size_t i = from; i < to; ++i)
        said.push_back(Utf(speech_.spoken[i]));
    return said;
}

std::vector<std::string> KvaldorRun::Lines(std::size_t k) const
{
    std::vector<std::string> lines = Said(k);
    std::erase_if(lines, [](const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; });
    return lines;
}

std::vector<std::string> KvaldorRun::AllSaid() const
{
    std::vector<std::string> said;
    for (const auto& text : speech_.spoken)
        said.push_back(Utf(text));
    return said;
}

std::vector<std::string> KvaldorRun::ScreenLines() const
{
    return history_->Lines();
}

const std::vector<std::string>& WinningCommands()
{
    static const std::vector<std::string> commands = {
        "polož peníze", "v", "s", "prozkoumej koš", "vezmi salám", "vezmi kazetu", "vezmi arch", "j", "v",
        "polož salám", "v", "vezmi rum", "z", "z", "s", "s", "polož rum", "vezmi láhev", "j", "j", "v", "v", "v",
        "polož láhev", "v", "j", "vezmi žebřík", "vezmi krumpáč", "v", "j", "vylez strom", "vezmi masku", "d",
        "z", "otevři bednu", "vezmi peníze", "vezmi disketu", "v", "s", "polož krumpáč", "z", "polož žebřík",
        "s", "s", "polož peníze", "z", "z", "polož kazetu", "s", "polož arch", "vezmi šperhák", "v", "v",
        "polož disketu", "vezmi klíč", "otevři dveře", "z", "z", "j", "v", "v", "j", "v", "otevři skříň",
        "vezmi kabel", "z", "s", "z", "z", "s", "v", "v", "v", "j", "instaluj likvidátor", "s", "z", "z", "z",
        "j", "v", "v", "j", "z", "z", "z", "z", "j", "j",
    };
    return commands;
}

std::vector<std::string> WinningPrefix(std::size_t n)
{
    const auto& all = WinningCommands();
    return {all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(n, all.size()))};
}

} // namespace orbela::testing
