// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// stallark-dump speaks Japanese, as the viewer does: its help, its usage errors and its
// messages; Qt's own (the parser's "使い方:", "'x' は未知のオプションです。") come from Qt's
// Japanese translation. Option names stay as they are.
#include "DumpArguments.h"

#include "ConsoleWriter.h"
#include "DumpFormats.h"
#include "U_FileAccess.h"
#include "U_FilePath.h"
#include "U_HorseFields.h"
#include "U_QtTranslation.h"

#include <QCommandLineParser>

#include <cstdlib>
#include <filesystem>

namespace {

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

std::vector<std::string> Captions(int first, int end) {
    std::vector<std::string> captions;
    for (int field = first; field < end; ++field)
        captions.push_back(HorseFields[field].Caption);
    return captions;
}

// The help's texts that come from the program's own tables: the --fields captions and the
// recognised sizes with their block offsets. Lines are at most 80 columns wide, a Japanese
// character taking two.
std::string HelpDescription() {
    std::string layouts;
    for (const HorseFileLayout& layout : HorseFileLayouts)
        layouts += "  " + std::to_string(layout.FileSize) + " バイトのファイルでは先頭から " +
                   std::to_string(layout.BlockOffset) + " バイトの位置\n";
    return "馬データファイルの馬を標準出力に書き出す。既定では UTF-8 のタブ区切り\n"
           "テキストで、見出しの行に続けて、一覧に載る馬一頭につき一行、ビューアーの\n"
           "一覧と同じ文字列を書く。FILE が複数なら各行の先頭に列 " +
           std::string(FileCaption) +
           "（指定\n"
           "どおりの FILE）を置き、JSON では各オブジェクトに \"File\" を入れる。読めない\n"
           "FILE は標準エラーに報告し、残りの FILE は書き出す。\n"
           "\n"
           "--fields は項目ごとに一列ずつ書き、表計算ソフトで並べ替えや合計が\n"
           "できるようにする:\n" +
           Wrapped(Captions(0, SlotStateField), 78) +
           "つまり三つの名前、十の基本能力、距離適性の両端（メートル）、発動系と装備系\n"
           "の各四枠のアビリティ名（空の枠は空欄、名前のないコードは ？）。--all では\n"
           "最後に " +
           HorseFields[SlotStateField].Caption +
           "（一覧に載る馬は 1）を加える。数値はそのままの十進数。\n"
           "\n"
           "--diff OLD NEW は OLD から NEW への変更を、全 64 枠を枠ごとに比べて書く。\n"
           "見出しの行に続けて、変わった項目一つにつき一行:\n" +
           Wrapped(DiffCaptions, 78) +
           "項目 は --fields の見出し、旧 と 新 は --fields と同じ書き方の値（二つの\n"
           "コードが同じ名前なら \"大まくり (18)\" のようにコードを添える）、馬名 は NEW\n"
           "の名前（枠が空いたなら OLD の名前）。--json では HorseID、HorseName、\n"
           "Field、Old、New を持つオブジェクトの配列。\n"
           "\n"
           "--score EXPR は評価式 EXPR の値を列 " +
           std::string(ScoreCaption) +
           " として 馬名 の後に置く（小数一桁、値の\n"
           "ない馬は空欄）。JSON では \"Score\"（値がなければ null）。EXPR は + - * /、\n"
           "括弧、数と、十の基本能力と距離適性の両端の見出しからなる（全角も可）。\n"
           "例: --score \"スピード*2 + スタミナ + 瞬発力/2\"。0 で割る馬には値がない。\n"
           "\n"
           "--csv は列をタブでなくカンマで区切る（RFC 4180: カンマ、二重引用符、改行\n"
           "を含む値は二重引用符で囲み、中の二重引用符は二つ重ねる）。\n"
           "\n"
           "-o OUTPUT は標準出力の代わりにファイル OUTPUT に同じ UTF-8 テキストを\n"
           "書く。名前が .csv で終わる OUTPUT には CSV を、先頭に BOM を付けて書く\n"
           "（Excel の「CSV UTF-8」で、ダブルクリックで開ける）。OUTPUT は、すべての\n"
           "FILE を試したあと一つでも読めたときだけ作る（あれば空にする）。FILE の\n"
           "どれか、または既存の馬データファイルを OUTPUT にはできない。\n"
           "Windows のコンソールでは、コード ページにかかわらず日本語が正しく表示\n"
           "され、FILE のワイルドカード（saves\\*.dat）は stallark-dump 自身が名前順\n"
           "に展開する。\n"
           "\n"
           "馬データファイルは大きさだけで見分ける。" +
           std::to_string(RecordSize) + " バイトの馬レコード " + std::to_string(RecordCount) +
           " 個の\nブロックは、大きさごとに決まった位置にある:\n" + layouts +
           "\n"
           "FILE が複数なら、終了コードは最初に失敗した FILE のもの。\n"
           "\n"
           "終了コード:\n"
           "  0  成功\n"
           "  1  使い方の誤り\n"
           "  2  馬データファイルではない（" +
           RecognisedSizes() +
           " バイトの通常の\n"
           "     ファイルではない）\n"
           "  3  入出力エラー（ファイルを開けない、読めない、または出力を書き込めない）";
}

[[noreturn]] void ExitUsageError(const std::string& message) {
    PrintError(message);
    std::exit(ExitUsage);
}

[[noreturn]] void ExitWriting(const std::string& text) {
    std::exit(WriteStandard(StandardStream::Output, text) ? ExitOk : ExitInOutError);
}

bool IsSameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    return std::filesystem::equivalent(FilePathFromUtf8(first), FilePathFromUtf8(second), error);
}

