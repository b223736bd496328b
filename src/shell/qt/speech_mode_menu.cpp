// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/speech_mode_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "i18n/qt/qt_text.h"
#include "i18n/speech_mode_strings.h"
#include "settings/speech_settings.h"
#include "speech/speech_policy.h"

namespace orbela {
namespace {

constexpr std::array<SpeechMode, 3> Modes{SpeechMode::Auto, SpeechMode::Self, SpeechMode::ScreenReader};
constexpr std::array<SpeechModeString, 3> Captions{SpeechModeString::Auto, SpeechModeString::Self,
                                                   SpeechModeString::ScreenReader};
constexpr std::array<const char*, 3> ObjectNames{"speechmodeautoitem", "speechmodeselfitem",
                                                 "speechmodescreenreaderitem"};

} // namespace

SpeechModeMenu::SpeechModeMenu(QMenu& settings, SpeechPolicy& policy, IniFile& configuration, int language)
    : QObject(&settings), policy_(policy), configuration_(configuration)
{
    const QString caption = FromCp1250(SpeechModeText(language, SpeechModeString::MenuCaption));
    QMenu* menu = settings.addMenu(caption);
    menu->setObjectName("speechmodemenu");
    submenu_ = menu->menuAction();
    submenu_->setObjectName("speechmodesubmenu");
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (std::size_t i = 0; i < Modes.size(); ++i) {
        QAction* item = menu->addAction(FromCp1250(SpeechModeText(language, Captions[i])));
        item->setObjectName(ObjectNames[i]);
        item->setCheckable(true);
        group->addAction(item);
        const SpeechMode mode = Modes[i];
        connect(item, &QAction::triggered, this, [this, mode] { Choose(mode); });
        items_[i] = item;
    }
    ShowChosen();
}

QAction* SpeechModeMenu::Item(SpeechMode mode) const
{
    for (std::size_t i = 0; i < Modes.size(); ++i) {
        if (Modes[i] == mode)
            return items_[i];
    }
    return nullptr;
}

void SpeechModeMenu::ShowChosen()
{
    if (QAction* item = Item(policy_.Chosen()))
        item->setChecked(true);
}

void SpeechModeMenu::Choose(SpeechMode mode)
{
    policy_.Choose(mode);
    WriteSpeechMode(configuration_, SpeechModeName(mode));
}

} // namespace orbela
