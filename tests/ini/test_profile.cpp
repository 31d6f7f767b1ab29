#include "testmain.h"
#include "ini/profile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <future>

using namespace ini;

// What the vectors cannot show: when the engine touches the disk, and what it reports.
class ProfileEngineTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;

    // A file time long past: a file still carrying it has not been written since.
    static QDateTime longAgo() { return QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC); }
    static void makeOld(const QString &path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(longAgo(), QFileDevice::FileModificationTime));
    }
    static QDateTime modified(const QString &path)
    {
        return QFileInfo(path).fileTime(QFileDevice::FileModificationTime).toUTC();
    }

private slots:
    void init()
    {
        clearProfileCache();
        m_file = m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction()));
        testing::writeFile(m_file, "[S]\r\nk=1\r\n[Empty]\r\n");
    }

    void batchKeepsWritesInMemoryUntilTheOutermostCommit()
    {
        makeOld(m_file);
        {
            ProfileBatch outer;
            QVERIFY(writeProfileString(m_file, "S", "k", "2"));
            {
                ProfileBatch inner;
                QVERIFY(writeProfileString(m_file, "S", "n", "3"));
                QVERIFY(inner.commit());
            }
            QCOMPARE(readProfileString(m_file, "s", "K"), QString("2"));
            QCOMPARE(readProfileString(m_file, "S", "n"), QString("3"));
            QCOMPARE(testing::readFile(m_file), QByteArray("[S]\r\nk=1\r\n[Empty]\r\n"));
            QCOMPARE(modified(m_file), longAgo());
            QVERIFY(outer.commit());
            QVERIFY(outer.failedFiles().isEmpty());
        }
        QCOMPARE(testing::readFile(m_file), QByteArray("[S]\r\nk=2\r\nn=3\r\n[Empty]\r\n"));
        QCOMPARE(readProfileString(m_file, "S", "n"), QString("3"));
    }

    void batchReportsTheFilesItCouldNotWrite()
    {
        const QString unwritable = m_dir.filePath("missing-folder/a.ini");
        ProfileBatch batch;
        QVERIFY(writeProfileString(unwritable, "S", "k", "v"));
        QVERIFY(writeProfileString(m_file, "S", "k", "2"));
        QVERIFY(!batch.commit());
        QCOMPARE(batch.failedFiles(), QStringList{unwritable});
        QCOMPARE(readProfileString(m_file, "S", "k"), QString("2"));
        // The lost write is not pretended: reads see the disk again.
        QCOMPARE(readProfileString(unwritable, "S", "k"), QString());
    }

    // A writer given to the commit writes the changed files as one whole, or none of them when
    // an edit could not be made; what it did not write is read from the disk again.
    void aWriterTakesTheChangedFiles()
    {
        const QString other = m_dir.filePath("other.ini"), broken = m_dir.filePath("broken.ini");
        testing::writeFile(other, "[S]\r\nk=1\r\n");
        testing::writeFile(broken, "\xEF\xBB\xBF[S]\r\nk=\xFF\r\n");   // invalid after a UTF-8 mark
        QList<FileBytes> given;
        const auto writer = [&](const QList<FileBytes> &changed) {
            given = changed;
            testing::writeFile(m_file, changed[0].path == m_file ? changed[0].bytes : changed[1].bytes);
            return QStringList{other};
        };
        {
            ProfileBatch batch;
            QVERIFY(writeProfileString(m_file, "S", "k", "2"));
            QVERIFY(writeProfileString(other, "S", "k", "2"));
            QVERIFY(!batch.commit(writer));
            QCOMPARE(batch.failedFiles(), QStringList{other});
        }
        QCOMPARE(given.size(), 2);
        QCOMPARE(readProfileString(m_file, "S", "k"), QString("2"));
        QCOMPARE(readProfileString(other, "S", "k"), QString("1"));
        QVERIFY(profileCacheIsConsistent(m_file));

        given.clear();
        ProfileBatch batch;
        QVERIFY(writeProfileString(other, "S", "k", "3"));
        QVERIFY(!writeProfileString(broken, "S", "k", "3"));
        QCOMPARE(batch.refusedEdits().size(), 1);
        QCOMPARE(batch.refusedEdits()[0].path, broken);
        QVERIFY(!batch.commit(writer));
        QVERIFY(given.isEmpty());
        QCOMPARE(readProfileString(other, "S", "k"), QString("1"));
    }

    void writeIntoAMissingFolderFails()
    {
        const QString path = m_dir.filePath("missing-folder/a.ini");
        QVERIFY(!writeProfileString(path, "S", "k", "v"));
        QCOMPARE(readProfileString(path, "S", "k"), QString());
        // Nothing to delete is no failure, and creates nothing.
        QVERIFY(deleteProfileKey(path, "S", "k"));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("missing-folder")));
    }

    void cacheSeesChangesMadeBehindItsBack()
    {
        QCOMPARE(readProfileString(m_file, "S", "k"), QString("1"));
        testing::writeFile(m_file, "[S]\r\nk=22\r\n");
        QCOMPARE(readProfileString(m_file, "S", "k"), QString("22"));
        // Same size, only the modification time tells.
        testing::writeFile(m_file, "[S]\r\nk=33\r\n");
        makeOld(m_file);
        QCOMPARE(readProfileString(m_file, "S", "k"), QString("33"));
        // Same size and the old modification time put back (as cp -p does), at once or a tick later.
        for (const char *value : {"44", "55"}) {
            testing::writeFile(m_file, QByteArray("[S]\r\nk=") + value + "\r\n");
            makeOld(m_file);
            QCOMPARE(readProfileString(m_file, "S", "k"), QString(value));
            QTest::qWait(20);
        }
        testing::writeFile(m_file, "[S]\r\nk=33\r\n");
        QVERIFY(writeProfileString(m_file, "S", "n", "4"));
        QCOMPARE(testing::readFile(m_file), QByteArray("[S]\r\nk=33\r\nn=4\r\n"));
    }

    // A snapshot answers as the file was when it was read; the engine takes it over only while
    // it answers as the engine would.
    void snapshotsAreTakenOverOnlyWhileTheyHoldTheFile_data()
    {
        QTest::addColumn<QString>("change");   // what happens between the snapshot and its handing over
        QTest::addColumn<QString>("snapshotReads");
        QTest::addColumn<bool>("adopted");
        QTest::addColumn<QString>("engineReads");
        QTest::newRow("nothing") << "" << "1" << true << "1";
        QTest::newRow("file changed on disk") << "disk" << "1" << false << "22";
        QTest::newRow("same size, old time put back") << "restored" << "1" << false << "7";
        QTest::newRow("a reader still kept") << "reader kept" << "1" << false << "1";
        QTest::newRow("change pending in a batch") << "batch" << "1" << false << "5";
        QTest::newRow("missing file") << "missing" << "" << true << "";
        QTest::newRow("folder, not a file") << "folder" << "" << false << "";
    }
    void snapshotsAreTakenOverOnlyWhileTheyHoldTheFile()
    {
        QFETCH(QString, change);
        QFETCH(QString, snapshotReads);
        QFETCH(bool, adopted);
        QFETCH(QString, engineReads);
        QString file = m_file;
        if (change == "missing")
            file = m_dir.filePath("snapshot-missing.ini");
        if (change == "folder")
            QVERIFY(QDir(m_dir.path()).mkpath(file = m_dir.filePath("snapshot-folder.ini")));
        ProfileBatch batch;
        if (change == "batch")
            QVERIFY(writeProfileString(m_file, "S", "k", "5"));
        ProfileSnapshot snapshot = std::async(std::launch::async, [file] { return ProfileSnapshot(file); }).get();
        if (change == "disk")
            testing::writeFile(m_file, "[S]\r\nk=22\r\n");
        if (change == "restored") {
            const QDateTime before = modified(m_file);
            testing::writeFile(m_file, "[S]\r\nk=7\r\n[Empty]\r\n");
            QFile same(m_file);
            QVERIFY(same.open(QIODevice::ReadWrite) && same.setFileTime(before, QFileDevice::FileModificationTime));
        }
        QCOMPARE(snapshot.reader()("S", "k", 2048), snapshotReads);
        const ProfileRead kept = change == "reader kept" ? snapshot.reader() : ProfileRead();
        QCOMPARE(adoptProfileSnapshot(std::move(snapshot)), adopted);
        if (kept)   // still reads what it read, whatever became of the snapshot
            QCOMPARE(kept("S", "k", 2048), snapshotReads);
        QCOMPARE(readProfileString(file, "S", "k"), engineReads);
        QVERIFY(profileCacheIsConsistent(file));
        QCOMPARE(QFileInfo::exists(file), change != "missing");
    }

    // The engine is its thread's: where the check is built in, a call from another thread stops
    // the program (the test runs itself again to see it stop), and a snapshot read there does not.
    void onlyItsOwnThreadCallsTheEngine_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("stops");
        QTest::newRow("a snapshot read on another thread") << "snapshot" << false;
        QTest::newRow("the engine read on another thread") << "read" << true;
        QTest::newRow("a batch opened on another thread") << "batch" << true;
    }
    void onlyItsOwnThreadCallsTheEngine()
    {
#if defined(QT_NO_DEBUG) && !defined(KAVO_CHECKED_BUILD)
        QSKIP("the thread check is built into debug and checked builds only");
#endif
        QFETCH(QString, call);
        QFETCH(bool, stops);
        const QString file = m_file;
        if (const QString asked = qEnvironmentVariable("PROFILE_OTHER_THREAD_CALL"); !asked.isEmpty()) {
            std::async(std::launch::async, [&] {
                if (asked == "snapshot")
                    ProfileSnapshot(file).reader()("S", "k", 2048);
                else if (asked == "read")
                    readProfileString(file, "S", "k");
                else
                    ProfileBatch batch;
            }).get();
            return;
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PROFILE_OTHER_THREAD_CALL", call);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {"ProfileEngineTest", QStringLiteral("onlyItsOwnThreadCallsTheEngine:") + QTest::currentDataTag()});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus() == QProcess::CrashExit, stops);
        if (!stops)
            QCOMPARE(child.exitCode(), 0);
    }

    void replacingKeepsThePermissions()
    {
        QVERIFY(QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
        const auto before = QFile::permissions(m_file);
        QVERIFY(writeProfileString(m_file, "S", "k", "2"));
        QCOMPARE(QFile::permissions(m_file), before);
    }

    void editsThatChangeNothingLeaveTheFileUntouched_data()
    {
        QTest::addColumn<int>("edit");
        QTest::newRow("the same value") << 0;
        QTest::newRow("a missing key") << 1;
        QTest::newRow("a missing section") << 2;
        QTest::newRow("emptying a missing section") << 3;
        QTest::newRow("emptying an empty section") << 4;
    }
    void editsThatChangeNothingLeaveTheFileUntouched()
    {
        QFETCH(int, edit);
        makeOld(m_file);
        readProfileString(m_file, "S", "k"); // cached, so a stale copy would show
        const bool done = edit == 0   ? writeProfileString(m_file, "S", "K", "1")
                          : edit == 1 ? deleteProfileKey(m_file, "S", "missing")
                          : edit == 2 ? deleteProfileSection(m_file, "Missing")
                          : edit == 3 ? clearProfileSection(m_file, "Missing")
                                      : clearProfileSection(m_file, "Empty");
        QVERIFY(done);
        QCOMPARE(modified(m_file), longAgo());
        QCOMPARE(testing::readFile(m_file), QByteArray("[S]\r\nk=1\r\n[Empty]\r\n"));
    }

    // A file's bytes decide its encoding; a write keeps it, and every byte of the lines it did
    // not touch, whatever the bytes are.
    void untouchedBytesStayWhateverTheEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read");
        QByteArray everyWindows1252Byte;
        for (int byte = 0xA0; byte <= 0xFF; ++byte)
            everyWindows1252Byte += char(byte);
        QTest::newRow("y with diaeresis, the last Windows-1252 byte") << QByteArray("\xFF") << QString::fromUtf8("ÿ");
        QTest::newRow("the upper half of Windows-1252") << everyWindows1252Byte << QString::fromLatin1(everyWindows1252Byte);
        QTest::newRow("an encoded surrogate is no UTF-8") << QByteArray("\xED\xA0\x80") << QString::fromUtf8("í\u00A0€");
        QTest::newRow("an overlong encoding is no UTF-8") << QByteArray("\xC0\xAF") << QString::fromUtf8("À¯");
        QTest::newRow("UTF-8") << QByteArray("\xC3\xBF") << QString::fromUtf8("ÿ");
    }
    void untouchedBytesStayWhateverTheEncoding()
    {
        QFETCH(QByteArray, bytes);
        const QByteArray before = "[S]\r\nold=" + bytes + "\r\n";
        testing::writeFile(m_file, before);
        clearProfileCache();
        QTEST(readProfileString(m_file, "S", "old"), "read");
        // Written back under another key, the same characters take the same bytes.
        QVERIFY(writeProfileString(m_file, "S", "new", readProfileString(m_file, "S", "old")));
        QCOMPARE(testing::readFile(m_file), before + "new=" + bytes + "\r\n");
    }

    // Characters of Windows-1252 whose bytes happen to be UTF-8 ("ß½" is DF BD, U+07FD in UTF-8)
    // would change on the next read: the file keeps them as UTF-16LE.
    void windows1252BytesThatReadAsUtf8AreKept()
    {
        const QString value = QString::fromUtf8("ß½");
        QVERIFY(writeProfileString(m_file, "S", "k", value));
        clearProfileCache();
        QCOMPARE(readProfileString(m_file, "S", "k"), value);
        QVERIFY(testing::readFile(m_file).startsWith("\xFF\xFE"));
    }
};
KAVO_TEST(ProfileEngineTest)
#include "test_profile.moc"
