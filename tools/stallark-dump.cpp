// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// stallark-dump: prints the horses of horse data files as tab-separated text or as JSON, for a
// spreadsheet or a script: the texts of the viewer's horse list, or one column per field; or
// what changed between two files, field by field.
#include "ConsoleWriter.h"
#include "FileArguments.h"
#include "U_Analyze.h"
#include "U_FileAccess.h"
#include "U_FilePath.h"
#include "U_HorseFields.h"
#include "U_HorseRow.h"
#include "U_HorseStatus.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
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

// The --fields captions: every field but the slot state, which only --all adds.
std::vector<std::string> FieldCaptions() {
    std::vector<std::string> captions;
    for (int field = 0; field < SlotStateField; ++field)
        captions.push_back(HorseFields[field].Caption);
    return captions;
}
const char* const SlotStateCaption = HorseFields[SlotStateField].Caption;
const char* const FileCaption = "ファイル";
const std::vector<std::string> DiffCaptions = {"ID", "馬名", "項目", "旧", "新"};

// `words` joined by spaces into lines of at most `width` columns after an indent of two, a
// character outside ASCII taking two columns, as a Japanese one does on a terminal.
std::string Wrapped(const std::vector<std::string>& words, std::size_t width) {
    std::string text;
    std::size_t column = 0;
    for (const std::string& word : words) {
        std::size_t wordWidth = 0;
        for (const char c : word)
            wordWidth += (c & 0xC0) == 0x80 ? 0 : (c & 0x80) ? 2 : 1;
        if (column > 0 && column + 1 + wordWidth > width) {
            text += '\n';
            column = 0;
        }
        text += column == 0 ? "  " : " ";
        text += word;
        column += (column == 0 ? 2 : 1) + wordWidth;
    }
    return text + '\n';
}

// The help's texts that come from the program's own tables: the --fields captions and the
// recognised sizes with their block offsets.
std::string HelpDescription() {
    std::string layouts;
    for (const HorseFileLayout& layout : HorseFileLayouts)
        layouts += "  " + std::to_string(layout.BlockOffset) + " in a file of " +
                   std::to_string(layout.FileSize) + " bytes\n";
    return "Prints the horses of horse data files on standard output: by default as UTF-8\n"
           "tab-separated text, a header line and one line per listed horse with the texts of\n"
           "the viewer's list. With more than one FILE every line starts with a column " +
           std::string(FileCaption) +
           ",\n"
           "the FILE as given, and every JSON object has \"File\". A FILE that cannot be read\n"
           "is reported on standard error, and the others are still printed.\n"
           "\n"
           "--fields prints one column per field instead, so that a spreadsheet can sort and\n"
           "sum them:\n" +
           Wrapped(FieldCaptions(), 78) +
           "that is the names, the ten basic abilities, the distance aptitude's ends in metres\n"
           "and the ability names of the four activation and four equipment slots (empty for\n"
           "an empty slot, ？ for a code without a name); with --all, last, " +
           SlotStateCaption +
           ", the slot\n"
           "state (1 for a listed horse). Numbers are plain decimals.\n"
           "\n"
           "--diff OLD NEW prints what changed from OLD to NEW, slot by slot over all 64 slots:\n"
           "a header line, then one line per changed field:\n" +
           Wrapped(DiffCaptions, 78) +
           "項目 being the field's --fields caption, 旧 and 新 its values as --fields writes\n"
           "them (each followed by its code, as \"大まくり (18)\", where two codes read the\n"
           "same), 馬名 NEW's name (OLD's where the slot was emptied). With --json an array of\n"
           "objects with HorseID, HorseName, Field, Old and New.\n"
           "\n"
           "-o OUTPUT writes the output to the file OUTPUT instead, the same UTF-8 text; OUTPUT\n"
           "is created, or emptied, once every FILE has been tried, and only if one was read.\n"
           "A console of Windows shows the Japanese texts right whatever its code page, and\n"
           "stallark-dump expands a FILE's wildcards (saves\\*.dat) there itself, in name order.\n"
           "\n"
           "A horse data file is known by its size alone; the block of " +
           std::to_string(RecordCount) + " horse records of " + std::to_string(RecordSize) +
           "\nbytes lies at an offset fixed for each size:\n" + layouts +
           "\n"
           "With several FILEs the exit code is that of the first that failed.\n"
           "\n"
           "Exit codes:\n"
           "  0  success\n"
           "  1  usage error\n"
           "  2  not a horse data file (not a regular file of " +
           RecognisedSizes(" or ") +
           " bytes)\n"
           "  3  I/O error (the file cannot be opened or read, or the output cannot be written)";
}

