// The profile engine under random calls on random files.
//
// Input: a file's bytes, then the separator "%%calls%%", then a script. The script's first byte
// holds flags (bit 0: start without a file; bit 1: forget the cache before every call of the
// plain run); then each call is an operation byte followed by its arguments: a section and a key
// (a byte choosing a name from the tables below, in some case and padding, or 0xF0 + n followed
// by n bytes of UTF-8), a value (a length byte and that many bytes of UTF-8; 0xFF: a value of
// 3000 characters) and, for a read, a buffer size.
//
// The script runs twice on two copies of the file. The plain run makes every call on its own;
// the batched run makes the same calls, and opens and commits (nested) batches where the script
// says so. Both runs forget the engine's cache where the script says so.
//
// Invariants (a violation aborts):
// - After every call of either run, the engine's copy of the file is what reading the file's
//   bytes (or the bytes an open batch will write) gives again: profileCacheIsConsistent.
// - A call fails only on a file that cannot be written (invalid UTF-8 after a UTF-8 BOM), and
//   then leaves the file's bytes alone; only a write creates a missing file.
// - Lines a call had no business with keep their bytes: a write changes at most one line's text
//   (it may add lines and an ending to the last line), a key's deletion removes one line, reads
//   add and remove nothing, deletions and empties only remove; the BOM stays, except that a
//   character beyond Windows-1252 turns the file into UTF-16LE, whose text then keeps every
//   untouched line; the stray last byte of a UTF-16 file is never lost.
// - A value written reads back as written, by the recorded rule: line breaks become spaces,
//   blanks at either end go, one pair of enclosing quotes goes, and at most 2047 code units come
//   back (2046 where the 2047th is the first half of a surrogate pair); unless the name reads
//   back as something else (a line break, "=", ";" or "[" in it) or the write changed how the
//   bytes decode (Windows-1252 bytes that became valid UTF-8, or the other way round).
// - Every other value (the tables' names, read after every call) reads as before the call.
// - A read with a buffer of n code units gives the first n - 1 code units of the whole value, or
//   n - 2 where the cut would split a surrogate pair.
// - Both runs give the same results and reads after every call, and the same file bytes
//   whenever no batch is open: a batch, a forgotten cache and a fresh engine change nothing.
//   The outermost batch's commit fails exactly when a call made while it was open failed; an
//   inner batch's commit writes nothing and succeeds.
// - Nothing crashes, overflows, leaks or hits undefined behaviour (the sanitizers).
#include "fuzzsupport.h"

#include "ini/profile.h"
#include "ini/profileencoding.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

using namespace ini;
using fuzzing::check;
using fuzzing::visible;

