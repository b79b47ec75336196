#include "platform/gbk.h"

#include <cerrno>
#include <iconv.h>

namespace platform::gbk {
namespace {

// One converter per direction, opened on first use. GBK is stateless, so a
// converter carries nothing from one call to the next.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in[0..inLen) into out; returns the bytes written or -1.
    int Convert(const char* in, std::size_t inLen, char* out, std::size_t outCap) const
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return -1;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char* dst = out;
        std::size_t left = inLen;
        std::size_t room = outCap;
        if (iconv(cd_, &src, &left, &dst, &room) == static_cast<std::size_t>(-1) || left != 0)
            return -1;
        return static_cast<int>(outCap - room);
    }

private:
    iconv_t cd_;
};

const Converter& ToGbk()
{
    static const Converter c("CP936", "UTF-32LE");
    return c;
}

const Converter& FromGbk()
{
    static const Converter c("UTF-32LE", "CP936");
    return c;
}

char32_t DecodePair(uint8_t lead, uint8_t trail)
{
    const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    unsigned char out[8];
    int n = FromGbk().Convert(in, 2, reinterpret_cast<char*>(out), sizeof out);
    if (n != 4)
        return U'?';
    return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24));
}

} // namespace

QByteArray EncodeChar(char32_t cp)
{
    if (cp < 0x80)
        return QByteArray(1, static_cast<char>(cp));
    const unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                                 static_cast<unsigned char>(cp >> 16), static_cast<unsigned char>(cp >> 24)};
    char out[4];
    int n = ToGbk().Convert(reinterpret_cast<const char*>(in), 4, out, sizeof out);
    if (n != 1 && n != 2)
        return QByteArray(1, '?');
    return QByteArray(out, n);
}

QByteArray Encode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (char32_t cp : text.toUcs4())
        out += EncodeChar(cp);
    return out;
}

int ByteLength(const QString& text) { return static_cast<int>(Encode(text).size()); }

QString Decode(const uint8_t* bytes, std::size_t size)
{
    QString out;
    std::size_t i = 0;
    while (i < size && bytes[i] != 0) {
        uint8_t b = bytes[i];
        if (b < 0x80) {
            out += QChar(b);
            ++i;
        } else if (i + 1 < size) {
            char32_t cp = DecodePair(b, bytes[i + 1]);
            out += QString::fromUcs4(&cp, 1);
            i += 2;
        } else {
            out += QChar(u'?');
            ++i;
        }
    }
    return out;
}

QByteArray CutBytes(const QByteArray& bytes, int maxBytes)
{
    int end = 0;
    while (end < bytes.size()) {
        const int step = static_cast<uint8_t>(bytes[end]) >= 0x80 ? 2 : 1;
        if (end + step > maxBytes || end + step > bytes.size())
            break;
        end += step;
    }
    return bytes.left(end);
}

bool IsSingleByte(const QString& text)
{
    if (text.isEmpty())
        return true;
    return EncodeChar(text.toUcs4().front()).size() == 1;
}

} // namespace platform::gbk
