#pragma once

#include <QString>

namespace core {

// Reads, writes and deletes keys and sections of one INI file. Names and
// values are GBK in the file. Nothing is cached: every call goes to the file,
// and no call reports a failure (a failed read gives "").
class classIniFile {
public:
    void WriteIniKey(const QString& strSection, const QString& strKey, const QString& strValue);
    // The value, at most 1023 bytes, with spaces trimmed at the start (and at
    // the end, outside quotes); "" when file, section or key is missing.
    QString GetIniKey(const QString& strSection, const QString& strKey) const;
    void DelIniKey(const QString& SectionName, const QString& KeyWord);
    void DelIniSec(const QString& SectionName);

    QString INIFileName() const { return path_; }
    void setINIFileName(const QString& New_IniPath) { path_ = New_IniPath; }

    // folder & "\" & file with exactly one backslash between them.
    static QString JoinPath(const QString& folder, const QString& file);
    void SetPath(const QString& folder, const QString& file) { path_ = JoinPath(folder, file); }

private:
    QString path_;
};

} // namespace core
