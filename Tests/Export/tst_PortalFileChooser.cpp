#include "FakeFileChooserPortal.h"
#include "Features/Export/PortalFileChooser.h"
#include "Features/Export/PortalFileChooserProtocol.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace Protocol = PortalFileChooserProtocol;
using Kind = PortalAnswer::Kind;

Q_DECLARE_METATYPE(PortalAnswer::Kind)

// What the portal's answers mean, and the chooser against a fake portal on the test's own bus
// (the export sheet's tests drive the rest through the sheet).
class tst_PortalFileChooser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    FakeFileChooserPortal m_portal;

    // Asks and waits until the chooser has the portal's reply.
    bool ask(PortalFileChooser &chooser)
    {
        const int asked = m_portal.requests();
        chooser.askSavePDF(nullptr, QStringLiteral("a.pdf"), QUrl());
        if (!QTest::qWaitFor([&] { return m_portal.requests() > asked; }))
            return false;
        settle();
        return true;
    }

    // Everything the portal sent so far has reached the chooser: the portal's reply to a ping
    // comes after it.
    static void settle()
    {
        QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(Protocol::service, QStringLiteral("/"),
                                                                          QStringLiteral("org.freedesktop.DBus.Peer"),
                                                                          QStringLiteral("Ping")));
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
    void cleanup() { m_portal.stop(); }

    void parentWindowOnlyOnX11()
    {
        QCOMPARE(Protocol::parentWindow(QStringLiteral("xcb"), WId(0x4a0000b)), QStringLiteral("x11:4a0000b"));
        QCOMPARE(Protocol::parentWindow(QStringLiteral("wayland"), WId(7)), QString());
    }

    void answersAreRead_data()
    {
        QTest::addColumn<uint>("response");
        QTest::addColumn<QString>("uri");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("path");
        QTest::newRow("encoded") << 0u << QStringLiteral("file:///tmp/%D0%9A%D0%9F%20%231%3F.pdf") << Kind::Chosen
                                 << QStringLiteral("/tmp/КП #1?.pdf");
        QTest::newRow("no file") << 0u << QString() << Kind::Failed << QString();
        QTest::newRow("elsewhere") << 0u << QStringLiteral("file://server/a.pdf") << Kind::Failed << QString();
        QTest::newRow("cancelled") << 1u << QString() << Kind::Cancelled << QString();
        QTest::newRow("ended otherwise") << 2u << QString() << Kind::Cancelled << QString();
        QTest::newRow("unknown code") << 3u << QString() << Kind::Failed << QString();
    }
    void answersAreRead()
    {
        QFETCH(uint, response);
        QFETCH(QString, uri);
        QFETCH(Kind, kind);
        QFETCH(QString, path);
        QVariantMap results;
        if (!uri.isEmpty())
            results.insert(QStringLiteral("uris"), QStringList{uri});
        const PortalAnswer answer = Protocol::answer(response, results);
        QCOMPARE(answer.kind, kind);
        QCOMPARE(answer.file.toLocalFile(), path);
        QCOMPARE(answer.message.isEmpty(), kind != Kind::Failed);
    }

    // The portal asked about "Смета"; the ".pdf" added to it replaces no file unasked.
    void suffixNeverReplacesUnasked()
    {
        QFile existing(m_dir.filePath(QStringLiteral("Смета.pdf")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        const auto chosen = [this](const QString &name) {
            return Protocol::withoutUnaskedReplacement(
                {Kind::Chosen, QUrl::fromLocalFile(m_dir.filePath(name)), QString()});
        };
        QCOMPARE(chosen(QStringLiteral("Смета")).kind, Kind::Failed);
        QVERIFY(chosen(QStringLiteral("Смета")).message.startsWith(QStringLiteral("Файл «Смета.pdf» уже существует.")));
        QCOMPARE(chosen(QStringLiteral("Смета.pdf")).kind, Kind::Chosen);
        QCOMPARE(chosen(QStringLiteral("Новая")).kind, Kind::Chosen);
    }

    // An older portal puts the request where it likes: the answer is taken there.
    void answerComesWhereThePortalSaid()
    {
        QVERIFY(m_portal.start(FakeFileChooserPortal::AnsweringElsewhere));
        PortalFileChooser chooser;
        QSignalSpy chosen(&chooser, &PortalFileChooser::chosen);
        QVERIFY(ask(chooser));
        m_portal.respond(0, FakeFileChooserPortal::fileUri(QStringLiteral("/tmp/a b.pdf")));
        QTRY_COMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toUrl(), QUrl::fromLocalFile(QStringLiteral("/tmp/a b.pdf")));
        QVERIFY(!chooser.asking());
    }

    // A portal that leaves the bus while its dialog is open, or as it replies, will never answer;
    // the dialog, of another process, may stay on the screen.
    void portalLeavingFailsTheRequest_data()
    {
        QTest::addColumn<bool>("replyRead");
        QTest::newRow("dialog open") << true;
        QTest::newRow("as it replies") << false;
    }
    void portalLeavingFailsTheRequest()
    {
        QFETCH(bool, replyRead);
        QVERIFY(m_portal.start(FakeFileChooserPortal::Answering));
        PortalFileChooser chooser;
        QSignalSpy failed(&chooser, &PortalFileChooser::failed);
        if (replyRead) {
            QVERIFY(ask(chooser));
        } else {
            chooser.askSavePDF(nullptr, QStringLiteral("a.pdf"), QUrl());
            QTRY_COMPARE(m_portal.requests(), 1);
        }
        m_portal.stop();
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().startsWith(QStringLiteral("Окно сохранения перестало отвечать")));
        QVERIFY(!chooser.asking());
    }

    // A portal that takes the request after we gave up on it (our own dialog is open by then) has
    // its dialog closed as soon as it names the request. A place chosen there before the close took
    // effect is still the answer, unless the save was dismissed; the close's own end is silent.
    void lateRequest_data()
    {
        QTest::addColumn<bool>("answersBeforeTheClose");
        QTest::addColumn<uint>("response");
        QTest::addColumn<bool>("dismissed");
        QTest::addColumn<bool>("told");
        QTest::newRow("closed, then ended") << false << 2u << false << false;
        QTest::newRow("chosen before the close") << true << 0u << false << true;
        QTest::newRow("cancelled before the close") << true << 1u << false << false;
        QTest::newRow("chosen after the save was dismissed") << true << 0u << true << false;
    }
    void lateRequest()
    {
        QFETCH(bool, answersBeforeTheClose);
        QFETCH(uint, response);
        QFETCH(bool, dismissed);
        QFETCH(bool, told);
        QVERIFY(m_portal.start(FakeFileChooserPortal::Late));
        PortalFileChooser chooser;
        chooser.setCallTimeout(100);
        QSignalSpy unavailable(&chooser, &PortalFileChooser::unavailable);
        QSignalSpy chosen(&chooser, &PortalFileChooser::chosen);
        QSignalSpy cancelled(&chooser, &PortalFileChooser::cancelled);
        QSignalSpy failed(&chooser, &PortalFileChooser::failed);
        chooser.askSavePDF(nullptr, QStringLiteral("a.pdf"), QUrl());
        QTRY_COMPARE(unavailable.count(), 1);
        QVERIFY(!chooser.asking());
        QTRY_COMPARE(m_portal.requests(), 1);
        QVERIFY(!m_portal.closed());
        if (dismissed)
            chooser.dismiss();

        const QString uri = FakeFileChooserPortal::fileUri(m_dir.filePath(QStringLiteral("late.pdf")));
        m_portal.takeRequest();
        if (answersBeforeTheClose)
            m_portal.respond(response, uri);
        QTRY_VERIFY(m_portal.closed());
        if (!answersBeforeTheClose)
            m_portal.respond(response, uri);
        settle();
        QCOMPARE(chosen.count(), told ? 1 : 0);
        if (told)
            QCOMPARE(chosen.at(0).at(0).toUrl(), QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("late.pdf"))));
        QCOMPARE(cancelled.count() + failed.count(), 0);
        QCOMPARE(unavailable.count(), 1);
        QVERIFY(!chooser.asking());
    }
};

QTEST_MAIN(tst_PortalFileChooser)
#include "tst_PortalFileChooser.moc"