namespace {

// The names calls use; the last ones of each table are written, but read back as something else.
const QStringList sectionNames = {"A", "b", "Sec", "été", "Ж", "", "Menu1", "Access Text", "s\rt", "x\ny", "[q]", ";c"};
const QStringList keyNames = {"k", "Key", "é", "ж", "", "two words", "SubMenu1", "TEXT11", "a=b", ";c", "[k]", "l\nm"};
constexpr int plainSections = 8, plainKeys = 8;
constexpr int maxCalls = 48;

enum Op { Read, Write, DeleteKey, DeleteSection, ClearSection, Batch, ForgetCache };

struct Call {
    Op op;
    QString section, key, value;
    int bufferSize = 2048;
    bool open = false; // a batch: open one, or commit the innermost
};

QString name(fuzzing::Input &input, const QStringList &names)
{
    const int b = input.byte();
    if (b >= 0xF0)
        return QString::fromUtf8(input.bytes(size_t(b & 0x0F)));
    const QString chosen = names[b % names.size()];
    switch (b / names.size() % 4) {
    case 1: return chosen.toUpper();
    case 2: return chosen.toLower();
    case 3: return QStringLiteral(" \t") + chosen + QLatin1Char(' ');
    default: return chosen;
    }
}

std::vector<Call> parseScript(fuzzing::Input &input)
{
    std::vector<Call> calls;
    while (!input.atEnd() && calls.size() < maxCalls) {
        const int b = input.byte();
        Call call{Read, {}, {}, {}};
        switch (b % 10) {
        case 0: call.op = Read; break;
        case 1: case 2: case 3: call.op = Write; break;
        case 4: call.op = DeleteKey; break;
        case 5: call.op = DeleteSection; break;
        case 6: call.op = ClearSection; break;
        case 7: case 8: call.op = Batch; call.open = b % 10 == 7; break;
        default: call.op = ForgetCache; break;
        }
        if (call.op <= ClearSection)
            call.section = name(input, sectionNames);
        if (call.op <= DeleteKey)
            call.key = name(input, keyNames);
        if (call.op == Write) {
            const int length = input.byte();
            if (length == 0xFF)
                call.value = QString::fromUtf8(input.bytes(4)).repeated(1000).left(3000);
            else
                call.value = QString::fromUtf8(input.bytes(size_t(length % 96)));
        }
        if (call.op == Read) {
            const int size = input.byte();
            call.bufferSize = size == 0xFF ? 2048 : 1 + size * 9;
        }
        calls.push_back(call);
    }
    return calls;
}

QString describe(const QByteArray &bytes, bool noFile, const std::vector<Call> &calls)
{
    static const char *const ops[] = {"read", "write", "delete key", "delete section", "clear section", "batch",
                                      "forget the cache"};
    QString text = noFile ? QStringLiteral("no file") : QStringLiteral("file ") + QString::fromLatin1(bytes.toHex(' '));
    for (const Call &call : calls) {
        text += QStringLiteral("\n  ") + QLatin1String(ops[call.op]);
        if (call.op == Batch)
            text += call.open ? QStringLiteral(" open") : QStringLiteral(" commit");
        if (call.op <= ClearSection)
            text += QLatin1Char(' ') + visible(call.section);
        if (call.op <= DeleteKey)
            text += QLatin1Char(' ') + visible(call.key);
        if (call.op == Write)
            text += QLatin1Char(' ') + visible(call.value.left(200));
        if (call.op == Read)
            text += QStringLiteral(" size %1").arg(call.bufferSize);
    }
    return text;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimmedBlanks(QString text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Names match when equal after trimming and simple case folding of each UTF-16 code unit.
bool sameName(const QString &a, const QString &b)
{
    const QString x = trimmedBlanks(a), y = trimmedBlanks(b);
    return x.size() == y.size()
           && std::equal(x.begin(), x.end(), y.begin(), [](QChar p, QChar q) { return p.toCaseFolded() == q.toCaseFolded(); });
}

// A name whose line may read back as something else.
bool odd(const QString &name)
{
    return std::any_of(name.begin(), name.end(), [](QChar c) { return QStringView(u"\r\n=;[").contains(c); });
}

// The first size code units of a value, without the first half of a pair the cut would split.
QString cut(const QString &value, qsizetype size)
{
    if (size < value.size() && size > 0 && value[size - 1].isHighSurrogate() && value[size].isLowSurrogate())
        --size;
    return value.left(size);
}

// What reading a written value back gives.
QString readBack(QString value)
{
    value = trimmedBlanks(value.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\r', u' ').replace(u'\n', u' '));
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\''))
        value = value.mid(1, value.size() - 2);
    return cut(value, 2047);
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
// more unit), bytes otherwise.
QString units(const QByteArray &bytes)
{
    if (bom(bytes).size() != 2)
        return QString::fromLatin1(bytes.sliced(bom(bytes).size()));
    QString result;
    const int high = bytes.startsWith("\xFE\xFF") ? 0 : 1;
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
        result += QChar(uchar(bytes[i + high]) << 8 | uchar(bytes[i + 1 - high]));
    if (bytes.size() % 2)
        result += QChar(uchar(bytes.back()));
    return result;
}

// Empty when the call left alone what it had no business with; else what it did.
QString keptUntouched(Op op, const QByteArray &before, const QByteArray &after)
{
    QString was = units(before), now = units(after);
    if (bom(before).isEmpty() && bom(after) == "\xFF\xFE") { // a character beyond Windows-1252
        was = decodeProfileBytes(before).text;
        now = decodeProfileBytes(after).text;
    } else if (!before.isEmpty() && bom(before) != bom(after)) {
        return QStringLiteral("the BOM changed");
    }
    qsizetype same = 0, end = 0;
    while (same < was.size() && same < now.size() && was[same] == now[same])
        ++same;
    while (end < was.size() - same && end < now.size() - same && was[was.size() - 1 - end] == now[now.size() - 1 - end])
        ++end;
    const QStringView removed = QStringView(was).sliced(same, was.size() - same - end);
    const qsizetype breaks = removed.count(u'\r') + removed.count(u'\n');
    if (bom(before).size() == 2 && before.size() % 2 && (after.size() % 2 == 0 || after.back() != before.back()))
        return QStringLiteral("the stray last byte is lost");
    if ((op == Write && breaks > 0) || (op == DeleteKey && breaks > 2))
        return QStringLiteral("other lines changed");
    if (op != Write && now.size() - same - end > 0)
        return QStringLiteral("a read, deletion or empty added text");
    return {};
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList readAll(const QString &path)
{
    QStringList reads;
    for (int s = 0; s < plainSections; ++s) {
        for (int k = 0; k < plainKeys; ++k)
            reads.append(readProfileString(path, sectionNames[s], keyNames[k]));
    }
    return reads;
}

struct Step {
    bool result = true;
    QString read;       // what a read gave
    QStringList reads;  // every plain name after the call
    QByteArray bytes;   // the file after the call
};

bool perform(const Call &call, const QString &path, QString *read)
{
    switch (call.op) {
    case Read: *read = readProfileString(path, call.section, call.key, call.bufferSize); return true;
    case Write: return writeProfileString(path, call.section, call.key, call.value);
    case DeleteKey: return deleteProfileKey(path, call.section, call.key);
    case DeleteSection: return deleteProfileSection(path, call.section);
    case ClearSection: return clearProfileSection(path, call.section);
    case Batch: case ForgetCache: return true;
    }
    return true;
}

void prepare(const QString &path, const QByteArray &bytes, bool noFile)
{
    QFile::remove(path);
    if (!noFile) {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "cannot write " + path);
    }
}

// Every call on its own, checked against the bytes before and after it.
std::vector<Step> runPlain(const QString &path, const std::vector<Call> &calls, bool forgetEachTime,
                           const QString &context)
{
    std::vector<Step> steps;
    clearProfileCache();
    QByteArray before = fileBytes(path);
    QStringList readsBefore = readAll(path);
    for (size_t i = 0; i < calls.size(); ++i) {
        const Call &call = calls[i];
        const QString at = QStringLiteral("plain run, call %1: ").arg(i + 1);
        const auto fail = [&](const QString &what) { check(false, at + what + "\n" + context); };
        if (forgetEachTime || call.op == ForgetCache)
            clearProfileCache();
        const bool existed = QFile::exists(path);
        Step step;
        step.result = perform(call, path, &step.read);
        if (!profileCacheIsConsistent(path))
            fail("the engine's copy differs from reading the bytes again");
        step.reads = readAll(path);
        step.bytes = fileBytes(path);
        const QByteArray &after = step.bytes;

        const bool unwritable = before.startsWith("\xEF\xBB\xBF") && !isStrictUtf8(before.sliced(3));
        if (!step.result && !unwritable)
            fail("the call failed");
        if ((!step.result || unwritable) && after != before)
            fail("the file changed although it cannot be written");
        if (call.op != Write && !existed && QFile::exists(path))
            fail("created the file");
        if (const QString kept = keptUntouched(call.op, before, after); !kept.isEmpty())
            fail(kept);
        if (call.op == Read) {
            const QString whole = readProfileString(path, call.section, call.key, 1 << 20);
            if (step.read != cut(whole, call.bufferSize - 1))
                fail("a read is not the start of the whole value");
        }
        const auto encodingOf = [](const QByteArray &bytes) { return decodeProfileBytes(bytes).encoding; };
        const bool rejudged = encodingOf(before) != encodingOf(after) && encodingOf(after) != ProfileEncoding::Utf16LE;
        const bool plain = !odd(call.section) && !odd(call.key);
        if (call.op == Write && step.result && plain && !rejudged) {
            const QString value = readProfileString(path, call.section, call.key);
            if (value != readBack(call.value))
                fail("the value reads back as " + visible(value));
        }
        for (int r = 0; plain && !rejudged && r < step.reads.size(); ++r) {
            const QString &section = sectionNames[r / plainKeys], &key = keyNames[r % plainKeys];
            const bool target = call.op >= Write && call.op <= ClearSection && sameName(section, call.section)
                                && (call.op >= DeleteSection || sameName(key, call.key));
            if (!target && step.reads[r] != readsBefore[r])
                fail(QStringLiteral("[%1] %2 changed").arg(visible(section), visible(key)));
        }
        before = after;
        readsBefore = step.reads;
        steps.push_back(step);
    }
    return steps;
}

// The same calls, with the script's batches, compared with the plain run after every call.
void runBatched(const QString &path, const std::vector<Call> &calls, const std::vector<Step> &plain,
                const QString &context)
{
    clearProfileCache();
    std::vector<std::unique_ptr<ProfileBatch>> batches;
    bool refused = false;   // a call failed since the outermost batch opened: its commit reports it
    const auto commitInnermost = [&](const QString &at) {
        const bool outermost = batches.size() == 1;
        check(batches.back()->commit() == (!outermost || !refused),
              at + (refused && outermost ? "the batch hid a refused edit\n" : "the batch failed\n") + context);
        batches.pop_back();
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        const Call &call = calls[i];
        const QString at = QStringLiteral("batched run, call %1: ").arg(i + 1);
        if (call.op == ForgetCache)
            clearProfileCache();
        if (call.op == Batch && call.open && batches.size() < 3) {
            refused = refused && !batches.empty();
            batches.push_back(std::make_unique<ProfileBatch>());
        } else if (call.op == Batch && !batches.empty()) {
            commitInnermost(at);
        }
        Step step;
        step.result = perform(call, path, &step.read);
        refused = refused || (!batches.empty() && !step.result);
        check(profileCacheIsConsistent(path), at + "the engine's copy differs from reading the bytes again\n" + context);
        check(step.result == plain[i].result && step.read == plain[i].read,
              at + "the call gives otherwise than in the plain run\n" + context);
        check(readAll(path) == plain[i].reads, at + "values read otherwise than in the plain run\n" + context);
        if (batches.empty())
            check(fileBytes(path) == plain[i].bytes, at + "the file differs from the plain run's\n" + context);
    }
    while (!batches.empty())
        commitInnermost(QStringLiteral("the last batch: "));
    check(fileBytes(path) == (plain.empty() ? fileBytes(path) : plain.back().bytes),
          "after the last commit the file differs from the plain run's\n" + context);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    static const QByteArray separator = "%%calls%%";
    const qsizetype split = input.indexOf(separator);
    const QByteArray bytes = split < 0 ? input : input.left(split);
    const QByteArray script = split < 0 ? QByteArray() : input.mid(split + separator.size());

    fuzzing::Input reader(reinterpret_cast<const uint8_t *>(script.constData()), size_t(script.size()));
    const int flags = reader.byte();
    const bool noFile = flags & 1, forgetEachTime = flags & 2;
    const std::vector<Call> calls = parseScript(reader);
    const QString context = describe(bytes, noFile, calls);

    static const QString folder = fuzzing::scratchFolder();
    const QString plainPath = folder + QStringLiteral("/plain.ini"), batchedPath = folder + QStringLiteral("/batched.ini");
    prepare(plainPath, bytes, noFile);
    prepare(batchedPath, bytes, noFile);
    const std::vector<Step> plain = runPlain(plainPath, calls, forgetEachTime, context);
    runBatched(batchedPath, calls, plain, context);
    if (noFile && plain.empty())
        check(!QFile::exists(plainPath) && !QFile::exists(batchedPath), "a file appeared without a call");
    clearProfileCache();
    return 0;
}
