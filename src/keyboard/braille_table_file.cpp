// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the table file into the tables.

#include "keyboard/braille_table.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "text/error.h"

namespace orbela {
namespace {

// The texts of the run-time input/output errors that a user of the original
// platform knows from its error box.
std::string InOutErrorText(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case EACCES:
    case EPERM:
    case EISDIR:
        return "File access denied";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    default:
        return "I/O error " + std::to_string(error);
    }
}

std::string TooLargeMessage(const std::filesystem::path& file)
{
    return file.filename().string() + " is larger than " + std::to_string(BrailleTable::MaxFileBytes) +
        " bytes and is not read";
}

struct Entry {
    std::string_view name;
    std::string_view dots;
};

// Split at the first "="; further "=" belong to the dots. A line without
// one is both name and dots.
Entry SplitEntry(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {line, line};
    return {line.substr(0, equals), line.substr(equals + 1)};
}

// Calls `take` with each line, without its line end (CR LF, LF or CR). Text
// after the last line end is a line of its own. Returns how many bytes the
// lines taken (with their ends) covered.
template <typename TakeLine>
std::size_t ForEachLine(std::string_view bytes, bool takeUnterminated, TakeLine take)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        take(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (takeUnterminated && start < bytes.size()) {
        take(bytes.substr(start));
        start = bytes.size();
    }
    return start;
}

} // namespace

class BrailleTable::Loader {
public:
    explicit Loader(BrailleTable& table) : table_(table)
    {
        table_.prefixcount_ = 0;
        table_.charactercount_ = 0;
    }

    void TakeLine(std::string_view line)
    {
        if (!line.empty() && line.front() == '[') {
            BeginSection(line);
            return;
        }
        switch (section_) {
        case Section::Prefixes:
            if (!line.empty() && line.front() == '#')
                AddPrefix(SplitEntry(line));
            return;
        case Section::Characters:
            if (!line.empty())
                AddCharacter(SplitEntry(line));
            return;
        case Section::BeforeFirst:
        case Section::Skipped:
            return;
        }
    }

    const BrailleTableSurplus& Surplus() const { return surplus_; }

private:
    enum class Section { BeforeFirst, Prefixes, Characters, Skipped };

    void BeginSection(std::string_view line)
    {
        // The name is the line without its first and its last character,
        // whatever the last one is.
        const std::string_view name = line.size() < 2 ? std::string_view() : line.substr(1, line.size() - 2);
        if (name == "prefixes") {
            section_ = Section::Prefixes;
            table_.prefixcount_ = 0;
        } else if (name == "characters") {
            section_ = Section::Characters;
            prefix_.clear();
        } else if (!name.empty() && name.front() == '#') {
            section_ = Section::Characters;
            prefix_ = name;
        } else {
            section_ = Section::Skipped;
        }
    }

    void AddPrefix(Entry entry)
    {
        if (table_.prefixcount_ == PrefixSlots) {
            ++surplus_.prefixes;
            return;
        }
        table_.prefixtable_[table_.prefixcount_++] = {std::string(entry.name), std::string(entry.dots)};
    }

    void AddCharacter(Entry entry)
    {
        if (table_.charactercount_ == CharacterSlots) {
            ++surplus_.characters;
            return;
        }
        table_.braillechartable_[table_.charactercount_++] = {prefix_, std::string(entry.name),
                                                              std::string(entry.dots)};
    }

    BrailleTable& table_;
    Section section_ = Section::BeforeFirst;
    std::string prefix_;
    BrailleTableSurplus surplus_;
};

BrailleTableSurplus BrailleTable::LoadBrailleTableText(std::string_view fileBytes)
{
    Loader loader(*this);
    ForEachLine(fileBytes, true, [&](std::string_view line) { loader.TakeLine(line); });
    return loader.Surplus();
}

BrailleTableSurplus BrailleTable::LoadBrailleTable(const std::filesystem::path& file)
{
    Loader loader(*this);
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw Error(InOutErrorText(errno));

    // Lines are taken as they arrive, so that a read failing half-way keeps
    // the lines before it. Only the bytes after the last line end wait in
    // `pending`, and a piece without a line end is only appended, so a long
    // line costs its length once rather than once per piece.
    std::string pending;
    char buffer[4096];
    int readError = 0;
    std::size_t total = 0;
    bool tooLarge = false;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            readError = errno;
        if (got <= 0)
            break;
        total += static_cast<std::size_t>(got);
        if (total > MaxFileBytes) {
            tooLarge = true;
            break;
        }
        const std::string_view piece(buffer, static_cast<std::size_t>(got));
        pending.append(piece);
        if (piece.find_first_of("\r\n") == std::string_view::npos)
            continue;
        // A CR LF cut by the end of a piece reads as a line end and an empty
        // line, which no section takes.
        const std::size_t used = ForEachLine(pending, false, [&](std::string_view line) { loader.TakeLine(line); });
        pending.erase(0, used);
    }
    ::close(fd);
    if (readError != 0)
        throw Error(InOutErrorText(readError));
    if (tooLarge)
        throw Error(TooLargeMessage(file));
    ForEachLine(pending, true, [&](std::string_view line) { loader.TakeLine(line); });
    return loader.Surplus();
}

} // namespace orbela
