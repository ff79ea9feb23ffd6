#include "API/APIClient.h"
#include "Await.h"
#include "Models/MessageResponse.h"
#include "BoundedTexts.h"
#include "RawHttpServer.h"
#include "Utils/Text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

const QString noConnection =
    QStringLiteral("Нет связи с 127.0.0.1. Проверьте интернет и URL API (параметр CMake API_BASE_URL).");

QByteArray head(int status, const QByteArray &headers)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\n" + headers + "\r\n";
}

QByteArray chunk(const QByteArray &data)
{
    return QByteArray::number(data.size(), 16) + "\r\n" + data + "\r\n";
}

// An answer of size bytes: with its length, with its length but no body, in chunks, or in
// chunks without end.
RawHttpServer::Responder sized(int status, const QString &shape, qint64 size)
{
    return [status, shape, size](QTcpSocket *socket, const QByteArray &) {
        if (shape == QStringLiteral("length")) {
            socket->write(head(status, "Content-Length: " + QByteArray::number(size) + "\r\n"));
            socket->write(QByteArray(size, 'a'));
            return;
        }
        if (shape == QStringLiteral("announced")) {
            socket->write(head(status, "Content-Length: " + QByteArray::number(size) + "\r\n"));
            return;
        }
        socket->write(head(status, "Transfer-Encoding: chunked\r\n"));
        const QByteArray piece(4096, 'a');
        if (shape == QStringLiteral("chunked")) {
            for (qint64 left = size; left > 0; left -= piece.size())
                socket->write(chunk(piece.left(qMin<qint64>(left, piece.size()))));
            socket->write("0\r\n\r\n");
            return;
        }
        // Keeps a little ahead of the reader, until it hangs up. Timed rather than driven by each
        // write's end, so that on one CPU the writer never holds the thread the reader's
        // progress is told on.
        auto *more = new QTimer(socket);
        more->setInterval(1);
        QObject::connect(more, &QTimer::timeout, socket, [socket, piece] {
            while (socket->bytesToWrite() < 256 * 1024)
                socket->write(chunk(piece));
        });
        more->start();
    };
}

// The answer one byte every 100 ms; head: from its first byte, or body: after a prompt head.
RawHttpServer::Responder dripping(const QString &part)
{
    return [part](QTcpSocket *socket, const QByteArray &) {
        const QByteArray body(40, 'a');
        QByteArray rest = head(200, "Content-Length: " + QByteArray::number(body.size()) + "\r\n") + body;
        if (part == QStringLiteral("body")) {
            socket->write(rest.left(rest.size() - body.size()));
            rest = body;
        }
        auto *drip = new QTimer(socket);
        QObject::connect(drip, &QTimer::timeout, socket, [socket, drip, rest, sent = qsizetype(0)]() mutable {
            socket->write(rest.mid(sent++, 1));
            if (sent == rest.size())
                drip->stop();
        });
        drip->start(100);
    };
}

// The answer body as given, with its length or in chunks of 64 KiB.
RawHttpServer::Responder answering(int status, const QByteArray &body, bool chunked)
{
    return [status, body, chunked](QTcpSocket *socket, const QByteArray &) {
        if (!chunked) {
            socket->write(
                head(status,
                     "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n")
                + body);
            return;
        }
        socket->write(head(status, "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n"));
        for (qsizetype at = 0; at < body.size(); at += 64 * 1024)
            socket->write(chunk(body.mid(at, 64 * 1024)));
        socket->write("0\r\n\r\n");
    };
}

QByteArray messageBody(const QJsonValue &message)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("message"), message}}).toJson(QJsonDocument::Compact);
}

void verifyBounded(const QString &text)
{
    QVERIFY2(isBoundedForLayout(text), qPrintable(QString::number(text.size())));
}

} // namespace

