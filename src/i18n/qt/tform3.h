// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The environment dialog: chooses the user-interface language. The choice
// changes the current language at once (strings loaded later come from it),
// is written to the configuration file on OK, and relabels the other
// windows only at the next start.

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace orbela {

class IniFile;

class TForm3 final : public QDialog {
    Q_OBJECT

public:
    // `language` is the process's current language; the dialog reads and
    // changes it. Both must outlive the dialog.
    TForm3(IniFile& configuration, int& language, QWidget* parent = nullptr);

    // Settings/Environment: selects the current language's item, shows the
    // dialog modally and, on OK, writes the language (raising Error when
    // the file cannot be written) and tells the user when the choice
    // changed.
    void ShowEnvironment();

    // The item of the selected language, -1 when none is selected.
    int SelectedIndex() const;

    QGroupBox* languagergroup = nullptr;
    QPushButton* okbitbtn = nullptr;
    QPushButton* cancelbitbtn = nullptr;

private:
    void FormCreate();
    void languagergroupClick();
    void SetTexts();
    // Checks item `index`, running the click handler; an index outside the
    // list leaves every item unchecked and the language as it is.
    void SelectItem(int index);

    IniFile& configuration_;
    int& language_;
    QButtonGroup* items_ = nullptr;
    std::vector<int> numbers_;
};

} // namespace orbela
