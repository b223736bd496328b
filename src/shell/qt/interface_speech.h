// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own voice for its interface, when no screen reader reads
// it, all along one path: a window says its name as it opens, then what it
// shows besides its controls (the About box's lines, a message box's
// text), then the focused control; each later focus move, menu move or
// change of a value is said once, and cuts what was being said. Labels
// lose their access-key marks; roles and states come in the language the
// window shows. Whether any of it is said is the speech policy's answer.
// When the engine in use cannot speak, the other one does, and says so once.

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

#include "speech/speech_policy.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace orbela {

class SpeechService;

class InterfaceSpeech final : public QObject {
    Q_OBJECT

public:
    // `language` is the current language, read at every description of a
    // window that recorded none of its own. Installs itself as the
    // application's event filter.
    InterfaceSpeech(SpeechService& speech, const int& language, QObject* parent = nullptr);

    // The menu bar and every menu below it.
    void WatchMenuBar(QMenuBar& bar);
    // A dialog: said as it opens, its controls as they get the focus and
    // as their values change. Message boxes are watched without asking.
    void WatchDialog(QWidget& dialog);

    // What is said (Windows-1250) for a highlighted menu item shown in
    // `shownIn` (a menu or the bar), for a focused control, and for a
    // window as it opens.
    std::string DescribeAction(const QAction& action, const QWidget& shownIn) const;
    std::string DescribeControl(const QWidget& control) const;
    std::vector<std::string> DescribeOpening(const QWidget& window) const;

    // Says an interface text (Windows-1250) in place of what is being
    // said, when the speech policy lets the program speak for itself.
    void Say(const std::string& cp1250Text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchMenu(QMenu& menu);
    bool IsWatchedWindow(const QWidget* window) const;
    bool InWatchedWindow(const QObject* object) const;
    void AnnounceOpening();
    // The control that has, or will have, the focus of a window opening.
    static const QWidget* FocusOnOpening(const QWidget& window);
    void FocusChanged(QWidget* now);
    // The control's description, after its group's name when the focus
    // has just entered the group.
    std::vector<std::string> FocusTexts(const QWidget& control) const;
    void Remember(const QWidget* control);
    // Stops what is being said and queues the texts in order.
    void Say(const std::vector<std::string>& cp1250Texts, Utterance what = Utterance::Focus);
    int LanguageOf(const QWidget& widget) const;

    SpeechService& speech_;
    const int& language_;
    std::vector<QPointer<QWidget>> dialogs_;
    // A window just shown, said once its focus has settled.
    QPointer<QWidget> opening_;
    // The control said last and its description, so that the same focus
    // arriving again (the window's activation) is not said twice.
    QPointer<const QWidget> lastControl_;
    std::string lastDescription_;
    bool standInTold_ = false;
};

} // namespace orbela
