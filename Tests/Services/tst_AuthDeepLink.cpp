#include "Auth/AuthDeepLink.h"

#include <QTest>

class TestAuthDeepLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("id"); // empty: not a link of ours

        QTest::newRow("scheme link, verification") << "tessmark://verify-email?token=abc"
                                                   << "verify-abc";
        QTest::newRow("scheme in capitals") << "TESSMARK://verify-email?token=abc"
                                            << "verify-abc";
        QTest::newRow("empty host, route in path") << "tessmark:///reset-password/?token=t1"
                                                   << "reset-t1";
        QTest::newRow("no authority, route in path") << "tessmark:reset-password?token=t1"
                                                     << "reset-t1";
        QTest::newRow("host is the route, path ignored") << "tessmark://open/verify-email?token=abc"
                                                         << "";
        QTest::newRow("route in other letter case") << "tessmark://Verify-Email?token=abc"
                                                    << "";
        QTest::newRow("route in capitals") << "tessmark://RESET-PASSWORD?token=abc"
                                           << "";
        QTest::newRow("web link") << "https://tessmark.app/reset-password?token=r9"
                                  << "reset-r9";
        QTest::newRow("web link, slashes around") << "https://example.org//reset-password//?token=r9"
                                                  << "reset-r9";
        QTest::newRow("web link, any host and port") << "http://user@mail.example:8443/verify-email?token=v"
                                                     << "verify-v";
        QTest::newRow("web link, prefix segment") << "https://tessmark.app/auth/reset-password?token=r9"
                                                  << "";
        QTest::newRow("web link, further segment") << "https://tessmark.app/reset-password/x?token=r9"
                                                   << "";
        QTest::newRow("web link, route as host") << "https://verify-email/?token=r9"
                                                 << "";
        QTest::newRow("token with = and nothing after") << "tessmark://verify-email?token="
                                                        << "";
        QTest::newRow("token without =") << "tessmark://verify-email?token"
                                         << "";
        QTest::newRow("no token item") << "tessmark://verify-email?code=abc"
                                       << "";
        QTest::newRow("no query") << "tessmark://verify-email"
                                  << "";
        QTest::newRow("other items ignored") << "tessmark://verify-email?utm=mail&token=abc&x"
                                             << "verify-abc";
        QTest::newRow("percent-encoded token arrives decoded") << "tessmark://verify-email?token=a%2Fb%20c%D0%AF"
                                                               << "verify-a/b cЯ";
        QTest::newRow("plus stays a plus") << "tessmark://verify-email?token=a+b"
                                           << "verify-a+b";
        QTest::newRow("fragment is not part of the token") << "tessmark://verify-email?token=abc#top"
                                                           << "verify-abc";
        QTest::newRow("repeated token: first with a value counts")
            << "tessmark://verify-email?token&token=one&token=two"
            << "verify-one";
        QTest::newRow("repeated token, first empty") << "tessmark://verify-email?token=&token=two"
                                                     << "";
        QTest::newRow("mail link") << "mailto:someone@example.org?token=abc"
                                   << "";
        QTest::newRow("other scheme without host") << "news:verify-email?token=abc"
                                                   << "";
        QTest::newRow("not a URL") << "verify email?token=abc"
                                   << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void parse()
    {
        QFETCH(QString, url);
        QFETCH(QString, id);
        const std::optional<AuthDeepLink> link = AuthDeepLink::parse(url);
        QCOMPARE(link.has_value(), !id.isEmpty());
        if (link)
            QCOMPARE(link->id(), id);
    }

    void kindAndToken()
    {
        const auto link = AuthDeepLink::parse(QStringLiteral("https://tessmark.app/reset-password?token=xyz"));
        QCOMPARE(link->kind(), AuthDeepLink::Kind::ResetPassword);
        QCOMPARE(link->token(), QStringLiteral("xyz"));
        QVERIFY(!(*link == AuthDeepLink::verifyEmail(QStringLiteral("xyz"))));
    }
};

QTEST_GUILESS_MAIN(TestAuthDeepLink)
#include "tst_AuthDeepLink.moc"
