// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// stallark-dump: prints the horses of horse data files as tab- or comma-separated text or as
// JSON, for a spreadsheet or a script: the texts of the viewer's horse list, or one column per
// field; or what changed between two files, field by field. Its command line is in
// DumpArguments, its formats in DumpFormats.
#include "ConsoleWriter.h"
#include "DumpArguments.h"
#include "DumpFormats.h"
#include "U_Analyze.h"
#include "U_FileAccess.h"
#include "U_FilePath.h"
#include "U_HorseStatus.h"

#include <QCoreApplication>

#include <filesystem>
#include <optional>
#include <string>

namespace {

// What Excel looks for at the start of a CSV file to read it as UTF-8 ("CSV UTF-8"); without
// it Japanese Excel reads the file in its own code page.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The one line shown for a file the reader refuses: its size against the recognised ones.
std::string NotHorseFileMessage(const std::string& path) {
    const std::string recognised = RecognisedSizes();
    std::error_code error;
    const std::filesystem::path file = FilePathFromUtf8(path);
    const auto status = std::filesystem::status(file, error);
    if (!error && std::filesystem::is_regular_file(status)) {
        const auto size = std::filesystem::file_size(file, error);
        if (!error)
            return path + ": 大きさが " + std::to_string(size) +
                   " バイトで、馬データファイルの大きさ（" + recognised + " バイト）ではありません";
    }
    return path + ": 通常のファイルではありません（馬データファイルは " + recognised +
           " バイトの通常のファイル）";
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

// Writes the whole output, to OUTPUT (a .csv one after the byte-order mark) or to standard
// output: ExitOk or ExitInOutError.
int WriteOutput(const Options& options, const std::string& text) {
    if (!options.OutputPath) {
        if (WriteStandard(StandardStream::Output, text))
            return ExitOk;
        PrintError("出力を書き込めません");
        return ExitInOutError;
    }
    try {
        WriteOutputFile(*options.OutputPath,
                        options.ByteOrderMark ? std::string(ByteOrderMark) + text : text);
        return ExitOk;
    } catch (const EInOutError& error) {
        PrintError(*options.OutputPath + ": " + error.what());
        return ExitInOutError;
    }
}

// With more than one FILE each row starts with its FILE. On standard output each file's rows go
// as soon as it is read.
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
        if (!anyRead && options.Output != Format::Json)
            text = HeaderLine(options, named);
        anyRead = true;
        const std::string prefix = named ? FileCell(file.Path, options.Csv) : std::string();
        for (int i = 0; i < RecordCount; ++i) {
            if (!options.All && table.Registered[i] != 1)
                continue;
            if (options.Output == Format::Json) {
                QJsonObject horse = HorseJson(options, table, i);
                if (named)
                    horse.insert("File", QString::fromStdString(file.Path));
                horses.append(horse);
            } else {
                text += prefix;
                AppendHorseLine(text, options, table, i);
            }
        }
        if (!options.OutputPath && !text.empty()) {
            if (const int written = WriteOutput(options, text); written != ExitOk)
                return written;
            text.clear();
        }
    }
    if (!anyRead)
        return status;
    if (options.Output == Format::Json)
        text = JsonText(horses);
    const int written = text.empty() ? ExitOk : WriteOutput(options, text);
    return status == ExitOk ? written : status;
}

// Both files are tried, so that each failure is reported.
int PrintDiff(const Options& options) {
    TDM_HorseStatus old, now;
    const int oldStatus = LoadFile(options.Files[0], old);
    const int newStatus = LoadFile(options.Files[1], now);
    if (oldStatus != ExitOk || newStatus != ExitOk)
        return oldStatus != ExitOk ? oldStatus : newStatus;
    return WriteOutput(options, DiffText(CompareHorseTables(old, now), options));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("stallark-dump");
    QCoreApplication::setApplicationVersion(STALLARK_VERSION);
    const Options options = ParseArguments(app);
    return options.Diff ? PrintDiff(options) : PrintFiles(options);
}
