#pragma once
// The data-entry dialog in its plain form: one line of text, confirmed with
// OK or Enter. It is modal over the main window. Escape does not close it;
// its end-program button and closing it (Alt+F4) end the whole program.

#include <QDialog>

#include <functional>

#include "runtime/input_dialog.h"

class QLineEdit;
class QPushButton;

namespace orbela {

class TForm2 final : public QDialog, public InputDialog {
    Q_OBJECT

public:
    // Captions come from `language`.
    explicit TForm2(int language, QWidget* parent = nullptr);

    // What the end-program button and a close request do: write the memory
    // image and end the process. It is not expected to return; when it does
    // (tests), the dialog stays open.
    void SetEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    void ClearField() override;
    int ShowModal() override;
    std::string FieldText() const override;

    QLineEdit* inputedit = nullptr;
    QPushButton* Enterbitbtn = nullptr;
    QPushButton* exitprogrambtn = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(int language);
    void exitprogrambtnClick();

    std::function<void()> endProgram_;
};

} // namespace orbela
