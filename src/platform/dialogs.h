#pragma once

#include <QString>

namespace platform {

// Message boxes. The real one is modal; the test double records the texts.
class Dialogs {
public:
    enum Icon { NoIcon = 0, Information = 1, Warning = 2, Critical = 3 };
    virtual ~Dialogs() = default;
    virtual void MsgBox(const QString& text, const QString& caption = QString(), Icon icon = NoIcon) = 0;
};

class WidgetDialogs : public Dialogs {
public:
    void MsgBox(const QString& text, const QString& caption, Icon icon) override;
};

} // namespace platform