class TestAPIClientHardening : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Whatever a redirect names, nothing of the request goes there: the 3xx answer is the outcome.
    void redirectsAreNotFollowed_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("authorized");
        QTest::addColumn<bool>("sameServer");

        QTest::newRow("302 of a GET with a token") << 302 << "GET"
                                                   << "projects" << true << false;
        QTest::newRow("301 of a DELETE with a token") << 301 << "DELETE"
                                                      << "projects/p-1" << true << false;
        QTest::newRow("303 of a PATCH with a body") << 303 << "PATCH"
                                                    << "projects/p-1" << true << false;
        QTest::newRow("307 of the sign-in") << 307 << "POST"
                                            << "auth/login" << false << false;
        QTest::newRow("308 of the sign-in") << 308 << "POST"
                                            << "auth/login" << false << false;
        QTest::newRow("302 to another path of the same server") << 302 << "GET"
                                                                << "projects" << true << true;
    }
    void redirectsAreNotFollowed()
    {
        QFETCH(int, status);
        QFETCH(QString, method);
        QFETCH(QString, path);
        QFETCH(bool, authorized);
        QFETCH(bool, sameServer);

        RawHttpServer elsewhere([](QTcpSocket *socket, const QByteArray &) {
            socket->write(head(200, "Content-Type: application/json\r\nContent-Length: 2\r\n") + "{}");
        });
        QVERIFY(elsewhere.start() != 0);
        RawHttpServer backend([&](QTcpSocket *socket, const QByteArray &) {
            const QUrl target =
                sameServer ? backend.url(QStringLiteral("api/moved")) : elsewhere.url(QStringLiteral("api/") + path);
            socket->write(head(status, "Location: " + target.toEncoded() + "\r\nContent-Length: 0\r\n"));
        });
        QVERIFY(backend.start() != 0);

        APIClient client{backend.url(QStringLiteral("api"))};
        client.setTokenProvider([] { return QStringLiteral("tok-1"); });
        const QJsonObject credentials{{QStringLiteral("email"), QStringLiteral("a@b.c")},
                                      {QStringLiteral("password"), QStringLiteral("secret-1")}};
        const std::optional<QJsonValue> body = method == QStringLiteral("POST") || method == QStringLiteral("PATCH")
            ? std::optional<QJsonValue>(credentials)
            : std::nullopt;
        const auto failure = apiFailure(client.requestData(method, path, body, authorized));

        QVERIFY(failure);
        QCOMPARE(failure->status(), status);
        QCOMPARE(failure->errorDescription(), QStringLiteral("Ошибка сервера (%1)").arg(status));
        QCOMPARE(backend.requests().size(), 1);
        QVERIFY2(elsewhere.requests().isEmpty(), elsewhere.requests().value(0).constData());
    }

    void answerSizeIsCapped_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("accepted");

        const qint64 cap = 64 * 1024;
        QTest::newRow("length at the cap") << 200 << "length" << cap << true;
        QTest::newRow("length past the cap") << 200 << "length" << cap + 1 << false;
        QTest::newRow("length far past the cap, no body yet") << 200 << "announced" << (qint64(1) << 40) << false;
        QTest::newRow("chunks up to the cap") << 200 << "chunked" << cap << true;
        QTest::newRow("chunks past the cap") << 200 << "chunked" << cap + 1 << false;
        QTest::newRow("chunks without end") << 200 << "endless" << qint64(0) << false;
        QTest::newRow("error answer past the cap") << 500 << "length" << cap + 1 << false;
    }
    void answerSizeIsCapped()
    {
        QFETCH(int, status);
        QFETCH(QString, shape);
        QFETCH(qint64, size);
        QFETCH(bool, accepted);

        RawHttpServer backend(sized(status, shape, size));
        QVERIFY(backend.start() != 0);
        APIClient client{backend.url(QStringLiteral("api"))};
        client.setMaxAnswerBytes(64 * 1024);
        try {
            const QByteArray answer =
                await(client.requestData(QStringLiteral("GET"), QStringLiteral("projects"), std::nullopt, false));
            QVERIFY2(accepted, "an answer past the cap came back as a success");
            QCOMPARE(answer.size(), size);
        } catch (const APIError &failure) {
            QVERIFY2(!accepted, qPrintable(failure.errorDescription()));
            // A failed answer keeps its status; its body is not read. A successful one too long
            // to take says so.
            const int expected = status >= 400 ? status : -1;
            QCOMPARE(failure.status(), expected);
            QCOMPARE(failure.errorDescription(),
                     status >= 400
                         ? QStringLiteral("Ошибка сервера (%1)").arg(expected)
                         : QStringLiteral("Ответ сервера слишком большой: приложение не может его принять. "
                                          "Попробуйте позже; если ошибка повторится, обратитесь в поддержку."));
        }
    }

    // The silence timeout never fires on an answer that keeps moving; the deadline does.
    void deadlineEndsATricklingAnswer_data()
    {
        QTest::addColumn<QString>("part");
        QTest::newRow("head trickles") << "head";
        QTest::newRow("body trickles") << "body";
    }
    void deadlineEndsATricklingAnswer()
    {
        QFETCH(QString, part);
        RawHttpServer backend(dripping(part));
        QVERIFY(backend.start() != 0);
        APIClient client{backend.url(QStringLiteral("api"))};
        client.setDeadline(1000);
        const auto failure =
            apiFailure(client.requestData(QStringLiteral("GET"), QStringLiteral("projects"), std::nullopt, false));
        QVERIFY2(failure, "the trickling answer came back as a success");
        QCOMPARE(failure->status(), -1);
        QCOMPARE(failure->errorDescription(), noConnection);
    }

    // Hostile failures: whatever the body holds, the text a screen shows stays bounded.
    void errorTextsAreBounded_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("chunked");
        QTest::addColumn<QString>("expected"); // empty: only bounded

        const QString status400 = QStringLiteral("Ошибка сервера (400)");
        const QString ellipsis = QStringLiteral("…");
        const auto text = [](qsizetype size, QChar c) { return QJsonValue(QString(size, c)); };
        QTest::newRow("1 MB message") << 400 << messageBody(text(1 << 20, u'a')) << false << status400;
        QTest::newRow("10 MB message") << 400 << messageBody(text(10 << 20, u'a')) << false << status400;
        QTest::newRow("10 MB message in chunks") << 400 << messageBody(text(10 << 20, u'a')) << true << status400;
        QTest::newRow("10 MB sign-in refusal")
            << 401 << messageBody(text(10 << 20, u'a')) << true << QStringLiteral("Неверный email или пароль");
        QTest::newRow("long message under the body cap")
            << 400 << messageBody(text(30000, u'ж')) << false << QString(300, u'ж') + ellipsis;
        QTest::newRow("list of long messages") << 500 << messageBody(QJsonArray{text(20000, u'x'), text(20000, u'y')})
                                               << true << QString(300, u'x') + ellipsis;
        QTest::newRow("many lines") << 400 << messageBody(QStringLiteral("один\nдва\r\nтри\nчетыре\nпять")) << false
                                    << QStringLiteral("один\nдва\r\nтри…");
        QTest::newRow("blank lines") << 400 << messageBody(QStringLiteral("a\n\n\n\n\nb")) << false
                                     << QStringLiteral("a…");
        QTest::newRow("one character of many marks")
            << 400 << messageBody(QStringLiteral("a") + QString(20000, QChar(0x0301))) << false << QString();
        QTest::newRow("flags stay whole")
            << 400 << messageBody(QString::fromUtf8("\U0001F1F7\U0001F1FA").repeated(500)) << false
            << QString::fromUtf8("\U0001F1F7\U0001F1FA").repeated(300) + ellipsis;
        QTest::newRow("letters with marks stay whole")
            << 400 << messageBody(QStringLiteral("й").normalized(QString::NormalizationForm_D).repeated(1000)) << false
            << QStringLiteral("й").normalized(QString::NormalizationForm_D).repeated(300) + ellipsis;
        QTest::newRow("number") << 400 << messageBody(1e308) << false << status400;
        QTest::newRow("object") << 400 << messageBody(QJsonObject{{QStringLiteral("a"), 1}}) << false << status400;
        QTest::newRow("list with a number")
            << 400 << messageBody(QJsonArray{QStringLiteral("a"), 1}) << false << status400;
        QTest::newRow("not JSON") << 400 << QByteArray(50000, '<') << false << status400;
        QTest::newRow("short message kept")
            << 400 << messageBody(QStringLiteral("Нет\tтакого")) << false << QStringLiteral("Нет\tтакого");
    }
    void errorTextsAreBounded()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, chunked);
        QFETCH(QString, expected);

        RawHttpServer backend(answering(status, body, chunked));
        QVERIFY(backend.start() != 0);
        APIClient client{backend.url(QStringLiteral("api"))};
        const auto failure =
            apiFailure(client.requestData(QStringLiteral("POST"), QStringLiteral("auth/login"), QJsonObject(), false));
        QVERIFY(failure);
        QCOMPARE(failure->status(), status);
        const QString shown = failure->errorDescription();
        verifyBounded(shown);
        if (!expected.isEmpty())
            QCOMPARE(shown, expected);
    }

    // A success's notice and a decoding failure's cause are the server's words too.
    void answerTextsAreBounded()
    {
        RawHttpServer notice(answering(200, messageBody(QString(1 << 20, u'n')), true));
        QVERIFY(notice.start() != 0);
        APIClient client{notice.url(QStringLiteral("api"))};
        const MessageResponse response = await(client.request<MessageResponse>(
            QStringLiteral("POST"), QStringLiteral("auth/register"), QJsonObject(), false));
        verifyBounded(response.message);
        QCOMPARE(response.message, QString(300, u'n') + QStringLiteral("…"));

        RawHttpServer wrongType(answering(200, messageBody(QJsonArray{QString(1 << 20, u'w')}), false));
        QVERIFY(wrongType.start() != 0);
        APIClient other{wrongType.url(QStringLiteral("api"))};
        const auto failure = apiFailure(other.request<MessageResponse>(
            QStringLiteral("POST"), QStringLiteral("auth/register"), QJsonObject(), false));
        QVERIFY(failure);
        QCOMPARE(failure->kind(), APIError::Kind::Decoding);
        verifyBounded(failure->errorDescription());
    }
};

QTEST_GUILESS_MAIN(TestAPIClientHardening)
#include "tst_APIClientHardening.moc"
