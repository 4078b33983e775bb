#include "handset/BookmarkEntry.h"
#include "support/BookmarkTestSupport.h"
#include "support/LinkTestSupport.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedHandset.h"
#include "handset/ShiftJIS.h"
#include "handset/VedORovav.h"

#include <QTest>

namespace
{
const QByteArray CountQuery = frameBytes("E1 01 00 02 04 00 00 00 00 08 00 01");
const QByteArray ReadRequest = frameBytes("E1 01 00 03 04 00 00 00 00 08 00 02");
const QByteArray Opening1 = frameBytes("E1 01 00 03 06 00 00 00 00 08 00 04 31 33");
const QByteArray Opening2 = frameBytes("E1 01 00 03 04 00 00 00 00 08 00 05");
const QByteArray Closing = frameBytes("E1 01 00 03 04 00 00 00 00 08 00 06");
const QByteArray SampleEntry = frameBytes("1C 1E 01 02 03 00 00 00 61 62 63 1E 02 02 02 00 00 00 61 2F"
                                          " 1E 03 02 02 00 00 00 30 37 1E 04 02 02 00 00 00 30 32");

BookmarkPtr decode(const QByteArray& payload, const AirHBookmark* previous = nullptr)
{
    return BookmarkEntry::decode(payload.constData(), int(payload.size()), previous);
}

// The name of the entries carried by entry frames among frames.
QList<QByteArray> entriesSent(const QList<QByteArray>& frames)
{
    QList<QByteArray> entries;
    for (const QByteArray& f : frames)
        if (f.startsWith(frameBytes("E1 01 00 03")) && f.mid(8, 4) == frameBytes("00 08 00 03"))
            entries << f.mid(12);
    return entries;
}
} // namespace

class TestBookmarkTransfer : public QObject
{
    Q_OBJECT
private slots:
    void init() { qputenv("EDGEMARKS_TIMEOUT", "5"); }

    void decodesEntries()
    {
        BookmarkPtr b = decode(SampleEntry);
        QVERIFY(b);
        QCOMPARE(describe({b}), QStringList("AirHBookmark|abc|a/|7|2"));

        // Without a name: the location is the name, the folder is the previous record's.
        const QByteArray nameless = frameBytes("1C 1E 02 02 02 00 00 00 61 2F 1E 03 02 02 00 00 00 30 37"
                                               " 1E 04 02 02 00 00 00 30 32");
        const BookmarkPtr previous = makeBookmark("p", "q", 1, 5);
        b = decode(nameless, previous.get());
        QCOMPARE(b->bookmarkName(), QString("a/"));
        QCOMPARE(b->folder(), 5);
        QCOMPARE(decode(nameless)->folder(), 0);
        // Location, number and folder before the name: completed before the name is read.
        QCOMPARE(decode(nameless + frameBytes("1E 01 02 01 00 00 00 7A"))->bookmarkName(), QString("a/"));
        QCOMPARE(decode(frameBytes("1C 1E 02 02 02 00 00 00 61 2F 1E 01 02 01 00 00 00 7A 1E 03 02 02 00 00 00 30 37"
                                   " 1E 04 02 02 00 00 00 30 32"))->bookmarkName(), QString("z")); // the name second

        // The short length form: 00 00 00 01 means the byte before is the length.
        b = decode(frameBytes("1C 1E 01 04 00 00 00 01 77 78 79 7A 1E 02 02 02 00 00 00 61 2F"
                              " 1E 03 02 02 00 00 00 30 37 1E 04 02 02 00 00 00 30 32"));
        QCOMPARE(b->bookmarkName(), QString("wxyz"));
        // Only 00 00 00 01 is that form: 05 00 00 01 is a length past the payload.
        QVERIFY(!decode(frameBytes("1C 1E 01 04 05 00 00 01 77 78 79 7A 1E 02 02 02 00 00 00 61 2F"
                                   " 1E 03 02 02 00 00 00 30 37 1E 04 02 02 00 00 00 30 32")));
        // Texts end at a zero byte; numbers read as atoi does; invalid Shift_JIS is no text.
        b = decode(frameBytes("1C 1E 01 02 03 00 00 00 61 00 63 1E 02 02 01 00 00 00 FF"
                              " 1E 03 02 03 00 00 00 20 39 78 1E 04 02 00 00 00 00"));
        QCOMPARE(describe({b}), QStringList("AirHBookmark|a||9|0"));
        QVERIFY(b->location().isNull());

        // No bookmark: a first field of type 0 or 5 (however whole the fields after
        // it), an incomplete entry, fields that run past the payload.
        QVERIFY(!decode(frameBytes("1C 1E 00 02 03 00 00 00 61 62 63") + SampleEntry.mid(1)));
        QVERIFY(!decode(frameBytes("1C 1E 05 02 03 00 00 00 61 62 63") + SampleEntry.mid(1)));
        QVERIFY(!decode(SampleEntry.left(29)));
        for (int n = 0; n < SampleEntry.size(); ++n)
            QVERIFY(!decode(SampleEntry.left(n)));
        QVERIFY(!decode(frameBytes("1C 1E 01 02 FF FF FF 7F 61")));
        QVERIFY(!decode(frameBytes("1C 1E 01 02 00 00 00 80 61")));
        QVERIFY(!decode(QByteArray()));
    }

