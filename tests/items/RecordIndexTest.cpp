// The record index against the in-memory lines: what the whole text gives
// in either layout, and what an edit of some lines changes.
#include "items/RecordIndex.h"
#include "items/RecordsModel.h"
#include "platform/doubles/FakeLineMarks.h"

#include "format/DataItem.h"
#include "text/Utf8Text.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace zuno {
namespace {

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray text;
    for (qsizetype i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return text;
}

// An index read from the text, reading its items' texts back from it.
struct Indexed {
    FakeLineMarks lines;
    RecordIndex index{&lines};
    Indexed(const QByteArray &text, bool record)
    {
        lines.setText(text);
        index.build(lines.wholeText(), record);
    }
};

// Every entry as "line:caption", records marked "*" when separated, line
// items indented.
QStringList shown(const RecordIndex &index)
{
    QStringList entries;
    for (qsizetype at = 0; at < index.size(); ++at) {
        const RecordIndex::Entry &entry = index.entry(at);
        const QString mark = entry.kind == EntryKind::SeparatedRecord ? QStringLiteral("*")
                             : entry.kind == EntryKind::LineItem     ? QStringLiteral(" ")
                                                                     : QString();
        entries.append(QStringLiteral("%1:%2%3").arg(entry.line).arg(mark, index.caption(at)));
    }
    return entries;
}

TEST(RecordIndex, ReadsRecordsNamesLineItemsAndTheHeadByTheRoleTable)
{
    const struct {
        const char *what;
        QList<QByteArray> lines;
        bool record;
        QStringList entries;
        bool head;
    } cases[] = {
        {"List layout", {"PN:ROAD1", "AC:1001", "NM:CENTRE LINE", "BG:CL", "PL:1,2", "EG:CL", "AC:OS", "CP:1"}, false,
         {"1:AC:1001  CENTRE LINE", "3: BG:CL", "5: EG:CL", "6:*AC:OS", "7: CP:1"}, true},
        {"no head", {"AC:1", "SP:2", "DL:3"}, false, {"0:AC:1", "1: SP:2", "2: DL:3"}, false},
        {"line items of the head", {"XX:1", "BG:0", "AC:1"}, false, {"1: BG:0", "2:AC:1"}, true},
        {"codes as the table reads them", {"AC:OS ", "  BG:5", "ac:1", "AC:PR", "NM:"}, false,
         {"0:AC:OS", "3:*AC:PR"}, false},
        {"Record layout", {"AC:1001  NM:CENTRE LINE", "BG:CL  PL:1,2", "       PL:3", "EG:CL", "", "AC:OS  NM:X"}, true,
         {"0:AC:1001  CENTRE LINE", "1: BG:CL", "3: EG:CL", "5:*AC:OS  X"}, false},
        {"Record items beside characters beyond ASCII", {"AC:1  NM:\xc3\x89T\xc3\x89", "XX:\xc3\xa9  BG:2 ", "EG:2"}, true,
         {"0:AC:1  \xc3\x89T\xc3\x89", "1: BG:2", "2: EG:2"}, false},
        {"a line taken up by the value list", {"BG:1  PL:1,", "PL:2  AC:9"}, true, {"0: BG:1"}, true},
        {"a lone line feed ends a line of the control", {"XX:A\nB", "AC:7"}, false, {"2:AC:7"}, true},
        {"List items up to two spaces, not UTF-8 made so", {"AC:1 2  XX:3", "NM:\xc3\x89T\xc3\x89  Z ", "BG:A B  ", "EG:\xff"},
         false, {"0:AC:1 2  \xc3\x89T\xc3\x89", "2: BG:A B", "3: EG:\xef\xbf\xbd"}, false},
        {"empty text", {}, false, {}, false},
    };
    for (const auto &c : cases) {
        const Indexed read(crlf(c.lines), c.record);
        EXPECT_EQ(shown(read.index), c.entries) << c.what;
        EXPECT_EQ(read.index.hasHead(), c.head) << c.what;
    }
}

TEST(RecordIndex, KeepsTheFirstSixteenThousandCharactersOfAnItem)
{
    for (const bool record : {false, true}) {
        for (const QByteArray &letter : {QByteArray("x"), QByteArray("\xc3\xa9")}) {
            // Read across the store's gap, and past a lone line feed, which
            // ends a line of the control but not the item.
            Indexed read("DL:\n" + letter.repeated(16010) + "  XX:1", record);
            read.lines.setGap(30000);
            ASSERT_EQ(read.index.size(), 1);
            EXPECT_EQ(read.index.text(0), "DL:\n" + QString::fromUtf8(letter.repeated(15996))) << record;
        }
    }
}

// An edit of the lines `first`..`lastBefore` that leaves them as `now`.
struct Edit {
    const char *what;
    qsizetype first;
    qsizetype lastBefore;
    QList<QByteArray> now;
    QStringList entries;
    bool changed;
};

// Applies the edit to `text` read in the layout, and checks the entries
// and that they are those of the whole text read afresh.
void checkEdit(const QList<QByteArray> &text, bool record, const Edit &e)
{
    FakeLineMarks lines;
    ItemMarks marks(lines);
    lines.setText(crlf(text));
    marks.checkAll(record);
    RecordIndex index(&lines);
    index.build(lines.wholeText(), record);

    const qint64 countBefore = marks.lineCount();
    QList<QByteArray> edited = text;
    edited.remove(e.first, e.lastBefore - e.first + 1);
    for (qsizetype i = 0; i < e.now.size(); ++i)
        edited.insert(e.first + i, e.now[i]);
    lines.editText(crlf(edited));
    EXPECT_EQ(index.edited(marks, e.first, e.lastBefore, e.first + e.now.size() - 1, countBefore), e.changed) << e.what;
    EXPECT_EQ(shown(index), e.entries) << e.what;
    RecordIndex whole(&lines);
    whole.build(lines.wholeText(), record);
    EXPECT_EQ(shown(index), shown(whole)) << e.what;
}

TEST(RecordIndex, AnEditInTheRecordLayoutReadsAgainTheLinesAValueListTakesUp)
{
    // The PL item that ended line 0 took up line 1 whole; without it, line
    // 1's items are read, its AC among them.
    checkEdit({"BG:1  PL:1,", "PL:2  AC:9", "EG:1"}, true,
              {"value list closed", 0, 0, {"BG:1"}, {"0: BG:1", "1:AC:9", "2: EG:1"}, true});
    checkEdit({"BG:1", "PL:2  AC:9"}, true,
              {"value list opened", 0, 0, {"BG:1  PL:1,"}, {"0: BG:1"}, true});
}

TEST(RecordIndex, AnEditChangesExactlyTheEntriesOfTheLinesItTouched)
{
    const QList<QByteArray> text = {"AC:1", "NM:ONE", "BG:A", "PL:1", "EG:A", "AC:2", "BG:B"};
    const QStringList before = {"0:AC:1  ONE", "2: BG:A", "4: EG:A", "5:AC:2", "6: BG:B"};
    const Edit edits[] = {
        {"a value typed in a PL line", 3, 3, {"PL:12"}, before, false},
        {"an AC renamed", 5, 5, {"AC:3"}, {"0:AC:1  ONE", "2: BG:A", "4: EG:A", "5:AC:3", "6: BG:B"}, true},
        {"an NM renamed", 1, 1, {"NM:UNO"}, {"0:AC:1  UNO", "2: BG:A", "4: EG:A", "5:AC:2", "6: BG:B"}, true},
        {"a BG removed with its line", 2, 3, {"PL:1"}, {"0:AC:1  ONE", "3: EG:A", "4:AC:2", "5: BG:B"}, true},
        {"an AC added on a new line", 4, 4, {"EG:A", "AC:9"},
         {"0:AC:1  ONE", "2: BG:A", "4: EG:A", "5:AC:9", "6:AC:2", "7: BG:B"}, true},
        {"a line inserted before the first record", 0, 0, {"XX:0", "AC:1"},
         {"1:AC:1  ONE", "3: BG:A", "5: EG:A", "6:AC:2", "7: BG:B"}, true},
    };
    for (const Edit &e : edits)
        checkEdit(text, false, e);
}

// The same, told as the control tells a change: bytes replaced at a place,
// the lines touched before and after worked out from it.
TEST(RecordIndex, AChangeToldByItsBytesLeavesTheEntriesOfTheWholeText)
{
    const QByteArray text = crlf({"AC:1", "NM:ONE", "BG:A", "PL:1", "EG:A", "AC:2", "BG:B"});
    const struct {
        const char *what;
        qint64 position;
        qint64 removedBytes;
        QByteArray inserted;
        bool changed;
    } changes[] = {
        {"a digit typed in a PL value", 24, 0, "2", false},
        {"two lines joined, a BG gone", 12, 6, "", true},
        {"a record pasted as two lines", 32, 0, "AC:7\r\nNM:SEVEN\r\n", true},
        {"the first record's lines cut", 0, 14, "", true},
    };
    for (const auto &c : changes) {
        FakeLineMarks lines;
        ItemMarks marks(lines);
        lines.setText(text);
        marks.checkAll(false);
        RecordIndex index(&lines);
        index.build(lines.wholeText(), false);
        const TextChange change = lines.replace(c.position, c.removedBytes, c.inserted);
        EXPECT_EQ(index.changed(marks, change), c.changed) << c.what;
        RecordIndex whole(&lines);
        whole.build(lines.wholeText(), false);
        EXPECT_EQ(shown(index), shown(whole)) << c.what;
    }
}

// A large text is read in two parts side by side: the entries on either
// side of the cut, a lone line feed before it counted, are those of one
// reading.
TEST(RecordIndex, ALargeTextReadInTwoPartsGivesEveryEntryItsLine)
{
    QByteArray text = "XX:HEAD\nSTILL THE HEAD";
    const int records = 200'000; // about 10 MB
    for (int i = 0; i < records; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "\r\nAC:" + n + "\r\nNM:N" + n + "\r\nBG:" + n + "\r\nPL:1,2,3,4,5,6,7,8,9\r\nEG:" + n;
    }
    const Indexed read(text, false);
    const RecordIndex &index = read.index;
    ASSERT_EQ(index.size(), 3 * records);
    for (int i = 0; i < records; ++i) {
        const qint64 line = 2 + 5 * qint64(i);
        const QString n = QString::number(i);
        ASSERT_EQ(index.entry(3 * i).line, line) << i;
        ASSERT_EQ(index.caption(3 * i), "AC:" + n + "  N" + n) << i;
        ASSERT_EQ(index.entry(3 * i + 2).line, line + 4) << i;
        ASSERT_EQ(index.text(3 * i + 2), "EG:" + n) << i;
    }
}

// Random texts in either layout, edited at random, their store's gap put
// anywhere: the index kept by the edits is the one read afresh; every
// item read back from the text is what its line holds from its column by
// the items' rule (read from the line decoded); the captions that hold a
// text are those the filter finds; and an edit said to change no entry
// left every caption as it was.
TEST(RecordIndex, RandomEditsKeepTheEntriesAndTheItemsReadBackOfTheWholeText)
{
    std::mt19937 random(37);
    const auto below = [&](qint64 n) { return qint64(random() % quint64(std::max<qint64>(n, 1))); };
    const QByteArray pieces[] = {"AC:", "NM:", "BG:", "EG:", "PL:", "XX:", "AC:OS", "1", "A", " ", "  ", "\xc3\xa9",
                                 ",", "\r\n", "\r\n", "\r\n", "\r", "\n"};
    const auto randomText = [&](int count) {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += pieces[below(std::size(pieces))];
        return text;
    };
    const auto captions = [](const RecordIndex &index) {
        QStringList list;
        for (qsizetype at = 0; at < index.size(); ++at)
            list.append(index.caption(at));
        return list;
    };
    for (const bool record : {false, true}) {
        FakeLineMarks lines;
        ItemMarks marks(lines);
        lines.setText(randomText(400));
        marks.checkAll(record);
        RecordIndex index(&lines);
        index.build(lines.wholeText(), record);
        for (int round = 0; round < 500; ++round) {
            const QStringList before = captions(index);
            const qint64 size = lines.wholeText().size();
            const qint64 position = below(size + 1);
            const qint64 removed = below(std::min<qint64>(size - position, 10) + 1);
            const QByteArray inserted = randomText(int(below(4)));
            const TextChange change = lines.replace(position, removed, inserted);
            ASSERT_TRUE(marks.changed(change, 1000));
            const bool changed = index.changed(marks, change);

            lines.setGap(below(lines.wholeText().size() + 1));
            const QStringList edited = shown(index);
            lines.setGap(std::numeric_limits<qint64>::max());
            RecordIndex whole(&lines);
            whole.build(lines.wholeText(), record);
            ASSERT_EQ(edited.join(u'|').toStdString(), shown(whole).join(u'|').toStdString())
                << record << " round " << round << " at " << position << " removed " << removed << " inserted "
                << change.insertedBytes << "\n" << lines.wholeText().toByteArray().toStdString();
            if (!changed) {
                ASSERT_EQ(captions(index), before) << record << " round " << round;
            }
            for (qsizetype at = 0; at < index.size(); ++at)
                ASSERT_EQ(index.foldEnd(at, marks.lineCount()), whole.foldEnd(at, marks.lineCount())) << round;
            const QString needle = QStringList{"A", "1", "OS", "C:"}[round % 4];
            const std::vector<bool> holding = index.captionsHolding(needle.toUtf8());
            for (qsizetype at = 0; at < index.size(); ++at) {
                ASSERT_EQ(holding[size_t(at)], index.caption(at).contains(needle)) << record << " round " << round;
                const RecordIndex::Entry entry = index.entry(at);
                const ItemMarks::TextLine line = marks.textLine(entry.line);
                const QStringView rest = QStringView(line.text).sliced(utf16Length(line.bytes.first(entry.column)));
                const qsizetype pair = rest.indexOf(u"  ");
                const QStringView item = trimSpaces(pair < 0 ? rest : rest.first(pair));
                ASSERT_EQ(index.text(at), item.first(std::min<qsizetype>(item.size(), 16000)).toString())
                    << record << " round " << round;
            }
        }
    }
}

TEST(RecordIndex, FindsRecordsByTheirAcValueOrPartOfTheirName)
{
    const Indexed read(crlf({"AC:10030", "AC:1002", "NM:LEFT EDGE", "AC:1003", "NM:RIGHT EDGE", "BG:1003",
                             "AC:\xC3\x89T\xC3\x89", "NM:M\xC3\x9CLLER"}), false);
    const RecordIndex &index = read.index;
    const auto captions = [&](const std::vector<qint32> &found) {
        QStringList list;
        for (const qint32 at : found)
            list.append(index.caption(at));
        return list;
    };
    EXPECT_EQ(captions(index.findRecords(u"1003")), (QStringList{"AC:1003  RIGHT EDGE", "AC:10030"}));
    EXPECT_EQ(captions(index.findRecords(u"right edge")), QStringList{"AC:1003  RIGHT EDGE"});
    EXPECT_EQ(captions(index.findRecords(u"EDGE")), (QStringList{"AC:1002  LEFT EDGE", "AC:1003  RIGHT EDGE"}));
    EXPECT_TRUE(index.findRecords(u"999").empty());
    // The record as the panel shows it, in either case.
    EXPECT_EQ(captions(index.findRecords(u"ac:1003")), (QStringList{"AC:1003  RIGHT EDGE", "AC:10030"}));
    // Letters beyond ASCII in either case too.
    EXPECT_EQ(captions(index.findRecords(u"m\u00FCller")), QStringList{QStringLiteral("AC:\u00C9T\u00C9  M\u00DCLLER")});
    EXPECT_EQ(captions(index.findRecords(u"\u00E9t\u00E9")), QStringList{QStringLiteral("AC:\u00C9T\u00C9  M\u00DCLLER")});

    // Typed a character at a time, each text is looked for among the records
    // the one before found: the same records, in the same order, as among all.
    const Indexed names(crlf({"AC:1", "NM:EDGE", "NM:KERB LINE", "AC:12", "NM:LINE", "AC:OS", "NM:KERB", "AC:120"}), false);
    // A letter beyond ASCII that folds to an ASCII one (the Kelvin sign).
    EXPECT_EQ(names.index.findRecords(u"\u212AERB").size(), 2u);
    RecordMatchesModel matches(names.index);
    for (const QString &typed : {QStringLiteral("12"), QStringLiteral("KERB L"), QStringLiteral("line"), QStringLiteral("e"),
                                 QStringLiteral("AC:12")}) {
        for (qsizetype length = 1; length <= typed.size(); ++length) {
            const QString text = typed.first(length);
            matches.find(text);
            std::vector<qint32> shown;
            for (int row = 0; row < matches.rowCount(); ++row)
                shown.push_back(qint32(names.index.entryAt(matches.lineOf(row))));
            ASSERT_EQ(shown, names.index.findRecords(text)) << typed.toStdString() << " at " << length;
        }
        EXPECT_GT(matches.rowCount(), 0) << typed.toStdString();
    }
}

TEST(RecordIndex, RecordsAndValueRunsFoldToTheirEnds)
{
    const Indexed read(crlf({"XX:0", "AC:1", "BG:A", "PL:1", "EG:A", "BG:B", "AC:2", "XX:2"}), false);
    const RecordIndex &index = read.index;
    // AC:1, BG:A, EG:A, BG:B, AC:2.
    EXPECT_EQ(index.foldEnd(0, 8), 5);
    EXPECT_EQ(index.foldEnd(1, 8), 4);
    EXPECT_EQ(index.foldEnd(2, 8), -1);
    EXPECT_EQ(index.foldEnd(3, 8), -1); // no EG before the next record
    EXPECT_EQ(index.foldEnd(4, 8), 7);
    EXPECT_EQ(index.recordAt(0), -1);
    EXPECT_EQ(index.recordAt(3), 0);
    EXPECT_EQ(index.entryAt(3), 1);
    EXPECT_EQ(index.nextRecord(3, true), 4);
    EXPECT_EQ(index.nextRecord(7, false), 4);
    EXPECT_EQ(index.nextRecord(6, false), 0);
    EXPECT_EQ(index.nextRecord(6, true), -1);
}

TEST(RecordsModel, FiltersByRecordAndFindsTheRowOfALine)
{
    const Indexed read(crlf({"PN:1", "AC:1", "NM:NORTH", "BG:A", "AC:2", "BG:NORTHERN", "EG:X", "AC:3"}), false);
    RecordsModel model(read.index);
    const auto rows = [&] {
        QStringList list;
        for (int row = 0; row < model.rowCount(); ++row)
            list.append(model.index(row).data().toString());
        return list;
    };
    EXPECT_EQ(model.rowCount(), 7); // the head and six entries
    EXPECT_EQ(model.rowOfLine(0), 0);
    EXPECT_EQ(model.rowOfLine(5), 4);
    EXPECT_EQ(model.lineOf(6), 7);

    model.setFilter(QStringLiteral("north"));
    EXPECT_EQ(rows(), (QStringList{"AC:1  NORTH", "    BG:A", "AC:2", "    BG:NORTHERN", "    EG:X"}));
    EXPECT_EQ(model.rowOfLine(6), 4);
    EXPECT_EQ(model.rowOfLine(7), -1); // AC:3 is not shown
    EXPECT_EQ(model.lineOf(2), 4);

    // Typed a character at a time, each text is looked for among the rows
    // the one before showed: the same rows as the text typed whole.
    const QStringList north = rows();
    model.setFilter(QString());
    for (const QString &typed : {QStringLiteral("n"), QStringLiteral("no"), QStringLiteral("nor"), QStringLiteral("north")})
        model.setFilter(typed);
    EXPECT_EQ(rows(), north);
    model.setFilter(QStringLiteral("northe"));
    EXPECT_EQ(rows(), (QStringList{"AC:2", "    BG:NORTHERN", "    EG:X"}));
    model.setFilter(QStringLiteral("nort"));
    EXPECT_EQ(rows(), north);

    const Indexed german(crlf({"AC:1", "NM:STRA\xC3\x9F""E", "AC:2", "NM:M\xC3\x9CLLER"}), false);
    RecordsModel names(german.index);
    names.setFilter(QStringLiteral("m\u00FCl"));
    ASSERT_EQ(names.rowCount(), 1);
    EXPECT_EQ(names.index(0).data().toString(), QStringLiteral("AC:2  M\u00DCLLER"));
}

} // namespace
} // namespace zuno
