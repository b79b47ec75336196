#include "window/notice_forms.h"

#include "window/pictures.h"

#include "app/client.h"
#include "platform/gbk.h"
#include "window/main_form.h"

#include <QFile>
#include <QFileInfo>

namespace window {

namespace {

constexpr int32_t kYellow = 0x00FFFF;  // 0x00BBGGRR
constexpr int32_t kDarkRed = 0x000080;
constexpr char16_t kReplacement = 0xFFFD;

bool IsLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrail(uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

} // namespace

ZhahuForm::ZhahuForm(QWidget* owner) : DialogWindow(QStringLiteral("frmZhahu"), owner, 348, 63, kZhahuBackground)
{
    Add(&Label1);
    Add(&Image1);
    Label1.Move(76, 24, 204, 16);
    Label1.ForeColor = kYellow;
    Label1.SetCaption(QStringLiteral("当前番数不够！不能胡牌！"));
    Image1.Stretch = true;
    Image1.Move(332, 0, 16, 16);
    Image1.SetPicture(LoadGifPicture(kZhahuClose, QStringLiteral("GIF")));
}

RuleForm::RuleForm(QWidget* owner) : DialogWindow(QStringLiteral("FrmRule"), owner, 337, 534, kRuleBackground)
{
    Add(&Label1);
    Add(&LblInfo);
    Label1.ForeColor = kDarkRed;
    Label1.FontBold = true;
    Label1.FontSize = 12;
    Label1.Move(139, 32, 120, 22);
    Label1.SetCaption(QStringLiteral("规则"));
    LblInfo.Move(16, 64, 305, 457);
}

void frmZhahu_Click(Client& c)
{
    c.frmZhahu->Hide();
    c.game.ZhahuShown = 0;
}

QString DecodeRuleText(const QByteArray& bytes)
{
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString text;
    text.reserve(n);
    qsizetype i = 0;
    while (i < n) {
        const uint8_t lead = b[i];
        if (lead < 0x80) {
            text += QChar(lead);
            ++i;
        } else if (!IsLead(lead) || i + 1 >= n || !IsTrail(b[i + 1])) {
            text += QChar(kReplacement);
            ++i;
        } else {
            const QString pair = platform::gbk::Decode(b + i, 2);
            text += pair.size() == 1 && pair != QStringLiteral("?") ? pair : QString(QChar(kReplacement));
            i += 2;
        }
    }
    return text;
}

QString RuleFilePath(const Client& c) { return c.core.AppPath + QStringLiteral("/rule.ini"); }

void FrmRule_Form_Load(Client& c)
{
    RuleForm& f = *c.FrmRule;
    f.LblInfo.SetCaption(QString());
    const QString path = RuleFilePath(c);
    if (!QFileInfo(path).isFile())
        return;
    f.Label1.SetCaption(QStringLiteral("Kavelin规则"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    f.LblInfo.SetCaption(DecodeRuleText(file.readAll()));
}

void ShowRules(Client& c)
{
    RuleForm& f = *c.FrmRule;
    f.Load();
    f.Hide();
    f.Show();
    // Centred over the table window, in pixels.
    const QRect main = c.MainForm->frameGeometry();
    f.move(main.left() + (main.width() - f.width()) / 2, main.top() + (main.height() - f.height()) / 2);
}

void WireNoticeForms(Client& c)
{
    ZhahuForm& zhahu = *c.frmZhahu;
    zhahu.FormClick = [&c] { frmZhahu_Click(c); };
    zhahu.Label1.Click = [&c] { frmZhahu_Click(c); };
    zhahu.Image1.Click = [&c] { frmZhahu_Click(c); };
    RuleForm& rule = *c.FrmRule;
    rule.FormLoad = [&c] { FrmRule_Form_Load(c); };
    rule.FormClick = [&c] { c.FrmRule->Hide(); };
    rule.LblInfo.Click = [&c] { c.FrmRule->Hide(); };
}

} // namespace window
