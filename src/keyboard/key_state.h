// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of the keys as it stood when the key message being handled was
// delivered (not the live state of the hardware), so that a handler sees the
// same keys however late it runs. Keys are the platform's virtual-key codes.

#include <bitset>

namespace orbela {

// Virtual-key codes of the keys the handlers name, the chord keyboard's
// among them.
namespace VirtualKey {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Escape = 27;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Delete = 46;
inline constexpr int F2 = 113;
inline constexpr int F4 = 115;
// The key right of the full stop; its echo is never converted.
inline constexpr int Oem2 = 191;
inline constexpr int Space = 0x20;
inline constexpr int D = 0x44;
inline constexpr int F = 0x46;
inline constexpr int J = 0x4A;
inline constexpr int K = 0x4B;
inline constexpr int L = 0x4C;
inline constexpr int S = 0x53;
} // namespace VirtualKey

// The keys held to change another (Shift, Ctrl, Alt) and a screen reader's
// command keys (Insert, Caps Lock): beside a screen reader they are its own,
// and pressing one leaves the program's speech alone.
bool IsModifierKey(int virtualKey);

class KeyState {
public:
    virtual ~KeyState() = default;
    // True when the key was down at the message being handled. Codes outside
    // 0..255 are never down.
    virtual bool IsDown(int virtualKey) const = 0;
    // True when the key press being handled is of a key that was already
    // down: the keyboard's repeat of a held key.
    virtual bool RepeatedPress() const { return false; }
};

// A key-state table kept up to date by the front-end as each key press and
// release is delivered, before the handlers of that event run.
class KeyStateTable final : public KeyState {
public:
    void KeyPressed(int virtualKey);
    // An auto-repeat release leaves the key down: the key is still held, and
    // the press that follows it belongs to the same holding.
    void KeyReleased(int virtualKey, bool autoRepeat);
    // All keys up, for instance when the window loses the keyboard and the
    // releases will go elsewhere.
    void ReleaseAll()
    {
        down_.reset();
        repeatedPress_ = false;
    }

    bool IsDown(int virtualKey) const override;
    bool RepeatedPress() const override { return repeatedPress_; }

private:
    static constexpr int KeyCount = 256;
    std::bitset<KeyCount> down_;
    bool repeatedPress_ = false;
};

} // namespace orbela
