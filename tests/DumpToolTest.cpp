// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// stallark-dump end to end: the built program run on files made by the writer.
#include "TestFiles.h"
#include "U_FileAccess.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

RunResult RunDump(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(STALLARK_DUMP), arguments);
    RunResult result;
    if (!process.waitForFinished(30'000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.ExitCode = process.exitCode();
    result.Out = process.readAllStandardOutput().toStdString();
    result.Err = process.readAllStandardError().toStdString();
    return result;
}

std::string ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(unreadable)";
}

// The same lines as --csv writes them, for texts that need no quoting.
std::vector<std::string> WithCommas(std::vector<std::string> lines) {
    for (std::string& line : lines)
        std::replace(line.begin(), line.end(), '\t', ',');
    return lines;
}

// `line` with `cell` as its tab-separated column `column`, counted from 0.
std::string WithCell(std::string line, int column, const std::string& cell) {
    std::size_t at = 0;
    for (int n = 0; n < column; ++n)
        at = line.find('\t', at) + 1;
    return line.insert(at, cell + '\t');
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the output does not end with a line break";
    return lines;
}

const std::string Header =
    "ID\t馬名\t性齢\t基本能力\t距離適性\tコース適性\t発動系アビリティ\t装備系アビリティ";

// Three listed horses (slots 2, 20, 63, written out of order) and two that are not listed:
// slot 5 with state 0 and slot 9 with state 2. Every other slot is all zero (state 0).
class DumpTool : public ::testing::Test {
protected:
    void SetUp() override {
        HorseBlock& block = Block;
        // clang-format off
        PutHorse(block, 63, {.HorseName = "アカツキ", .FatherName = "ヨアケ", .MotherName = "アサ", .Speed = 99, .Endurance = 88, .Stamina = 76, .Power = 45, .Agility = 130, .Agreement = 30, .Temper = 70, .Guts = 60, .Reactive = 200, .Durability = 80, .LowerDistance = 1000, .UpperDistance = 1400, .ExeAbility = {23, 0, 0, 0}, .EqpAbility = {15, 0, 0, 0}});
        PutHorse(block, 20, {.HorseName = "ハヤテ", .FatherName = "ソラ", .MotherName = "ハル", .Speed = 95, .Endurance = 88, .Stamina = 101, .Power = 7, .Agility = 0, .Agreement = 64, .Temper = 12, .Guts = 100, .Reactive = 255, .Durability = 9, .LowerDistance = 1600, .UpperDistance = 2400, .ExeAbility = {5, 0, 0, 7}, .EqpAbility = {0, 52, 0, 0}});
        PutHorse(block, 2, {.HorseName = "ヴィーナス", .FatherName = "ロード", .MotherName = "ヴィ", .Speed = 157, .Endurance = 30, .Stamina = 30, .Power = 127, .Agility = 255, .Agreement = 0, .Temper = 0, .Guts = 127, .Reactive = 0, .Durability = 0, .LowerDistance = 4000, .UpperDistance = 1000, .ExeAbility = {1, 2, 3, 4}, .EqpAbility = {200, 0, 0, 200}});
        PutHorse(block, 5, {.Registered = 0, .HorseName = "ノコリビ", .FatherName = "ヒノコ", .MotherName = "ノビ", .Speed = 60, .Endurance = 60, .Stamina = 60, .Power = 20, .Agility = 40, .Agreement = 20, .Temper = 80, .Guts = 30, .Reactive = 60, .Durability = 60, .LowerDistance = 1000, .UpperDistance = 1200, .ExeAbility = {9, 0, 0, 0}});
        PutHorse(block, 9, {.Registered = 2, .HorseName = "ムーン", .FatherName = "ツキヨ", .MotherName = "ヨゾラ", .Speed = 100, .Endurance = 100, .Stamina = 100, .Power = 50, .Agility = 100, .Agreement = 50, .Temper = 50, .Guts = 50, .Reactive = 100, .Durability = 100, .LowerDistance = 1600, .UpperDistance = 2400});
        // clang-format on
        Path = QString::fromStdString(Dir.File("horses.dat"));
        WriteHorseFile(Path.toStdString(), HorseFileLayouts[2].FileSize, block);
    }

