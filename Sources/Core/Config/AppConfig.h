#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

// The information resource ":/Info.json" compiled in at build time: base URL, version, build.
// Tests put another file in its place with the environment variable TESSMARK_TEST_INFO_JSON.
class AppConfig
{
public:
    // Shown when the program cannot go on without a backend address.
    static QString missingBaseUrlMessage();

    // The base URL from the text of an information resource, or none when the value is missing,
    // not a text, empty after trimming, an unsubstituted "$(...)" or not an absolute URL.
    static std::optional<QUrl> apiBaseUrlFrom(const QByteArray &infoJson);

    // Reads the compiled-in resource anew on each call.
    static std::optional<QUrl> readApiBaseUrl();

    // The base URL; stops the program with missingBaseUrlMessage() when there is none.
    static QUrl apiBaseUrl();

    static QString version();
    static QString build();

private:
    static QByteArray infoResource();
    static QString infoText(const QString &key);
};