// A regular file of a recognised size: a save that -o would destroy.
bool IsHorseDataFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = FilePathFromUtf8(path);
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    return !error && BlockOffsetForSize(static_cast<std::int64_t>(size));
}

// The name ends in ".csv", in any case, as Windows and Excel see it.
bool IsCsvName(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return extension == ".csv";
}

} // namespace

void PrintError(const std::string& message) {
    WriteStandard(StandardStream::Error, "stallark-dump: " + message + "\n");
}

std::string RecognisedSizes() {
    std::string sizes;
    for (const HorseFileLayout& layout : HorseFileLayouts)
        sizes += (sizes.empty() ? "" : "、") + std::to_string(layout.FileSize);
    return sizes;
}

// Qt would print its help and its messages in the ANSI code page on Windows; they go through
// WriteStandard like every other text.
Options ParseArguments(const QCoreApplication& app) {
    UseQtTranslation();
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromStdString(HelpDescription()));
    // Qt's own help option has no Japanese description; "-?", as Windows programs take it,
    // is kept out of the help.
    const QCommandLineOption help({"h", "help"}, "この使い方を表示する。");
    const QCommandLineOption helpAll("help-all", "--help と同じ。");
    QCommandLineOption windowsHelp("?");
    windowsHelp.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption all("all", "一覧に載る馬だけでなく、全 64 枠を書く。");
    const QCommandLineOption fields("fields", "項目ごとに一列ずつ書く（--json とは併用不可）。");
    const QCommandLineOption json("json", "馬オブジェクトの JSON 配列を書く。");
    const QCommandLineOption csv("csv", "列をタブでなくカンマで区切る（--json とは併用不可）。");
    const QCommandLineOption diff("diff", "二つの FILE、OLD から NEW への変更を書く。");
    const QCommandLineOption score("score", "評価式 EXPR の値を列 評価 として加える。", "EXPR");
    const QCommandLineOption output({"o", "output"}, "標準出力でなくファイル OUTPUT に書く。",
                                    "OUTPUT");
    parser.addOption(help);
    parser.addOption(helpAll);
    parser.addOption(windowsHelp);
    const QCommandLineOption version = parser.addVersionOption();
    for (const QCommandLineOption& option : {all, fields, json, csv, diff, score, output})
        parser.addOption(option);
    parser.addPositionalArgument("FILE", "馬データファイル。", "FILE...");
    if (!parser.parse(app.arguments()))
        ExitUsageError(parser.errorText().toStdString());
    if (parser.isSet(version))
        ExitWriting((app.applicationName() + ' ' + app.applicationVersion() + '\n').toStdString());
    if (parser.isSet(help) || parser.isSet(helpAll) || parser.isSet(windowsHelp))
        ExitWriting(parser.helpText().toStdString());

    Options options;
    for (const QString& file : parser.positionalArguments())
        for (FileArgument& expanded : ExpandFileArgument(file.toStdString()))
            options.Files.push_back(std::move(expanded));
    options.All = parser.isSet(all);
    options.Diff = parser.isSet(diff);
    options.Csv = parser.isSet(csv);
    if (options.Files.empty())
        ExitUsageError("ファイルが一つも指定されていません（使い方は --help）。");
    if (parser.isSet(fields) && parser.isSet(json))
        ExitUsageError("--fields と --json は同時に指定できません（JSON にはすべての項目が"
                       "あります）。");
    if (options.Csv && parser.isSet(json))
        ExitUsageError("--csv と --json は同時に指定できません。");
    if (options.Diff && (options.All || parser.isSet(fields)))
        ExitUsageError("--diff は --all や --fields と同時に指定できません（全 64 枠を項目"
                       "ごとに比べます）。");
    if (options.Diff && parser.isSet(score))
        ExitUsageError("--diff と --score は同時に指定できません。");
    if (parser.isSet(score)) {
        auto parsed = ScoreExpression::Parse(parser.value(score).toStdString());
        if (const InputError* error = std::get_if<InputError>(&parsed))
            ExitUsageError("--score: " + ErrorText(*error));
        options.Score = std::get<ScoreExpression>(std::move(parsed));
    }
    if (options.Diff && options.Files.size() != 2)
        ExitUsageError("--diff には二つのファイル、OLD と NEW を指定してください。");
    if (parser.isSet(output)) {
        const std::string path = parser.value(output).toStdString();
        for (const FileArgument& file : options.Files)
            if (IsSameFile(file.Path, path))
                ExitUsageError(path + ": 読むファイルには -o で書き込みません。");
        if (IsHorseDataFile(path))
            ExitUsageError(path + ": 馬データファイルには -o で書き込みません。");
        // A .csv file is what a spreadsheet opens by a double-click: CSV, with the mark that
        // tells Excel it is UTF-8.
        options.ByteOrderMark = IsCsvName(path);
        if (options.ByteOrderMark && parser.isSet(json))
            ExitUsageError(path + ": .csv のファイルには --json の出力を書けません。");
        options.Csv = options.Csv || options.ByteOrderMark;
        options.OutputPath = path;
    }
    if (parser.isSet(fields))
        options.Output = Format::Fields;
    else if (parser.isSet(json))
        options.Output = Format::Json;
    return options;
}
