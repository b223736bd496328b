// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings / Speech mode: three exclusive items (automatic, self-voicing,
// screen reader). Choosing one tells the speech policy and writes the
// choice to the configuration file's [speech] mode key.

#include <QObject>

#include <array>

class QAction;
class QMenu;

namespace orbela {

class IniFile;
class SpeechPolicy;
enum class SpeechMode;

class SpeechModeMenu final : public QObject {
    Q_OBJECT

public:
    // Adds the submenu at the end of `settings`.
    SpeechModeMenu(QMenu& settings, SpeechPolicy& policy, IniFile& configuration, int language);

    QAction* Submenu() const { return submenu_; }
    QAction* Item(SpeechMode mode) const;
    // Moves the check mark to the policy's chosen mode.
    void ShowChosen();

private:
    void Choose(SpeechMode mode);

    SpeechPolicy& policy_;
    IniFile& configuration_;
    QAction* submenu_ = nullptr;
    std::array<QAction*, 3> items_{};
};

} // namespace orbela
