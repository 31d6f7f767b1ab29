#include "fuzzsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

QByteArray Input::bytes(size_t n)
{
    n = std::min(n, m_size - std::min(m_pos, m_size));
    const QByteArray result(reinterpret_cast<const char *>(m_data + m_pos), qsizetype(n));
    m_pos += n;
    return result;
}

QString Input::text(int maxBytes)
{
    return QString::fromUtf8(bytes(size_t(below(maxBytes + 1))));
}

QByteArray Input::rest()
{
    return bytes(m_size);
}

QString scratchFolder()
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/kavo-fuzz-XXXXXX")
                                                                          : QDir::tempPath() + QStringLiteral("/kavo-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        std::fprintf(stderr, "no scratch folder\n");
        std::abort();
    }
    return folder.path();
}

QString visible(const QString &text)
{
    QString result;
    for (const QChar c : text) {
        if (c == u'\r')
            result += QLatin1String("\\r");
        else if (c == u'\n')
            result += QLatin1String("\\n");
        else if (c == u'\t')
            result += QLatin1String("\\t");
        else if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            result += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return QLatin1Char('"') + result + QLatin1Char('"');
}

void check(bool condition, const QString &message)
{
    if (condition)
        return;
    const QByteArray text = "\ninvariant violated: " + message.toUtf8() + "\n";
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    std::abort();
}

} // namespace fuzzing