    // The byte at `offset` of record `index`.
    std::uint8_t& At(int index, int offset) { return Block[index * RecordSize + offset]; }
    QString WriteFile(const std::string& name, const HorseBlock& block) {
        const std::string path = Dir.File(name);
        WriteHorseFile(path, HorseFileLayouts[0].FileSize, block);
        return QString::fromStdString(path);
    }

    HorseBlock Block{};
    TempDir Dir;
    QString Path;
};

// A 評価式 and its values for the three listed horses, worked out by hand: slot 2 has 気性 0.
const QString Score = QStringLiteral("スピード*2 + すたみな - 瞬発力／気性");
const std::vector<std::string> Scores = {"", "291.0", "272.1"};

// The list's lines of the three listed horses.
const std::vector<std::string> ListedLines = {
    "2\tヴィーナス\t？\t157/30/30/127/255/00/00/127/00/00\t4000 - 1000\t？/？\t"
    "大逃げ/大まくり/自由自在/融通性なし\t？/？",
    "20\tハヤテ\t？\t95/88/101/07/00/64/12/100/255/09\t1600 - 2400\t？/？\t直一気/4角先頭\t"
    "アイドルホース/",
    "63\tアカツキ\t？\t99/88/76/45/130/30/70/60/200/80\t1000 - 1400\t？/？\t出ムチ/\t"
    "外枠好き/",
};

} // namespace

TEST_F(DumpTool, ListedHorsesAsTabSeparatedListTexts) {
    const RunResult run = RunDump({Path});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    std::vector<std::string> expected = {Header};
    expected.insert(expected.end(), ListedLines.begin(), ListedLines.end());
    EXPECT_EQ(Lines(run.Out), expected);
}

TEST_F(DumpTool, AllPrintsEverySlotInOrder) {
    const RunResult run = RunDump({"--all", Path});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 1u + RecordCount);
    EXPECT_EQ(lines[0], Header);
    for (int i = 0; i < RecordCount; ++i)
        EXPECT_EQ(lines[1 + i].substr(0, lines[1 + i].find('\t')), std::to_string(i));
    EXPECT_EQ(lines[1 + 5], "5\tノコリビ\t？\t60/60/60/20/40/20/80/30/60/60\t1000 - 1200\t？/？\t"
                            "馬群好き/\t");
    EXPECT_EQ(lines[1 + 9].substr(0, 11), "9\tムーン");
    EXPECT_EQ(lines[1 + 0], "0\t\t？\t30/30/30/00/00/00/00/00/00/00\t1000 - 1000\t？/？\t\t");
}

// Numbers as plain decimals, one ability name per slot: empty, or ？ for a code without a name.
TEST_F(DumpTool, FieldsOneColumnEach) {
    const std::string header = "ID\t馬名\t父\t母\tスピード\t持続力\tスタミナ\tパワー\t瞬発力\t"
                               "折り合い\t気性\t勝負根性\t反応\t丈夫さ\t距離適性下限\t"
                               "距離適性上限\t発動系1\t発動系2\t発動系3\t発動系4\t装備系1\t"
                               "装備系2\t装備系3\t装備系4";
    const RunResult listed = RunDump({"--fields", Path});
    ASSERT_EQ(listed.ExitCode, 0) << listed.Err;
    const std::vector<std::string> expected = {
        header,
        "2\tヴィーナス\tロード\tヴィ\t157\t30\t30\t127\t255\t0\t0\t127\t0\t0\t4000\t1000\t"
        "大逃げ\t大まくり\t自由自在\t融通性なし\t？\t\t\t？",
        "20\tハヤテ\tソラ\tハル\t95\t88\t101\t7\t0\t64\t12\t100\t255\t9\t1600\t2400\t"
        "直一気\t\t\t4角先頭\t\tアイドルホース\t\t",
        "63\tアカツキ\tヨアケ\tアサ\t99\t88\t76\t45\t130\t30\t70\t60\t200\t80\t1000\t1400\t"
        "出ムチ\t\t\t\t外枠好き\t\t\t"};
    EXPECT_EQ(Lines(listed.Out), expected);
    EXPECT_EQ(Lines(RunDump({"--fields", "--csv", Path}).Out), WithCommas(expected));
    std::vector<std::string> scored = {WithCell(header, 2, "評価")};
    for (int n = 0; n < 3; ++n)
        scored.push_back(WithCell(expected[1 + n], 2, Scores[n]));
    EXPECT_EQ(Lines(RunDump({"--fields", "--csv", "--score", Score, Path}).Out),
              WithCommas(scored));

    // With --all every slot, and last the slot state.
    const RunResult all = RunDump({"--fields", "--all", Path});
    ASSERT_EQ(all.ExitCode, 0) << all.Err;
    const std::vector<std::string> lines = Lines(all.Out);
    ASSERT_EQ(lines.size(), 1u + RecordCount);
    EXPECT_EQ(lines[0], header + "\t登録状態");
    EXPECT_EQ(lines[1 + 9],
              "9\tムーン\tツキヨ\tヨゾラ\t100\t100\t100\t50\t100\t50\t50\t50\t100\t100\t"
              "1600\t2400\t\t\t\t\t\t\t\t\t2");
    EXPECT_EQ(lines[1 + 20], expected[2] + "\t1");
}

