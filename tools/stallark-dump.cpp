// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// stallark-dump: prints the horses of a horse data file as tab-separated text or as JSON, for a
// spreadsheet or a script: the texts of the viewer's horse list, or one column per field.
#include "ConsoleWriter.h"
#include "U_Analyze.h"
#include "U_FileAccess.h"
#include "U_FilePath.h"
#include "U_HorseRow.h"
#include "U_HorseStatus.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

enum ExitCode {
    ExitOk = 0,
    ExitUsage = 1,
    ExitNotHorseFile = 2,
    ExitInOutError = 3,
};

// The recognised file sizes in bytes, as the table holds them: "496631, 584756, 589312", or with
// `lastSeparator` " or " "496631, 584756 or 589312".
std::string RecognisedSizes(const char* lastSeparator) {
    std::string sizes;
    for (const HorseFileLayout& layout : HorseFileLayouts) {
        if (!sizes.empty())
            sizes += &layout == std::end(HorseFileLayouts) - 1 ? lastSeparator : ", ";
        sizes += std::to_string(layout.FileSize);
    }
    return sizes;
}

const char* const Description =
    "Prints the horses of a horse data file on standard output: by default as UTF-8\n"
    "tab-separated text, a header line and one line per listed horse with the texts of the\n"
    "viewer's list.\n"
    "\n"
    "--fields prints one column per field instead, so that a spreadsheet can sort and sum\n"
    "them: ID, 馬名, 父, 母, the ten basic abilities (スピード, 持続力, スタミナ, パワー,\n"
    "瞬発力, 折り合い, 気性, 勝負根性, 反応, 丈夫さ), the distance aptitude's ends in metres\n"
    "(距離適性下限, 距離適性上限), and the ability names of the four activation and four\n"
    "equipment slots (発動系1 to 発動系4, 装備系1 to 装備系4: empty for an empty slot, ？\n"
    "for a code without a name); with --all, last, 登録状態, the slot state (1 for a listed\n"
    "horse). Numbers are plain decimals.\n"
    "\n"
    "-o OUTPUT writes the output to the file OUTPUT instead, the same UTF-8 text; OUTPUT is\n"
    "created, or emptied, only once FILE has been read. A console of Windows shows the\n"
    "Japanese texts right whatever its code page.\n"
    "\n"
    "Exit codes:\n"
    "  0  success\n"
    "  1  usage error\n";

std::string HelpDescription() {
    return Description +
           ("  2  not a horse data file (not a regular file of " + RecognisedSizes(" or ") +
            " bytes)\n") +
           "  3  I/O error (the file cannot be opened or read, or the output cannot be written)";
}

enum class Format { ListTexts, Fields, Json };

struct Options {
    std::string Path;                      // UTF-8
    std::optional<std::string> OutputPath; // UTF-8; standard output when not given
    bool All = false;
    Format Output = Format::ListTexts;
};

void PrintError(const std::string& message) {
    WriteStandard(StandardStream::Error, "stallark-dump: " + message + "\n");
}

[[noreturn]] void ExitUsageError(const std::string& message) {
    PrintError(message);
    std::exit(ExitUsage);
}

// -o naming the horse data file itself would overwrite the file it was read from.
bool IsSameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    return std::filesystem::equivalent(FilePathFromUtf8(first), FilePathFromUtf8(second), error);
}

