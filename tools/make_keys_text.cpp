// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the list of keys that Help / Keys shows, as installed
// documentation: one UTF-8 text file per language, from the same table.
//   orbela_make_keys_text LANGUAGE_NUMBER OUTPUT_FILE

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "i18n/guidance_strings.h"
#include "text/cp1250.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s LANGUAGE_NUMBER OUTPUT_FILE\n", argv[0]);
        return 2;
    }
    const int language = std::atoi(argv[1]);
    std::ofstream output(argv[2], std::ios::binary | std::ios::trunc);
    output << orbela::Cp1250ToUtf8(orbela::KeyHelpText(language));
    output.close();
    if (!output) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
