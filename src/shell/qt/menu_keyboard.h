// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu bar by keyboard. Two top menus may share their Alt letter
// ("&Program" and "Hel&p"); a repeated Alt+letter moves on to the next top
// menu with that letter, so each stays in reach. F10 opens the first menu.

#include <QObject>

class QMenuBar;
class QWidget;

namespace orbela {

class MenuKeyboard final : public QObject {
    Q_OBJECT

public:
    // Serves `menuBar` while `window` (its window) or one of its menus is
    // active. Installs itself on the application; parented to `window`.
    MenuKeyboard(QWidget& window, QMenuBar& menuBar);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Serves() const;
    bool OpenNextMenu(QChar letter, bool dryRun);
    bool ToggleMenuBar();

    QWidget& window_;
    QMenuBar& menuBar_;
};

// The letter after the first single "&" of a caption, lower-cased; a null
// QChar when the caption has none.
QChar MnemonicOf(const QString& caption);

} // namespace orbela
