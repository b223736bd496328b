// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: product name and version in the current language.

#include <QDialog>

class QLabel;
class QPushButton;

namespace orbela {

class TAboutbox final : public QDialog {
    Q_OBJECT

public:
    // Texts are set once, from `language`, at creation.
    explicit TAboutbox(int language, QWidget* parent = nullptr);

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(int language);
};

} // namespace orbela
