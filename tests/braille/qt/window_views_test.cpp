// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as the braille display sees them: the data-entry field with
// its caret, routing and cells typed on the display; the review's caret
// line and line keys with their speech; the focused control of another
// dialog.

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
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

TEST_F(BrailleWindowViewsTest, FieldShowsItsCaretAndRoutingMovesIt)
{
    DataEntryBrailleView view(*dialog);
    Ask([&] {
        TypeText(dialog->inputedit, "abcdefgh");
        presenter.SetView(&view);
        EXPECT_EQ(display.text, "abcdefgh");
        EXPECT_EQ(display.cursor, 8) << "after the text";
        presenter.HandleKey({BrailleCommand::Route, 5});
        EXPECT_EQ(dialog->inputedit->cursorPosition(), 5);
        EXPECT_EQ(display.cursor, 5);
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

TEST_F(BrailleWindowViewsTest, OtherDialogsShowTheFocusedControlsLabelAndValue)
{
    QDialog settings;
    auto* sounds = new QCheckBox("Orbela &sounds", &settings);
    auto* volume = new QSlider(Qt::Horizontal, &settings);
    volume->setAccessibleName("Volume");
    volume->setValue(40);
    auto* name = new QLineEdit("Petr", &settings);
    name->setAccessibleName("Name");
    auto* layout = new QVBoxLayout(&settings);
    for (QWidget* control : {static_cast<QWidget*>(sounds), static_cast<QWidget*>(volume), static_cast<QWidget*>(name)})
        layout->addWidget(control);
    FocusedControlView view;
    WhenModal(&settings, [&] {
        sounds->setFocus();
        sounds->setChecked(true);
        presenter.SetView(&view);
        EXPECT_EQ(display.text, "[x] Orbela sounds");
        volume->setFocus();
        presenter.Refresh();
        EXPECT_EQ(display.text, "Volume: 40");
        name->setFocus();
        presenter.Refresh();
        EXPECT_EQ(display.text, "Name: Petr");
        settings.reject();
    });
    settings.exec();
}

} // namespace
} // namespace orbela::testing
