#include "testmain.h"
#include "platform/profile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace platform;

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
        QVERIFY(writeProfileString(m_file, "S", "n", "4"));
        QCOMPARE(testing::readFile(m_file), QByteArray("[S]\r\nk=33\r\nn=4\r\n"));
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
};
KAVO_TEST(ProfileEngineTest)
#include "test_profile.moc"
