#include "core/ini_file.h"

#include "platform/gbk.h"
#include "platform/profile.h"

namespace core {

namespace {
constexpr int kBufferSize = 1024;
} // namespace

void classIniFile::WriteIniKey(const QString& strSection, const QString& strKey, const QString& strValue)
{
    namespace gbk = platform::gbk;
    platform::profile::WriteString(gbk::Encode(strSection), gbk::Encode(strKey), gbk::Encode(strValue), path_);
}

QString classIniFile::GetIniKey(const QString& strSection, const QString& strKey) const
{
    namespace gbk = platform::gbk;
    // The value lands at the start of a buffer of spaces; the whole buffer is
    // then trimmed and its NULs removed, so trailing spaces inside quotes stay.
    QByteArray buffer(kBufferSize, ' ');
    platform::profile::GetString(gbk::Encode(strSection), gbk::Encode(strKey), QByteArray(), buffer.data(),
                                 kBufferSize, path_);
    qsizetype b = 0;
    qsizetype e = buffer.size();
    while (b < e && buffer[b] == ' ')
        ++b;
    while (e > b && buffer[e - 1] == ' ')
        --e;
    buffer = buffer.mid(b, e - b);
    buffer.replace('\0', QByteArray());
    return gbk::Decode(buffer);
}

void classIniFile::DelIniKey(const QString& SectionName, const QString& KeyWord)
{
    platform::profile::WriteString(platform::gbk::Encode(SectionName), platform::gbk::Encode(KeyWord), std::nullopt,
                                   path_);
}

void classIniFile::DelIniSec(const QString& SectionName)
{
    platform::profile::WriteString(platform::gbk::Encode(SectionName), std::nullopt, QByteArray(), path_);
}

QString classIniFile::JoinPath(const QString& folder, const QString& file)
{
    QString f = folder;
    while (f.endsWith(QLatin1Char('\\')))
        f.chop(1);
    QString n = file;
    while (n.startsWith(QLatin1Char('\\')))
        n.remove(0, 1);
    return f + QLatin1Char('\\') + n;
}

} // namespace core
