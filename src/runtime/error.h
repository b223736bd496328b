// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Kept under its old name for the many files that include it; the error
// type lives on the lowest floor, beside the code page it is written in.
#include "text/error.h"
