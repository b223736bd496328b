// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM, SIGHUP and SIGINT (a byte on the notice's pipe here) end the
// window from whatever loop runs: the main one, or a message's that waits
// for an answer nobody will give.

#include <QMessageBox>
#include <QTest>

#include <unistd.h>

#include "i18n/qt/qt_test_support.h"
#include "shell/qt/desktop_fixture.h"
#include "shell/qt/termination_watch.h"

namespace orbela::testing {
namespace {

class TerminationWatchTest : public DesktopTest {
protected:
    TerminationWatchTest()
    {
        if (::pipe(notice_) != 0)
            throw std::runtime_error("no pipe");
        watch = std::make_unique<TerminationWatch>(notice_[0], report, end);
    }
    ~TerminationWatchTest() override
    {
        watch.reset();
        ::close(notice_[0]);
        ::close(notice_[1]);
    }

    void Signal() { ASSERT_EQ(::write(notice_[1], "T", 1), 1); }
    // Signals while `dialog` waits modally, until the program ends; then
    // answers it, as the recording end returns where the program would not.
    void SignalWhileModal(QWidget* dialog, std::function<void()> answer)
    {
        // Runs after this function returned: the answer is kept by value.
        WhenModal(dialog, [this, answer = std::move(answer)] {
            Signal();
            // Answered either way, so a missed end fails the test rather
            // than leaving the box waiting.
            EXPECT_TRUE(QTest::qWaitFor([&] { return end.calls > 0; }, 3000));
            answer();
        });
    }

    std::unique_ptr<TerminationWatch> watch;

private:
    int notice_[2] = {-1, -1};
};

TEST_F(TerminationWatchTest, AMessageWaitingWhileTheMainWindowIsMadeEndsWithRamDatAsItWas)
{
    const std::string image(65536, 'k');
    WriteBytes(folder / "ram.dat", image);
    QMessageBox box(QMessageBox::Warning, "orbela", "sounds.dat");
    SignalWhileModal(&box, [&] { box.reject(); });
    box.exec();
    EXPECT_EQ(end.calls, 1);
    EXPECT_EQ(ReadBytes(folder / "ram.dat"), image);
}

TEST_F(TerminationWatchTest, AnOpenDialogDoesNotKeepTheIdleWindowFromEndingWithItsImageSaved)
{
    Create();
    watch->SetMainWindow(form1.get());
    ShowActive();
    SignalWhileModal(aboutbox, [&] { aboutbox->reject(); });
    form1->aboutsubmenu->trigger();
    EXPECT_EQ(end.calls, 1);
    EXPECT_EQ(end.ramSizeAtEnd, 65536u);
}

TEST_F(TerminationWatchTest, TheIdleWindowClosesAsProgramExitDoes)
{
    Create();
    watch->SetMainWindow(form1.get());
    ShowActive();
    Signal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form1->isVisible(); }, 3000));
    EXPECT_EQ(end.calls, 0);
    EXPECT_EQ(std::filesystem::file_size(folder / "ram.dat"), 65536u);
}

} // namespace
} // namespace orbela::testing
