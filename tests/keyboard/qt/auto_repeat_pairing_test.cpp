// SPDX-License-Identifier: GPL-3.0-or-later
// The fallback for held keys where the X server gives no detectable
// auto-repeat: events arrive as the window system delivers them
// (spontaneous, with the server's timestamp and the key's scan code), and
// the widget behind the filter must see a held key's repeats as presses
// with one release at the end, and every real release in its place.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

#include <string>
#include <vector>

#include "keyboard/qt/auto_repeat.h"

namespace orbela {
namespace {

// Notes each key event as "+F" (press) or "-F" (release).
class KeyLog final : public QWidget {
public:
    std::vector<std::string> seen;

protected:
    void keyPressEvent(QKeyEvent* event) override { seen.push_back("+" + event->text().toStdString()); }
    void keyReleaseEvent(QKeyEvent* event) override { seen.push_back("-" + event->text().toStdString()); }
};

class AutoRepeatPairingTest : public ::testing::Test {
protected:
    AutoRepeatPairingTest() { qApp->installEventFilter(&pairing_); }
    ~AutoRepeatPairingTest() override { qApp->removeEventFilter(&pairing_); }

    // As the window system delivers it: through the application's filters.
    void Deliver(QEvent::Type type, char letter, quint64 timestamp, bool autoRepeat = false)
    {
        const QString text(QChar::fromLatin1(letter));
        QKeyEvent event(type, Qt::Key_A + (letter - 'a'), Qt::NoModifier, ScanCode(letter), 0, 0, text, autoRepeat);
        event.setTimestamp(timestamp);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(&log_, &event);
    }
    void Press(char letter, quint64 timestamp) { Deliver(QEvent::KeyPress, letter, timestamp); }
    void Release(char letter, quint64 timestamp) { Deliver(QEvent::KeyRelease, letter, timestamp); }

    // Long enough for a release held back to be given up on and delivered.
    static void LetTheHeldReleaseGo() { QTest::qWait(60); }

    static quint32 ScanCode(char letter) { return 38 + static_cast<quint32>(letter - 'a'); }

    KeyLog log_;
    AutoRepeatPairing pairing_;
};

TEST_F(AutoRepeatPairingTest, AHeldKeyGivesRepeatedPressesAndOneRelease)
{
    Press('f', 1000);
    for (quint64 at = 1500; at <= 1600; at += 50) {
        Release('f', at);  // the repeat's pair: same key, same moment
        Press('f', at);
    }
    Release('f', 2000);
    LetTheHeldReleaseGo();
    EXPECT_EQ(log_.seen, (std::vector<std::string>{"+f", "+f", "+f", "+f", "-f"}));
}

TEST_F(AutoRepeatPairingTest, RealReleasesKeepTheirPlace)
{
    // A release followed by another key's press at the same moment is
    // real, and comes before that press.
    Press('f', 100);
    Release('f', 200);
    Press('d', 200);
    // The same key pressed again later: typed twice, not held.
    Release('d', 300);
    Press('d', 340);
    Release('d', 400);
    LetTheHeldReleaseGo();
    EXPECT_EQ(log_.seen, (std::vector<std::string>{"+f", "-f", "+d", "-d", "+d", "-d"}));
}

TEST_F(AutoRepeatPairingTest, AReleaseWithNoPressAfterItIsDeliveredSoon)
{
    Press('j', 10);
    Release('j', 20);
    EXPECT_EQ(log_.seen, (std::vector<std::string>{"+j"}));  // held back for its pair
    LetTheHeldReleaseGo();
    EXPECT_EQ(log_.seen, (std::vector<std::string>{"+j", "-j"}));
}

TEST_F(AutoRepeatPairingTest, ReleasesTheToolkitMarkedAsRepeatsPassAtOnce)
{
    Press('k', 10);
    Deliver(QEvent::KeyRelease, 'k', 50, /*autoRepeat=*/true);
    EXPECT_EQ(log_.seen, (std::vector<std::string>{"+k", "-k"}));
}

} // namespace
} // namespace orbela