    // Numbers in entries read as atoi reads them: a sign, leading blanks, what follows ignored.
    void entryNumbers()
    {
        const QList<std::pair<QByteArray, int>> cases{
            {"-12", -12}, {"+7", 7}, {" \t9x", 9}, {"", 0}, {"-", 0}, {"0099", 99}, {"+-3", 0}};
        for (const auto& [text, value] : cases)
            QCOMPARE(BookmarkEntry::parseInteger(text.constData(), int(text.size())), value);
    }

    void downloadOfNoBookmarks()
    {
        ScriptedLink line;
        line.holdEntries({});
        RecordingProgress progress;
        BookmarkList list;
        QVERIFY(line.link.readBookmarks(list, "1234", progress));
        QVERIFY(list.isEmpty());
        QCOMPARE(progress.calls, QStringList({"open", "close"}));
        QCOMPARE(progress.maxValue, 1.0);
        QVERIFY(progress.message.isNull());
        QCOMPARE(line.handset.frames(), QList<QByteArray>({Probe, Password, CountQuery, Logout}));
    }

    void downloadOfThreeEntries()
    {
        ScriptedLink line;
        line.holdEntries({SampleEntry, frameBytes("1C 1E 00"), SampleEntry});
        RecordingProgress progress;
        BookmarkList list{makeBookmark("old", "", 0, 0)};
        QVERIFY(line.link.readBookmarks(list, "1234", progress));
        QCOMPARE(list.size(), 2); // the middle entry yields nothing
        QCOMPARE(list[1]->location(), QString("a/"));
        QCOMPARE(line.link.entriesSkipped(), 1);
        QCOMPARE(line.link.entriesAnnounced(), 3);
        QCOMPARE(progress.values, QList<double>({1.0 / 3, 2.0 / 3, 1.0}));
        QCOMPARE(progress.calls.first(), QString("open"));
        QCOMPARE(progress.calls.last(), QString("close"));
        QCOMPARE(line.handset.frames(),
                 QList<QByteArray>({Probe, Password, CountQuery, ReadRequest, Ack, Ack, Ack, Logout}));
    }

    void wrongEchoIsAnIllegalFormat()
    {
        ScriptedLink line;
        line.holdEntries({SampleEntry});
        line.handset.on(3, 0x802, {ScriptedHandset::reply(3, 0x803, SampleEntry)});
        RecordingProgress progress;
        BookmarkList list;
        QCOMPARE(reasonOf([&] { line.link.readBookmarks(list, "1234", progress); }),
                 QString(LinkTexts::IllegalFormat));
        QCOMPARE(progress.calls, QStringList({"open", "update", "exception", "close"}));
        QVERIFY(!line.link.stream());
        // No acknowledgement for the wrong frame.
        QCOMPARE(line.handset.frames(),
                 QList<QByteArray>({Probe, Password, CountQuery, ReadRequest, Logout}));
    }

