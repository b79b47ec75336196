#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

// Text on the wire and in files is GBK (code page 936). These are the only
// functions that convert between it and QString.
namespace platform::gbk {

// GBK bytes of one character (a Unicode code point): one byte for ASCII and
// the other single-byte codes, two (lead, trail) for double-byte characters,
// and "?" for a character the code page cannot represent.
QByteArray EncodeChar(char32_t codePoint);

// GBK bytes of a whole text, character by character as EncodeChar.
QByteArray Encode(const QString& text);

// Number of GBK bytes Encode(text) gives.
int ByteLength(const QString& text);

// Decodes a GBK field of `size` bytes, ending at its first zero byte. A byte
// of 0x80 or more is a lead byte and takes the next byte as its trail; a lead
// byte cut off by the end of the field gives "?" and nothing past the field
// is read. Pairs the code page does not define give "?".
QString Decode(const uint8_t* bytes, std::size_t size);
inline QString Decode(const QByteArray& bytes)
{
    return Decode(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
}

// The longest start of GBK bytes that is at most maxBytes long and ends on
// a character's end: a double-byte character is never cut in half.
QByteArray CutBytes(const QByteArray& bytes, int maxBytes);

// True when the text's first character takes a single GBK byte (also for an
// empty text).
bool IsSingleByte(const QString& text);

} // namespace platform::gbk
