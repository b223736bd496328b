// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Kept under its old name for the many files that include it; the code
// page lives below the language tables, which convert with it.
#include "text/cp1250.h"