    void refusedPasswordLeavesTheListAlone()
    {
        ScriptedLink line;
        line.refusePassword();
        line.holdEntries({SampleEntry});
        const BookmarkPtr kept = makeBookmark("kept", "", 0, 0);
        BookmarkList list{kept};
        RecordingProgress progress;
        QVERIFY(!line.link.readBookmarks(list, "1234", progress));
        QCOMPARE(list, BookmarkList({kept}));
        QCOMPARE(progress.calls, QStringList({"open", "close"}));
        QCOMPARE(line.handset.frames(), QList<QByteArray>({Probe, Password, Logout}));
        // Likewise when nothing usable is given, and for an upload: no opening, no closing.
        QVERIFY(!line.link.readBookmarks(list, QString(), progress));
        QCOMPARE(list, BookmarkList({kept}));
        QVERIFY(!line.link.writeBookmarks({kept}, "1234", progress));
        QCOMPARE(line.handset.frames().mid(5), QList<QByteArray>({Probe, Password, Logout}));
    }

    void aPortThatCannotOpenIsReported()
    {
        qputenv("EDGEMARKS_DEVICE", "/dev/null/not-a-directory");
        RecordingProgress progress;
        BookmarkList list;
        QCOMPARE(reasonOf([&] { VedORovav(testLink()).readBookmarks(list, "1234", progress); }),
                 QString(LinkTexts::CouldNotOpen));
        QCOMPARE(progress.calls, QStringList({"open", "exception", "close"}));
        QCOMPARE(progress.exception, QString(LinkTexts::CouldNotOpen));
    }