// Reads the command line; --help and --version end the program here, as does a usage error.
// Qt would print its help and its messages in the ANSI code page on Windows; they go through
// WriteStandard like every other text.
Options ParseArguments(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromStdString(HelpDescription()));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption all("all", "Print every slot 0..63, not only the listed horses.");
    const QCommandLineOption fields("fields",
                                    "Print one column per field instead (not with --json).");
    const QCommandLineOption json("json", "Print a JSON array of horse objects instead.");
    const QCommandLineOption output(
        {"o", "output"}, "Write the output to the file OUTPUT instead of standard output.",
        "OUTPUT");
    parser.addOption(all);
    parser.addOption(fields);
    parser.addOption(json);
    parser.addOption(output);
    parser.addPositionalArgument("FILE", "The horse data file.");
    if (!parser.parse(app.arguments()))
        ExitUsageError(parser.errorText().toStdString());
    if (parser.isSet(version)) {
        const QString line = app.applicationName() + ' ' + app.applicationVersion() + '\n';
        std::exit(WriteStandard(StandardStream::Output, line.toStdString()) ? ExitOk
                                                                            : ExitInOutError);
    }
    if (parser.isSet(help) || parser.isSet("help-all"))
        std::exit(WriteStandard(StandardStream::Output, parser.helpText().toStdString())
                      ? ExitOk
                      : ExitInOutError);

    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        ExitUsageError("exactly one FILE expected; see --help");
    if (parser.isSet(fields) && parser.isSet(json))
        ExitUsageError("--fields and --json cannot be combined: JSON has every field already");
    Options options{files.front().toStdString(), std::nullopt, parser.isSet(all)};
    if (parser.isSet(output)) {
        options.OutputPath = parser.value(output).toStdString();
        if (IsSameFile(options.Path, *options.OutputPath))
            ExitUsageError(*options.OutputPath + ": -o names the horse data file itself");
    }
    if (parser.isSet(fields))
        options.Output = Format::Fields;
    else if (parser.isSet(json))
        options.Output = Format::Json;
    return options;
}

// The one line shown for a file the reader refuses: its size against the recognised ones.
std::string NotHorseFileMessage(const std::string& path) {
    const std::string recognised = RecognisedSizes(", ");
    std::error_code error;
    const std::filesystem::path file = FilePathFromUtf8(path);
    const auto status = std::filesystem::status(file, error);
    if (!error && std::filesystem::is_regular_file(status)) {
        const auto size = std::filesystem::file_size(file, error);
        if (!error)
            return path + ": " + std::to_string(size) +
                   " bytes is not a horse data file size (recognised: " + recognised + " bytes)";
    }
    return path + ": not a regular file (a horse data file is a regular file of " + recognised +
           " bytes)";
}

// The horse indexes to print, ascending: the listed horses, or every slot.
std::vector<int> IndexesToPrint(const TDM_HorseStatus& table, bool all) {
    std::vector<int> indexes;
    for (int i = 0; i < RecordCount; ++i)
        if (all || table.Registered[i] == 1)
            indexes.push_back(i);
    return indexes;
}

std::string TsvText(const TDM_HorseStatus& table, const std::vector<int>& indexes) {
    std::string text = TsvLine(HorseListCaptions);
    for (const int i : indexes)
        text += TsvLine(HorseRow(table, i));
    return text;
}

// One column per field, under the detail window's labels; the distance aptitude's two ends and
// the eight ability slots, which it shows under one label each, get names made from those.
std::vector<std::string> FieldCaptions() {
    std::vector<std::string> captions = {"ID", "馬名", "父", "母"};
    for (const BasicAbilityField& field : BasicAbilityFields)
        captions.push_back(field.Caption);
    captions.push_back("距離適性下限");
    captions.push_back("距離適性上限");
    for (const char* kind : {"発動系", "装備系"})
        for (int slot = 1; slot <= AbilitySlotCount; ++slot)
            captions.push_back(kind + std::to_string(slot));
    return captions;
}
const char* const SlotStateCaption = "登録状態";

std::vector<std::string> FieldsRow(const TDM_HorseStatus& t, int i, bool withSlotState) {
    std::vector<std::string> row = {std::to_string(t.HorseID[i]), t.HorseName[i], t.FatherName[i],
                                    t.MotherName[i]};
    for (const std::int32_t value : t.BasicAbilities(i))
        row.push_back(std::to_string(value));
    row.push_back(std::to_string(t.LowerDistance[i]));
    row.push_back(std::to_string(t.UpperDistance[i]));
    for (const std::int32_t code : t.ExeAbilities(i))
        row.push_back(TDM_Analyze::ExeAbilityName(static_cast<unsigned>(code)));
    for (const std::int32_t code : t.EqpAbilities(i))
        row.push_back(TDM_Analyze::EqpAbilityName(static_cast<unsigned>(code)));
    if (withSlotState)
        row.push_back(std::to_string(t.Registered[i]));
    return row;
}

