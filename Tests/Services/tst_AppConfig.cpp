#include "Config/AppConfig.h"

#include <QTest>

class TestAppConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void baseUrl_data()
    {
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<QString>("expected"); // empty: the program must stop

        QTest::newRow("plain") << QByteArray("{\"API_BASE_URL\":\"https://api.example.test/v1\"}")
                               << "https://api.example.test/v1";
        QTest::newRow("blanks and line ends around")
            << QByteArray("{\"API_BASE_URL\":\" \\t https://api.example.test/ \\n\"}") << "https://api.example.test/";
        QTest::newRow("local address with port")
            << QByteArray("{\"API_BASE_URL\":\"http://127.0.0.1:8080/api\"}") << "http://127.0.0.1:8080/api";
        QTest::newRow("missing key") << QByteArray("{\"version\":\"1\"}") << "";
        QTest::newRow("not a text") << QByteArray("{\"API_BASE_URL\":42}") << "";
        QTest::newRow("empty") << QByteArray("{\"API_BASE_URL\":\"\"}") << "";
        QTest::newRow("blanks only") << QByteArray("{\"API_BASE_URL\":\"   \"}") << "";
        QTest::newRow("unsubstituted variable") << QByteArray("{\"API_BASE_URL\":\"$(API_BASE_URL)\"}") << "";
        QTest::newRow("words, not a URL") << QByteArray("{\"API_BASE_URL\":\"not a url\"}") << "";
        QTest::newRow("relative path") << QByteArray("{\"API_BASE_URL\":\"api/v1\"}") << "";
        QTest::newRow("resource missing") << QByteArray() << "";
    }
    void baseUrl()
    {
        QFETCH(QByteArray, info);
        QFETCH(QString, expected);
        const std::optional<QUrl> url = AppConfig::apiBaseUrlFrom(info);
        QCOMPARE(url.has_value(), !expected.isEmpty());
        if (url)
            QCOMPARE(url->toString(), expected);
    }

    void compiledInResourceHasAUsableBaseUrl()
    {
        QVERIFY(AppConfig::readApiBaseUrl().has_value());
        QVERIFY(!AppConfig::version().isEmpty());
        QVERIFY(!AppConfig::build().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAppConfig)
#include "tst_AppConfig.moc"
