#include "testmain.h"
#include "ini/profile.h"
#include "ini/profileencoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <optional>
#include <random>

using namespace ini;

// Random files, random calls on them. After every call the engine's copy is what reading the
// bytes gives, a value reads back as written, and the call left alone what it had no business
// with; a fresh engine (reading the file for every call) and a batch read and write exactly what
// the cached engine does. PROFILE_RANDOM_SEED and PROFILE_RANDOM_CASES replay or widen a run.
namespace {

enum Op { Read, Write, DeleteKey, DeleteSection, ClearSection };
struct Call {
    Op op;
    QString section, key, value;
};
struct Case {
    std::optional<QByteArray> bytes; // none: no file
    QList<Call> calls;
};

// The names files and calls use. The last ones of each list are written, but read back as
// something else (a line break, "=", a leading ";", or "[" with "]").
const QStringList sectionNames = {"A", "b", "Sec", "été", "Ж", "", "New", "s\rt", "x\ny"};
const QStringList keyNames = {"k", "Key", "é", "ж", "", "two words", "a=b", ";c", "[k]", "l\nm"};
constexpr int plainSections = 7, plainKeys = 6;

class Generator {
public:
    explicit Generator(quint32 seed) : m_rng(seed) {}

    Case next()
    {
        // Lines before the first header, then sections, which often end in blank lines.
        QStringList lines, sections, keys; // sections and keys: the file's, which most calls aim at
        for (int section = pick(5), body = pick(3); section >= 0; --section, body = pick(5)) {
            if (!lines.isEmpty() || body == 0 || chance(50))
                lines << blanks() + '[' + blanks() + (sections << name(sectionNames, 6)).constLast() + blanks() + ']'
                             + (chance(20) ? " ; n" : "");
            for (int i = 0; i < body; ++i) {
                const int kind = pick(10);
                lines << (kind < 4   ? blanks() + (keys << name(keyNames, 6)).constLast() + blanks() + '=' + blanks()
                                           + chars(5, "x€©Ã") + blanks()
                          : kind < 5 ? ';' + chars(5, "=€")
                          : kind < 6 ? (chance(50) ? QStringLiteral("[S5") : chars(4, "©"))
                                     : (chance(70) ? QString() : blanks()));
            }
        }
        // Every ending, mixed; often a first line ending in CR (new lines end like it) and empty
        // lines ending in LF: after a line ending in CR, such a line reads as part of its CR LF.
        QString text;
        for (int i = 0; i < lines.size(); ++i) {
            text += lines[i];
            if (i + 1 < lines.size() || chance(50))
                text += i == 0 && chance(50)                ? "\r"
                        : lines[i].isEmpty() && chance(50) ? "\n"
                                                            : QStringList{"\r\n", "\n", "\r"}[pick(3)];
        }
        QByteArray bytes;
        const int encoding = pick(7);
        if (encoding < 2) {
            for (QChar &c : text)
                c = fitsWindows1252(QStringView(&c, 1)) ? c : QChar(u'?');
            bytes = toWindows1252(text);
        } else if (encoding == 2) {
            bytes = text.toUtf8();
        } else if (encoding == 3) {
            bytes = "\xEF\xBB\xBF" + text.toUtf8();
            if (chance(25))
                bytes.insert(3 + pick(bytes.size() - 2), '\xFF'); // not UTF-8: the file cannot be written
        } else {
            // UTF-16LE with BOM, UTF-16LE without (read as Windows-1252), UTF-16BE; often of odd length
            const bool big = encoding == 6;
            for (const QChar c : (encoding == 5 ? QString() : QString(QChar(0xFEFF))) + text) {
                const char low = char(c.unicode()), high = char(c.unicode() >> 8);
                bytes.append(big ? high : low).append(big ? low : high);
            }
            if (chance(50))
                bytes += char(pick(256));
        }
        Case made{chance(5) ? std::nullopt : std::optional(bytes), {}};
        for (int i = pick(10); i >= 0; --i) {
            const int r = pick(100);
            const Op op = r < 15 ? Read : r < 60 ? Write : r < 78 ? DeleteKey : r < 89 ? DeleteSection : ClearSection;
            const QString section = chance(60) && !sections.isEmpty() ? sections[pick(sections.size())]
                                                                      : name(sectionNames, chance(3) ? 9 : 7);
            const QString key = chance(40) && !keys.isEmpty() ? keys[pick(keys.size())]
                                                              : name(keyNames, chance(4) ? 10 : 6);
            made.calls.append({op, blanks() + section + blanks(), blanks() + key + blanks(), chars(6, "\r\n\"'")});
        }
        return made;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(int percent) { return pick(100) < percent; }
    QString blanks() { return QStringList{"", "", " ", "\t", "  "}[pick(5)]; }
    QString name(const QStringList &names, int among)
    {
        const QString chosen = names[pick(among)];
        return chance(25) ? chosen.toUpper() : chance(25) ? chosen.toLower() : chosen;
    }
    // Up to n characters: letters, blanks, quotes, "=;[]", NUL, é ß (in Windows-1252), ж 中 😀
    // (beyond it), and the extras. Without extras they never make a line valid UTF-8 in a file
    // without BOM, which would change how the whole file reads.
    QString chars(int n, const QString &extras)
    {
        static const QStringList common = {"a", "b", "z", " ", "\t", "\"", "'", "=", ";", "[", "]",
                                           QString(QChar(0)), "é", "ß", "ж", "中", "😀"};
        QString result;
        for (int i = pick(n + 1); i > 0; --i) {
            const int k = pick(common.size() + extras.size());
            result += k < common.size() ? common[k] : QString(extras[k - common.size()]);
        }
        return result;
    }
    std::mt19937 m_rng;
};

QString describe(const Case &made)
{
    const auto quoted = [](QString text) {
        text.replace('\r', "\\r").replace('\n', "\\n").replace('\t', "\\t").replace(QChar(0), "\\0");
        return '"' + text + '"';
    };
    static const char *const ops[] = {"read", "write", "delete key", "delete section", "clear section"};
    QString text = made.bytes ? "file " + QString::fromLatin1(made.bytes->toHex(' ')) : "no file";
    for (const Call &call : made.calls)
        text += QStringLiteral("\n  %1 [%2] %3 %4")
                    .arg(ops[call.op], quoted(call.section), quoted(call.key), quoted(call.value));
    return text;
}

QString trimmedBlanks(QString text)
{
    while (text.startsWith(' ') || text.startsWith('\t'))
        text.remove(0, 1);
    while (text.endsWith(' ') || text.endsWith('\t'))
        text.chop(1);
    return text;
}

bool sameName(const QString &a, const QString &b)
{
    return trimmedBlanks(a).toCaseFolded() == trimmedBlanks(b).toCaseFolded();
}

// What reading a value back gives: line breaks as spaces, trimmed, one pair of quotes removed.
QString readBack(QString value)
{
    value = trimmedBlanks(value.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' '));
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
        value = value.mid(1, value.size() - 2);
    return value;
}

QByteArray bom(const QByteArray &bytes)
{
    for (const char *mark : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"}) {
        if (bytes.startsWith(mark))
            return mark;
    }
    return {};
}

// The units of a file's lines after its BOM: 16-bit units in UTF-16 (a stray last byte is one
// more unit, U+F700 + the byte), bytes otherwise.
QString units(const QByteArray &bytes)
{
    if (bom(bytes).size() != 2)
        return QString::fromLatin1(bytes.sliced(bom(bytes).size()));
    QString result;
    const int high = bytes.startsWith("\xFE\xFF") ? 0 : 1;
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
        result += QChar(uchar(bytes[i + high]) << 8 | uchar(bytes[i + 1 - high]));
    if (bytes.size() % 2)
        result += QChar(0xF700 + uchar(bytes.back()));
    return result;
}

// Whether the bytes show that the call left alone what it had no business with: a write changes
// at most one line's text (it may add lines and an ending), a key's deletion removes one line,
// nothing else adds anything, and no call loses the stray byte of a UTF-16 file.
QString keptUntouched(Op op, const QByteArray &before, const QByteArray &after)
{
    QString was = units(before), now = units(after);
    if (bom(before).isEmpty() && bom(after) == "\xFF\xFE") { // a character beyond Windows-1252
        was = decodeProfileBytes(before).text;
        now = decodeProfileBytes(after).text;
    } else if (!before.isEmpty() && bom(before) != bom(after)) {
        return "the BOM changed";
    }
    qsizetype same = 0, end = 0;
    while (same < was.size() && same < now.size() && was[same] == now[same])
        ++same;
    while (end < was.size() - same && end < now.size() - same
           && was[was.size() - 1 - end] == now[now.size() - 1 - end])
        ++end;
    const QStringView removed = QStringView(was).sliced(same, was.size() - same - end);
    const qsizetype breaks = removed.count(u'\r') + removed.count(u'\n');
    const auto stray = [](QChar c) { return c.unicode() >= 0xF700 && c.unicode() <= 0xF7FF; };
    if (std::any_of(removed.begin(), removed.end(), stray))
        return "the stray last byte is lost";
    if ((op == Write && breaks > 0) || (op == DeleteKey && breaks > 2))
        return "other lines changed";
    if (op != Write && now.size() - same - end > 0)
        return "a read or a deletion added text";
    return {};
}

struct Trace {
    QList<bool> results;
    QList<QStringList> reads; // every plain section and key, after each call
    QList<QByteArray> files;  // the file after each call, or after the commit of a batch
};

enum class Mode { Cached, Fresh, Batched };

// Runs a case; returns what went wrong, or nothing.
QString run(const Case &made, const QString &path, Mode mode, Trace &trace)
{
    QFile::remove(path);
    if (made.bytes)
        testing::writeFile(path, *made.bytes);
    clearProfileCache();
    std::optional<ProfileBatch> batch;
    if (mode == Mode::Batched)
        batch.emplace();
    const auto readAll = [&] {
        QStringList reads;
        for (int r = 0; r < plainSections * plainKeys; ++r)
            reads.append(readProfileString(path, sectionNames[r / plainKeys], keyNames[r % plainKeys]));
        return reads;
    };
    QByteArray before = testing::readFile(path);
    QStringList readsBefore = readAll();
    for (int i = 0; i < made.calls.size(); ++i) {
        const Call &call = made.calls[i];
        const QString at = QStringLiteral("call %1: ").arg(i + 1);
        if (mode == Mode::Fresh)
            clearProfileCache();
        const bool existed = QFile::exists(path);
        bool done = true;
        switch (call.op) {
        case Read: readProfileString(path, call.section, call.key); break;
        case Write: done = writeProfileString(path, call.section, call.key, call.value); break;
        case DeleteKey: done = deleteProfileKey(path, call.section, call.key); break;
        case DeleteSection: done = deleteProfileSection(path, call.section); break;
        case ClearSection: done = clearProfileSection(path, call.section); break;
        }
        if (!profileCacheIsConsistent(path))
            return at + "the engine's copy differs from reading the bytes again";
        if (mode == Mode::Fresh)
            clearProfileCache();
        const QStringList reads = readAll();
        const QByteArray after = testing::readFile(path);
        trace.results.append(done);
        trace.reads.append(reads);
        if (mode != Mode::Batched)
            trace.files.append(after);
        if (mode != Mode::Cached)
            continue;

        const bool unwritable = before.startsWith("\xEF\xBB\xBF") && !isStrictUtf8(before.sliced(3));
        if (!done && !unwritable)
            return at + "failed";
        if ((!done || unwritable) && after != before)
            return at + (done ? "rewrote a file whose text is not its bytes" : "failed, yet changed the file");
        if (call.op != Write && !existed && QFile::exists(path))
            return at + "created the file";
        if (const QString kept = keptUntouched(call.op, before, after); !kept.isEmpty())
            return at + kept;
        const auto odd = [](const QString &name) {
            return std::any_of(name.begin(), name.end(), [](QChar c) { return QStringView(u"\r\n=;[").contains(c); });
        };
        const bool plain = !odd(call.section) && !odd(call.key);
        if (call.op == Write && done && plain
            && readProfileString(path, call.section, call.key) != readBack(call.value))
            return at + "the value does not read back as written";
        // Every other value reads as before, unless the bytes changed between UTF-8 and
        // Windows-1252, which changes the text of the whole file.
        const auto encodingOf = [](const QByteArray &bytes) { return decodeProfileBytes(bytes).encoding; };
        const bool rejudged = encodingOf(before) != encodingOf(after)
                              && encodingOf(after) != ProfileEncoding::Utf16LE;
        for (int r = 0; plain && !rejudged && r < reads.size(); ++r) {
            const bool target = call.op != Read && sameName(sectionNames[r / plainKeys], call.section)
                                && (call.op >= DeleteSection || sameName(keyNames[r % plainKeys], call.key));
            if (!target && reads[r] != readsBefore[r])
                return at + QStringLiteral("[%1] %2 changed").arg(sectionNames[r / plainKeys], keyNames[r % plainKeys]);
        }
        before = after;
        readsBefore = reads;
    }
    // The batch fails exactly when it had to refuse an edit, and names the file.
    const bool refused = trace.results.contains(false);
    if (batch && batch->commit() == refused)
        return refused ? "the batch hid a refused edit" : "the batch failed";
    if (batch && refused && batch->failedFiles() != QStringList{QFileInfo(path).absoluteFilePath()})
        return "the batch did not name the file whose edit it refused";
    if (batch)
        trace.files.append(testing::readFile(path));
    return {};
}

} // namespace

