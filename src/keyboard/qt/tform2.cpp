// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/qt/tform2.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <utility>

#include "i18n/qt/qt_text.h"
#include "i18n/resource_localizer.h"
#include "keyboard/braille_table.h"
#include "keyboard/chord_keyboard.h"
#include "keyboard/field_echo.h"
#include "keyboard/field_keys.h"
#include "keyboard/qt/cp1250_validator.h"
#include "keyboard/qt/virtual_key.h"
#include "keyboard/qt/dialog_probe.h"
#include "runtime/runtime.h"
#include "speech/speech_service.h"
#include "i18n/speech_mode_strings.h"
#include "runtime/screen.h"

namespace orbela {
namespace {

using namespace std::chrono_literals;

// How long a screen reader may take to read the dialog that just came up.
// Orca lags by a second on a loaded machine.
constexpr auto kReaderReadsFocusWithin = 3s;

bool Held(const QKeyEvent& event, Qt::KeyboardModifier modifier)
{
    return event.modifiers().testFlag(modifier);
}

// Enter and Tab belong to the dialog: the default button and the focus
// chain. Enter with a modifier is an ordinary key of the field.
bool DialogKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: return (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    default: return false;
    }
}

// What the layout types for the key with the modifiers of the moment.
std::string KeyEchoText(const QKeyEvent& event)
{
    if (VirtualKeyOf(event) == VirtualKey::Oem2)
        return {};
    const QString text = event.text();
    if (text.isEmpty() || text.size() > 2)
        return {};
    return ToCp1250(text);
}

} // namespace

