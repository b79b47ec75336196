#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

namespace platform {

// One HTTP or HTTPS GET of a whole body of at most a given size, over Qt's
// network access. Exactly one of Finished and Failed follows a Start that
// returned true.
class HttpGet : public QObject {
    Q_OBJECT
public:
    explicit HttpGet(QObject* parent = nullptr);
    ~HttpGet() override;

    // Starts fetching `url`; a fetch still running is dropped first. Returns
    // false, and starts nothing, for an address that is not http or https.
    bool Start(const QUrl& url, qint64 maxBytes);
    // Drops the running fetch without a signal.
    void Cancel();
    bool Running() const { return reply_ != nullptr; }

signals:
    void Finished(const QByteArray& body);
    // An error status, a failed connection or a body over the limit.
    void Failed(const QString& why);

private:
    void OnReadyRead();
    void OnFinished();
    void Fail(const QString& why);
    // The announced length is over the limit.
    bool OverLimit() const;

    QNetworkAccessManager* manager_;
    QPointer<QNetworkReply> reply_;
    QByteArray body_;
    qint64 maxBytes_ = 0;
};

} // namespace platform
