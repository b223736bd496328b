// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/file_messages.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "i18n/resource_localizer.h"
#include "text/cp1250.h"

namespace orbela {
namespace {

constexpr std::size_t Count = static_cast<std::size_t>(FileProblem::Count);
using Texts = std::array<const char*, Count>;

// Same order as the enumeration.
constexpr Texts English{
    "the disk is full",
    "the file would be larger than the limit on file size",
    "the disk is read-only",
    "the file is read-only",
    "the folder may not be written",
    "permission denied",
    "it is not a regular file",
    "it is a link that points to nothing",
    "it is a link to something that is not a regular file",
    "it is a link that cannot be followed",
    "it could not be read whole at start and is kept as it is",
    "it is longer than 65536 bytes and is kept as it is",
    "it holds bytes that are not text (a NUL byte) and is kept as it is",
    "it is larger than 1048576 bytes and is kept as it is",
    "it cannot be read",
};
constexpr Texts Czech{
    "disk je plný",
    "soubor by byl větší, než dovoluje limit velikosti souborů",
    "disk je jen pro čtení",
    "soubor je jen pro čtení",
    "do složky nelze zapisovat",
    "přístup odepřen",
    "není to obyčejný soubor",
    "je to odkaz, který nikam nevede",
    "je to odkaz na něco, co není obyčejný soubor",
    "je to odkaz, který nelze sledovat",
    "při spuštění jej nešlo celý přečíst, a proto zůstává, jak je",
    "je delší než 65536 bajtů, a proto zůstává, jak je",
    "obsahuje bajty, které nejsou text (bajt NUL), a proto zůstává, jak je",
    "je větší než 1048576 bajtů, a proto zůstává, jak je",
    "nelze jej přečíst",
};
constexpr Texts Slovak{
    "disk je plný",
    "súbor by bol väčší, ako dovoľuje limit veľkosti súborov",
    "disk je len na čítanie",
    "súbor je len na čítanie",
    "do priečinka nemožno zapisovať",
    "prístup odmietnutý",
    "nie je to obyčajný súbor",
    "je to odkaz, ktorý nikam nevedie",
    "je to odkaz na niečo, čo nie je obyčajný súbor",
    "je to odkaz, ktorý nemožno sledovať",
    "pri spustení ho nebolo možné celý prečítať, a preto zostáva, ako je",
    "je dlhší ako 65536 bajtov, a preto zostáva, ako je",
    "obsahuje bajty, ktoré nie sú text (bajt NUL), a preto zostáva, ako je",
    "je väčší ako 1048576 bajtov, a preto zostáva, ako je",
    "nemožno ho prečítať",
};

std::atomic<int> messageLanguage{LanguageEnglish};

} // namespace

void SetFileMessageLanguage(int language)
{
    messageLanguage = language;
}

std::string FileProblemText(FileProblem problem)
{
    const int language = messageLanguage;
    const Texts& texts = language == LanguageCzech ? Czech : language == LanguageSlovak ? Slovak : English;
    return Utf8ToCp1250Lossy(texts[static_cast<std::size_t>(problem)]);
}

std::string FileErrorText(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return FileProblemText(FileProblem::DiskFull);
    case EFBIG:
        return FileProblemText(FileProblem::SizeLimit);
    case EROFS:
        return FileProblemText(FileProblem::ReadOnlyDisk);
    case EACCES:
    case EPERM:
        return FileProblemText(FileProblem::PermissionDenied);
    default:
        return Utf8ToCp1250Lossy(std::strerror(error));
    }
}

} // namespace orbela
