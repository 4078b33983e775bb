// Every file of the fuzzers' corpora through the same entry points, with the
// build's own compiler and sanitizers: a crash a fuzzer once found stays found.
#include "FuzzTargets.h"

#include <QDir>
#include <QTest>

class TestFuzzCorpus : public QObject {
    Q_OBJECT
private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("file");
        size_t count = 0;
        const FuzzTargets::Target* targets = FuzzTargets::all(&count);
        for (size_t t = 0; t < count; ++t) {
            const QDir corpus(QStringLiteral(EDGEMARKS_FUZZ_CORPUS) + QLatin1Char('/') + targets[t].name);
            const QStringList files = corpus.entryList(QDir::Files);
            QVERIFY2(!files.isEmpty(), targets[t].name); // every target has seeds
            for (const QString& f : files)
                QTest::addRow("%s/%s", targets[t].name, qPrintable(f)) << targets[t].name << corpus.filePath(f);
        }
    }

    void replay()
    {
        QFETCH(QString, target);
        QFETCH(QString, file);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        FuzzTargets::find(qPrintable(target))->run(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                   size_t(bytes.size()));
    }
};

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
