// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The virtual screen: a modal, read-only copy of the 24-row screen that the
// user walks by line, character and word, with the caret's position
// announced on request. Positions count each line break as two characters,
// as the screen text has them.

#include <QDialog>

#include <optional>
#include <string>

#include "i18n/interface_strings.h"
#include "keyboard/screen_review.h"
#include "text/error.h"

class QKeyEvent;
class QPlainTextEdit;
class QPushButton;

namespace orbela {

class Runtime;
class SpeechService;

class TForm6 final : public QDialog {
    Q_OBJECT

public:
    // The screen, the RAM image, the sounds and the language are the
    // runtime's; without speech the review is silent.
    TForm6(Runtime& runtime, SpeechService* speech, QWidget* parent = nullptr);

    // Shows the review modally over the active window and returns when it
    // is closed; does nothing while RAM byte 50730 is 1.
    void OpenVirtualScreen();

    // The caret as the review counts it: characters before it, line breaks
    // two each.
    std::size_t CaretPosition() const;
    // The caret's line, from 0; the empty line after the last is 24.
    int CaretLine() const;

    // A braille display's line keys: the caret moves `delta` lines and the
    // review answers as it does to Up and Down.
    void MoveLineBy(int delta);
    // A braille display's routing key: the caret goes to `column` of its
    // line and the review answers as it does to Left and Right.
    void RouteCaretTo(int column);

    QPlainTextEdit* virtualscrmemo = nullptr;
    QPushButton* closebitbtn = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void SetScreenText(std::string text);
    void OpeningTone();
    // The tone; an error it raises is kept in `failure` (the first one).
    void OpeningToneKeeping(std::optional<Error>& failure);
    // Each returns true when the memo must not see the key.
    bool virtualscrmemoKeyDown(const QKeyEvent& event);
    void virtualscrmemoKeyUp(const QKeyEvent& event);
    void AnnouncePosition();
    void AnswerLineKey();
    // The answer to Left, Right, Home and End; `wordKey` for Ctrl+Left/Right.
    void AnswerColumnKey(bool ctrl, bool wordKey);
    void MoveByWord(bool forward);
    void MoveCaretTo(std::size_t position);
    bool EngineReady() const;
    std::string LanguageString(InterfaceString index) const;

    Runtime& runtime_;
    SpeechService* speech_;
    // The screen text as copied, CR LF after every row.
    ScreenReview review_;
};

} // namespace orbela