enum class Format { ListTexts, Fields, Json };

struct Options {
    std::vector<FileArgument> Files;       // in the order given, wildcards expanded
    std::optional<std::string> OutputPath; // UTF-8; standard output when not given
    bool All = false;
    bool Diff = false;
    Format Output = Format::ListTexts;
};

void PrintError(const std::string& message) {
    WriteStandard(StandardStream::Error, "stallark-dump: " + message + "\n");
}

[[noreturn]] void ExitUsageError(const std::string& message) {
    PrintError(message);
    std::exit(ExitUsage);
}

// -o naming a horse data file would overwrite the file it was read from.
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
    const QCommandLineOption diff(
        "diff", "Print what changed from OLD to NEW instead, the two FILEs (not with --all or "
                "--fields).");
    const QCommandLineOption output(
        {"o", "output"}, "Write the output to the file OUTPUT instead of standard output.",
        "OUTPUT");
    parser.addOption(all);
    parser.addOption(fields);
    parser.addOption(json);
    parser.addOption(diff);
    parser.addOption(output);
    parser.addPositionalArgument("FILE", "The horse data files.", "FILE...");
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

    Options options;
    for (const QString& file : parser.positionalArguments())
        for (FileArgument& expanded : ExpandFileArgument(file.toStdString()))
            options.Files.push_back(std::move(expanded));
    options.All = parser.isSet(all);
    options.Diff = parser.isSet(diff);
    if (options.Files.empty())
        ExitUsageError("no FILE given; see --help");
    if (parser.isSet(fields) && parser.isSet(json))
        ExitUsageError("--fields and --json cannot be combined: JSON has every field already");
    if (options.Diff && (options.All || parser.isSet(fields)))
        ExitUsageError("--diff cannot be combined with --all or --fields: it compares every "
                       "slot field by field");
    if (options.Diff && options.Files.size() != 2)
        ExitUsageError("--diff takes two FILEs, OLD and NEW");
    if (parser.isSet(output)) {
        options.OutputPath = parser.value(output).toStdString();
        for (const FileArgument& file : options.Files)
            if (IsSameFile(file.Path, *options.OutputPath))
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
            return path + ": " + std::to_string(size) + (size == 1 ? " byte" : " bytes") +
                   " is not a horse data file size (recognised: " + recognised + " bytes)";
    }
    return path + ": not a regular file (a horse data file is a regular file of " + recognised +
           " bytes)";
}

// Reads the file into `table`; false for a file the reader refuses. Throws EInOutError.
bool LoadTable(const std::string& path, TDM_HorseStatus& table) {
    HorseBlock block{};
    if (!TDM_FileAccess().ReadHorseBlock(path, block.size(), block))
        return false;
    TDM_Analyze(table).AnalyzeBlock(block);
    return true;
}

// Reads one FILE into `table`: ExitOk, or the exit code of its failure after its message.
int LoadFile(const FileArgument& file, TDM_HorseStatus& table) {
    if (file.NoMatchError != 0) {
        PrintError(file.Path + ": " + EInOutError(file.NoMatchError).what());
        return ExitInOutError;
    }
    try {
        if (LoadTable(file.Path, table))
            return ExitOk;
        PrintError(NotHorseFileMessage(file.Path));
        return ExitNotHorseFile;
    } catch (const EInOutError& error) {
        PrintError(file.Path + ": " + error.what());
        return ExitInOutError;
    }
}

// Slot i's line of --fields, appended to `text`. Written straight into the text, as it is the
// bulk of the work for many files.
void AppendFieldsLine(std::string& text, const TDM_HorseStatus& t, int i, bool withSlotState) {
    for (int field = 0; field < (withSlotState ? HorseFieldCount : SlotStateField); ++field) {
        AppendFieldText(text, t, field, i);
        text += '\t';
    }
    text.back() = '\n';
}

// Appends `value` to the array `key` of `object`.
void AppendToArray(QJsonObject& object, const QString& key, const QJsonValue& value) {
    QJsonArray array = object.value(key).toArray();
    array.append(value);
    object.insert(key, array);
}

