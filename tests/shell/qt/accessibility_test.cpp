// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader gets through the accessibility bridge: every window
// and every control that takes the focus has a name and a role.

#include <QAccessible>
#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "shell/qt/desktop_fixture.h"

namespace orbela::testing {
namespace {

using AccessibilityTest = DesktopTest;

std::vector<std::string> UnnamedControls(QWidget& window)
{
    std::vector<std::string> unnamed;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* widget : widgets) {
        if (widget != &window && widget->window() != &window)
            continue;  // another window's control
        if (widget != &window && widget->focusPolicy() == Qt::NoFocus)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        const bool named = accessible && !accessible->text(QAccessible::Name).isEmpty();
        const bool hasRole = accessible && accessible->role() != QAccessible::NoRole;
        if (!named || !hasRole)
            unnamed.push_back(widget->metaObject()->className() + std::string(" ") +
                              widget->objectName().toStdString());
    }
    return unnamed;
}

TEST_F(AccessibilityTest, EveryWindowAndFocusableControlHasANameAndARole)
{
    Configure("[environment]\nlanguage=2000\n");
    Create();
    for (QWidget* window : std::initializer_list<QWidget*>{form1.get(), form2, form3, aboutbox})
        EXPECT_EQ(UnnamedControls(*window), std::vector<std::string>{}) << window->objectName().toStdString();

    QAccessibleInterface* memo = QAccessible::queryAccessibleInterface(form1->printmemo);
    ASSERT_NE(memo, nullptr);
    // Named as the review names the game's screen.
    EXPECT_EQ(memo->text(QAccessible::Name), "Screen");
    EXPECT_EQ(memo->role(), QAccessible::EditableText);
    EXPECT_TRUE(memo->state().readOnly);

    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(form1->menuBar());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->childCount(), 3);
    EXPECT_EQ(bar->child(2)->text(QAccessible::Name), "Help");
    EXPECT_EQ(bar->child(2)->role(), QAccessible::MenuItem);
}

} // namespace
} // namespace orbela::testing
