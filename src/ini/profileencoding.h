#pragma once
// How the profile engine turns a file's bytes into text and back. A BOM names the encoding
// (UTF-16LE, UTF-16BE, UTF-8); a file without one is UTF-8 when it is strictly valid UTF-8 and
// holds at least one multi-byte sequence, and Windows-1252 otherwise. Every Windows-1252 byte,
// the five unassigned ones included, reads as one character and writes back as the same byte.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace ini {

enum class ProfileEncoding { Windows1252, Utf8, Utf8Bom, Utf16LE, Utf16BE };

struct DecodedProfile {
    ProfileEncoding encoding;
    QString text; // without the BOM
    // The last byte of a UTF-16 file of odd length: no code unit, so no text, but it is written
    // back after the text so that no byte is lost.
    QByteArray tail = {};
    // False when encoding the text again cannot give the bytes back: invalid UTF-8 after a UTF-8
    // BOM reads as U+FFFD.
    bool exact = true;
    // True when the bytes are known to be ASCII: then so is every line of the text.
    bool ascii = false;
};

// Decides the encoding of a file's bytes and decodes them.
DecodedProfile decodeProfileBytes(const QByteArray &bytes);
// The bytes of text in an encoding, its BOM first. A Windows-1252 text must fit that code page.
QByteArray encodeProfileText(QStringView text, ProfileEncoding encoding);

// True when every character of text has a byte in Windows-1252.
bool fitsWindows1252(QStringView text);
QByteArray toWindows1252(QStringView text);
// Strictly well-formed UTF-8: no overlong forms, no encoded surrogates, nothing above U+10FFFF.
bool isStrictUtf8(QByteArrayView bytes);

} // namespace ini
