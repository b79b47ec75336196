#pragma once

// What passes between a web panel and the browser-engine module: the module
// (mjclient_webengine.so beside the program) makes the engine's view of a
// panel; the panel loads the module with its first page. Nothing here needs
// the engine's headers, so the program itself never links the engine.

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace platform {

// The engine's view of one panel, made by the module. Deleting it deletes the
// view widget and everything the view holds.
class EngineView {
public:
    virtual ~EngineView() = default;
    // The view widget, a child of the parent it was made for.
    virtual QWidget* Widget() = 0;
    virtual void Load(const QUrl& url) = 0;
    // The address of the page shown or being loaded.
    virtual QUrl Url() const = 0;
};

// How a load ends, as the view reports it: called on the GUI thread while
// the view lives.
struct EngineViewEvents {
    std::function<void(const QString& url)> documentComplete;
    // An HTTP status of 400 or more, or a network error (negative).
    std::function<void(const QString& url, int statusCode)> navigateError;
};

// The module exports this C function:
//
//   extern "C" platform::EngineView* mj_create_web_engine_view(
//       int interfaceVersion, QWidget* parent, const platform::EngineViewEvents* events);
//
// It returns a new view inside parent (the caller deletes it), or nullptr
// when it does not speak that version or the engine cannot start.
inline constexpr char kWebEngineFactory[] = "mj_create_web_engine_view";
inline constexpr int kWebEngineInterfaceVersion = 1;
using WebEngineFactory = EngineView* (*)(int interfaceVersion, QWidget* parent, const EngineViewEvents* events);

} // namespace platform
