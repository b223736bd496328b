// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Help / Keys (F1): the keys of every window as a list, one key or group
// of keys per item, so that the arrows read it item by item, by the
// program's own voice or by a screen reader.

#include <QDialog>

class QListWidget;
class QPushButton;

namespace orbela {

class KeysDialog final : public QDialog {
    Q_OBJECT

public:
    // `language` is read each time the dialog is shown.
    explicit KeysDialog(const int& language, QWidget* parent = nullptr);

    // Fills the list in the current language and shows it modally, its
    // first item current.
    void ShowKeys();

    QListWidget* keyslist = nullptr;
    QPushButton* closebutton = nullptr;

private:
    void Fill();

    const int& language_;
};

} // namespace orbela
