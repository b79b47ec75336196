#include "results/hand_archive.h"

#include "app/client.h"
#include "core/ini_file.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/profile.h"
#include "results/result_forms.h"
#include "window/pictures.h"

#include <QFile>
#include <QPalette>
#include <array>
#include <cmath>
#include <optional>

namespace results {
namespace {

constexpr int kLists = 8;
constexpr int kSheetColumns = 4;
// More items than a sheet column can hold: the count is damaged.
constexpr int kMaxItems = 500;
constexpr int kAvatars = 20;
constexpr int32_t kMaxColour = 0xFFFFFF;
const char* const kForeColorProperty = "ForeColor";

QString Section(int16_t handNo) { return QStringLiteral("juNum:") + QString::number(handNo); }
QString NameKey(int i) { return QStringLiteral("name( %1 )").arg(i); }
QString PicKey(int i) { return QStringLiteral("PicIndex( %1 )").arg(i); }
QString CountKey(int j) { return QStringLiteral("count( %1 )").arg(j); }
QString ItemKey(int j, int k) { return CountKey(j) + QStringLiteral("( %1 )").arg(k); }
QString ColourKey(int k) { return CountKey(k) + QStringLiteral(" ForeColor"); }

// A value as the file holds it. Line breaks and "%" are written as %0D, %0A
// and %25, so that no text can end its line early and start a key or a
// section of its own; a quote at the start is written as %22 or %27, since
// a value enclosed in quotes loses them when read. With `keepBlanks`,
// spaces and tabs at either end are written as %20 and %09 as well (the
// reader trims them); otherwise they go as they are and are lost.
QString Escape(const QString& text, bool keepBlanks)
{
    qsizetype lead = 0;
    qsizetype trail = text.size();
    while (lead < trail && (text[lead] == u' ' || text[lead] == u'\t'))
        ++lead;
    while (trail > lead && (text[trail - 1] == u' ' || text[trail - 1] == u'\t'))
        --trail;
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const bool edge = keepBlanks && (i < lead || i >= trail);
        if (ch == u'%')
            out += QStringLiteral("%25");
        else if (ch == u'\r')
            out += QStringLiteral("%0D");
        else if (ch == u'\n')
            out += QStringLiteral("%0A");
        else if (edge && ch == u' ')
            out += QStringLiteral("%20");
        else if (edge && ch == u'\t')
            out += QStringLiteral("%09");
        else if (i == lead && ch == u'"')
            out += QStringLiteral("%22");
        else if (i == lead && ch == u'\'')
            out += QStringLiteral("%27");
        else
            out += ch;
    }
    return out;
}

// The text of a value written by Escape; any other "%" stays as it is.
QString Unescape(const QString& value)
{
    static const std::array<std::pair<const char*, char16_t>, 7> kCodes{{{"25", u'%'},
                                                                        {"0D", u'\r'},
                                                                        {"0A", u'\n'},
                                                                        {"20", u' '},
                                                                        {"09", u'\t'},
                                                                        {"22", u'"'},
                                                                        {"27", u'\''}}};
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'%' && i + 2 < value.size()) {
            const QString code = value.mid(i + 1, 2).toUpper();
            bool done = false;
            for (const auto& [hex, ch] : kCodes)
                if (code == QLatin1String(hex)) {
                    out += QChar(ch);
                    i += 2;
                    done = true;
                    break;
                }
            if (done)
                continue;
        }
        out += value[i];
    }
    return out;
}

// A stored number, when the value is one.
std::optional<double> NumberOf(const QString& value)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The item count of a list; nothing when missing or damaged.
std::optional<int> ItemCount(const QString& value)
{
    const std::optional<double> v = NumberOf(value);
    if (!v || *v < 0 || *v >= kMaxItems + 1)
        return std::nullopt;
    return static_cast<int>(std::trunc(*v));
}

} // namespace

QString HandArchivePath(const Client& c)
{
    if (c.core.DataPath.isEmpty())
        return QString();
    return c.core.DataPath + QStringLiteral("/info.zq");
}

void DeleteHandArchive(const Client& c)
{
    const QString path = HandArchivePath(c);
    if (!path.isEmpty() && QFile::exists(path))
        QFile::remove(path);
}

int32_t ListForeColor(const platform::ListBox& list)
{
    return list.property(kForeColorProperty).toInt();
}

