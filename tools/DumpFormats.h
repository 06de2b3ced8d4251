// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// stallark-dump's output formats: lines of columns, tab-separated as the viewer copies its rows
// or comma-separated (--csv), and JSON. The fields and their texts are the data core's
// (U_HorseFields.h, U_Comparison.h).
#include "DumpArguments.h"
#include "U_Comparison.h"

#include <QJsonArray>
#include <QJsonObject>

#include <span>
#include <string>
#include <vector>

// The column that names each line's FILE when several are printed, and the columns of --diff.
inline const char* const FileCaption = "ファイル";
inline const std::vector<std::string> DiffCaptions = {"ID", "馬名", "項目", "旧", "新"};

// Appends one line of `cells`: separated by tabs, or with --csv by commas, RFC 4180 quoting a
// cell that holds a comma, a double quote or a line break. `cells` is never empty.
void AppendLine(std::string& text, std::span<const std::string> cells, bool csv);

// The first cell of each line when several FILEs are printed, with its separator.
std::string FileCell(const std::string& path, bool csv);

// The header line of the horses: the list's captions, or with --fields the fields' (the slot
// state last with --all), after the column ファイル when `named`; with --score 評価 after 馬名.
std::string HeaderLine(const Options& options, bool named);

// The line of slot `index`, in list texts or with --fields one column per field; with --score
// 評価 after 馬名.
void AppendHorseLine(std::string& text, const Options& options, const TDM_HorseStatus& table,
                     int index);

// One slot of the horse table, every field under its own name; the ability slots as two arrays
// each, the codes and their names; with --score its "Score", null where it has none.
QJsonObject HorseJson(const Options& options, const TDM_HorseStatus& table, int index);

std::string JsonText(const QJsonArray& array);

// What changed, a header line and a line per change, or with --json an array of objects.
std::string DiffText(const std::vector<FieldChange>& changes, const Options& options);