// Names and ability names never hold a tab or a line break (the decoder's tables guarantee it),
// so every text is written as it is and a row is never split.
std::string FieldsText(const TDM_HorseStatus& table, const std::vector<int>& indexes, bool all) {
    std::vector<std::string> captions = FieldCaptions();
    if (all)
        captions.push_back(SlotStateCaption);
    std::string text = TsvLine(captions);
    for (const int i : indexes)
        text += TsvLine(FieldsRow(table, i, all));
    return text;
}

QJsonArray CodesJson(const std::array<std::int32_t, AbilitySlotCount>& codes) {
    QJsonArray array;
    for (const std::int32_t code : codes)
        array.append(static_cast<int>(code));
    return array;
}

QJsonArray NamesJson(const std::array<std::int32_t, AbilitySlotCount>& codes,
                     std::string (*nameOf)(unsigned)) {
    QJsonArray array;
    for (const std::int32_t code : codes)
        array.append(QString::fromStdString(nameOf(static_cast<unsigned>(code))));
    return array;
}

// One slot of the horse table, every column under its own name.
QJsonObject HorseJson(const TDM_HorseStatus& t, int i) {
    QJsonObject horse = {
        {"HorseID", t.HorseID[i]},
        {"Registered", t.Registered[i]},
        {"HorseName", QString::fromStdString(t.HorseName[i])},
        {"FatherName", QString::fromStdString(t.FatherName[i])},
        {"MotherName", QString::fromStdString(t.MotherName[i])},
        {"LowerDistance", t.LowerDistance[i]},
        {"UpperDistance", t.UpperDistance[i]},
        {"ExeAbility", CodesJson(t.ExeAbilities(i))},
        {"EqpAbility", CodesJson(t.EqpAbilities(i))},
        {"ExeAbilityNames", NamesJson(t.ExeAbilities(i), &TDM_Analyze::ExeAbilityName)},
        {"EqpAbilityNames", NamesJson(t.EqpAbilities(i), &TDM_Analyze::EqpAbilityName)},
    };
    for (const BasicAbilityField& field : BasicAbilityFields)
        horse.insert(QLatin1String(field.Key), (t.*field.Column)[i]);
    return horse;
}

std::string JsonText(const TDM_HorseStatus& table, const std::vector<int>& indexes) {
    QJsonArray horses;
    for (const int i : indexes)
        horses.append(HorseJson(table, i));
    return QJsonDocument(horses).toJson(QJsonDocument::Indented).toStdString();
}

std::string OutputText(const TDM_HorseStatus& table, const Options& options) {
    const std::vector<int> indexes = IndexesToPrint(table, options.All);
    switch (options.Output) {
    case Format::Fields:
        return FieldsText(table, indexes, options.All);
    case Format::Json:
        return JsonText(table, indexes);
    case Format::ListTexts:
        break;
    }
    return TsvText(table, indexes);
}

// Reads the file into `table`; false for a file the reader refuses. Throws EInOutError.
bool LoadTable(const std::string& path, TDM_HorseStatus& table) {
    HorseBlock block{};
    if (!TDM_FileAccess().ReadHorseBlock(path, block.size(), block))
        return false;
    TDM_Analyze(table).AnalyzeBlock(block);
    return true;
}

int Run(const Options& options) {
    TDM_HorseStatus table;
    try {
        if (!LoadTable(options.Path, table)) {
            PrintError(NotHorseFileMessage(options.Path));
            return ExitNotHorseFile;
        }
    } catch (const EInOutError& error) {
        PrintError(options.Path + ": " + error.what());
        return ExitInOutError;
    }
    const std::string text = OutputText(table, options);
    if (options.OutputPath) {
        try {
            WriteOutputFile(*options.OutputPath, text);
        } catch (const EInOutError& error) {
            PrintError(*options.OutputPath + ": " + error.what());
            return ExitInOutError;
        }
        return ExitOk;
    }
    if (!WriteStandard(StandardStream::Output, text)) {
        PrintError("cannot write the output");
        return ExitInOutError;
    }
    return ExitOk;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("stallark-dump");
    QCoreApplication::setApplicationVersion(STALLARK_VERSION);
    return Run(ParseArguments(app));
}
