#include "chat/huifu_form.h"

#include "app/client.h"
#include "core/ini_file.h"
#include "core/startup.h"
#include "platform/paths.h"
#include "window/pictures.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace chat {

namespace {

constexpr int kTabPicture1 = 850;
constexpr int kTabPicture2 = 852;
// More phrases than any list box will be asked for; a larger "num" is read
// as this many.
constexpr int kMostPhrases = 1000;

void FillList(const core::classIniFile& ini, const QString& section, platform::ListBox& list)
{
    const double num = std::nearbyint(core::LeadingNumber(ini.GetIniKey(section, QStringLiteral("num"))));
    const int count = static_cast<int>(std::clamp(num, 0.0, double(kMostPhrases)));
    for (int i = 1; i <= count; ++i)
        list.AddItem(ini.GetIniKey(section, QString::number(i)));
}

} // namespace

HuifuForm::HuifuForm(QWidget* owner)
    : platform::Form(QStringLiteral("huifu"), owner), List1(new platform::ListBox(this, QStringLiteral("List1"))),
      List2(new platform::ListBox(this, QStringLiteral("List2")))
{
    resize(240, 200);
    Add(&Picture1);
    Add(&Picture2);
    Picture1.Move(0, 0);
    Picture2.Move(60, 0);
    List1->setGeometry(0, 24, 240, 176);
    List2->setGeometry(0, 24, 240, 176);
}

void huifu_Form_Load(Client& c)
{
    HuifuForm& h = *c.huifu;
    if (h.Loaded)
        return;
    h.Loaded = true;
    h.setWindowOpacity(200 / 255.0);
    core::classIniFile ini;
    ini.SetPath(c.core.AppPath, QStringLiteral("chat.ini"));
    if (QFile::exists(platform::NativePath(ini.INIFileName()))) {
        FillList(ini, QStringLiteral("Phrase1"), *h.List1);
        FillList(ini, QStringLiteral("Phrase2"), *h.List2);
    }
    window::LoadGifResource(kTabPicture1, QStringLiteral("GIF"), h.Picture1);
    window::LoadGifResource(kTabPicture2, QStringLiteral("GIF"), h.Picture2);
    h.Picture1.Tag = QStringLiteral("0");
    h.Picture2.Tag = QStringLiteral("0");
    h.List1->show();
    h.List2->hide();
}

QString QuickPhrase(Client& c, int list, int number)
{
    huifu_Form_Load(c);
    const platform::ListBox& box = list == 1 ? *c.huifu->List1 : *c.huifu->List2;
    if (number < 1 || number > box.ListCount())
        return QString();
    return box.List(number - 1);
}

} // namespace chat
