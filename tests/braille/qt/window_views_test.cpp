// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as the braille display sees them: the data-entry field with
// its caret, routing and cells typed on the display; the review's caret
// line and line keys with their speech; another dialog's text and focused
// control; the menus' items.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>

#include "braille/braille_display.h"
#include "braille/braille_presenter.h"
#include "braille/qt/window_views.h"
#include "i18n/qt/qt_test_support.h"
#include "keyboard_fixture.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LastWrite final : public BrailleDisplay {
public:
    std::string text;
    std::optional<int> cursor;
    int Cells() override { return 40; }
    std::uint64_t Taking() const override { return 0; }
    bool Write(const std::string& utf8Text, std::optional<int> cursorCell) override
    {
        text = utf8Text.substr(0, utf8Text.find_last_not_of(' ') + 1);
        cursor = cursorCell;
        return true;
    }
};

class BrailleWindowViewsTest : public KeyboardWindowsTest {
protected:
    void Ask(std::function<void()> whileShown)
    {
        dialog->ClearField();
        WhenModal(dialog.get(), [this, whileShown = std::move(whileShown)] {
            Heard();
            whileShown();
            if (dialog->isVisible())
                dialog->done(0);
        });
        dialog->ShowModal();
    }

    LastWrite display;
    BraillePresenter presenter{display};
};

TEST_F(BrailleWindowViewsTest, FieldShowsItsCaretAndRoutingMovesItWithTheArrowsAnswer)
{
    DataEntryBrailleView view(*dialog);
    Ask([&] {
        TypeText(dialog->inputedit, "abcdefgh");
        presenter.SetView(&view);
        EXPECT_EQ(display.text, "abcdefgh");
        EXPECT_EQ(display.cursor, 8) << "after the text";
        Heard();
        presenter.HandleKey({BrailleCommand::Route, 5});
        EXPECT_EQ(dialog->inputedit->cursorPosition(), 5);
        EXPECT_EQ(display.cursor, 5);
        EXPECT_THAT(Heard(), ElementsAre("say:f")) << "the character reached, as Right says it";
        presenter.HandleKey({BrailleCommand::Route, 8});
        EXPECT_THAT(Heard(), ElementsAre("sound:click2")) << "past the text: the edge, as Right there";
    });
}

TEST_F(BrailleWindowViewsTest, CellsTypedOnTheDisplayAreChordsWithTheirEcho)
{
    DataEntryBrailleView view(*dialog);
    // The display's keyboard types braille whether or not the six keys do.
    runtime.State().braillekeys = false;
    Ask([&] {
        presenter.SetView(&view);
        presenter.HandleKey({BrailleCommand::Dots, 0b001011});  // dots 1 2 4: f
        EXPECT_EQ(dialog->inputedit->text(), "f");
        EXPECT_THAT(Heard(), ElementsAre("say:f"));
        presenter.HandleKey({BrailleCommand::Dots, 0b100000});  // dot 6: capital sign
        EXPECT_THAT(Heard(), IsEmpty());
        presenter.HandleKey({BrailleCommand::Dots, 0b000001});  // dot 1: a
        EXPECT_THAT(Heard(), ElementsAre("tone:cap", "say:capital a"));
        presenter.HandleKey({BrailleCommand::Dots, 0});  // the space bar
        EXPECT_EQ(dialog->inputedit->text(), "fA ");
        EXPECT_EQ(display.text, "fA");
        EXPECT_EQ(display.cursor, 3);
        // In the middle of the text a cell goes in at the caret.
        presenter.HandleKey({BrailleCommand::Route, 1});
        presenter.HandleKey({BrailleCommand::Dots, 0b000011});  // dots 1 2: b
        EXPECT_EQ(dialog->inputedit->text(), "fbA ");
        EXPECT_EQ(display.cursor, 2);
    });
}

