// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The lasting record of the texts a pupil works: one CSV row per text
// (resultsrow.h), the attempt that counts what the pupil did in it
// (attempt.h), the pupil's file the rows go to (pupilfile.h), and reading a
// folder of such files back (resultsfolder.h) and the teacher's summaries of
// its rows (resultssummary.h).
// No widgets: the main window feeds the attempt and appends the rows, the
// teacher's view reads them back.

#include "library/attempt.h"
#include "library/pupilfile.h"
#include "library/resultsfolder.h"
#include "library/resultsrow.h"
#include "library/resultssummary.h"
