#include "testmain.h"
#include "ini/confinedfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using ini::ConfinedFolder;
using testing::readFile;
using testing::writeFile;

// Writes below a folder: never through a link, and a transaction writes all its files or none.
class ConfinedFolderTest : public QObject {
    Q_OBJECT
private slots:
    void transactionWritesAllOrNone_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("refused");   // the file named, empty when all are written
        QTest::addColumn<QString>("reason");
        QTest::newRow("none") << "none" << "" << "";
        QTest::newRow("file is a link") << "file is a link" << "lang/text.ini" << "a symbolic link";
        QTest::newRow("folder is a link") << "folder is a link" << "lang/text.ini" << "a folder on its way";
        QTest::newRow("folder missing") << "folder missing" << "lang/text.ini" << "its folder is missing";
        QTest::newRow("folder in a file's place") << "folder in a file's place" << "marker" << "not a regular file";
        QTest::newRow("a file that must be there is gone") << "gone" << "config.ini" << "missing";
        QTest::newRow("read-only file") << "read-only" << "config.ini" << "read-only";
        QTest::newRow("file too large for its file system") << "too large" << "lang/text.ini" << "large";
        QTest::newRow("a path leading up") << "leading up" << "../outside/x" << "Invalid argument";
    }
    void transactionWritesAllOrNone()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, refused);
        QFETCH(QString, reason);
        if (obstacle == "read-only" && ::geteuid() == 0)
            QSKIP("root writes read-only files");
        QTemporaryDir scratch;
        const QString root = scratch.path() + "/package", outside = scratch.path() + "/outside";
        writeFile(root + "/config.ini", "old config");
        writeFile(root + "/lang/text.ini", "old text");
        writeFile(root + "/kept.ini", "kept");
        if (obstacle == "none")
            writeFile(root + "/config.ini.kavo-new-x1", "left by a killed write");
        writeFile(outside + "/x", "outside");
        QFile::setPermissions(root + "/kept.ini", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        // A file that holds its bytes already is left as it is.
        const QDateTime longAgo(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
        {
            QFile kept(root + "/kept.ini");
            QVERIFY(kept.open(QIODevice::ReadWrite) && kept.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
        if (obstacle == "file is a link") {
            QFile::remove(root + "/lang/text.ini");
            QFile::link(outside + "/x", root + "/lang/text.ini");
        } else if (obstacle == "folder is a link") {
            QDir(root + "/lang").removeRecursively();
            QFile::link(outside, root + "/lang");
        } else if (obstacle == "folder missing") {
            QDir(root + "/lang").removeRecursively();
        } else if (obstacle == "folder in a file's place") {
            QDir().mkpath(root + "/marker");
        } else if (obstacle == "gone") {
            QFile::remove(root + "/config.ini");
        } else if (obstacle == "read-only") {
            QFile::setPermissions(root + "/config.ini", QFile::ReadOwner);
        }
        const QMap<QString, QByteArray> before = testing::treeContents(scratch.path());

        QList<ConfinedFolder::Write> files{{"config.ini", "new config", true},
                                           {"lang/text.ini", QByteArray(4096, 't')},
                                           {"kept.ini", "kept"},
                                           {"marker", "new marker"}};
        if (obstacle == "leading up")
            files.append(ConfinedFolder::Write{"../outside/x", "escaped"});
        ConfinedFolder folder(root);
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        if (obstacle == "too large") {   // a full file system, as root too
            std::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit small{1024, limit.rlim_max};
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
        const QList<ini::FileFailure> failures = folder.writeFiles(files);
        ::setrlimit(RLIMIT_FSIZE, &limit);

        if (refused.isEmpty()) {
            QCOMPARE(failures, {});
            QCOMPARE(readFile(root + "/config.ini"), QByteArray("new config"));
            QCOMPARE(readFile(root + "/marker"), QByteArray("new marker"));
            QCOMPARE(QFileInfo(root + "/kept.ini").fileTime(QFileDevice::FileModificationTime).toUTC(), longAgo);
            QCOMPARE(QFile::permissions(root + "/kept.ini") & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
            QVERIFY2(!QFile::exists(root + "/config.ini.kavo-new-x1"), "a killed write's file outlived the next write");
            QCOMPARE(QDir(root).entryList(QDir::Files | QDir::Hidden),
                     QStringList({"config.ini", "kept.ini", "marker"}));
            return;
        }
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0].path, refused);
        QVERIFY2(failures[0].reason.contains(reason), qPrintable(failures[0].reason));
        QCOMPARE(testing::treeContents(scratch.path()), before);
    }

    // Nothing but the named entry itself changes, whatever it is.
    void attributesAndRemovalNeverFollowALink()
    {
        QTemporaryDir scratch;
        const QString root = scratch.path() + "/package", outside = scratch.path() + "/outside";
        writeFile(outside + "/x", "outside");
        writeFile(root + "/own.ini", "own");
        QDir().mkpath(root + "/sub");
        QFile::link(outside + "/x", root + "/file-link");
        QFile::link(outside, root + "/folder-link");
        ConfinedFolder folder(root);
        const QFile::Permissions outsidePermissions = QFile::permissions(outside + "/x");

        QVERIFY(!folder.setAttributes("file-link", ini::ReadOnlyAttribute));
        QVERIFY(!folder.setAttributes("folder-link/x", ini::ReadOnlyAttribute));
        QVERIFY(!folder.makeFolder("folder-link"));
        QVERIFY(!folder.makeFolder("folder-link/new"));
        QVERIFY(!folder.remove("folder-link/x"));
        QVERIFY(!ConfinedFolder(folder, "folder-link", false).isOpen());
        QCOMPARE(folder.kindOf("folder-link"), ConfinedFolder::Kind::Link);
        QCOMPARE(folder.readFile("file-link"), std::nullopt);
        QCOMPARE(QFile::permissions(outside + "/x"), outsidePermissions);

        QVERIFY(folder.setAttributes("own.ini", ini::ReadOnlyAttribute));
        QVERIFY(!(QFile::permissions(root + "/own.ini") & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
        QVERIFY(folder.setAttributes("own.ini", ini::NormalAttribute));
        QVERIFY(QFile::permissions(root + "/own.ini") & QFile::WriteOwner);
        QVERIFY(folder.remove("file-link") && folder.remove("folder-link") && folder.remove("sub"));
        QCOMPARE(folder.entryNames(), QStringList{"own.ini"});
        QCOMPARE(testing::treeContents(outside), (QMap<QString, QByteArray>{{"x", "outside"}}));
    }
};
KAVO_TEST(ConfinedFolderTest)
#include "test_confinedfolder.moc"
