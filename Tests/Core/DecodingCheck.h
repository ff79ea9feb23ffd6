#pragma once

#include "Utils/DecodingError.h"
#include "Utils/EncodingError.h"
#include "Utils/Json.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QTest>
#include <optional>

// Shared by the record tests: tables describe a failure by its kind, path and debug text.

template<typename Read>
std::optional<DecodingError> decodingFailure(Read &&read)
{
    try {
        read();
    } catch (const DecodingError &error) {
        return error;
    }
    return std::nullopt;
}

// A valid object with some keys replaced and some removed.
inline QJsonObject edited(QJsonObject base, const QJsonObject &replaced, const QStringList &removed)
{
    for (auto it = replaced.begin(); it != replaced.end(); ++it)
        base.insert(it.key(), it.value());
    for (const QString &key : removed)
        base.remove(key);
    return base;
}

inline QJsonObject parsedObject(const char *json)
{
    return Json::parse(QByteArray(json)).toObject();
}

// An empty debug text means only the kind and the path are checked.
#define COMPARE_DECODING_FAILURE(failure, expectedKind, expectedPath, expectedDebug)                                   \
    do {                                                                                                               \
        QVERIFY2(failure.has_value(), "the record should not have been read");                                         \
        QCOMPARE(failure->kind(), expectedKind);                                                                       \
        QCOMPARE(failure->codingPath(), QString(expectedPath));                                                        \
        if (!QString(expectedDebug).isEmpty())                                                                         \
            QCOMPARE(failure->debugDescription(), QString(expectedDebug));                                             \
    } while (false)

// Failure tables over edits of one valid object: keys replaced and removed, then the failure.
inline void addEditedFailureColumns()
{
    QTest::addColumn<QJsonObject>("replaced");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<DecodingError::Kind>("kind");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("debug");
}

template<typename Record>
void checkEditedFailure(const QJsonObject &valid)
{
    QFETCH(QJsonObject, replaced);
    QFETCH(QStringList, removed);
    QFETCH(DecodingError::Kind, kind);
    QFETCH(QString, path);
    QFETCH(QString, debug);
    const auto failure = decodingFailure([&] { Record::fromJson(edited(valid, replaced, removed)); });
    COMPARE_DECODING_FAILURE(failure, kind, path, debug);
}
