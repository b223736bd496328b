// SPDX-License-Identifier: GPL-3.0-or-later
// The input statements: one comma-separated field of a typed line per call,
// the rest of the line kept in pendinginput for the next call.

#include <optional>
#include <string>

#include "i18n/interface_strings.h"
#include "runtime/input_dialog.h"
#include "runtime/number_conversion.h"
#include "runtime/runtime.h"

namespace orbela {
namespace {

constexpr char FieldSeparator = ',';
constexpr char Quote = '"';

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

void Trim(std::string& text)
{
    text = Trimmed(text);
}

bool StartsWithSeparator(const std::string& text)
{
    return !text.empty() && text.front() == FieldSeparator;
}

// Modes 0 and 2 start from a fresh line; every other value keeps the rest.
bool DiscardsPending(std::uint8_t mode)
{
    return mode == static_cast<std::uint8_t>(InputMode::Fresh)
        || mode == static_cast<std::uint8_t>(InputMode::FreshPrompted);
}

} // namespace

int Runtime::AskForLine(std::uint8_t mode)
{
    dialog_.ClearField();
    if (mode != static_cast<std::uint8_t>(InputMode::Fresh))
        Print(LoadLanguageString(state_.language, InterfaceString::EnterData), LineEnd::NewLine);
    return dialog_.ShowModal();
}

void Runtime::InputText(std::string& destination, std::uint8_t mode)
{
    std::string& pending = state_.pendinginput;
    if (DiscardsPending(mode))
        pending.clear();

    if (pending.empty() && AskForLine(mode) == ModalResultOk) {
        pending = Trimmed(dialog_.FieldText());
        if (StartsWithSeparator(pending)) {
            destination.clear();
            pending.erase(0, 1);
            Trim(pending);
            return;
        }
    }
    // Cancelled, or nothing but blanks confirmed: the old value stays.
    if (pending.empty())
        return;

    if (StartsWithSeparator(pending))
        pending.erase(0, 1);
    Trim(pending);

    if (!pending.empty() && pending.front() == Quote) {
        const std::size_t close = pending.find(Quote, 1);
        if (close == std::string::npos) {
            // An unclosed quote takes the rest of the line.
            destination = pending.substr(1);
            pending.clear();
            return;
        }
        destination = pending.substr(1, close - 1);
        pending = Trimmed(std::string_view(pending).substr(close + 1));
        return;
    }

    const std::size_t comma = pending.find(FieldSeparator);
    if (comma == std::string::npos) {
        destination = pending;
        pending.clear();
        return;
    }
    // Blanks before the comma belong to the value.
    destination = pending.substr(0, comma);
    pending = Trimmed(std::string_view(pending).substr(comma + 1));
}

void Runtime::InputNumber(double& destination, std::uint8_t mode)
{
    std::string& pending = state_.pendinginput;
    if (DiscardsPending(mode))
        pending.clear();
    bool lineTyped = false;

    for (;;) {
        bool converted = true;
        if (pending.empty() && AskForLine(mode) == ModalResultOk) {
            lineTyped = true;
            const std::string line = dialog_.FieldText();
            if (line.empty())
                destination = 0.0;
            pending = Trimmed(line);
            if (StartsWithSeparator(pending)) {
                destination = 0.0;
                pending.erase(0, 1);
                Trim(pending);
                return;
            }
        }

        if (!pending.empty()) {
            if (StartsWithSeparator(pending))
                pending.erase(0, 1);
            Trim(pending);
            std::optional<double> number;
            const std::size_t comma = pending.find(FieldSeparator);
            if (comma != std::string::npos) {
                number = ConvertNumber(Trimmed(std::string_view(pending).substr(0, comma)));
                pending = Trimmed(std::string_view(pending).substr(comma + 1));
            } else if (pending.empty()) {
                number = 0.0;
            } else {
                number = ConvertNumber(pending);
                pending.clear();
            }
            if (number)
                destination = *number;
            else
                converted = false;
        }

        if (converted)
            return;
        // A field left from an earlier line is not the user's to retype.
        if (!lineTyped) {
            destination = 0.0;
            return;
        }
        // Only a call that began with nothing left of the line gets here,
        // so the rest it started with was empty.
        pending.clear();
        Print(LoadLanguageString(state_.language, InterfaceString::PleaseRetype), LineEnd::NewLine);
    }
}

} // namespace orbela
