#pragma once

#include "window/dialog_window.h"

#include <QByteArray>
#include <QString>

class Client;

namespace window {

// The notice and rules windows' own pictures, drawn by tools/resgen.
constexpr int kZhahuBackground = 1115; // 348 x 63
constexpr int kZhahuClose = 1116;      // 16 x 16
constexpr int kRuleBackground = 1117;  // 337 x 534

// The false-win notice: the hand held cannot be declared a win.
class ZhahuForm : public DialogWindow {
    Q_OBJECT
public:
    explicit ZhahuForm(QWidget* owner);
    platform::Label Label1{QStringLiteral("Label1")};
    platform::Image Image1{QStringLiteral("Image1")}; // the close picture
};

// The rules window: the text of rule.ini under its title.
class RuleForm : public DialogWindow {
    Q_OBJECT
public:
    explicit RuleForm(QWidget* owner);
    platform::Label Label1{QStringLiteral("Label1")}; // the title
    platform::Label LblInfo{QStringLiteral("LblInfo")};
};

// A click on the notice or its close picture: hides it, ZhahuShown off.
void frmZhahu_Click(Client& c);

// The rules text of a GBK file: every byte below 0x80 is its own character,
// a lead byte 0x81-0xFE with a trail byte 0x40-0xFE (not 0x7F) is one
// character. A pair the code page lacks, a lead byte without its trail (at
// the end, or before a byte that cannot trail) and the bytes 0x80 and 0xFF
// each give U+FFFD; a byte that could not trail is read again on its own.
QString DecodeRuleText(const QByteArray& bytes);
// The path of rule.ini: in the program's folder.
QString RuleFilePath(const Client& c);
// The rules window's loading: the title and the whole of rule.ini when the
// file exists, else the title "规则" and no text.
void FrmRule_Form_Load(Client& c);

// Opens the rules window: loads it on first use (the file is read only
// then), shows it again and centres it over the table window.
void ShowRules(Client& c);

// Connects the notice and the rules window to their handlers.
void WireNoticeForms(Client& c);

} // namespace window
