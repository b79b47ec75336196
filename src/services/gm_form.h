#pragma once

#include "platform/controls.h"
#include "services/service_window.h"

#include <QTextEdit>
#include <cstdint>
#include <functional>

class Client;

namespace services {

// Pictures of the customer-service window.
constexpr int kGmFormBackground = 1142;
constexpr int kGmSendPicture = 1143;
constexpr int kGmHistoryPicture = 1144;
constexpr int kGmReplyPicture = 1145;
constexpr int kGmExitPicture = 1146;
constexpr int kCloseMarkPicture = 515; // the small close picture (514 its hover)
constexpr int kGmFormWidth = 320;
constexpr int kGmFormHeight = 260;
// The typing limit of the writing layout, in characters.
constexpr int kGmTypingLimit = 400;

// A multi-line text box that can limit how much is typed into it (0: no
// limit). Text set by the program is not limited.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr, const QString& name = QString());
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int characters) { maxLength_ = characters; }
    QString Text() const { return toPlainText(); }
    void SetText(const QString& text);
    void AppendText(const QString& text); // at the end, caret to the end
    void CaretToEnd();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int maxLength_ = 0;
};

// Gives characters start .. start + length - 1 of the box a font size,
// colour (0x00BBGGRR) and bold state.
void SetSelStyle(RichTextBox& box, int start, int length, int size, int32_t colour, bool bold);

// FrmGm, "在线客服": the player writes to customer service and reads its
// replies and the conversation log. Made once; "unloading" hides it and
// clears it, and the next opening loads it afresh.
class GmForm : public ServiceWindow {
    Q_OBJECT
public:
    GmForm(QWidget* owner, const std::function<platform::Picture(int)>& pictures);

    enum class Layout { Writing, Reading, History };
    void SetLayout(Layout layout);
    Layout CurrentLayout() const { return layout_; }
    // Counts the loads, so that a handler that waited can tell whether the
    // window it began in is still the one open.
    int Generation() const { return generation_; }
    void BeginLoad() { ++generation_; }

    RichTextBox* TxtInfo;
    platform::Label LblQuery{QStringLiteral("LblQuery")};
    platform::Image ImgSend{QStringLiteral("ImgSend")};
    platform::Image ImgHistory{QStringLiteral("ImgHistory")};
    platform::Image ImgHf{QStringLiteral("ImgHf")};
    platform::Image ImgExit{QStringLiteral("ImgExit")};
    platform::Image Imgclose{QStringLiteral("Imgclose")};

private:
    Layout layout_ = Layout::Writing;
    int generation_ = 0;
};

// FrmGm's procedures.
void FrmGm_Form_Load(Client& c);
void FrmGm_Form_Unload(Client& c);
void FrmGm_ImgSend_Click(Client& c);
void FrmGm_LblQuery_Click(Client& c);
void FrmGm_ImgHf_Click(Client& c);
void FrmGm_ImgHistory_Click(Client& c);
// Imgclose and ImgExit.
void FrmGm_Close_Click(Client& c);

// The window, made on first use.
GmForm& GmWindow(Client& c);

} // namespace services