// One slot of the horse table, every field under its own name; the ability slots as two arrays
// each, the codes and their names.
QJsonObject HorseJson(const TDM_HorseStatus& t, int i) {
    QJsonObject horse;
    for (int field = 0; field < HorseFieldCount; ++field) {
        const HorseField& f = HorseFields[field];
        const QString key = QLatin1String(f.Key);
        const QString text = QString::fromStdString(FieldText(t, field, i));
        if (f.Kind == FieldKind::Name)
            horse.insert(key, text);
        else if (!IsAbilitySlot(f))
            horse.insert(key, FieldValue(t, field, i));
        else {
            AppendToArray(horse, key, FieldValue(t, field, i));
            AppendToArray(horse, key + "Names", text);
        }
    }
    return horse;
}

std::string JsonText(const QJsonArray& array) {
    return QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
}

// Writes the whole output, to OUTPUT or to standard output: ExitOk or ExitInOutError.
int WriteOutput(const std::optional<std::string>& outputPath, const std::string& text) {
    if (!outputPath) {
        if (WriteStandard(StandardStream::Output, text))
            return ExitOk;
        PrintError("cannot write the output");
        return ExitInOutError;
    }
    try {
        WriteOutputFile(*outputPath, text);
        return ExitOk;
    } catch (const EInOutError& error) {
        PrintError(*outputPath + ": " + error.what());
        return ExitInOutError;
    }
}

// Names and ability names never hold a tab or a line break (the decoder's tables guarantee it),
// so every text is written as it is and a row is never split. With more than one FILE each
// row starts with its FILE. On standard output each file's rows go as soon as it is read.
int PrintFiles(const Options& options) {
    const bool named = options.Files.size() > 1;
    int status = ExitOk;
    bool anyRead = false;
    std::string text;
    QJsonArray horses;
    TDM_HorseStatus table;
    for (const FileArgument& file : options.Files) {
        if (const int loaded = LoadFile(file, table); loaded != ExitOk) {
            status = status == ExitOk ? loaded : status;
            continue;
        }
        if (!anyRead && options.Output != Format::Json) {
            std::vector<std::string> header =
                options.Output == Format::Fields
                    ? FieldCaptions()
                    : std::vector<std::string>(HorseListCaptions.begin(), HorseListCaptions.end());
            if (options.Output == Format::Fields && options.All)
                header.push_back(SlotStateCaption);
            text = (named ? FileCaption + std::string("\t") : "") + TsvLine(header);
        }
        anyRead = true;
        const std::string prefix = named ? file.Path + '\t' : std::string();
        for (int i = 0; i < RecordCount; ++i) {
            if (!options.All && table.Registered[i] != 1)
                continue;
            if (options.Output == Format::Json) {
                QJsonObject horse = HorseJson(table, i);
                if (named)
                    horse.insert("File", QString::fromStdString(file.Path));
                horses.append(horse);
            } else {
                text += prefix;
                if (options.Output == Format::Fields)
                    AppendFieldsLine(text, table, i, options.All);
                else
                    AppendTsvLine(text, HorseRow(table, i));
            }
        }
        if (!options.OutputPath && !text.empty()) {
            if (const int written = WriteOutput(std::nullopt, text); written != ExitOk)
                return written;
            text.clear();
        }
    }
    if (!anyRead)
        return status;
    if (options.Output == Format::Json)
        text = JsonText(horses);
    const int written = text.empty() ? ExitOk : WriteOutput(options.OutputPath, text);
    return status == ExitOk ? written : status;
}

std::string DiffText(const std::vector<FieldChange>& changes, Format format) {
    if (format == Format::Json) {
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
    std::string text = TsvLine(DiffCaptions);
    for (const FieldChange& change : changes)
        text += TsvLine(std::array<std::string, 5>{std::to_string(change.HorseID), change.HorseName,
                                                   HorseFields[change.Field].Caption, change.Old,
                                                   change.New});
    return text;
}

// Both files are tried, so that each failure is reported.
int PrintDiff(const Options& options) {
    TDM_HorseStatus old, now;
    const int oldStatus = LoadFile(options.Files[0], old);
    const int newStatus = LoadFile(options.Files[1], now);
    if (oldStatus != ExitOk || newStatus != ExitOk)
        return oldStatus != ExitOk ? oldStatus : newStatus;
    return WriteOutput(options.OutputPath, DiffText(CompareHorseTables(old, now), options.Output));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("stallark-dump");
    QCoreApplication::setApplicationVersion(STALLARK_VERSION);
    const Options options = ParseArguments(app);
    return options.Diff ? PrintDiff(options) : PrintFiles(options);
}
