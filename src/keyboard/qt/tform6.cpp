// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/qt/tform6.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>
#include <vector>

#include "i18n/qt/qt_text.h"
#include "i18n/resource_localizer.h"
#include "keyboard/key_state.h"
#include "keyboard/qt/virtual_key.h"
#include "keyboard/word_reading.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "speech/speech_service.h"

namespace orbela {
namespace {

// Set to 1 by the hosted program when it does not want its screen read.
constexpr double NoReviewAddress = 50730;
constexpr double EdgeClick = 16;

// The chord that opens and closes the review.
const std::vector<double> OpeningPitches{300, 450};
constexpr double OpeningWaveset = 5;
constexpr double OpeningLength = 100;

} // namespace

TForm6::TForm6(Runtime& runtime, SpeechService* speech, QWidget* parent)
    : QDialog(parent), runtime_(runtime), speech_(speech)
{
    setObjectName("TForm6");
    setModal(true);
    resize(511, 381);
    virtualscrmemo = new QPlainTextEdit(this);
    virtualscrmemo->setObjectName("virtualscrmemo");
    virtualscrmemo->setReadOnly(true);
    // One memo line per screen row, or lines and columns would not match
    // the screen.
    virtualscrmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    virtualscrmemo->setWordWrapMode(QTextOption::NoWrap);
    virtualscrmemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    virtualscrmemo->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    virtualscrmemo->setTabChangesFocus(true);
    virtualscrmemo->installEventFilter(this);

    closebitbtn = new QPushButton(this);
    closebitbtn->setObjectName("closebitbtn");
    closebitbtn->setFocusPolicy(Qt::NoFocus);
    closebitbtn->setDefault(true);
    connect(closebitbtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(virtualscrmemo);
    layout->addWidget(closebitbtn, 0, Qt::AlignHCenter);
    FormCreate();
}

void TForm6::FormCreate()
{
    const int language = runtime_.State().language;
    setWindowTitle(LanguageText(language, InterfaceString::Screen));
    setAccessibleName(windowTitle());
    virtualscrmemo->setAccessibleName(windowTitle());
    ApplyCaption(*closebitbtn, language, InterfaceString::Close);
}

void TForm6::OpenVirtualScreen()
{
    if (runtime_.Peek(NoReviewAddress) == 1)
        return;
    runtime_.State().keybuffer.clear();
    SetScreenText(runtime_.GetScreen().Text());
    virtualscrmemo->setFocus();
    // Opened and closed by a key: the tone and the words are queued as its
    // echo, not waited for, so the keys after it keep their order. A tone
    // that cannot sound (its wave missing) must not keep the review shut:
    // it opens without the tone and the error is raised once it closes.
    std::optional<Error> toneFailure;
    OpeningToneKeeping(toneFailure);
    if (speech_)
        speech_->EchoQueuedText(Utterance::ReviewBoundary, LanguageString(InterfaceString::Screen));
    exec();
    OpeningToneKeeping(toneFailure);
    if (speech_)
        speech_->EchoText(Utterance::ReviewBoundary, LanguageString(InterfaceString::EndOfScreen));
    if (toneFailure)
        throw *toneFailure;
}

void TForm6::OpeningToneKeeping(std::optional<Error>& failure)
{
    try {
        OpeningTone();
    } catch (const Error& error) {
        if (!failure)
            failure = error;
    }
}

void TForm6::OpeningTone()
{
    if (speech_)
        speech_->EchoTone(OpeningPitches, OpeningWaveset, OpeningLength);
    else
        runtime_.Tone(OpeningPitches, OpeningWaveset, OpeningLength);
}

void TForm6::SetScreenText(std::string text)
{
    review_.SetText(std::move(text));
    // Qt separates blocks by one character: the line breaks are dropped
    // here and counted back in CaretPosition.
    QString shown = FromCp1250(review_.Text());
    shown.replace("\r\n", "\n");
    virtualscrmemo->setPlainText(shown);
    QTextCursor start = virtualscrmemo->textCursor();
    start.movePosition(QTextCursor::Start);
    virtualscrmemo->setTextCursor(start);
}

std::size_t TForm6::CaretPosition() const
{
    const QTextCursor cursor = virtualscrmemo->textCursor();
    return ScreenReview::Position(cursor.position(), cursor.blockNumber());
}

int TForm6::CaretLine() const
{
    return virtualscrmemo->textCursor().blockNumber();
}

void TForm6::MoveCaretTo(std::size_t position)
{
    QTextCursor cursor = virtualscrmemo->textCursor();
    cursor.setPosition(review_.EditorPosition(position));
    virtualscrmemo->setTextCursor(cursor);
}

bool TForm6::EngineReady() const
{
    return speech_ && speech_->Ready();
}

std::string TForm6::LanguageString(InterfaceString index) const
{
    return LoadLanguageString(runtime_.State().language, index);
}

bool TForm6::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == virtualscrmemo) {
        if (event->type() == QEvent::KeyPress && virtualscrmemoKeyDown(static_cast<const QKeyEvent&>(*event)))
            return true;
        if (event->type() == QEvent::KeyRelease)
            virtualscrmemoKeyUp(static_cast<const QKeyEvent&>(*event));
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm6::virtualscrmemoKeyDown(const QKeyEvent& event)
{
    const int key = VirtualKeyOf(event);
    if (EngineReady()) {
        if (speech_->KeyStopsSpeech(IsModifierKey(key)))
            speech_->StopSpeech();
        if (key == VirtualKey::F2)
            AnnouncePosition();
    }
    if (key == VirtualKey::Escape) {
        reject();
        return true;
    }
    // The memo's own word jumps stop at punctuation; the words read do not.
    const bool wordJump = event.modifiers().testFlag(Qt::ControlModifier) &&
                          !event.modifiers().testFlag(Qt::ShiftModifier);
    if (wordJump && (key == VirtualKey::Left || key == VirtualKey::Right)) {
        MoveByWord(key == VirtualKey::Right);
        return true;
    }
    return false;
}

void TForm6::AnswerLineKey()
{
    const int line = CaretLine();
    if (review_.EdgeClicks(line <= 0 || line >= Screen::Rows))
        runtime_.Click(EdgeClick);
    const std::string text = review_.LineText(line);
    // Beside a screen reader the review's lines and characters are its to
    // read as the caret moves.
    speech_->EchoText(Utterance::ReviewText, text.empty() ? LanguageString(InterfaceString::EmptyLine) : text);
}

void TForm6::MoveLineBy(int delta)
{
    // Block by block, keeping the column as Up and Down do: a screen line is
    // a block here.
    QTextCursor cursor = virtualscrmemo->textCursor();
    const QTextDocument* document = virtualscrmemo->document();
    const int line = std::clamp(cursor.blockNumber() + delta, 0, document->blockCount() - 1);
    const QTextBlock block = document->findBlockByNumber(line);
    cursor.setPosition(block.position() + std::min(cursor.positionInBlock(), block.length() - 1));
    virtualscrmemo->setTextCursor(cursor);
    if (!EngineReady())
        return;
    speech_->StopSpeech();
    AnswerLineKey();
}

void TForm6::RouteCaretTo(int column)
{
    QTextCursor cursor = virtualscrmemo->textCursor();
    const QTextBlock block = cursor.block();
    cursor.setPosition(block.position() + std::clamp(column, 0, block.length() - 1));
    virtualscrmemo->setTextCursor(cursor);
    if (!EngineReady())
        return;
    speech_->StopSpeech();
    AnswerColumnKey(false, false);
}

void TForm6::AnnouncePosition()
{
    const int line = CaretLine();
    const int column = virtualscrmemo->textCursor().positionInBlock() + 1;
    speech_->EchoText(Utterance::ReviewPosition, LanguageString(InterfaceString::Line) + " " + std::to_string(line + 1) + ", " +
                          LanguageString(InterfaceString::Column) + " " + std::to_string(column));
}

void TForm6::MoveByWord(bool forward)
{
    const std::size_t caret = CaretPosition();
    MoveCaretTo(forward ? NextWordStart(review_.Text(), caret) : PreviousWordStart(review_.Text(), caret));
}

void TForm6::virtualscrmemoKeyUp(const QKeyEvent& event)
{
    if (!EngineReady() || event.isAutoRepeat())
        return;
    const int key = VirtualKeyOf(event);
    if (key == VirtualKey::Up || key == VirtualKey::Down) {
        AnswerLineKey();
        return;
    }
    if (key != VirtualKey::Left && key != VirtualKey::Right && key != VirtualKey::Home && key != VirtualKey::End)
        return;
    AnswerColumnKey(event.modifiers().testFlag(Qt::ControlModifier),
                    key == VirtualKey::Left || key == VirtualKey::Right);
}

void TForm6::AnswerColumnKey(bool ctrl, bool wordKey)
{
    const std::size_t caret = CaretPosition();
    const std::string& text = review_.Text();
    if (review_.EdgeClicks(caret == 0 || caret == text.size()))
        runtime_.Click(EdgeClick);
    if (text.empty())
        return;
    if (!ctrl) {
        // At a line's end the character right of the caret is the line
        // break's carriage return, which has a name of its own.
        if (caret < text.size())
            speech_->SpeakCharacter(Utterance::ReviewText, text.substr(caret, 1));
    } else if (wordKey) {
        speech_->EchoText(Utterance::ReviewText, wordat(text, caret));
    }
}

} // namespace orbela
