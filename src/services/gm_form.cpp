#include "services/gm_form.h"

#include "app/client.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "platform/udp_link.h"
#include "services/gm_channel.h"
#include "services/gm_packet.h"
#include "table/utilities.h"

#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTextCursor>

namespace services {

namespace {

// Warnings in the box: size 10, red, bold.
constexpr int kWarnSize = 10;
constexpr int32_t kWarnColour = 255;

const QString kTooSoon = QStringLiteral("二次留言的时间间隔至少1分钟");
const QString kEmpty = QStringLiteral("请不要发空消息");
const QString kFailed = QStringLiteral("消息发送失败");
const QString kNoReply = QStringLiteral("无客服回复");
constexpr uint32_t kResendMs = 60000;

QColor ColourOf(int32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

// Appends a warning at the end of the box in the warning style.
void AppendWarning(RichTextBox& box, const QString& text)
{
    const int start = static_cast<int>(box.Text().size());
    box.AppendText(text);
    SetSelStyle(box, start, static_cast<int>(box.Text().size()) - start, kWarnSize, kWarnColour, true);
}

void Place(platform::Image& button, float left, float top, const platform::Picture& picture)
{
    button.SetPicture(picture);
    button.Move(left, top, button.Width > 0 ? button.Width : 60, button.Height > 0 ? button.Height : 26);
}

} // namespace

// ---- RichTextBox ----

RichTextBox::RichTextBox(QWidget* parent, const QString& name) : QTextEdit(parent)
{
    setObjectName(name);
    setAcceptRichText(false);
}

void RichTextBox::SetText(const QString& text)
{
    setPlainText(text);
    CaretToEnd();
}

void RichTextBox::AppendText(const QString& text)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    CaretToEnd();
}

void RichTextBox::CaretToEnd()
{
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    // Typing past the limit is refused; keys that add no text still work.
    const QString typed = event->text();
    const bool adds = !typed.isEmpty() && typed.at(0).isPrint();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (maxLength_ > 0 && (adds || enter) && !isReadOnly() &&
        toPlainText().size() - textCursor().selectedText().size() >= maxLength_)
        return;
    QTextEdit::keyPressEvent(event);
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    if (maxLength_ <= 0 || !source->hasText()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    const qsizetype room = maxLength_ - (toPlainText().size() - textCursor().selectedText().size());
    if (room > 0)
        textCursor().insertText(source->text().left(room));
}

void SetSelStyle(RichTextBox& box, int start, int length, int size, int32_t colour, bool bold)
{
    if (length <= 0)
        return;
    QTextCursor cursor(box.document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setFontPointSize(size);
    format.setForeground(ColourOf(colour));
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    cursor.mergeCharFormat(format);
}

// ---- GmForm ----

GmForm::GmForm(QWidget* owner, const std::function<platform::Picture(int)>& pictures)
    : ServiceWindow(QStringLiteral("FrmGm"), owner, kGmFormWidth, kGmFormHeight,
                    pictures ? pictures(kGmFormBackground) : platform::Picture{}),
      TxtInfo(new RichTextBox(this, QStringLiteral("TxtInfo")))
{
    setWindowTitle(QStringLiteral("在线客服"));
    auto picture = [&](int id) { return pictures ? pictures(id) : platform::Picture{}; };
    TxtInfo->setGeometry(12, 26, kGmFormWidth - 24, 172);
    TxtInfo->setStyleSheet(QStringLiteral("QTextEdit { background: #fff8e6; color: #201008; border: 1px solid #d6aa4e; }"));
    for (platform::GraphicControl* control : std::initializer_list<platform::GraphicControl*>{(&LblQuery), &ImgSend, &ImgHistory,
                                              &ImgHf, &ImgExit, &Imgclose})
        Add(control);
    LblQuery.Move(14, 202, 150, 18);
    LblQuery.ForeColor = 0x8CE2FF;
    LblQuery.SetCaption(kNoReply);
    Place(ImgHf, 24, 224, picture(kGmReplyPicture));
    Place(ImgSend, 94, 224, picture(kGmSendPicture));
    Place(ImgHistory, 164, 224, picture(kGmHistoryPicture));
    Place(ImgExit, 236, 224, picture(kGmExitPicture));
    Imgclose.SetPicture(picture(kCloseMarkPicture));
    Imgclose.Move(kGmFormWidth - 29, 2, 25, 25);
    SetLayout(Layout::Writing);
}

void GmForm::SetLayout(Layout layout)
{
    layout_ = layout;
    const bool writing = layout == Layout::Writing;
    TxtInfo->setReadOnly(!writing);
    TxtInfo->SetMaxLength(writing ? kGmTypingLimit : 0);
    ImgSend.Enabled = writing;
    ImgHistory.Enabled = writing;
    ImgHistory.SetVisible(layout != Layout::History);
    ImgHf.Enabled = !writing;
    ImgHf.SetVisible(!writing);
    for (platform::Image* b : {&ImgSend, &ImgHistory, &ImgHf})
        b->Refresh();
}

GmForm& GmWindow(Client& c)
{
    ServicesState& s = c.services;
    if (!s.FrmGm) {
        s.FrmGm = new GmForm(s.Table.Window, s.Hooks.Picture);
        GmForm& f = *s.FrmGm;
        f.ImgSend.Click = [&c] { FrmGm_ImgSend_Click(c); };
        f.LblQuery.Click = [&c] { FrmGm_LblQuery_Click(c); };
        f.ImgHf.Click = [&c] { FrmGm_ImgHf_Click(c); };
        f.ImgHistory.Click = [&c] { FrmGm_ImgHistory_Click(c); };
        f.ImgExit.Click = [&c] { FrmGm_Close_Click(c); };
        f.Imgclose.Click = [&c] { FrmGm_Close_Click(c); };
    }
    return *s.FrmGm;
}

void FrmGm_Form_Load(Client& c)
{
    ServicesState& s = c.services;
    GmForm& f = GmWindow(c);
    f.BeginLoad();
    f.TxtInfo->clear();
    f.LblQuery.SetCaption(kNoReply);
    // Near the lower right corner of the table window.
    if (const QWidget* table = s.Table.Window) {
        const QPoint corner = table->mapToGlobal(QPoint(0, 0));
        f.move(corner.x() + table->width() - f.width() * 3 / 2 + 3, corner.y() + table->height() - f.height() * 3 / 2);
    }
    f.SetLayout(GmForm::Layout::Writing);
    s.gm_byteCheck = 0;
    s.FrmGmOpen = -1;
    f.TxtInfo->setFocus();
    SendGm(c, BuildGmFetch(s.GmAccount));
}

void FrmGm_Form_Unload(Client& c)
{
    ServicesState& s = c.services;
    c.plat.udp.Close();
    s.FrmGmOpen = 0;
    if (s.FrmGm) {
        s.FrmGm->hide();
        s.FrmGm->BeginLoad(); // a handler still waiting sees the window gone
    }
}

void FrmGm_ImgSend_Click(Client& c)
{
    ServicesState& s = c.services;
    if (!s.FrmGm || !s.FrmGmOpen)
        return;
    QPointer<GmForm> form = s.FrmGm;
    const int generation = form->Generation();
    // The two waits let events run: the window may be closed (or closed and
    // opened again) meanwhile, and then this click has nothing more to do.
    const auto stillOpen = [&] { return form && s.FrmGmOpen && form->Generation() == generation; };

    RichTextBox& box = *form->TxtInfo;
    const QString text = box.Text();
    form->ImgSend.Enabled = false;
    const uint32_t now = c.plat.clock.timeGetTime();
    QString blank = text;
    blank.remove(QLatin1Char(' '));

    if (s.GmLastSendTime && platform::ElapsedMs(*s.GmLastSendTime, now) < kResendMs) {
        AppendWarning(box, QStringLiteral("\n\n") + kTooSoon);
    } else if (blank.isEmpty()) {
        box.clear();
        AppendWarning(box, kEmpty);
    } else if (!s.GmChannelUp) {
        AppendWarning(box, QStringLiteral("\n") + kGmChannelDownTip);
    } else {
        s.gm_byteCheck = static_cast<uint8_t>(QRandomGenerator::global()->bounded(256));
        s.gm_byteCheckRet.reset();
        SendGm(c, BuildGmMessage(s.GmAccount, platform::gbk::Decode(s.GmUserName), c.core.WindowCaption,
                                 s.gm_byteCheck, text));
        s.GmLastSentText = text;
        box.SetMaxLength(0);
        box.clear();
        table::WaitSeconds(c.plat.clock, 1);
        if (!stillOpen())
            return;
        if (s.gm_byteCheckRet && *s.gm_byteCheckRet == s.gm_byteCheck)
            s.GmLastSendTime = c.plat.clock.timeGetTime();
        else
            AppendWarning(box, QStringLiteral("\n") + kFailed);
    }
    box.CaretToEnd();
    table::WaitSeconds(c.plat.clock, 1);
    if (!stillOpen())
        return;
    FrmGm_Form_Unload(c);
}

void FrmGm_LblQuery_Click(Client& c)
{
    ServicesState& s = c.services;
    if (s.gm_iNum >= 1)
        SendGm(c, BuildGmFetch(s.GmAccount));
}

void FrmGm_ImgHf_Click(Client& c)
{
    if (!c.services.FrmGm)
        return;
    GmForm& f = *c.services.FrmGm;
    f.TxtInfo->setEnabled(true);
    f.TxtInfo->clear();
    f.SetLayout(GmForm::Layout::Writing);
}

void FrmGm_ImgHistory_Click(Client& c)
{
    if (!c.services.FrmGm)
        return;
    GmForm& f = *c.services.FrmGm;
    const QString path = GmLogPath(c);
    QFile log(path);
    if (!path.isEmpty() && log.exists() && log.open(QIODevice::ReadOnly)) {
        f.TxtInfo->SetMaxLength(0);
        f.TxtInfo->clear();
        // The log is GBK with CR LF line ends; shown with plain line breaks.
        QString text = platform::gbk::Decode(log.readAll());
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        f.TxtInfo->SetText(text);
        f.SetLayout(GmForm::Layout::History);
    }
    f.TxtInfo->setVisible(true);
}

void FrmGm_Close_Click(Client& c) { FrmGm_Form_Unload(c); }

} // namespace services
