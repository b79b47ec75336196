#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace core {

// MD5 message digest (RFC 1321), fed in pieces.
class Md5 {
public:
    Md5() { Reset(); }
    void Reset();
    void Update(const uint8_t* data, std::size_t n);
    // Finishes the digest; the object must be Reset before it is fed again.
    void Final(uint8_t digest[16]);
    // Finishes and returns the 32 lower-case hex digits.
    QString FinalHex();

private:
    void Block(const uint8_t* p);

    uint32_t state_[4];
    uint64_t count_ = 0; // bytes fed in
    uint8_t buffer_[64];
};

// The GBK byte count of a text.
int AnsiByteLen(const QString& s);

// The GBK bytes of a text followed by one extra 0.
QByteArray StringToAnsiBytes(const QString& s);

// MD5 of the text's GBK bytes in lower-case hex; "" for an empty text.
QString Md5String(const QString& s);

// MD5 of bytes[0..n) in lower-case hex (n = 0 gives the digest of nothing).
QString Md5Bytes(std::size_t n, const uint8_t* bytes);

// MD5 of a whole file in lower-case hex. Never fails: a file that cannot be
// found or read digests as far as it could be read (nothing, for a missing
// file).
QString FileMD5(const QString& path);

} // namespace core
