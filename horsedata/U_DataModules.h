// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_Analyze.h"
#include "U_FileAccess.h"
#include "U_HorseStatus.h"

// The three data modules of the running program, reachable through DM_HorseStatus,
// DM_FileAccess and DM_Analyze for as long as this object lives. Start-up makes one after the
// main window; tests and benchmarks make their own, and the globals they replaced come back
// when it goes.
class TDataModules {
public:
    TDataModules();
    ~TDataModules();
    TDataModules(const TDataModules&) = delete;
    TDataModules& operator=(const TDataModules&) = delete;

    TDM_HorseStatus HorseStatus;
    TDM_FileAccess FileAccess;
    TDM_Analyze Analyze{HorseStatus};

private:
    TDM_HorseStatus* previousHorseStatus_;
    TDM_FileAccess* previousFileAccess_;
    TDM_Analyze* previousAnalyze_;
};
