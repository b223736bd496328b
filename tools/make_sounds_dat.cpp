// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the authored "sounds.dat" to the path given, through a temporary
// file beside it, so that an interrupted build never leaves half a file.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "signal_waves.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " OUTPUT\n";
        return 2;
    }
    try {
        const std::filesystem::path target = argv[1];
        std::filesystem::path temporary = target;
        temporary += ".part";
        const auto bytes = orbela::authoring::BuildSoundsDat();
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                std::cerr << argv[0] << ": cannot write " << temporary << "\n";
                return 1;
            }
        }
        std::filesystem::rename(temporary, target);
    } catch (const std::exception& error) {
        std::cerr << argv[0] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