TEST_F(DumpTool, JsonHasEveryColumnByName) {
    const RunResult run = RunDump({"--json", Path});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    QJsonParseError parseError{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(run.Out), &parseError);
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << run.Out;
    ASSERT_TRUE(document.isArray());
    const QJsonArray horses = document.array();
    ASSERT_EQ(horses.size(), 3);
    EXPECT_EQ(horses[0].toObject()["HorseID"].toInt(), 2);
    EXPECT_EQ(horses[2].toObject()["HorseID"].toInt(), 63);

    const QJsonObject horse = horses[1].toObject();
    const QStringList keys = horse.keys();
    const std::set<QString> expectedKeys = {
        "HorseID",        "Registered",    "HorseName",  "FatherName", "MotherName",
        "Speed",          "Endurance",     "Stamina",    "Power",      "Agility",
        "Agreement",      "Temper",        "Guts",       "Reactive",   "Durability",
        "LowerDistance",  "UpperDistance", "ExeAbility", "EqpAbility", "ExeAbilityNames",
        "EqpAbilityNames"};
    EXPECT_EQ(std::set<QString>(keys.begin(), keys.end()), expectedKeys);

    EXPECT_EQ(horse["HorseID"].toInt(), 20);
    EXPECT_EQ(horse["Registered"].toInt(), 1);
    EXPECT_EQ(horse["HorseName"].toString(), QStringLiteral("ハヤテ"));
    EXPECT_EQ(horse["FatherName"].toString(), QStringLiteral("ソラ"));
    EXPECT_EQ(horse["MotherName"].toString(), QStringLiteral("ハル"));
    const std::pair<const char*, int> abilities[] = {
        {"Speed", 95},     {"Endurance", 88}, {"Stamina", 101},        {"Power", 7},
        {"Agility", 0},    {"Agreement", 64}, {"Temper", 12},          {"Guts", 100},
        {"Reactive", 255}, {"Durability", 9}, {"LowerDistance", 1600}, {"UpperDistance", 2400}};
    for (const auto& [key, value] : abilities)
        EXPECT_EQ(horse[key].toInt(-1), value) << key;
    EXPECT_EQ(horse["ExeAbility"].toArray(), (QJsonArray{5, 0, 0, 7}));
    EXPECT_EQ(horse["EqpAbility"].toArray(), (QJsonArray{0, 52, 0, 0}));
    EXPECT_EQ(horse["ExeAbilityNames"].toArray(), (QJsonArray{"直一気", "", "", "4角先頭"}));
    EXPECT_EQ(horse["EqpAbilityNames"].toArray(), (QJsonArray{"", "アイドルホース", "", ""}));
    EXPECT_EQ(horses[0].toObject()["EqpAbilityNames"].toArray(), (QJsonArray{"？", "", "", "？"}));

    const QJsonArray scored =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(RunDump({"--json", "--score", Score, Path}).Out))
            .array();
    ASSERT_EQ(scored.size(), 3);
    EXPECT_TRUE(scored[0].toObject()["Score"].isNull());
    EXPECT_EQ(scored[1].toObject()["Score"].toDouble(), 291.0);
    EXPECT_EQ(scored[2].toObject()["Score"].toDouble(), 272.1);
}

