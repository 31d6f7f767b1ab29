#include "testmain.h"
#include "platform/files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Files written together: each whole or not at all, and what surrounds them as it was.
class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void filesWrittenTogether()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        testing::writeFile(root + "/kept.ini", "old");
        QFile::setPermissions(root + "/kept.ini", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        testing::writeFile(root + "/target.ini", "old");
        QFile::link(root + "/target.ini", root + "/link.ini");
        testing::writeFile(root + "/readonly.ini", "new");   // holding the bytes already changes nothing
        QFile::setPermissions(root + "/readonly.ini", QFile::ReadOwner);
        // A file that holds the bytes already is left as it is.
        testing::writeFile(root + "/same.ini", "new");
        const QDateTime longAgo(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
        {
            QFile same(root + "/same.ini");
            QVERIFY(same.open(QIODevice::ReadWrite) && same.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
        // What a write killed between naming its new file and putting it in place leaves; and a
        // file of the user's that merely looks alike.
        testing::writeFile(root + "/kept.ini.kavo-new-x1y2", "half");
        testing::writeFile(root + "/kept.ini.backup", "mine");

        const QStringList failed = platform::writeFilesAtomically(
            {{root + "/new.ini", "new"}, {root + "/kept.ini", "new"}, {root + "/link.ini", "new"},
             {root + "/readonly.ini", "new"}, {root + "/missing/new.ini", "new"}, {root + "/same.ini", "new"}});

        const bool root_ = ::geteuid() == 0;   // root writes read-only files all the same
        QStringList expectedFailures{root + "/missing/new.ini"};
        if (!root_)
            expectedFailures.prepend(root + "/readonly.ini");
        QCOMPARE(failed, expectedFailures);
        QCOMPARE(testing::readFile(root + "/new.ini"), QByteArray("new"));
        QCOMPARE(testing::readFile(root + "/kept.ini"), QByteArray("new"));
        QCOMPARE(QFile::permissions(root + "/kept.ini") & 0x7077,   // owner, group and others; not "user"
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QVERIFY(QFileInfo(root + "/link.ini").isSymLink());   // written through, still a link
        QCOMPARE(testing::readFile(root + "/target.ini"), QByteArray("new"));
        QCOMPARE(QFileInfo(root + "/same.ini").fileTime(QFileDevice::FileModificationTime).toUTC(), longAgo);
        QCOMPARE(QDir(root).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"kept.ini", "kept.ini.backup", "link.ini", "new.ini", "readonly.ini", "same.ini", "target.ini"}));
    }
};
KAVO_TEST(FilesTest)
#include "test_files.moc"
