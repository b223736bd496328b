// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/interface_speech.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_text.h"
#include "i18n/speech_mode_strings.h"
#include "speech/speech_service.h"

namespace orbela {
namespace {

QString WithoutAccessKey(QString caption)
{
    // "&&" is a literal ampersand; a single one marks the access key.
    caption.replace("&&", QString(QChar(0x1)));
    caption.remove('&');
    caption.replace(QString(QChar(0x1)), "&");
    return caption;
}

QString NameOf(const QWidget& control)
{
    if (!control.accessibleName().isEmpty())
        return control.accessibleName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return WithoutAccessKey(button->text());
    return {};
}

} // namespace

InterfaceSpeech::InterfaceSpeech(SpeechService& speech, const int& language, QObject* parent)
    : QObject(parent), speech_(speech), language_(language)
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
    SetMessageBoxSpeaker([this](const QString& text, const QString& button) {
        if (!speech_.Allows(Utterance::Message))
            return;
        speech_.StopSpeech();
        speech_.Speak(ToCp1250(text));
        speech_.Speak(ToCp1250(WithoutAccessKey(button) + ", " +
                               FromCp1250(SpeechModeText(language_, SpeechModeString::Button))));
    });
}

InterfaceSpeech::~InterfaceSpeech()
{
    SetMessageBoxSpeaker({});
}

void InterfaceSpeech::WatchMenuBar(QMenuBar& bar)
{
    // The bar repeats its menus' hovered items: only its own are its to say.
    connect(&bar, &QMenuBar::hovered, this, [this, &bar](QAction* action) {
        if (bar.actions().contains(action))
            Say(DescribeAction(*action, true));
    });
    for (QAction* action : bar.actions()) {
        if (action->menu())
            WatchMenu(*action->menu());
    }
}

void InterfaceSpeech::WatchMenu(QMenu& menu)
{
    connect(&menu, &QMenu::hovered, this, [this](QAction* action) { Say(DescribeAction(*action, false)); });
    for (QAction* action : menu.actions()) {
        if (action->menu())
            WatchMenu(*action->menu());
    }
}

void InterfaceSpeech::WatchDialog(QWidget& dialog)
{
    dialogs_.emplace_back(&dialog);
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->isCheckable())
            // A radio button leaving its group says nothing: the one
            // arriving says its state.
            connect(button, &QAbstractButton::toggled, this, [this, button](bool checked) {
                if (button->hasFocus() && (checked || !button->autoExclusive()))
                    Say(DescribeControl(*button));
            });
    }
    // A list read item by item as the arrows move through it.
    for (auto* list : dialog.findChildren<QListWidget*>()) {
        connect(list, &QListWidget::currentItemChanged, this, [this, list](QListWidgetItem* item) {
            if (item && list->hasFocus())
                Say(ToCp1250(item->text()));
        });
    }
    for (auto* slider : dialog.findChildren<QAbstractSlider*>()) {
        connect(slider, &QAbstractSlider::valueChanged, this, [this, slider](int) {
            if (slider->hasFocus())
                Say(DescribeControl(*slider));
        });
    }
}

std::string InterfaceSpeech::DescribeAction(const QAction& action, bool inMenuBar) const
{
    QString text = WithoutAccessKey(action.text());
    if (inMenuBar) {
        text += ", " + FromCp1250(SpeechModeText(language_, SpeechModeString::Menu));
    } else {
        if (!action.shortcut().isEmpty())
            text += ", " + action.shortcut().toString(QKeySequence::NativeText);
        if (action.isCheckable())
            text += ", " + FromCp1250(SpeechModeText(language_, action.isChecked() ? SpeechModeString::Checked
                                                                                   : SpeechModeString::NotChecked));
    }
    return ToCp1250(text);
}

std::string InterfaceSpeech::DescribeControl(const QWidget& control) const
{
    QString text = NameOf(control);
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        if (button->isCheckable())
            text += ", " + FromCp1250(SpeechModeText(language_, button->isChecked() ? SpeechModeString::Checked
                                                                                    : SpeechModeString::NotChecked));
        else if (qobject_cast<const QPushButton*>(&control))
            text += ", " + FromCp1250(SpeechModeText(language_, SpeechModeString::Button));
    } else if (const auto* slider = qobject_cast<const QAbstractSlider*>(&control)) {
        text += " " + QString::number(slider->value());
    } else if (const auto* list = qobject_cast<const QListWidget*>(&control)) {
        if (list->currentItem())
            text += ", " + list->currentItem()->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (text.isEmpty())
            text = label->text();
    }
    return ToCp1250(text);
}

bool InterfaceSpeech::InWatchedWindow(const QObject* object) const
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (!widget)
        return false;
    const QWidget* window = widget->window();
    if (qobject_cast<const QMenu*>(window) || qobject_cast<const QMessageBox*>(window))
        return true;
    for (const auto& dialog : dialogs_) {
        if (dialog == window)
            return true;
    }
    return false;
}

void InterfaceSpeech::FocusChanged(QWidget* now)
{
    if (!now || qobject_cast<const QMessageBox*>(now->window()) || !InWatchedWindow(now))
        return;
    Say(DescribeControl(*now));
}

bool InterfaceSpeech::eventFilter(QObject* watched, QEvent* event)
{
    // The key that moves on silences the description it leaves behind.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && InWatchedWindow(watched) &&
        speech_.Allows(Utterance::Focus))
        speech_.StopSpeech();
    return QObject::eventFilter(watched, event);
}

void InterfaceSpeech::Say(const std::string& cp1250Text)
{
    if (cp1250Text.empty() || !speech_.Allows(Utterance::Focus))
        return;
    speech_.StopSpeech();
    speech_.Speak(cp1250Text);
}

} // namespace orbela