TEST_F(DumpTool, JsonAllHasEverySlotWithItsState) {
    const RunResult run = RunDump({"--json", "--all", Path});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const QJsonArray horses = QJsonDocument::fromJson(QByteArray::fromStdString(run.Out)).array();
    ASSERT_EQ(horses.size(), RecordCount);
    for (int i = 0; i < RecordCount; ++i) {
        const QJsonObject horse = horses[i].toObject();
        EXPECT_EQ(horse["HorseID"].toInt(-1), i);
        const int state = i == 2 || i == 20 || i == 63 ? 1 : i == 9 ? 2 : 0;
        EXPECT_EQ(horse["Registered"].toInt(-1), state) << i;
    }
    EXPECT_EQ(horses[5].toObject()["HorseName"].toString(), QStringLiteral("ノコリビ"));
}

// Every FILE in the order given under one header, each line and object naming its FILE; one
// that fails is reported, naming it, and the others are still printed.
TEST_F(DumpTool, SeveralFilesInOneTable) {
    const QString second = WriteFile("later,\"2\".dat", Block);
    const std::string oneByte = Dir.File("one.dat");
    WriteBytes(oneByte, std::vector<std::uint8_t>(1, 0));
    const QStringList files = {Path, QString::fromStdString(oneByte), second};
    const RunResult run = RunDump(files);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "stallark-dump: " + oneByte +
                           ": 大きさが 1 バイトで、馬データファイルの大きさ（496631、584756、"
                           "589312 バイト）ではありません\n");
    std::vector<std::string> expected = {"ファイル\t" + Header};
    for (const QString& file : {Path, second})
        for (const std::string& line : ListedLines)
            expected.push_back(file.toStdString() + "\t" + line);
    EXPECT_EQ(Lines(run.Out), expected);
    std::vector<std::string> scored = {WithCell(expected[0], 3, "評価")};
    for (std::size_t n = 1; n < expected.size(); ++n)
        scored.push_back(WithCell(expected[n], 3, Scores[(n - 1) % 3]));
    EXPECT_EQ(Lines(RunDump(QStringList{"--score", Score} + files).Out), scored);

    // As CSV, a path with a comma and double quotes in double quotes, those doubled. Written to a
    // .csv file, CSV without --csv, after the byte-order mark Excel reads it as UTF-8 by.
    const RunResult csv = RunDump(QStringList{"--csv"} + files);
    std::vector<std::string> csvExpected = {"ファイル," + WithCommas({Header})[0]};
    for (const std::string& file : {Path.toStdString(), '"' + Dir.File(R"(later,""2"".dat)") + '"'})
        for (const std::string& line : WithCommas(ListedLines))
            csvExpected.push_back(file + "," + line);
    EXPECT_EQ(Lines(csv.Out), csvExpected);
    const QString csvFile = QString::fromStdString(Dir.File("馬.Csv"));
    EXPECT_EQ(RunDump(QStringList{"-o", csvFile} + files).ExitCode, 2);
    EXPECT_EQ(ReadAll(csvFile), "\xEF\xBB\xBF" + csv.Out);

    const QJsonArray horses =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(RunDump(QStringList{"--json"} + files).Out))
            .array();
    ASSERT_EQ(horses.size(), 6);
    EXPECT_EQ(horses[2].toObject()["File"].toString(), Path);
    EXPECT_EQ(horses[3].toObject()["File"].toString(), second);
    EXPECT_EQ(horses[3].toObject()["HorseID"].toInt(), 2);
}

