// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/desktop_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include "i18n/qt/qt_test_support.h"

namespace orbela::testing {

int PlayerDialog::ShowModal()
{
    ++shown_;
    if (steps_.empty())
        throw ScriptExhausted();
    Step step = std::move(steps_.front());
    steps_.pop_front();
    TForm2* dialog = dialog_;
    WhenModal(dialog, [dialog, step = std::move(step)] {
        if (step.before)
            step.before();
        if (!dialog->isVisible())
            return;
        TypeText(dialog->inputedit, step.line);
        SendKey(dialog->inputedit, Qt::Key_Return);
    });
    return dialog_->ShowModal();
}

DesktopTest::DesktopTest() : previousDirectory(std::filesystem::current_path())
{
    std::filesystem::current_path(folder.Path());
}

DesktopTest::~DesktopTest()
{
    form1.reset();
    std::filesystem::current_path(previousDirectory);
}

void DesktopTest::Create(const std::filesystem::path& executable)
{
    form1.reset();
    form1 = std::make_unique<TForm1>(runtime, configuration, report, end, executable);
    form2 = new TForm2(runtime.State().language, form1.get());
    form2->SetEndProgramHandler([this] { form1->EndProgramAtOnce(); });
    player.Attach(*form2);
    form3 = new TForm3(configuration, runtime.State().language, form1.get());
    aboutbox = new TAboutbox(runtime.State().language, form1.get());
    form1->SetDialogs(form3, aboutbox);
}

void DesktopTest::ShowActive()
{
    form1->show();
    form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
}

std::vector<QString> DesktopTest::MemoRows() const
{
    std::vector<QString> rows;
    for (QTextBlock block = form1->printmemo->document()->begin(); block.isValid(); block = block.next())
        rows.push_back(block.text());
    return rows;
}

int DesktopTest::RowReading(const std::string& cp1250Text) const
{
    std::string padded = cp1250Text;
    padded.resize(std::max<std::size_t>(padded.size(), Screen::Columns), ' ');
    for (int row = Screen::Rows - 1; row >= 0; --row) {
        if (screen.Row(row) == padded)
            return row;
    }
    return -1;
}

} // namespace orbela::testing
