// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// stallark-dump's command line: its options, its help and its usage errors, and the messages
// it writes on standard error.
#include "FileArguments.h"
#include "U_ScoreExpression.h"

#include <QCoreApplication>

#include <optional>
#include <string>
#include <vector>

enum ExitCode {
    ExitOk = 0,
    ExitUsage = 1,
    ExitNotHorseFile = 2,
    ExitInOutError = 3,
};

enum class Format { ListTexts, Fields, Json };

struct Options {
    std::vector<FileArgument> Files;       // in the order given, wildcards expanded
    std::optional<std::string> OutputPath; // UTF-8; standard output when not given
    bool All = false;
    bool Diff = false;
    Format Output = Format::ListTexts;
    // Columns separated by commas (--csv, or -o FILE.csv), not by tabs.
    bool Csv = false;
    // OUTPUT is a .csv file, which gets a UTF-8 byte-order mark for Excel.
    bool ByteOrderMark = false;
    // --score: the column 評価 after 馬名, "Score" in JSON.
    std::optional<ScoreExpression> Score;
};

// Reads the command line; --help and --version end the program here, as does a usage error.
Options ParseArguments(const QCoreApplication& app);

// Writes "stallark-dump: " and the message, on a line of its own, to standard error.
void PrintError(const std::string& message);

// The recognised file sizes in bytes, as the table holds them: "496631、584756、589312".
std::string RecognisedSizes();
