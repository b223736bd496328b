// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own voice for its interface, when no screen reader reads
// it: the menu bar and each menu item as it is highlighted, the controls of
// the dialogs that do not speak for themselves as the focus moves and as
// their values change, and every message box before it waits. Whether any
// of it is said is the speech policy's answer; a key pressed in a menu, a
// watched dialog or a message box silences what is being said.

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace orbela {

class SpeechService;

class InterfaceSpeech final : public QObject {
    Q_OBJECT

public:
    // `language` is read at every description. Installs itself as the
    // application's event filter and as the message boxes' speaker.
    InterfaceSpeech(SpeechService& speech, const int& language, QObject* parent = nullptr);
    ~InterfaceSpeech() override;

    // The menu bar and every menu below it, now and added later.
    void WatchMenuBar(QMenuBar& bar);
    // A dialog whose controls are described as they get the focus.
    void WatchDialog(QWidget& dialog);

    // What is said for a highlighted menu item or a focused control
    // (Windows-1250): caption without its access-key mark, shortcut, state.
    std::string DescribeAction(const QAction& action, bool inMenuBar) const;
    std::string DescribeControl(const QWidget& control) const;

    // Says an interface text (Windows-1250) in place of what is being
    // said, when the speech policy lets the program speak for itself.
    void Say(const std::string& cp1250Text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchMenu(QMenu& menu);
    bool InWatchedWindow(const QObject* object) const;
    void FocusChanged(QWidget* now);

    SpeechService& speech_;
    const int& language_;
    std::vector<QPointer<QWidget>> dialogs_;
};

} // namespace orbela
