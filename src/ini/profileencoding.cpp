#include "profileencoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace ini {

namespace {

// Bytes 80-9F of Windows-1252. The five unassigned bytes (81 8D 8F 90 9D) stand for the control
// character of the same number, so they survive a read and a write unchanged.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The Windows-1252 byte of a character, or -1 when the code page has none.
int windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    const auto found = std::find(std::begin(windows1252High), std::end(windows1252High), c);
    return found == std::end(windows1252High) ? -1 : 0x80 + int(found - std::begin(windows1252High));
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto b = uchar(byte);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? windows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

// UTF-8 is decoded without dropping a leading U+FEFF: after the BOM it is part of the text.
QString fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

QString fromUtf16(QByteArrayView bytes, bool bigEndian)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = 0; i < text.size(); ++i, in += 2)
        text[i] = QChar(bigEndian ? char16_t(in[0] << 8 | in[1]) : char16_t(in[1] << 8 | in[0]));
    return text;
}

QByteArray toUtf16(QStringView text, bool bigEndian)
{
    QByteArray bytes(text.size() * 2 + 2, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    auto put = [&](char16_t unit) {
        *out++ = uchar(bigEndian ? unit >> 8 : unit & 0xFF);
        *out++ = uchar(bigEndian ? unit & 0xFF : unit >> 8);
    };
    put(0xFEFF);
    for (const QChar c : text)
        put(c.unicode());
    return bytes;
}

// Eight bytes at a time: a package's files are mostly ASCII, and megabytes long.
bool hasNonAscii(QByteArrayView bytes)
{
    const char *p = bytes.data(), *end = p + bytes.size();
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, sizeof word);
        if (word & 0x8080808080808080ull)
            return true;
    }
    return std::any_of(p, end, [](char b) { return uchar(b) >= 0x80; });
}

} // namespace

bool isStrictUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        // The well-formed sequences: the lead byte fixes the length and the range of the second
        // byte, which rules out overlong forms, surrogates and code points above U+10FFFF.
        int length = 0;
        uchar secondMin = 0x80, secondMax = 0xBF;
        if (*p >= 0xC2 && *p <= 0xDF) {
            length = 2;
        } else if (*p >= 0xE0 && *p <= 0xEF) {
            length = 3;
            if (*p == 0xE0)
                secondMin = 0xA0;
            if (*p == 0xED)
                secondMax = 0x9F;
        } else if (*p >= 0xF0 && *p <= 0xF4) {
            length = 4;
            if (*p == 0xF0)
                secondMin = 0x90;
            if (*p == 0xF4)
                secondMax = 0x8F;
        } else {
            return false;
        }
        if (end - p < length || p[1] < secondMin || p[1] > secondMax)
            return false;
        for (int i = 2; i < length; ++i) {
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        }
        p += length;
    }
    return true;
}

bool fitsWindows1252(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return windows1252Byte(c.unicode()) >= 0; });
}

QByteArray toWindows1252(QStringView text)
{
    // ASCII, most files, is Latin-1 as well, which Qt converts fast.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text)
        *out++ = char(c.unicode() < 0x80 ? c.unicode() : windows1252Byte(c.unicode()));   // mostly ASCII
    return bytes;
}

DecodedProfile decodeProfileBytes(const QByteArray &bytes)
{
    const QByteArray oddByte = bytes.size() % 2 ? bytes.last(1) : QByteArray();
    if (bytes.startsWith("\xFF\xFE"))
        return {ProfileEncoding::Utf16LE, fromUtf16(QByteArrayView(bytes).sliced(2), false), oddByte};
    if (bytes.startsWith("\xFE\xFF"))
        return {ProfileEncoding::Utf16BE, fromUtf16(QByteArrayView(bytes).sliced(2), true), oddByte};
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        const QByteArrayView body = QByteArrayView(bytes).sliced(3);
        return {ProfileEncoding::Utf8Bom, fromUtf8(body), {}, isStrictUtf8(body)};
    }
    if (!hasNonAscii(bytes))   // ASCII reads the same in Windows-1252 and Latin-1, which Qt decodes fast
        return {ProfileEncoding::Windows1252, QString::fromLatin1(bytes), {}, true, true};
    if (isStrictUtf8(bytes))
        return {ProfileEncoding::Utf8, fromUtf8(bytes)};
    return {ProfileEncoding::Windows1252, fromWindows1252(bytes)};
}

QByteArray encodeProfileText(QStringView text, ProfileEncoding encoding)
{
    switch (encoding) {
    case ProfileEncoding::Windows1252:
        return toWindows1252(text);
    case ProfileEncoding::Utf8:
        return text.toUtf8();
    case ProfileEncoding::Utf8Bom:
        return "\xEF\xBB\xBF" + text.toUtf8();
    case ProfileEncoding::Utf16LE:
        return toUtf16(text, false);
    case ProfileEncoding::Utf16BE:
        return toUtf16(text, true);
    }
    return {};
}

} // namespace ini