    void uploadLimits()
    {
        ScriptedLink line;
        line.takeEntries();
        BookmarkList list;
        for (int i = 0; i < 101; ++i)
            list << makeBookmark(QStringLiteral("名前%1").arg(i), "l", i % 100, i % 20);
        RecordingProgress progress;
        QCOMPARE(reasonOf([&] { line.link.writeBookmarks(list, "1234", progress); }),
                 QString(LinkTexts::TooManyBookmarks));
        QVERIFY(progress.calls.isEmpty());
        list.removeLast();
        // Converters are reused, not opened for every text.
        const int converters = ShiftJIS::convertersOpened();
        QVERIFY(line.link.writeBookmarks(list, "1234", progress));
        QVERIFY(ShiftJIS::convertersOpened() - converters <= 4);
        QCOMPARE(entriesSent(line.handset.frames()).size(), 100);
        QCOMPARE(line.link.entriesSent(), 100);

        // Entries that cannot be sent whole are refused before anything goes out.
        ScriptedLink other;
        for (const auto& bad : {makeBookmark("a", "l", 100, 0), makeBookmark("a", "l", -1, 19),
                                makeBookmark(QString(2000, 'n'), QString(2064, 'l'), 0, 0)}) {
            RecordingProgress p;
            const QString reason = reasonOf([&] {
                other.link.writeBookmarks({makeBookmark("ok", "", 1, 0), bad}, "1234", p);
            });
            QVERIFY(reason == LinkTexts::NumberOutOfRange || reason == LinkTexts::BookmarkTooLong);
            QVERIFY(p.calls.isEmpty());
        }
        QVERIFY(other.handset.frames().isEmpty());
        // 4063 bytes of text still fit; a folder outside 0-19 is never looked at.
        other.takeEntries();
        QVERIFY(other.link.writeBookmarks(
            {makeBookmark(QString(2000, 'n'), QString(2063, 'l'), 0, 0), makeBookmark("x", "y", 500, 20)},
            "1234", progress));
        const QList<QByteArray> entries = entriesSent(other.handset.frames());
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].size(), 33 + 4063);
        QCOMPARE(other.link.entriesSent(), 1);
    }

    void uploadOfAnEmptyList()
    {
        ScriptedLink line;
        line.takeEntries();
        RecordingProgress progress;
        QVERIFY(line.link.writeBookmarks({}, "1234", progress));
        QCOMPARE(progress.maxValue, 0.0);
        QCOMPARE(line.handset.frames(),
                 QList<QByteArray>({Probe, Password, Opening1, Opening2, Closing, Logout}));
    }

    void uploadFramesAndOrder()
    {
        ScriptedLink line;
        line.takeEntries();
        BookmarkList list{makeBookmark("three", "a", 1, 3), makeBookmark("abc", "a/", 7, 2),
                          makeBookmark("zero", QStringLiteral("😀"), 0, 0),
                          makeBookmark(QStringLiteral("한국"), "b", 99, 19),
                          makeBookmark("three again", "c", 2, 3)};
        RecordingProgress progress;
        QVERIFY(line.link.writeBookmarks(list, "1234", progress));
        const QList<QByteArray> frames = line.handset.frames();
        QCOMPARE(frames.size(), 11);
        QCOMPARE(frames.mid(0, 4), QList<QByteArray>({Probe, Password, Opening1, Opening2}));
        QCOMPARE(frames.mid(9), QList<QByteArray>({Closing, Logout}));
        const QList<QByteArray> entries = entriesSent(frames);
        QCOMPARE(entries.size(), 5);
        // Folder by folder, list order within a folder.
        QCOMPARE(entries[0], frameBytes("1C 1E 01 02 04 00 00 00 7A 65 72 6F 1E 02 02 00 00 00 00"
                                        " 1E 03 02 02 00 00 00 30 30 1E 04 02 02 00 00 00 30 30"));
        QCOMPARE(entries[1], SampleEntry);
        QCOMPARE(frames[5].left(12), frameBytes("E1 01 00 03 2A 00 00 00 00 08 00 03"));
        QCOMPARE(entries[2].mid(8, 5), QByteArray("three"));
        QCOMPARE(entries[3].mid(8, 11), QByteArray("three again"));
        // A name outside Shift_JIS goes out empty; folder 19 as "19".
        QCOMPARE(entries[4], frameBytes("1C 1E 01 02 00 00 00 00 1E 02 02 01 00 00 00 62"
                                        " 1E 03 02 02 00 00 00 39 39 1E 04 02 02 00 00 00 31 39"));
    }

    void uploadProgress()
    {
        ScriptedLink line;
        line.takeEntries("0 and more");
        RecordingProgress progress;
        QVERIFY(line.link.writeBookmarks(
            {makeBookmark("a", "", 1, 0), makeBookmark("b", "", 2, 0), makeBookmark("c", "", 3, 0)}, "1234",
            progress));
        QCOMPARE(progress.maxValue, 3.0);
        QList<double> expected{1, 2, 3};
        for (int i = 0; i < 57; ++i)
            expected << 4;
        QCOMPARE(progress.values, expected);
    }

    void refusedEntryStillClosesTheUpload()
    {
        ScriptedLink line;
        line.takeEntries("1");
        RecordingProgress progress;
        const VedORovavException e = failureOf([&] {
            line.link.writeBookmarks({makeBookmark("a", "", 1, 0), makeBookmark("b", "", 2, 0)}, "1234", progress);
        });
        QCOMPARE(e.reason(), QString(LinkTexts::NoSuccessCode));
        QVERIFY(e.details().contains("may now hold only part of the list"));
        QCOMPARE(progress.calls, QStringList({"open", "update", "exception", "close"}));
        const QList<QByteArray> frames = line.handset.frames();
        QCOMPARE(entriesSent(frames).size(), 1);
        QCOMPARE(frames.mid(5), QList<QByteArray>({Closing, Logout}));
    }
};

QTEST_GUILESS_MAIN(TestBookmarkTransfer)
#include "tst_bookmarktransfer.moc"
