// SPDX-License-Identifier: GPL-3.0-or-later
// The application's dispatch boundary, the desktop's error report and the
// message pump.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>

#include "i18n/qt/message_box.h"
#include "text/error.h"
#include "shell/qt/message_box_error_report.h"
#include "shell/qt/orbela_application.h"
#include "support/fakes.h"

namespace orbela::testing {
namespace {

class ThrowingObject final : public QObject {
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User) {
            ++handled;
            throw Error(Cp("soubor nelze číst"));
        }
        return QObject::event(event);
    }
    int handled = 0;
};

class DispatchBoundaryTest : public ::testing::Test {
protected:
    DispatchBoundaryTest() : application(*static_cast<OrbelaApplication*>(QApplication::instance()))
    {
        application.SetErrorReport(&report);
    }
    ~DispatchBoundaryTest() override { application.SetErrorReport(nullptr); }

    OrbelaApplication& application;
    RecordingErrorReport report;
};

TEST_F(DispatchBoundaryTest, AnErrorEscapingAHandlerIsReportedAndTheLoopGoesOn)
{
    ThrowingObject object;
    QEvent sent(QEvent::User);
    EXPECT_FALSE(QApplication::sendEvent(&object, &sent));

    // Posted ones are handled by the loop itself, which keeps running.
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    bool laterTimerRan = false;
    QTimer::singleShot(0, [&] { laterTimerRan = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return laterTimerRan && object.handled == 3; }, 2000));

    ASSERT_EQ(report.messages.size(), 3u);
    for (const std::string& message : report.messages)
        EXPECT_EQ(message, Cp("soubor nelze číst"));
}

TEST(MessageBoxErrorReport, ShowsTheErrorTextAsAnErrorMessage)
{
    std::vector<std::pair<QString, MessageKind>> shown;
    SetMessageBoxHook([&](const QString& text, MessageKind kind) { shown.emplace_back(text, kind); });
    MessageBoxErrorReport report;
    report.Report(Cp("Unable to write to /složka/orbela.ini"));
    SetMessageBoxHook({});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, "Unable to write to /složka/orbela.ini");
    EXPECT_EQ(shown[0].second, MessageKind::Error);
}

} // namespace
} // namespace orbela::testing