void SetListForeColor(platform::ListBox& list, int32_t bgr)
{
    list.setProperty(kForeColorProperty, bgr);
    QPalette p = list.palette();
    p.setColor(QPalette::Text, platform::ColorFromBgr(bgr));
    list.setPalette(p);
}

void SaveHandSheet(Client& c, int16_t handNo)
{
    const QString path = HandArchivePath(c);
    if (path.isEmpty())
        return;
    // The whole section goes to the file at once: one key at a time would
    // rewrite the file a few hundred times for every hand.
    QList<std::pair<QByteArray, QByteArray>> keys;
    const auto add = [&keys](const QString& key, const QString& value) {
        keys.append({platform::gbk::Encode(key), platform::gbk::Encode(value)});
    };
    ScoreForm& score = *c.Score;
    for (int i = 0; i < 4; ++i) {
        const ResultsState::SeatNamePic& pic = c.results.SeatNamePics[static_cast<std::size_t>(i)];
        add(NameKey(i), Escape(pic.Name, true));
        add(PicKey(i), Escape(pic.PicIndex, true));
    }
    for (int j = 0; j < kLists; ++j) {
        const platform::ListBox& list = *score.State[static_cast<std::size_t>(j)];
        const int count = list.ListCount();
        add(CountKey(j), QString::number(count));
        for (int k = 0; k < count; ++k)
            add(ItemKey(j, k), Escape(list.List(k), false));
    }
    for (int k = 0; k < kSheetColumns; ++k)
        add(ColourKey(k), QString::number(ListForeColor(*score.State[static_cast<std::size_t>(k)])));
    platform::profile::WriteStrings(platform::gbk::Encode(Section(handNo)), keys, path);
}

void LoadHandSheet(Client& c, int16_t handNo)
{
    if (handNo == 0)
        return;
    core::classIniFile ini;
    ini.setINIFileName(HandArchivePath(c));
    const QString section = Section(handNo);
    ScoreForm& score = *c.Score;

    // The counts first: a section without all eight is treated as missing,
    // so that no list keeps an earlier hand's lines under these names.
    std::array<int, kLists> counts{};
    bool whole = !ini.INIFileName().isEmpty();
    for (int j = 0; j < kLists && whole; ++j) {
        const std::optional<int> n = ItemCount(ini.GetIniKey(section, CountKey(j)));
        whole = n.has_value();
        if (n)
            counts[static_cast<std::size_t>(j)] = *n;
    }
    if (!whole) {
        for (int i = 0; i < 4; ++i)
            score.ID[i].SetCaption(QString());
        for (platform::ListBox* list : score.State)
            list->Clear();
        return;
    }

    for (int i = 0; i < 4; ++i) {
        score.ID[i].SetCaption(Unescape(ini.GetIniKey(section, NameKey(i))));
        const QString p = Unescape(ini.GetIniKey(section, PicKey(i)));
        bool ok = false;
        const int n = p.toInt(&ok);
        if (ok && n >= 0 && n < kAvatars)
            window::LoadGifResource(c.window.PicIds.AvatarPicIds[static_cast<std::size_t>(n)], QStringLiteral("GIF"),
                                    score.Tou[i]);
    }
    for (int j = 0; j < kLists; ++j) {
        platform::ListBox& list = *score.State[static_cast<std::size_t>(j)];
        const int count = counts[static_cast<std::size_t>(j)];
        while (list.ListCount() < count)
            list.AddItem(QStringLiteral(" "));
        while (list.ListCount() > count)
            delete list.takeItem(list.ListCount() - 1);
        for (int k = 0; k < count; ++k) {
            QString text = Unescape(ini.GetIniKey(section, ItemKey(j, k)));
            if (text.isEmpty())
                text = QStringLiteral(" ");
            list.item(k)->setText(text);
        }
    }
    for (int k = 0; k < kSheetColumns; ++k) {
        const std::optional<double> v = NumberOf(ini.GetIniKey(section, ColourKey(k)));
        int32_t colour = 0;
        if (v && *v >= 0 && *v <= kMaxColour)
            colour = static_cast<int32_t>(std::nearbyint(*v));
        SetListForeColor(*score.State[static_cast<std::size_t>(k)], colour);
    }
}

} // namespace results
