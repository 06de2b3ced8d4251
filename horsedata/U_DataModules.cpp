// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_DataModules.h"

TDataModules::TDataModules()
    : previousHorseStatus_(DM_HorseStatus), previousFileAccess_(DM_FileAccess),
      previousAnalyze_(DM_Analyze) {
    DM_HorseStatus = &HorseStatus;
    DM_FileAccess = &FileAccess;
    DM_Analyze = &Analyze;
}

TDataModules::~TDataModules() {
    DM_HorseStatus = previousHorseStatus_;
    DM_FileAccess = previousFileAccess_;
    DM_Analyze = previousAnalyze_;
}
