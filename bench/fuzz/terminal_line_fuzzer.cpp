// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes on the terminal's standard input become
// Windows-1250 lines or reports, and end of input ends the dialog.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "runtime/error_report.h"
#include "shell/terminal/terminal_dialog.h"

namespace {

class CountingReport final : public orbela::ErrorReport {
public:
    void Report(std::string_view message) override { bytes += message.size(); }
    std::size_t bytes = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CountingReport report;
    orbela::TerminalDialog dialog(in, report);
    std::size_t lines = 0;
    try {
        for (;;) {
            dialog.ClearField();
            dialog.ShowModal();
            if (dialog.FieldText().size() > size)
                __builtin_trap();
            ++lines;
        }
    } catch (const orbela::EndOfInput&) {
    }
    return lines + report.bytes == static_cast<std::size_t>(-1) ? 1 : 0;
}
