// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/program_run.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "hosted/orbelaprog.h"
#include "i18n/interface_strings.h"
#include "text/cp1250.h"
#include "text/error.h"
#include "runtime/runtime.h"

namespace orbela {
namespace {

// The hosted program's data file. No statement of this runtime reads it; it
// is held open for the run as the program expects.
std::ifstream OpenDataFile()
{
    std::ifstream datafile;
    std::error_code ignored;
    if (!std::filesystem::exists(DataFileName, ignored))
        return datafile;
    errno = 0;
    datafile.open(DataFileName);
    if (!datafile.is_open()) {
        std::string reason = errno ? std::strerror(errno) : "cannot be opened";
        throw Error(Utf8ToCp1250Lossy(DataFileName.string() + ": " + reason));
    }
    return datafile;
}

} // namespace

void RunHostedProgram(Runtime& runtime)
{
    std::ifstream datafile = OpenDataFile();
    runtime.State().startedonce = true;
    runtime.ResetRuntime();
    RunKvaldor(runtime);
    runtime.Print(LoadLanguageString(runtime.State().language, InterfaceString::Ready), LineEnd::NewLine);
    datafile.close();
}

} // namespace orbela
