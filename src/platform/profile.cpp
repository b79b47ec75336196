#include "platform/profile.h"

#include "platform/paths.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <cstring>

namespace platform::profile {
namespace {

QByteArray Trimmed(const QByteArray& s)
{
    int b = 0;
    int e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.mid(b, e - b);
}

bool SameName(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// The name of a section header line "[name]", or nothing.
std::optional<QByteArray> SectionName(const QByteArray& line)
{
    const QByteArray t = Trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const int close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return Trimmed(t.mid(1, close - 1));
}

// The key of a "key=value" line, or nothing for other lines.
std::optional<QByteArray> KeyOf(const QByteArray& line)
{
    const QByteArray t = Trimmed(line);
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('['))
        return std::nullopt;
    const int eq = t.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return Trimmed(t.left(eq));
}

QByteArray ValueOf(const QByteArray& line)
{
    const QByteArray t = Trimmed(line);
    QByteArray v = Trimmed(t.mid(t.indexOf('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

QList<QByteArray> SplitLines(const QByteArray& all)
{
    QList<QByteArray> lines = all.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QByteArray& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    return lines;
}

QByteArray JoinLines(const QList<QByteArray>& lines)
{
    QByteArray all;
    for (const QByteArray& l : lines) {
        all += l;
        all += "\r\n";
    }
    return all;
}

QList<QByteArray> ReadLines(const QString& path, bool* exists)
{
    QFile f(NativePath(path));
    *exists = f.open(QIODevice::ReadOnly);
    if (!*exists)
        return {};
    return SplitLines(f.readAll());
}

// Index of the header line of the section, or -1.
int FindSection(const QList<QByteArray>& lines, const QByteArray& section)
{
    for (int i = 0; i < lines.size(); ++i) {
        auto name = SectionName(lines[i]);
        if (name && SameName(*name, section))
            return i;
    }
    return -1;
}

// One past the last line that belongs to the section starting at header.
int SectionEnd(const QList<QByteArray>& lines, int header)
{
    int i = header + 1;
    while (i < lines.size() && !SectionName(lines[i]))
        ++i;
    return i;
}

int FindKey(const QList<QByteArray>& lines, int header, int end, const QByteArray& key)
{
    for (int i = header + 1; i < end; ++i) {
        auto k = KeyOf(lines[i]);
        if (k && SameName(*k, key))
            return i;
    }
    return -1;
}

// Applies one write to the lines: key=value into section (section already
// trimmed), the key removed without a value, the whole section removed
// without a key. False when nothing changed.
bool Edit(QList<QByteArray>& lines, const QByteArray& section, const std::optional<QByteArray>& keyIn,
          const std::optional<QByteArray>& value)
{
    const int header = FindSection(lines, section);
    if (!keyIn) {
        if (header < 0)
            return false;
        lines.erase(lines.begin() + header, lines.begin() + SectionEnd(lines, header));
        return true;
    }
    const QByteArray key = Trimmed(*keyIn);
    if (header < 0) {
        if (!value)
            return false;
        lines.append('[' + section + ']');
        lines.append(key + '=' + *value);
        return true;
    }
    const int end = SectionEnd(lines, header);
    const int at = FindKey(lines, header, end, key);
    if (!value) {
        if (at < 0)
            return false;
        lines.removeAt(at);
    } else if (at >= 0) {
        lines[at] = key + '=' + *value;
    } else {
        // A new key goes after the section's last non-blank line.
        int insert = end;
        while (insert > header + 1 && Trimmed(lines[insert - 1]).isEmpty())
            --insert;
        lines.insert(insert, key + '=' + *value);
    }
    return true;
}

// Replaces the file as a whole, so a failed write leaves the old file.
bool Save(const QList<QByteArray>& lines, const QString& path)
{
    QSaveFile out(NativePath(path));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(JoinLines(lines));
    return out.commit();
}

} // namespace

int GetString(const QByteArray& section, const QByteArray& key, const QByteArray& def, char* buffer, int size,
              const QString& path)
{
    if (!buffer || size <= 0)
        return 0;
    QByteArray value = Trimmed(def);
    bool exists = false;
    const QList<QByteArray> lines = ReadLines(path, &exists);
    const int header = FindSection(lines, Trimmed(section));
    if (header >= 0) {
        const int at = FindKey(lines, header, SectionEnd(lines, header), Trimmed(key));
        if (at >= 0)
            value = ValueOf(lines[at]);
    }
    const int n = std::min<int>(static_cast<int>(value.size()), size - 1);
    std::memcpy(buffer, value.constData(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

bool WriteString(const QByteArray& sectionIn, const std::optional<QByteArray>& keyIn,
                 const std::optional<QByteArray>& value, const QString& path)
{
    bool exists = false;
    QList<QByteArray> lines = ReadLines(path, &exists);
    if (!Edit(lines, Trimmed(sectionIn), keyIn, value))
        return true;
    return Save(lines, path);
}

bool WriteStrings(const QByteArray& sectionIn, const QList<std::pair<QByteArray, QByteArray>>& pairs,
                  const QString& path)
{
    if (pairs.isEmpty())
        return true;
    const QByteArray section = Trimmed(sectionIn);
    bool exists = false;
    QList<QByteArray> lines = ReadLines(path, &exists);
    // A line break inside a name or value splits its line once the file is
    // read again: the next key must find the lines as it would then.
    bool split = false;
    for (const auto& [key, value] : pairs) {
        if (split)
            lines = SplitLines(JoinLines(lines));
        Edit(lines, section, key, value);
        split = section.contains('\n') || key.contains('\n') || value.contains('\n');
    }
    return Save(lines, path);
}

} // namespace platform::profile
