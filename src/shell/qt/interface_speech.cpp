// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/interface_speech.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "i18n/control_description.h"
#include "i18n/qt/control_facts.h"
#include "i18n/qt/qt_text.h"
#include "keyboard/key_state.h"
#include "keyboard/qt/virtual_key.h"
#include "speech/speech_service.h"

namespace orbela {

InterfaceSpeech::InterfaceSpeech(SpeechService& speech, const int& language, QObject* parent)
    : QObject(parent), speech_(speech), language_(language)
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

void InterfaceSpeech::WatchMenuBar(QMenuBar& bar)
{
    // The bar repeats its menus' hovered items: only its own are its to say.
    connect(&bar, &QMenuBar::hovered, this, [this, &bar](QAction* action) {
        if (bar.actions().contains(action))
            Say({DescribeAction(*action, bar)});
    });
    for (QAction* action : bar.actions()) {
        if (action->menu())
            WatchMenu(*action->menu());
    }
}

void InterfaceSpeech::WatchMenu(QMenu& menu)
{
    // A menu repeats the items hovered in the submenus it opened.
    connect(&menu, &QMenu::hovered, this, [this, &menu](QAction* action) {
        if (!menu.actions().contains(action))
            return;
        Say({DescribeAction(*action, menu)});
        lastControl_ = nullptr;
    });
    for (QAction* action : menu.actions()) {
        if (action->menu())
            WatchMenu(*action->menu());
    }
}

void InterfaceSpeech::WatchDialog(QWidget& dialog)
{
    dialogs_.emplace_back(&dialog);
    // A value changing under the focus is said alone: the rest is known.
    const auto sayValue = [this](const QWidget& control, std::string value) {
        if (!control.hasFocus())
            return;
        Say({std::move(value)});
        Remember(&control);
    };
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
        if (!button->isCheckable())
            continue;
        // A radio button leaving its group says nothing: the one arriving
        // says its state.
        connect(button, &QAbstractButton::toggled, this, [this, button, sayValue](bool checked) {
            if (checked || !button->autoExclusive())
                sayValue(*button, CheckStateWord(checked, LanguageOf(*button)));
        });
    }
    for (auto* slider : dialog.findChildren<QAbstractSlider*>()) {
        connect(slider, &QAbstractSlider::valueChanged, this,
                [slider, sayValue](int value) { sayValue(*slider, std::to_string(value)); });
    }
    // The row, not the text: a dialog's own handler of the row (the voice
    // dialog resets its engine there) runs first.
    for (auto* list : dialog.findChildren<QListWidget*>()) {
        connect(list, &QListWidget::currentRowChanged, this, [list, sayValue](int row) {
            if (const QListWidgetItem* item = list->item(row))
                sayValue(*list, ToCp1250(item->text()));
        });
    }
}

std::string InterfaceSpeech::DescribeAction(const QAction& action, const QWidget& shownIn) const
{
    return orbela::DescribeControl(FactsOf(action, shownIn), LanguageOf(shownIn));
}

std::string InterfaceSpeech::DescribeControl(const QWidget& control) const
{
    return orbela::DescribeControl(FactsOf(control), LanguageOf(control));
}

std::vector<std::string> InterfaceSpeech::DescribeOpening(const QWidget& window) const
{
    std::vector<std::string> texts{
        DescribeWindow(WithoutAccessKey(ToCp1250(window.windowTitle())), LanguageOf(window))};
    for (const QString& text : StaticTextsOf(window))
        texts.push_back(ToCp1250(text));
    if (const QWidget* focus = FocusOnOpening(window)) {
        for (std::string& text : FocusTexts(*focus))
            texts.push_back(std::move(text));
    }
    return texts;
}

