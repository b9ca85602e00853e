// The fuzz target's seed corpus, and every input it was given to keep, replayed through the same entry function
// in the ordinary build, so that a store file that once broke a rule keeps being checked without libFuzzer.

#include "LoadStoreFuzz.h"

#include <QtTest>

class tst_FuzzReplay : public QObject {
    Q_OBJECT
private slots:
    void corpusIsThere();
    void replay_data();
    void replay();

private:
    static QFileInfoList CorpusFiles() {
        return QDir(QStringLiteral(NUDGEPOST_FUZZ_CORPUS)).entryInfoList(QDir::Files, QDir::Name);
    }
};

void tst_FuzzReplay::corpusIsThere() {
    QVERIFY(CorpusFiles().size() >= 10);
}

void tst_FuzzReplay::replay_data() {
    QTest::addColumn<QString>("path");
    for (const QFileInfo& file : CorpusFiles())
        QTest::newRow(qPrintable(file.fileName())) << file.absoluteFilePath();
}

void tst_FuzzReplay::replay() {
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const std::string failure = LoadStoreFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                   static_cast<std::size_t>(bytes.size()));
    QVERIFY2(failure.empty(), failure.c_str());
}

QTEST_GUILESS_MAIN(tst_FuzzReplay)
#include "tst_fuzzreplay.moc"
