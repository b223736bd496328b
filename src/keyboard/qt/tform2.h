// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data-entry dialog: one line of text, confirmed with OK or Enter, built
// for a user who cannot see it. Every key is answered by speech or a short
// sound, the text can be reviewed by character and by word, and with the
// chord keyboard on, text is typed as braille chords. Escape does not close
// it; its end-program button and a close request end the whole program.

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

#include "runtime/input_dialog.h"
#include "speech/speech_policy.h"

class QEventLoop;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace orbela {

class BrailleTable;
class ChordKeyboard;
class FieldEcho;
class FieldKeys;
class KeyState;
class Runtime;
class SpeechService;

// What the dialog speaks, sounds and reads through. Members left null are
// not used: without speech the dialog is silent, without a table no chord
// produces anything.
struct DataEntryServices {
    Runtime* runtime = nullptr;  // braillekeys, and the beep and click sounds
    SpeechService* speech = nullptr;
    const KeyState* keys = nullptr;
    BrailleTable* braille = nullptr;
    // Opens the review of the screen over the dialog; returns when it closes.
    std::function<void()> openVirtualScreen;
};

class TForm2 final : public QDialog, public InputDialog {
    Q_OBJECT

public:
    // Captions come from `language`.
    explicit TForm2(int language, QWidget* parent = nullptr);
    ~TForm2() override;

    void SetServices(DataEntryServices services);

    // What the end-program button, Alt+F4 and a close request do: write the
    // memory image and end the process. It is not expected to return; when
    // it does (tests), the dialog stays open.
    void SetEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    void ClearField() override;
    int ShowModal() override;
    std::string FieldText() const override;

    // A cell typed on a braille display's keyboard (a chord pattern such as
    // "145"): translated by the chord table, echoed and inserted at the
    // caret as a chord of the six keys is.
    void TypeDisplayChord(const std::string& pattern);
    // A braille display's routing key: the caret goes to `column` and the
    // field answers as it does to the arrow key that reaches it.
    void RouteCaretTo(int column);

    // The braille prefix in effect for the chords typed here.
    std::string dialogprefix() const;

    QLineEdit* inputedit = nullptr;
    QPushButton* Enterbitbtn = nullptr;
    QPushButton* exitprogrambtn = nullptr;

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(int language);
    void inputeditEnter(bool reactivated);
    void ButtonEnter(QPushButton* button);
    void exitprogrambtnClick();
    void EndProgram();
    void MakeEcho();
    void FormClose();
    // Each returns true when the field must not see the key.
    bool inputeditKeyDown(const QKeyEvent& event);
    bool inputeditKeyPress(const QKeyEvent& event);
    void inputeditKeyUp(const QKeyEvent& event);
    void InsertAtCaret(const std::string& cp1250Text);

    std::string Text() const;
    int Caret() const;
    bool BrailleKeys() const;
    void DescribePromptContext();
    void LabelField(const QString& text);
    bool BesideScreenReader() const;
    void StopSpeech();

    int language_;
    DataEntryServices services_;
    QLabel* contextlabel_ = nullptr;
    QTimer* contextTimer_ = nullptr;  // the context added after the first reading
    std::unique_ptr<ChordKeyboard> chords_;
    // The key's echo is queued, never waited for: the key is finished
    // (inserted, caret moved) before the next key is handled.
    std::unique_ptr<FieldEcho> echo_;
    std::unique_ptr<FieldKeys> fieldKeys_;  // uses echo_
    std::function<void()> endProgram_;
    bool dialogvisited_ = false;
    QEventLoop* answered_ = nullptr;  // while ShowModal waits for a line
};

} // namespace orbela
