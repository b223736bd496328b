// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/control_facts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocumentFragment>
#include <QVariant>

#include "i18n/qt/qt_text.h"

namespace orbela {
namespace {

constexpr const char* LanguageProperty = "orbelaShownLanguage";

QString PlainText(const QLabel& label)
{
    const bool rich = label.textFormat() == Qt::RichText ||
                      (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
    return rich ? QTextDocumentFragment::fromHtml(label.text()).toPlainText() : label.text();
}

QString CaptionOf(const QWidget& control)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(&control))
        return group->title();
    if (const QWidget* window = control.window()) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->buddy() == &control)
                return label->text();
        }
    }
    return {};
}

std::string LabelOf(const QWidget& control)
{
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return ToCp1250(PlainText(*label));
    const QString caption = CaptionOf(control);
    return WithoutAccessKey(ToCp1250(caption.isEmpty() ? control.accessibleName() : caption));
}

} // namespace

ControlFacts FactsOf(const QWidget& control)
{
    ControlFacts facts;
    facts.label = LabelOf(control);
    facts.available = control.isEnabled();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        facts.role = qobject_cast<const QCheckBox*>(button)      ? ControlRole::CheckBox
                     : qobject_cast<const QRadioButton*>(button) ? ControlRole::RadioButton
                                                                 : ControlRole::Button;
        if (button->isCheckable())
            facts.checked = button->isChecked();
    } else if (const auto* slider = qobject_cast<const QAbstractSlider*>(&control)) {
        facts.role = ControlRole::Slider;
        facts.value = std::to_string(slider->value());
    } else if (const auto* list = qobject_cast<const QAbstractItemView*>(&control)) {
        facts.role = ControlRole::List;
        facts.value = ToCp1250(list->currentIndex().data().toString());
    } else if (const auto* field = qobject_cast<const QLineEdit*>(&control)) {
        facts.role = ControlRole::EditField;
        facts.value = ToCp1250(field->text());
    } else if (qobject_cast<const QGroupBox*>(&control)) {
        facts.role = ControlRole::Group;
    }
    return facts;
}

ControlFacts FactsOf(const QAction& item, const QWidget& shownIn)
{
    ControlFacts facts;
    facts.label = WithoutAccessKey(ToCp1250(item.text()));
    facts.available = item.isEnabled();
    if (qobject_cast<const QMenuBar*>(&shownIn) || item.menu()) {
        facts.role = ControlRole::Menu;
        return facts;
    }
    if (!item.shortcut().isEmpty())
        facts.shortcut = ToCp1250(item.shortcut().toString(QKeySequence::NativeText));
    if (item.isCheckable())
        facts.checked = item.isChecked();
    return facts;
}

const QGroupBox* GroupOf(const QWidget& control)
{
    for (const QWidget* parent = control.parentWidget(); parent && !parent->isWindow();
         parent = parent->parentWidget()) {
        if (const auto* group = qobject_cast<const QGroupBox*>(parent))
            return group;
    }
    return nullptr;
}

std::vector<QString> StaticTextsOf(const QWidget& window)
{
    std::vector<QString> texts;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->buddy() || !label->isVisibleTo(&window) || label->hasFocus() || window.focusWidget() == label)
            continue;
        // Line by line, as they are shown.
        for (const QString& line : PlainText(*label).split('\n')) {
            if (!line.trimmed().isEmpty())
                texts.push_back(line.trimmed());
        }
    }
    return texts;
}

void SetShownLanguage(QWidget& window, int language)
{
    window.setProperty(LanguageProperty, language);
}

int ShownLanguage(const QWidget& widget, int fallback)
{
    const QWidget* window = widget.window();
    while (window) {
        const QVariant language = window->property(LanguageProperty);
        if (language.isValid())
            return language.toInt();
        // A menu pops up as a window of its own.
        const QWidget* owner = qobject_cast<const QMenu*>(window) ? window->parentWidget() : nullptr;
        window = owner ? owner->window() : nullptr;
    }
    return fallback;
}

} // namespace orbela