class ProfileRandomTest : public QObject {
    Q_OBJECT
    // Every write syncs its file, which takes milliseconds on a disk: where the system keeps a
    // folder in memory, the files go there.
    QTemporaryDir m_dir{QDir("/dev/shm").exists() ? "/dev/shm/profile-random-XXXXXX"
                                                  : QDir::tempPath() + "/profile-random-XXXXXX"};

private slots:
    void randomCallsOnRandomFiles()
    {
        const auto setting = [](const char *name, int otherwise) {
            return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : otherwise;
        };
        const auto seed = quint32(setting("PROFILE_RANDOM_SEED", 20240611));
        const int cases = setting("PROFILE_RANDOM_CASES", 300);
        Generator generator(seed);
        for (int n = 1; n <= cases; ++n) {
            const Case made = generator.next();
            Trace cached, fresh, batched;
            QString failure = run(made, m_dir.filePath("cached.ini"), Mode::Cached, cached);
            if (failure.isEmpty())
                failure = run(made, m_dir.filePath("fresh.ini"), Mode::Fresh, fresh);
            if (failure.isEmpty())
                failure = run(made, m_dir.filePath("batched.ini"), Mode::Batched, batched);
            const auto differ = [](const Trace &a, const Trace &b) {
                return a.results != b.results || a.reads != b.reads;
            };
            if (failure.isEmpty() && (differ(fresh, cached) || fresh.files != cached.files))
                failure = "a fresh engine reads or writes otherwise than the cached one";
            if (failure.isEmpty() && (differ(batched, cached) || batched.files.constLast() != cached.files.constLast()))
                failure = "a batch reads or writes otherwise than single calls";
            if (!failure.isEmpty())
                QFAIL(qPrintable(
                    QStringLiteral("seed %1, case %2: %3\n%4").arg(seed).arg(n).arg(failure, describe(made))));
        }
    }
};
KAVO_TEST(ProfileRandomTest)
#include "test_profile_random.moc"
