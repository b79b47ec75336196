#include "platform/http_get.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace platform {

HttpGet::HttpGet(QObject* parent) : QObject(parent), manager_(new QNetworkAccessManager(this)) {}

HttpGet::~HttpGet() { Cancel(); }

bool HttpGet::Start(const QUrl& url, qint64 maxBytes)
{
    Cancel();
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty())
        return false;
    maxBytes_ = maxBytes;
    body_.clear();
    QNetworkRequest request(url);
    // Redirects are followed only to http and https, never from https down
    // to http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    reply_ = manager_->get(request);
    connect(reply_, &QNetworkReply::readyRead, this, &HttpGet::OnReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &HttpGet::OnFinished);
    return true;
}

void HttpGet::Cancel()
{
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    body_.clear();
}

void HttpGet::OnReadyRead()
{
    if (!reply_)
        return;
    if (OverLimit())
        return Fail(QStringLiteral("body over the limit"));
    body_.append(reply_->readAll());
    if (body_.size() > maxBytes_)
        Fail(QStringLiteral("body over the limit"));
}

void HttpGet::OnFinished()
{
    if (!reply_)
        return;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply_->error() != QNetworkReply::NoError || status >= 400)
        return Fail(reply_->errorString());
    if (OverLimit())
        return Fail(QStringLiteral("body over the limit"));
    body_.append(reply_->readAll());
    if (body_.size() > maxBytes_)
        return Fail(QStringLiteral("body over the limit"));
    const QByteArray body = body_;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    reply->deleteLater();
    body_.clear();
    emit Finished(body);
}

bool HttpGet::OverLimit() const
{
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() && length.toLongLong() > maxBytes_;
}

void HttpGet::Fail(const QString& why)
{
    Cancel();
    emit Failed(why);
}

} // namespace platform
