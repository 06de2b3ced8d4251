// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "DumpFormats.h"

#include "U_HorseRow.h"

#include <QJsonDocument>

#include <array>
#include <cmath>

namespace {

// The text from `start` on is one cell: quoted as RFC 4180 has it when it holds a comma, a
// double quote or a line break. No text of a horse does; a file's path may.
void QuoteCellFrom(std::string& text, std::size_t start) {
    if (text.find_first_of(",\"\r\n", start) == std::string::npos)
        return;
    std::string quoted = "\"";
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted += '"';
        quoted += text[i];
    }
    text.replace(start, std::string::npos, quoted + '"');
}

// Appends `value` to the array `key` of `object`.
void AppendToArray(QJsonObject& object, const QString& key, const QJsonValue& value) {
    QJsonArray array = object.value(key).toArray();
    array.append(value);
    object.insert(key, array);
}

// The list's column 馬名, after which --score puts 評価 as it does after the field.
constexpr int ListNameColumn = 1;

// The cell of 評価: one decimal, empty where the horse has no value.
void AppendScoreCell(std::string& text, const Options& options, const TDM_HorseStatus& table,
                     int index) {
    if (const std::optional<double> value = options.Score->Value(table, index))
        AppendScoreText(text, *value);
}

} // namespace

void AppendLine(std::string& text, std::span<const std::string> cells, bool csv) {
    for (const std::string& cell : cells) {
        const std::size_t start = text.size();
        text += cell;
        if (csv)
            QuoteCellFrom(text, start);
        text += csv ? ',' : '\t';
    }
    text.back() = '\n';
}

std::string FileCell(const std::string& path, bool csv) {
    std::string cell = path;
    if (csv)
        QuoteCellFrom(cell, 0);
    return cell + (csv ? ',' : '\t');
}

std::string HeaderLine(const Options& options, bool named) {
    std::vector<std::string> captions;
    if (named)
        captions.push_back(FileCaption);
    if (options.Output != Format::Fields)
        captions.insert(captions.end(), HorseListCaptions.begin(), HorseListCaptions.end());
    else
        for (int field = 0; field < (options.All ? HorseFieldCount : SlotStateField); ++field)
            captions.push_back(HorseFields[field].Caption);
    if (options.Score)
        captions.insert(captions.begin() + (named ? 1 : 0) +
                            (options.Output == Format::Fields ? NameField : ListNameColumn) + 1,
                        ScoreCaption);
    std::string line;
    AppendLine(line, captions, options.Csv);
    return line;
}

// The fields are written straight into the text, as they are the bulk of the work for many
// files.
void AppendHorseLine(std::string& text, const Options& options, const TDM_HorseStatus& table,
                     int index) {
    if (options.Output != Format::Fields) {
        const HorseRowTexts row = HorseRow(table, index);
        if (!options.Score) {
            AppendLine(text, row, options.Csv);
            return;
        }
        std::vector<std::string> cells(row.begin(), row.end());
        AppendScoreCell(*cells.emplace(cells.begin() + ListNameColumn + 1), options, table, index);
        AppendLine(text, cells, options.Csv);
        return;
    }
    for (int field = 0; field < (options.All ? HorseFieldCount : SlotStateField); ++field) {
        const std::size_t start = text.size();
        AppendFieldText(text, table, field, index);
        if (options.Csv)
            QuoteCellFrom(text, start);
        text += options.Csv ? ',' : '\t';
        if (field == NameField && options.Score) {
            AppendScoreCell(text, options, table, index);
            text += options.Csv ? ',' : '\t';
        }
    }
    text.back() = '\n';
}

QJsonObject HorseJson(const Options& options, const TDM_HorseStatus& table, int index) {
    QJsonObject horse;
    if (options.Score) {
        const std::optional<double> value = options.Score->Value(table, index);
        // Rounded as the other formats write it.
        const double rounded = value ? std::round(*value * 10) / 10 : 0;
        horse.insert("Score", !value                   ? QJsonValue()
                              : std::isfinite(rounded) ? QJsonValue(rounded)
                                                       : QJsonValue(*value));
    }
    for (int field = 0; field < HorseFieldCount; ++field) {
        const HorseField& f = HorseFields[field];
        const QString key = QLatin1String(f.Key);
        const QString text = QString::fromStdString(FieldText(table, field, index));
        if (f.Kind == FieldKind::Name)
            horse.insert(key, text);
        else if (!IsAbilitySlot(f))
            horse.insert(key, FieldValue(table, field, index));
        else {
            AppendToArray(horse, key, FieldValue(table, field, index));
            AppendToArray(horse, key + "Names", text);
        }
    }
    return horse;
}

std::string JsonText(const QJsonArray& array) {
    return QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
}

std::string DiffText(const std::vector<FieldChange>& changes, const Options& options) {
    if (options.Output == Format::Json) {
        QJsonArray array;
        for (const FieldChange& change : changes)
            array.append(
                QJsonObject{{"HorseID", change.HorseID},
                            {"HorseName", QString::fromStdString(change.HorseName)},
                            {"Field", QString::fromUtf8(HorseFields[change.Field].Caption)},
                            {"Old", QString::fromStdString(change.Old)},
                            {"New", QString::fromStdString(change.New)}});
        return JsonText(array);
    }
    std::string text;
    AppendLine(text, DiffCaptions, options.Csv);
    for (const FieldChange& change : changes)
        AppendLine(text,
                   std::array<std::string, 5>{std::to_string(change.HorseID), change.HorseName,
                                              HorseFields[change.Field].Caption, change.Old,
                                              change.New},
                   options.Csv);
    return text;
}
