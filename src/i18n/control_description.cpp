// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/control_description.h"

#include <array>
#include <cstddef>
#include <vector>

#include "i18n/resource_localizer.h"
#include "text/cp1250.h"

namespace orbela {
namespace {

// The words after the roles, in the tables below.
enum class Word {
    Checked = static_cast<int>(ControlRole::Group) + 1,
    NotChecked,
    Unavailable,
    SystemServiceSpeaks,
    EmbeddedVoiceSpeaks,
    Count,
};

constexpr std::size_t WordCount = static_cast<std::size_t>(Word::Count);
using Words = std::array<const char*, WordCount>;

// The roles in the order of ControlRole (None says nothing), then Word.
constexpr Words Czech{
    "",
    "dialog",
    "nabídka",
    "tlačítko",
    "zaškrtávací políčko",
    "přepínač",
    "posuvník",
    "seznam",
    "editační pole",
    "skupina",
    "zaškrtnuto",
    "nezaškrtnuto",
    "nedostupné",
    "Vestavěný hlas nemůže mluvit, místo něj mluví systémová hlasová služba.",
    "Systémová hlasová služba nemůže mluvit, místo ní mluví vestavěný hlas.",
};
constexpr Words English{
    "",
    "dialog",
    "menu",
    "button",
    "check box",
    "radio button",
    "slider",
    "list",
    "edit field",
    "group",
    "checked",
    "not checked",
    "unavailable",
    "The embedded voice cannot speak; the system speech service speaks instead.",
    "The system speech service cannot speak; the embedded voice speaks instead.",
};
constexpr Words Slovak{
    "",
    "dialóg",
    "ponuka",
    "tlačidlo",
    "začiarkavacie políčko",
    "prepínač",
    "posúvač",
    "zoznam",
    "editačné pole",
    "skupina",
    "začiarknuté",
    "nezačiarknuté",
    "nedostupné",
    "Vstavaný hlas nemôže hovoriť, namiesto neho hovorí systémová hlasová služba.",
    "Systémová hlasová služba nemôže hovoriť, namiesto nej hovorí vstavaný hlas.",
};

// English for a language without a table, as the mode's texts do.
std::string WordIn(int language, std::size_t index)
{
    const Words& words = language == LanguageCzech ? Czech : language == LanguageSlovak ? Slovak : English;
    return Utf8ToCp1250Lossy(words[index]);
}

std::string WordIn(int language, Word word)
{
    return WordIn(language, static_cast<std::size_t>(word));
}

std::string Joined(const std::vector<std::string>& parts, std::string_view separator = ", ")
{
    std::string text;
    for (const std::string& part : parts) {
        if (part.empty())
            continue;
        if (!text.empty())
            text += separator;
        text += part;
    }
    return text;
}

} // namespace

std::string WithoutAccessKey(std::string_view caption)
{
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            text += caption[i];
            continue;
        }
        // A doubled mark is the ampersand itself.
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            text += '&';
            ++i;
        }
    }
    return text;
}

std::string DescribeControl(const ControlFacts& facts, int language)
{
    return Joined({facts.label, WordIn(language, static_cast<std::size_t>(facts.role)), facts.value, facts.shortcut,
                   facts.checked ? CheckStateWord(*facts.checked, language) : std::string(),
                   facts.available ? std::string() : WordIn(language, Word::Unavailable)});
}

std::string BrailleControl(const ControlFacts& facts, int language)
{
    std::string indicator;
    if (facts.checked) {
        if (facts.role == ControlRole::RadioButton)
            indicator = *facts.checked ? "&=y" : "& y";
        else
            indicator = *facts.checked ? "<x>" : "< >";
    }
    return Joined({indicator, facts.label, facts.value, facts.shortcut.empty() ? "" : "(" + facts.shortcut + ")",
                   facts.available ? std::string() : WordIn(language, Word::Unavailable)},
                  " ");
}

std::string CheckStateWord(bool checked, int language)
{
    return WordIn(language, checked ? Word::Checked : Word::NotChecked);
}

std::string DescribeGroup(std::string_view label, int language)
{
    return Joined({std::string(label), WordIn(language, static_cast<std::size_t>(ControlRole::Group))});
}

std::string DescribeWindow(std::string_view title, int language)
{
    return Joined({std::string(title), WordIn(language, static_cast<std::size_t>(ControlRole::Dialog))});
}

std::string EngineNoticeText(EngineNotice notice, int language)
{
    return WordIn(language, notice == EngineNotice::SystemServiceSpeaks ? Word::SystemServiceSpeaks
                                                                        : Word::EmbeddedVoiceSpeaks);
}

} // namespace orbela
