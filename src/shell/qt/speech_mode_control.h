// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech mode in the desktop: the choice from the command line or the
// configuration file, the screen reader watched for the automatic mode,
// the policy handed to the speech service, the program's own voice for its
// interface, the Settings submenu, and the announcement of each change.

#include <QObject>

#include <optional>

#include "speech/speech_policy.h"

class QMainWindow;
class QMenu;
class QWidget;

namespace orbela {

class IniFile;
class InterfaceSpeech;
class ScreenReaderWatch;
class SpeechModeMenu;
class SpeechService;

class SpeechModeControl final : public QObject {
    Q_OBJECT

public:
    // `commandLine` wins over the file's [speech] mode; `language` is read
    // at each use. Everything given must outlive this object.
    SpeechModeControl(SpeechService& speech, IniFile& configuration, const int& language,
                      std::optional<SpeechMode> commandLine, QObject* parent = nullptr);
    ~SpeechModeControl() override;

    SpeechPolicy& Policy() { return policy_; }
    InterfaceSpeech& Interface() { return *interface_; }
    // Adds Settings / Speech mode and speaks the window's menus.
    void AttachMainWindow(QMainWindow& window, QMenu& settings);
    SpeechModeMenu* Menu() const { return menu_; }
    // Whether a screen reader is found on the desktop now, whatever the mode.
    bool ScreenReaderRunning() const;

signals:
    // After the mode in effect changed (and was announced).
    void EffectiveModeChanged();

private:
    void Announce(SpeechMode effective);

    SpeechService& speech_;
    IniFile& configuration_;
    const int& language_;
    SpeechPolicy policy_;
    ScreenReaderWatch* watch_ = nullptr;
    InterfaceSpeech* interface_ = nullptr;
    SpeechModeMenu* menu_ = nullptr;
};

} // namespace orbela
