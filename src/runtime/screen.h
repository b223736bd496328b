// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 24-row text screen. Rows are Windows-1250 text; a row never written is
// empty, a written one is at least 80 characters long. Only the output
// statement changes rows after creation; a front-end mirrors them through
// ScreenObserver.

#include <array>
#include <string>

namespace orbela {

class ScreenObserver {
public:
    virtual ~ScreenObserver() = default;
    virtual void RowChanged(int row) = 0;
    // Row 0 was deleted and an empty row appended at the end.
    virtual void Scrolled() = 0;
    // Every row was set anew (the screen was created or emptied).
    virtual void Reset() = 0;
};

class Screen {
public:
    static constexpr int Rows = 24;
    static constexpr int Columns = 80;

    // 24 empty rows, as the main window creates them.
    Screen() = default;

    const std::string& Row(int row) const { return rows_.at(row); }
    void SetRow(int row, std::string text);
    void Scroll();
    // Empties the screen back to 24 empty rows.
    void Clear();

    // The rows joined, each followed by a carriage return and a line feed,
    // as the virtual screen reads the memo's whole text.
    std::string Text() const;

    // Not owned; null detaches.
    void SetObserver(ScreenObserver* observer) { observer_ = observer; }

private:
    std::array<std::string, Rows> rows_{};
    ScreenObserver* observer_ = nullptr;
};

} // namespace orbela