TForm2::TForm2(int language, QWidget* parent) : QDialog(parent), language_(language)
{
    setObjectName("TForm2");
    setModal(true);
    inputedit = new QLineEdit(this);
    inputedit->setObjectName("inputedit");
    inputedit->setValidator(new Cp1250Validator(inputedit));
    inputedit->installEventFilter(this);
    // Never shown: the field's label for a screen reader, which reads it
    // when the field gets the focus and at where-am-I.
    contextlabel_ = new QLabel(this);
    contextlabel_->setObjectName("contextlabel");
    contextlabel_->setTextFormat(Qt::PlainText);
    contextlabel_->setBuddy(inputedit);
    contextlabel_->hide();
    contextTimer_ = new QTimer(this);
    contextTimer_->setSingleShot(true);
    contextTimer_->setInterval(kReaderReadsFocusWithin);
    connect(contextTimer_, &QTimer::timeout, this, &TForm2::DescribePromptContext);

    Enterbitbtn = new QPushButton(this);
    Enterbitbtn->setObjectName("Enterbitbtn");
    Enterbitbtn->setDefault(true);
    Enterbitbtn->installEventFilter(this);
    exitprogrambtn = new QPushButton(this);
    exitprogrambtn->setObjectName("exitprogrambtn");
    exitprogrambtn->setAutoDefault(false);
    exitprogrambtn->installEventFilter(this);
    connect(Enterbitbtn, &QPushButton::clicked, this, [this] { done(ModalResultOk); });
    connect(exitprogrambtn, &QPushButton::clicked, this, &TForm2::exitprogrambtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Enterbitbtn);
    buttons->addWidget(exitprogrambtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(inputedit);
    layout->addLayout(buttons);
    setTabOrder(inputedit, Enterbitbtn);
    setTabOrder(Enterbitbtn, exitprogrambtn);
    MakeEcho();
    FormCreate(language);
}

TForm2::~TForm2() = default;

void TForm2::SetServices(DataEntryServices services)
{
    services_ = std::move(services);
    MakeEcho();
    // A new table starts with no prefix in effect.
    chords_ = services_.braille ? std::make_unique<ChordKeyboard>(*services_.braille) : nullptr;
}

void TForm2::MakeEcho()
{
    echo_ = std::make_unique<FieldEcho>(services_.runtime, services_.speech, language_);
    fieldKeys_ = std::make_unique<FieldKeys>(services_.speech, *echo_,
                                             FieldKeys::Commands{services_.openVirtualScreen, [this] { EndProgram(); }});
}

void TForm2::FormCreate(int language)
{
    setWindowTitle(LanguageText(language, InterfaceString::EnterData));
    setAccessibleName(windowTitle());
    inputedit->setAccessibleName(windowTitle());
    LabelField(windowTitle());
    ApplyCaption(*Enterbitbtn, language, InterfaceString::Ok);
    ApplyCaption(*exitprogrambtn, language, InterfaceString::ExitProgram);
}

void TForm2::ClearField()
{
    inputedit->clear();
    inputedit->setFocus();
}

int TForm2::ShowModal()
{
    inputedit->setFocus();
    ArmDialogProbe(*this);
    // Still open from the last line beside a screen reader: the focus stays
    // where it was, so the reader says nothing between the answer's lines.
    // The dialog is not the reader's focus, so a new context is not read.
    if (isVisible()) {
        DescribePromptContext();
    } else if (BesideScreenReader()) {
        // The reader reads the field's label as the dialog comes up, when
        // the context was just heard: added once the reader has had time to
        // read it. A busy reader reads the focus late, after the first key.
        LabelField(windowTitle());
        contextTimer_->start();
        show();
    } else {
        DescribePromptContext();
        show();
    }
    QEventLoop answered;
    setResult(0);
    answered_ = &answered;
    answered.exec(QEventLoop::DialogExec);
    answered_ = nullptr;
    return result();
}

std::string TForm2::FieldText() const
{
    return ToCp1250(inputedit->text());
}

std::string TForm2::dialogprefix() const
{
    return chords_ ? chords_->dialogprefix() : std::string();
}

void TForm2::done(int result)
{
    if (result == ModalResultOk)
        ReportDialogText(inputedit->text());
    // Beside a screen reader a confirmed line leaves the dialog open until
    // the next one: closing it would send the reader to the main window,
    // whose title and description it reads between the answer's lines.
    if (result == ModalResultOk && BesideScreenReader() && answered_) {
        setResult(result);
        answered_->quit();
        return;
    }
    FormClose();
    QDialog::done(result);
    if (answered_)
        answered_->quit();
}

bool TForm2::BesideScreenReader() const
{
    return services_.speech && !services_.speech->Allows(Utterance::FieldEcho);
}

void TForm2::FormClose()
{
    dialogvisited_ = false;
}

void TForm2::keyPressEvent(QKeyEvent* event)
{
    // The dialog is left only by confirming or by ending the program.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::closeEvent(QCloseEvent* event)
{
    // The window manager turns Alt+F4 into a close request: it ends the
    // program as Alt+F4 in the field does.
    event->ignore();
    EndProgram();
}

void TForm2::exitprogrambtnClick()
{
    EndProgram();
}

void TForm2::EndProgram()
{
    if (endProgram_)
        endProgram_();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Coming back to the window (from the screen review, another
        // program) is no move between the dialog's controls.
        const bool reactivated = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (watched == inputedit)
            inputeditEnter(reactivated);
        else if (!reactivated && (watched == Enterbitbtn || watched == exitprogrambtn))
            ButtonEnter(static_cast<QPushButton*>(watched));
    } else if (watched == inputedit && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (DialogKey(key))
            return false;
        if (inputeditKeyDown(key))
            return true;
        if (inputeditKeyPress(key))
            return true;
    } else if (watched == inputedit && event->type() == QEvent::KeyRelease) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (!DialogKey(key))
            inputeditKeyUp(key);
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::inputeditEnter(bool reactivated)
{
    if (!dialogvisited_) {
        dialogvisited_ = true;
        return;
    }
    if (reactivated)
        return;
    StopSpeech();
    echo_->WholeField(Text());
}

void TForm2::ButtonEnter(QPushButton* button)
{
    StopSpeech();
    dialogvisited_ = true;
    echo_->Text(ToCp1250(button->text()));
}

bool TForm2::inputeditKeyDown(const QKeyEvent& event)
{
    const FieldKeys::Key key{VirtualKeyOf(event), Held(event, Qt::AltModifier), Held(event, Qt::ControlModifier),
                             Held(event, Qt::ShiftModifier)};
    const auto jump = fieldKeys_->KeyDown(key, BrailleKeys() ? std::string() : KeyEchoText(event), Text(), Caret());
    if (jump)
        inputedit->setCursorPosition(*jump);
    return jump.has_value();
}

bool TForm2::inputeditKeyPress(const QKeyEvent& event)
{
    if (!BrailleKeys() || event.text().isEmpty())
        return false;
    // Typed characters are the chord's; control characters keep their
    // ordinary meaning.
    const bool suppressed = event.text().front().unicode() >= 32;
    // A held key's repeats add nothing to the chord, nor start a new one
    // after it was completed.
    const bool repeated = event.isAutoRepeat() || (services_.keys && services_.keys->RepeatedPress());
    if (chords_ && services_.keys && !repeated) {
        const std::string echo = chords_->ChordKeyPressed(*services_.keys);
        if (!echo.empty())
            echo_->ChordCharacter(echo);
    }
    return suppressed;
}

void TForm2::inputeditKeyUp(const QKeyEvent& event)
{
    // A held key repeats as release and press pairs: no release of the key.
    if (event.isAutoRepeat())
        return;
    if (BrailleKeys() && chords_) {
        const std::string typed = chords_->ChordKeyReleased(KeyRelease::Real);
        if (!typed.empty())
            InsertAtCaret(typed);
    }
    echo_->KeyUp(VirtualKeyOf(event), Held(event, Qt::ControlModifier), Text(), Caret());
}

void TForm2::RouteCaretTo(int column)
{
    StopSpeech();
    inputedit->setCursorPosition(column);
    echo_->CaretReached(Text(), Caret());
}

void TForm2::TypeDisplayChord(const std::string& pattern)
{
    if (!chords_)
        return;
    StopSpeech();
    const std::string typed = chords_->ChordTyped(pattern);
    if (typed.empty())
        return;
    echo_->ChordCharacter(typed);
    InsertAtCaret(typed);
}

void TForm2::InsertAtCaret(const std::string& cp1250Text)
{
    // The chord's text goes in at the caret; a selection stays in place.
    const QString inserted = FromCp1250(cp1250Text);
    const int caret = inputedit->cursorPosition();
    QString text = inputedit->text();
    text.insert(caret, inserted);
    inputedit->setText(text);
    inputedit->setCursorPosition(caret + static_cast<int>(inserted.size()));
}

std::string TForm2::Text() const
{
    return ToCp1250(inputedit->text());
}

int TForm2::Caret() const
{
    return inputedit->cursorPosition();
}

bool TForm2::BrailleKeys() const
{
    return services_.runtime && services_.runtime->State().braillekeys;
}

// What the game last printed, the question being answered, in the field's
// label: a screen reader reads it at where-am-I (Orca: KP_Enter) and when
// the user comes back to the dialog from another window, not at each
// prompt, where it was just heard (a change of a label that is not the
// reader's focus is not read).
void TForm2::DescribePromptContext()
{
    contextTimer_->stop();
    if (!services_.runtime)
        return;
    const std::string question = LastPrintedRow(services_.runtime->GetScreen());
    if (question.empty()) {
        LabelField(windowTitle());
        return;
    }
    LabelField(windowTitle() + ". " +
               FromCp1250(SpeechModeText(language_, SpeechModeString::PromptContext) + " " + question));
}

void TForm2::LabelField(const QString& text)
{
    // A label with a buddy takes "&" as an access key, which would strip
    // it from the printed line and bind Alt+<letter> to the field.
    contextlabel_->setText(QString(text).replace('&', "&&"));
}

void TForm2::StopSpeech()
{
    if (services_.speech)
        services_.speech->StopSpeech();
}

} // namespace orbela