TEST_F(BrailleWindowViewsTest, ReviewShowsTheCaretLineAndLineKeysSpeakAsDownDoes)
{
    WriteRow(0, "Stojis na namesti.");
    WriteRow(1, "Vidis kasnu.");
    ReviewBrailleView view(*virtualScreen);
    WhenModal(virtualScreen.get(), [&] {
        Heard();
        presenter.SetView(&view);
        EXPECT_EQ(display.text, "Stojis na namesti.");
        EXPECT_EQ(display.cursor, 0);
        presenter.HandleKey({BrailleCommand::Route, 7});
        EXPECT_EQ(virtualScreen->CaretPosition(), 7u);
        EXPECT_THAT(Heard(), ElementsAre("say:n")) << "routing answers as Right does";
        presenter.HandleKey({BrailleCommand::LineDown});
        EXPECT_EQ(virtualScreen->CaretLine(), 1);
        EXPECT_EQ(display.text, "Vidis kasnu.");
        EXPECT_EQ(display.cursor, 7) << "the column is kept";
        EXPECT_THAT(Heard(), ElementsAre("say:Vidis kasnu." + std::string(80 - 12, ' ')));
        presenter.HandleKey({BrailleCommand::LineUp});
        presenter.HandleKey({BrailleCommand::LineUp});
        // The first line again, then a click for the edge, as Up does.
        EXPECT_THAT(Heard(), ElementsAre("say:Stojis na namesti." + std::string(80 - 18, ' '), "sound:click16",
                                         "say:Stojis na namesti." + std::string(80 - 18, ' ')));
        virtualScreen->reject();
    });
    virtualScreen->OpenVirtualScreen();
}

// A dialog's own text first, then its focused control as the screen
// reader's braille shows it; the display follows the focus once it moves.
TEST_F(BrailleWindowViewsTest, OtherDialogsShowTheirTextThenTheFocusedControlWithItsState)
{
    QDialog settings;
    auto* message = new QLabel("Changes apply at once.", &settings);
    auto* sounds = new QCheckBox("Orbela &sounds", &settings);
    auto* czech = new QRadioButton("&Czech", &settings);
    auto* english = new QRadioButton("English", &settings);
    auto* volume = new QSlider(Qt::Horizontal, &settings);
    volume->setAccessibleName("Volume");
    volume->setValue(40);
    auto* layout = new QVBoxLayout(&settings);
    for (QWidget* control : std::initializer_list<QWidget*>{message, sounds, czech, english, volume})
        layout->addWidget(control);
    FocusedControlView view(nullptr);
    WhenModal(&settings, [&] {
        sounds->setFocus();
        sounds->setChecked(true);
        czech->setChecked(true);
        presenter.SetView(&view);
        EXPECT_EQ(display.text, "Changes apply at once. <x> Orbela sounds");
        EXPECT_EQ(display.cursor, std::nullopt) << "a window opens at its text";
        sounds->setChecked(false);
        presenter.Refresh();
        EXPECT_EQ(display.text, "Changes apply at once. < > Orbela sounds");
        czech->setFocus();
        presenter.Refresh();
        EXPECT_EQ(display.text, "Changes apply at once. &=y Czech");
        EXPECT_EQ(display.cursor, 23) << "the focus moved: the cursor is on the control";
        english->setFocus();
        presenter.Refresh();
        EXPECT_EQ(display.text, "Changes apply at once. & y English");
        volume->setFocus();
        presenter.Refresh();
        EXPECT_EQ(display.text, "Changes apply at once. Volume 40");
        settings.reject();
    });
    settings.exec();
}

// The menu bar's item, then the open menu's item with its shortcut and state.
TEST_F(BrailleWindowViewsTest, MenusShowTheItemUnderTheKeys)
{
    QMainWindow window;
    QMenu* settings = window.menuBar()->addMenu("&Settings");
    QAction* keyboard = settings->addAction("&Braille keyboard");
    keyboard->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    keyboard->setCheckable(true);
    MenuItemView view(window.menuBar(), &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(view.Showing());
    window.menuBar()->setActiveAction(settings->menuAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return settings->isVisible(); }));
    EXPECT_TRUE(view.Showing());
    settings->setActiveAction(keyboard);
    EXPECT_EQ(view.Line(), "< > Braille keyboard (Ctrl+B)");
    keyboard->setChecked(true);
    EXPECT_EQ(view.Line(), "<x> Braille keyboard (Ctrl+B)");
    settings->close();
    window.menuBar()->setActiveAction(nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.Showing(); }));
}

} // namespace
} // namespace orbela::testing