// What changed, slot by slot and field by field, with the captions and texts of --fields. A
// slot that no longer lists its horse keeps the old name.
TEST_F(DumpTool, DiffOfTwoFiles) {
    const QString old = WriteFile("old.dat", Block);
    EXPECT_EQ(RunDump({"--diff", old, Path}).Out, "ID\t馬名\t項目\t旧\t新\n");
    At(2, SlotStateOffset) = 0;
    At(2, NameFieldOffsets[0]) = 0;
    At(9, SlotStateOffset) = 1;
    At(20, NameFieldOffsets[0] + 2) = EncodeName("セ")[0];
    At(63, AgilityOffset) = 131;
    At(63, EqpAbilityOffset + 1) = 31;
    const QString now = WriteFile("new.dat", Block);
    const RunResult run = RunDump({"--diff", old, now});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(Lines(run.Out),
              (std::vector<std::string>{
                  "ID\t馬名\t項目\t旧\t新", "2\tヴィーナス\t馬名\tヴィーナス\t",
                  "2\tヴィーナス\t登録状態\t1\t0", "9\tムーン\t登録状態\t2\t1",
                  "20\tハヤセ\t馬名\tハヤテ\tハヤセ", "63\tアカツキ\t瞬発力\t130\t131",
                  "63\tアカツキ\t装備系2\t\t東京○"}));
    EXPECT_EQ(Lines(RunDump({"--diff", "--csv", old, now}).Out), WithCommas(Lines(run.Out)));

    const QJsonArray changes =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(RunDump({"--diff", "--json", old, now}).Out))
            .array();
    ASSERT_EQ(changes.size(), 6);
    EXPECT_EQ(changes[4].toObject(), (QJsonObject{{"HorseID", 63},
                                                  {"HorseName", "アカツキ"},
                                                  {"Field", "瞬発力"},
                                                  {"Old", "130"},
                                                  {"New", "131"}}));

    const RunResult missing = RunDump({"--diff", old, QString::fromStdString(Dir.File("x.dat"))});
    EXPECT_EQ(missing.ExitCode, 3);
    EXPECT_EQ(missing.Err, "stallark-dump: " + Dir.File("x.dat") + ": ファイルが見つかりません\n");
}

