#pragma once

#include "platform/controls.h"

#include <functional>

namespace window {

// A small borderless window of the table window, filled by its background
// picture and half transparent where the window system allows it. It is
// made once and shown and hidden; FormLoad runs the first time it is shown
// (or earlier, through Load).
class DialogWindow : public platform::Form {
    Q_OBJECT
public:
    DialogWindow(const QString& name, QWidget* owner, int width, int height, int background);

    // Runs FormLoad unless it ran already.
    void Load();
    bool Loaded() const { return loaded_; }
    std::function<void()> FormLoad;
    // A click on the window where no control takes it.
    std::function<void()> FormClick;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool loaded_ = false;
    bool pressedOnForm_ = false;
};

} // namespace window
