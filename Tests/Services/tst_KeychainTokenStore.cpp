#include "Auth/KeychainError.h"
#include "Auth/KeychainTokenStore.h"

#include <QTest>

// Runs against a real Secret Service: scripts/with-keyring gives it a private, unlocked keyring.
class TestKeychainTokenStore : public QObject
{
    Q_OBJECT

private:
    const QString m_service = QStringLiteral("app.tessmark.desktop.test-%1").arg(QCoreApplication::applicationPid());

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("TESSMARK_IN_KEYRING_SESSION"))
            QSKIP("needs the throw-away keyring of scripts/with-keyring");
    }
    void cleanup() { KeychainTokenStore(m_service).remove(); }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("token");
        QTest::newRow("ASCII") << QStringLiteral("eyJhbGciOiJIUzI1NiJ9.payload.signature");
        QTest::newRow("non-ASCII") << QStringLiteral("токен-ключ—✓");
        QTest::newRow("empty counts as present") << QString();
    }
    void roundTrips()
    {
        QFETCH(QString, token);
        KeychainTokenStore store(m_service);
        QVERIFY(!store.load().has_value());
        store.save(token);
        QCOMPARE(store.load(), std::optional<QString>(token));
        // A fresh store reads the credential store itself.
        KeychainTokenStore nextStart(m_service);
        const std::optional<QString> reread = nextStart.load();
        QVERIFY(reread.has_value());
        QCOMPARE(*reread, token);
        nextStart.remove();
        QVERIFY(!nextStart.load().has_value());
        KeychainTokenStore afterDelete(m_service);
        QVERIFY(!afterDelete.load().has_value());
    }

    void secondSaveReplacesTheFirst()
    {
        KeychainTokenStore store(m_service);
        store.save(QStringLiteral("first"));
        store.save(QStringLiteral("second"));
        QCOMPARE(KeychainTokenStore(m_service).load(), std::optional<QString>(QStringLiteral("second")));
    }

    void deleteWithNothingStored()
    {
        KeychainTokenStore store(m_service);
        store.remove();
        store.remove();
        QVERIFY(!store.load().has_value());
    }

    void servicesDoNotShareTheToken()
    {
        KeychainTokenStore store(m_service);
        store.save(QStringLiteral("mine"));
        KeychainTokenStore other(m_service + QStringLiteral(".other"));
        QVERIFY(!other.load().has_value());
    }

    void saveErrorText()
    {
        QCOMPARE(KeychainError::saveFailed(5, QStringLiteral("The keyring is locked")).errorDescription(),
                 QStringLiteral("Keychain save failed (5) \u2014 The keyring is locked"));
        QCOMPARE(KeychainError::saveFailed(-25308).errorDescription(), QStringLiteral("Keychain save failed (-25308)"));
    }
};

QTEST_GUILESS_MAIN(TestKeychainTokenStore)
#include "tst_KeychainTokenStore.moc"
