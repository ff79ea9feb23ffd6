#include "FakeFileChooserPortal.h"
#include "Features/Export/LateSaveAnswers.h"
#include "Features/Export/PortalFileChooser.h"
#include "Features/Export/PortalFileChooserProtocol.h"
#include "Features/Export/PortalRequestCloser.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

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

    // What a person reads of a place chosen after its save had ended, and when nothing is told.
    void placeNotUsedIsTold_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("message");
        const QString later = QStringLiteral(", выбранное в окне сохранения, не использовано: к тому времени ");
        QTest::newRow("saved elsewhere") << QStringLiteral("/tmp/Поздно.pdf") << QStringLiteral("/home/a/KP-Сайт.pdf")
                                         << QStringLiteral("Место «/tmp/Поздно.pdf»") + later
                + QStringLiteral("PDF уже был сохранён в «/home/a/KP-Сайт.pdf». Чтобы сохранить PDF и туда, "
                                 "сохраните его ещё раз.");
        QTest::newRow("not saved") << QStringLiteral("/tmp/Поздно.pdf") << QString()
                                   << QStringLiteral("Место «/tmp/Поздно.pdf»") + later
                + QStringLiteral("сохранение уже закончилось. Чтобы сохранить PDF туда, сохраните его ещё раз.");
        QTest::newRow("no place named") << QString() << QString()
                                        << QStringLiteral("Место") + later
                + QStringLiteral("сохранение уже закончилось. Чтобы сохранить PDF туда, сохраните его ещё раз.");
        QTest::newRow("the place saved to")
            << QStringLiteral("/tmp/KP.pdf") << QStringLiteral("/tmp/KP.pdf") << QString();
        QTest::newRow("the place saved to, named without its suffix")
            << QStringLiteral("/tmp/KP") << QStringLiteral("/tmp/KP.pdf") << QString();
    }
    void placeNotUsedIsTold()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        QFETCH(QString, message);
        const PortalAnswer answer = chosen.isEmpty()
            ? Protocol::answer(0, {})
            : PortalAnswer{Kind::Chosen, QUrl::fromLocalFile(chosen), QString()};
        QCOMPARE(Protocol::placeNotUsed(answer, saved).value_or(QString()), message);
    }

    // A portal that takes the request after we gave up on it (our own dialog is open by then) has
    // its dialog closed once it names the request. One whose backend starts cold refuses the close
    // until the dialog is set up, and is asked again until it takes it. A place chosen there
    // before the close took effect is the save's answer while the save runs; once the save has
    // ended, or the chooser went with its sheet, it is told as not used, with where the save put
    // its copy. A cancel, the close's own end or a portal that leaves tells nothing; either way
    // nothing is heard from the request afterwards.
    void lateRequest_data()
    {
        QTest::addColumn<int>("mode");
        // -1: the portal leaves the bus instead.
        QTest::addColumn<int>("response");
        QTest::addColumn<bool>("answersBeforeTheClose");
        // How the save stands when the portal names the request: "" runs, "dismissed" ended
        // without a copy, "saved" with one, "gone" went with the chooser.
        QTest::addColumn<QString>("save");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<bool>("notUsed");
        const int late = FakeFileChooserPortal::Late;
        const int cold = FakeFileChooserPortal::Cold;
        QTest::newRow("closed, then ended") << late << 2 << false << QString() << false << false;
        QTest::newRow("chosen before the close") << late << 0 << true << QString() << true << false;
        QTest::newRow("cancelled before the close") << late << 1 << true << QString() << false << false;
        QTest::newRow("chosen after the save was dismissed")
            << late << 0 << true << QStringLiteral("dismissed") << false << true;
        QTest::newRow("cold, closed once set up") << cold << 2 << false << QString() << false << false;
        QTest::newRow("cold, chosen while the close is refused") << cold << 0 << true << QString() << true << false;
        QTest::newRow("cold, chosen after the save ended")
            << cold << 0 << true << QStringLiteral("saved") << false << true;
        QTest::newRow("cold, cancelled after the save ended")
            << cold << 1 << true << QStringLiteral("saved") << false << false;
        QTest::newRow("cold, closed after the chooser went")
            << cold << 2 << false << QStringLiteral("gone") << false << false;
        QTest::newRow("cold, chosen after the chooser went")
            << cold << 0 << true << QStringLiteral("gone") << false << true;
        QTest::newRow("cold, portal leaves while the close is refused")
            << cold << -1 << true << QStringLiteral("dismissed") << false << false;
    }
    void lateRequest()
    {
        QFETCH(int, mode);
        QFETCH(int, response);
        QFETCH(bool, answersBeforeTheClose);
        QFETCH(QString, save);
        QFETCH(bool, chosen);
        QFETCH(bool, notUsed);
        QVERIFY(m_portal.start(mode));
        LateSaveAnswers answers;
        QSignalSpy told(&answers, &LateSaveAnswers::placeNotUsed);
        auto chooser = std::make_unique<PortalFileChooser>();
        chooser->setLateAnswers(&answers);
        chooser->setCallTimeout(100);
        QSignalSpy unavailable(chooser.get(), &PortalFileChooser::unavailable);
        QSignalSpy chosenSpy(chooser.get(), &PortalFileChooser::chosen);
        QSignalSpy cancelled(chooser.get(), &PortalFileChooser::cancelled);
        QSignalSpy failed(chooser.get(), &PortalFileChooser::failed);
        chooser->askSavePDF(nullptr, QStringLiteral("a.pdf"), QUrl());
        QTRY_COMPARE(unavailable.count(), 1);
        QVERIFY(!chooser->asking());
        QTRY_COMPARE(m_portal.requests(), 1);
        QVERIFY(!m_portal.closed());
        const QString saved = m_dir.filePath(QStringLiteral("saved.pdf"));
        if (save == QLatin1String("dismissed"))
            chooser->dismiss();
        else if (save == QLatin1String("saved"))
            chooser->dismiss(QUrl::fromLocalFile(saved));
        else if (save == QLatin1String("gone"))
            chooser.reset();

        const QString late = m_dir.filePath(QStringLiteral("late.pdf"));
        m_portal.takeRequest();
        if (mode == FakeFileChooserPortal::Cold) {
            QTRY_VERIFY(m_portal.refusedCloses() >= 2);
            QVERIFY(!m_portal.closed());
        }
        if (answersBeforeTheClose) {
            if (response < 0)
                m_portal.stop();
            else
                m_portal.respond(uint(response), FakeFileChooserPortal::fileUri(late));
        }
        m_portal.setUpRequest();
        if (!answersBeforeTheClose) {
            QTRY_VERIFY(m_portal.closed());
            m_portal.respond(uint(response), FakeFileChooserPortal::fileUri(late));
        }
        settle();
        QTRY_VERIFY(answers.findChildren<PortalRequestCloser *>().isEmpty());
        settle();
        QCOMPARE(chosenSpy.count(), chosen ? 1 : 0);
        if (chosen)
            QCOMPARE(chosenSpy.at(0).at(0).toUrl(), QUrl::fromLocalFile(late));
        QCOMPARE(cancelled.count() + failed.count(), 0);
        QCOMPARE(unavailable.count(), 1);
        QCOMPARE(told.count(), notUsed ? 1 : 0);
        if (notUsed) {
            const QString message = told.at(0).at(0).toString();
            QVERIFY2(message.startsWith(QStringLiteral("Место «") + late + QStringLiteral("»")), qPrintable(message));
            QCOMPARE(message.contains(saved), save == QLatin1String("saved"));
        }
        if (chooser)
            QVERIFY(!chooser->asking());
    }
};

QTEST_MAIN(tst_PortalFileChooser)
#include "tst_PortalFileChooser.moc"
