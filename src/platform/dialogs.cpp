#include "platform/dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

void WidgetDialogs::MsgBox(const QString& text, const QString& caption, Icon icon)
{
    QMessageBox box;
    switch (icon) {
    case Information: box.setIcon(QMessageBox::Information); break;
    case Warning: box.setIcon(QMessageBox::Warning); break;
    case Critical: box.setIcon(QMessageBox::Critical); break;
    case NoIcon: break;
    }
    box.setWindowTitle(caption.isEmpty() ? QApplication::applicationName() : caption);
    box.setText(text);
    box.exec();
}

} // namespace platform
