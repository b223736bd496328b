// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard_fixture.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <fstream>

#include "i18n/qt/qt_text.h"
#include "text/error.h"
#include "speech/recording_engine.h"

namespace orbela::testing {
namespace {

constexpr int English = 2000;

void SendKeyEvent(QEvent::Type type, QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(target, &event);
}

} // namespace

class JournalSounds::Wave final : public ToneSound {
public:
    Wave(Journal& journal, std::string name) : journal_(journal), name_(std::move(name)) {}
    void SetLooped(bool) override {}
    void SetFrequency(std::int32_t hz) override { pitch_ = hz / 64; }
    void SetVolume(std::int32_t) override {}
    void Play() override { journal_.push_back("tone:" + std::to_string(pitch_)); }
    void Stop() override {}
    const std::string& Name() const { return name_; }

private:
    Journal& journal_;
    std::string name_;
    std::int32_t pitch_ = 0;
};

JournalSounds::JournalSounds(Journal& journal) : journal_(journal) {}

JournalSounds::~JournalSounds() = default;

ToneSound& JournalSounds::FindSound(std::string_view name)
{
    if (std::find(missing.begin(), missing.end(), name) != missing.end())
        throw Error("Wave '" + std::string(name) + "' not found");
    for (const auto& wave : waves_) {
        if (wave->Name() == name)
            return *wave;
    }
    waves_.push_back(std::make_unique<Wave>(journal_, std::string(name)));
    return *waves_.back();
}

void JournalSounds::PlaySoundEffect(std::string_view name, std::int32_t)
{
    journal_.push_back("sound:" + std::string(name));
}

std::unique_ptr<SpeechEngine> MakeJournalEngine(GuiThreadPoster& poster, Journal& journal)
{
    auto engine = std::make_unique<RecordingEngine>(poster);
    engine->OnSpeak([&journal](const std::string& text) { journal.push_back("say:" + text); });
    return engine;
}

void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    SendKeyEvent(QEvent::KeyPress, target, key, modifiers, text);
}

void Release(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    SendKeyEvent(QEvent::KeyRelease, target, key, modifiers, text);
}

KeyboardWindowsTest::KeyboardWindowsTest()
{
    RuntimeState& state = runtime.State();
    state.language = English;
    state.voiceallowed = true;
    runtime.SetToneSounds(&sounds);
    runtime.SetSpeech(speech);
    speech.SetEngine(EngineSlot::Embedded, MakeJournalEngine(poster, journal));
    speech.SetUseSapi5(false);
    speech.VoiceSelected();
    EchoTones tones;
    tones.start = [this](const std::vector<double>& pitches, double waveset, double length) {
        // The capital's tone; any other tone of the echo sounds on the list.
        if (pitches == std::vector<double>{2000} && waveset == 1 && length == 20) {
            journal.push_back("tone:cap");
            return SoundingTone{.milliseconds = 20};
        }
        return runtime.StartTone(pitches, waveset, length);
    };
    tones.stop = [this](const SoundingTone& tone) { runtime.StopTone(tone); };
    // Without a timer a tone of the echo is over as soon as it starts: the
    // journal shows the order of the echo at once.
    speech.SetEchoTones(std::move(tones), nullptr);
    std::ifstream names(ORBELA_DATA_DIR "/english.eky", std::ios::binary);
    speech.CharacterNames().Load(names, "english.eky");
    braille.LoadBrailleTable(ORBELA_DATA_DIR "/czech.ebt");

    keyFilter = std::make_unique<KeyStateFilter>(keys);
    qApp->installEventFilter(keyFilter.get());
    virtualScreen = std::make_unique<TForm6>(runtime, &speech);
    dialog = std::make_unique<TForm2>(English);
    dialog->SetServices({&runtime, &speech, &keys, &braille, [this] { virtualScreen->OpenVirtualScreen(); }});
    dialog->SetEndProgramHandler([this] { ++endRequests; });
}

KeyboardWindowsTest::~KeyboardWindowsTest()
{
    qApp->removeEventFilter(keyFilter.get());
    // Engine events still queued must find no listener.
    speech.SetEngine(EngineSlot::Embedded, nullptr);
    QApplication::processEvents();
}

Journal KeyboardWindowsTest::Heard()
{
    // The echo plays on as the engine reports its speech over.
    QApplication::processEvents();
    Journal heard;
    heard.swap(journal);
    return heard;
}

void KeyboardWindowsTest::WriteRow(int row, const std::string& utf8Text)
{
    std::string text = Cp(utf8Text);
    text.resize(Screen::Columns, ' ');
    screen.SetRow(row, text);
}

} // namespace orbela::testing