const QWidget* InterfaceSpeech::FocusOnOpening(const QWidget& window)
{
    if (const QWidget* focus = window.focusWidget())
        return focus;
    // Not active yet: its activation will focus the default button, else
    // the first control that Tab reaches.
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisibleTo(&window))
            return button;
    }
    for (const QWidget* next = window.nextInFocusChain(); next && next != &window; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(&window))
            return next;
    }
    return nullptr;
}

std::vector<std::string> InterfaceSpeech::FocusTexts(const QWidget& control) const
{
    std::vector<std::string> texts;
    const QGroupBox* group = GroupOf(control);
    const bool entered = !lastControl_ || lastControl_->window() != control.window() || GroupOf(*lastControl_) != group;
    if (group && entered)
        texts.push_back(DescribeGroup(FactsOf(*group).label, LanguageOf(*group)));
    texts.push_back(DescribeControl(control));
    return texts;
}

void InterfaceSpeech::Remember(const QWidget* control)
{
    lastControl_ = control;
    lastDescription_ = control ? DescribeControl(*control) : std::string();
}

bool InterfaceSpeech::IsWatchedWindow(const QWidget* window) const
{
    if (!window)
        return false;
    if (qobject_cast<const QMenu*>(window) || qobject_cast<const QMessageBox*>(window))
        return true;
    for (const auto& dialog : dialogs_) {
        if (dialog == window)
            return true;
    }
    return false;
}

bool InterfaceSpeech::InWatchedWindow(const QObject* object) const
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && IsWatchedWindow(widget->window());
}

void InterfaceSpeech::AnnounceOpening()
{
    QPointer<QWidget> window = opening_;
    opening_ = nullptr;
    if (!window || !window->isVisible())
        return;
    lastControl_ = nullptr;
    Say(DescribeOpening(*window),
        qobject_cast<const QMessageBox*>(window.data()) ? Utterance::Message : Utterance::Focus);
    Remember(FocusOnOpening(*window));
}

void InterfaceSpeech::FocusChanged(QWidget* now)
{
    if (!now || qobject_cast<const QMenu*>(now->window()) || !InWatchedWindow(now))
        return;
    // The window's opening says its focus.
    if (opening_ && now->window() == opening_)
        return;
    if (now == lastControl_ && DescribeControl(*now) == lastDescription_)
        return;
    Say(FocusTexts(*now));
    Remember(now);
}

bool InterfaceSpeech::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    // The key that moves on silences the description it leaves behind.
    if (event->type() == QEvent::KeyPress && InWatchedWindow(widget) &&
        speech_.KeyStopsSpeech(IsModifierKey(VirtualKeyOf(static_cast<const QKeyEvent&>(*event)))))
        speech_.StopSpeech();
    // Said once the window's loop runs, when its focus has been settled.
    if (event->type() == QEvent::Show && widget->isWindow() && !qobject_cast<QMenu*>(widget) &&
        IsWatchedWindow(widget)) {
        opening_ = widget;
        QTimer::singleShot(0, this, [this] { AnnounceOpening(); });
    }
    return QObject::eventFilter(watched, event);
}

void InterfaceSpeech::Say(const std::string& cp1250Text)
{
    Say(std::vector<std::string>{cp1250Text});
}

void InterfaceSpeech::Say(const std::vector<std::string>& cp1250Texts, Utterance what)
{
    if (!speech_.Allows(what))
        return;
    speech_.StopSpeech();
    for (const std::string& text : cp1250Texts) {
        if (text.empty())
            continue;
        const auto slot = speech_.InterfaceSlot();
        if (slot && *slot != speech_.SlotInUse() && !standInTold_) {
            standInTold_ = true;
            speech_.SpeakInterface(what, EngineNoticeText(
                *slot == EngineSlot::System ? EngineNotice::SystemServiceSpeaks : EngineNotice::EmbeddedVoiceSpeaks,
                language_));
        }
        speech_.SpeakInterface(what, text);
    }
}

int InterfaceSpeech::LanguageOf(const QWidget& widget) const
{
    return ShownLanguage(widget, language_);
}

} // namespace orbela