TEST_F(DumpTool, FileOfUnrecognisedSize) {
    const std::string path = Dir.File("short.dat");
    WriteBytes(path, std::vector<std::uint8_t>(496'630, 0x0E));
    const RunResult run = RunDump({QString::fromStdString(path)});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    const std::vector<std::string> lines = Lines(run.Err);
    ASSERT_EQ(lines.size(), 1u) << run.Err;
    for (const char* size : {"496630", "496631", "584756", "589312"})
        EXPECT_NE(lines[0].find(size), std::string::npos) << size;
}

TEST_F(DumpTool, MissingFileIsAnInOutError) {
    const RunResult run = RunDump({"--json", QString::fromStdString(Dir.File("missing.dat"))});
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find("ファイルが見つかりません"), std::string::npos) << run.Err;
    EXPECT_EQ(Lines(run.Err).size(), 1u);
}

// -o writes what standard output would get, only from files that were read, and never in place
// of a horse data file.
TEST_F(DumpTool, OutputFileHoldsWhatStandardOutputGets) {
    const QString out = QString::fromStdString(Dir.File("出力.tsv"));
    const auto contents = [&out] { return ReadAll(out); };
    WriteBytes(out.toStdString(), std::vector<std::uint8_t>(100'000, 'x'));
    const RunResult piped = RunDump({"--fields", Path});
    const RunResult written = RunDump({"--fields", "-o", out, Path});
    ASSERT_EQ(written.ExitCode, 0) << written.Err;
    EXPECT_EQ(written.Out + written.Err, "");
    EXPECT_EQ(contents(), piped.Out);

    // Written once, after every FILE has been tried; not at all when none was read.
    const QString notHorseFile = QString::fromStdString(Dir.File("short.dat"));
    WriteBytes(notHorseFile.toStdString(), std::vector<std::uint8_t>(10, 0));
    const QString missing = QString::fromStdString(Dir.File("missing.dat"));
    EXPECT_EQ(RunDump({"--output", out, missing, notHorseFile}).ExitCode, 3);
    EXPECT_EQ(contents(), piped.Out);
    const QStringList files = {Path, notHorseFile, Path};
    EXPECT_EQ(RunDump(QStringList{"-o", out} + files).ExitCode, 2);
    EXPECT_EQ(contents(), RunDump(files).Out);

    const std::string noFolder = Dir.File("missing") + "/out.tsv";
    const RunResult failed = RunDump({"-o", QString::fromStdString(noFolder), Path});
    EXPECT_EQ(failed.ExitCode, 3);
    EXPECT_EQ(failed.Out, "");
    EXPECT_EQ(failed.Err, "stallark-dump: " + noFolder + ": ファイルが見つかりません\n");

    // Neither a FILE nor another save is ever written over.
    EXPECT_EQ(RunDump({"-o", Path, missing, Path}).ExitCode, 1);
    HorseBlock block{};
    EXPECT_TRUE(TDM_FileAccess().ReadHorseBlock(Path.toStdString(), block.size(), block));
    const QString otherSave = WriteFile("other.dat", {});
    const std::string saved = ReadAll(otherSave);
    EXPECT_EQ(RunDump({"--fields", "-o", otherSave, Path}).ExitCode, 1);
    EXPECT_EQ(ReadAll(otherSave), saved);
}

// Every usage error: exit code 1, nothing on standard output, one line in Japanese, Qt's own
// parser messages through Qt's Japanese translation.
TEST_F(DumpTool, UsageHelpAndVersion) {
    const QString save = WriteFile("save.dat", {});
    const QString csv = QString::fromStdString(Dir.File("out.CSV"));
    const struct {
        QStringList Arguments;
        std::string Message;
    } usageErrors[] = {
        {{}, "ファイルが一つも指定されていません（使い方は --help）。"},
        {{"--bogus", Path}, "'bogus' は未知のオプションです。"},
        {{Path, "-o"}, "'-o' の後の値が欠けています。"},
        {{"--version=2", Path}, "'--version' の後が予期せぬ値です。"},
        {{"--fields", "--json", Path},
         "--fields と --json は同時に指定できません（JSON にはすべての項目があります）。"},
        {{"--csv", "--json", Path}, "--csv と --json は同時に指定できません。"},
        {{"--diff", "--all", Path, Path},
         "--diff は --all や --fields と同時に指定できません（全 64 枠を項目ごとに比べます）。"},
        {{"--diff", "--fields", Path, Path},
         "--diff は --all や --fields と同時に指定できません（全 64 枠を項目ごとに比べます）。"},
        {{"--diff", Path}, "--diff には二つのファイル、OLD と NEW を指定してください。"},
        {{"-o", Path, Path}, Path.toStdString() + ": 読むファイルには -o で書き込みません。"},
        {{"-o", save, Path}, save.toStdString() + ": 馬データファイルには -o で書き込みません。"},
        {{"--json", "-o", csv, Path},
         csv.toStdString() + ": .csv のファイルには --json の出力を書けません。"},
        {{"--score", "スピード+スピ", Path}, "--score: 「スピ」は項目名ではありません (6 文字目)"},
        {{"--score", "(1", Path}, "--score: 括弧が閉じていません (1 文字目)"},
        {{"--diff", "--score", "1", Path, Path}, "--diff と --score は同時に指定できません。"},
    };
    for (const auto& [arguments, message] : usageErrors) {
        const RunResult run = RunDump(arguments);
        EXPECT_EQ(run.ExitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.Out + run.Err, "stallark-dump: " + message + "\n");
    }

    const RunResult help = RunDump({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    for (const char* text :
         {"使い方:", "オプション:", "--all", "--fields", "--json", "--csv", "--diff",
          "--score <EXPR>", "--output <OUTPUT>", "装備系4", "終了コード:", "1  使い方の誤り",
          "496631、584756、589312 バイト", "3  入出力エラー"})
        EXPECT_NE(help.Out.find(text), std::string::npos) << text;

    const RunResult version = RunDump({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "stallark-dump " STALLARK_VERSION "\n");
}
