#include "AppConfig.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtGlobal>

QString AppConfig::missingBaseUrlMessage()
{
    return QStringLiteral("API_BASE_URL не задан в Info.json. Проверьте Config/Info.json.in и "
                          "параметр CMake API_BASE_URL, пересоберите Release.");
}

std::optional<QUrl> AppConfig::apiBaseUrlFrom(const QByteArray &infoJson)
{
    const QJsonValue value = QJsonDocument::fromJson(infoJson).object().value(QStringLiteral("API_BASE_URL"));
    const QString text = value.isString() ? value.toString().trimmed() : QString();
    if (text.isEmpty() || text.startsWith(QStringLiteral("$(")))
        return std::nullopt;
    // QUrl takes almost any text as a relative URL; a backend root needs a scheme and a host.
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

std::optional<QUrl> AppConfig::readApiBaseUrl()
{
    return apiBaseUrlFrom(infoResource());
}

QUrl AppConfig::apiBaseUrl()
{
    const std::optional<QUrl> url = readApiBaseUrl();
    if (!url)
        qFatal("%s", missingBaseUrlMessage().toUtf8().constData());
    return *url;
}

QString AppConfig::version()
{
    return infoText(QStringLiteral("version"));
}

QString AppConfig::build()
{
    return infoText(QStringLiteral("build"));
}

QByteArray AppConfig::infoResource()
{
    // Test seam: the process tests start the app with a broken resource in its place.
    const QString replacement = qEnvironmentVariable("TESSMARK_TEST_INFO_JSON");
    QFile file(replacement.isEmpty() ? QStringLiteral(":/Info.json") : replacement);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString AppConfig::infoText(const QString &key)
{
    return QJsonDocument::fromJson(infoResource()).object().value(key).toString();
}
