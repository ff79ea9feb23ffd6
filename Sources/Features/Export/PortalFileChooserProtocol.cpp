#include "PortalFileChooserProtocol.h"

#include "Export/FileErrorText.h"
#include "Export/PDFSaveHelper.h"
#include "PortalFileFilter.h"

#include <QDBusError>
#include <QDBusMetaType>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <optional>

namespace PortalFileChooserProtocol {

namespace {

PortalAnswer failed(const QString &message)
{
    return PortalAnswer{PortalAnswer::Kind::Failed, QUrl(), message};
}

PortalFileFilter pdfFilter()
{
    return PortalFileFilter{QStringLiteral("PDF"),
                            {{PortalFilterRule::Glob, QStringLiteral("*.pdf")},
                             {PortalFilterRule::MimeType, QStringLiteral("application/pdf")}}};
}

// The local file a file URI names, percent-decoded; none for another scheme or computer.
std::optional<QString> localPath(const QString &uri)
{
    const QUrl url = QUrl::fromEncoded(uri.toUtf8());
    if (!url.isValid() || url.scheme() != QStringLiteral("file"))
        return std::nullopt;
    if (!url.host().isEmpty() && url.host().compare(QStringLiteral("localhost"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    if (!path.startsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('/')))
        return std::nullopt;
    return path;
}

const QString tryAgain = QStringLiteral(" Попробуйте сохранить ещё раз.");

QString quotedPath(const QString &path)
{
    return QStringLiteral("«") + FileErrorText::shownPath(path) + QStringLiteral("»");
}

} // namespace

void registerTypes()
{
    qDBusRegisterMetaType<PortalFilterRule>();
    qDBusRegisterMetaType<QList<PortalFilterRule>>();
    qDBusRegisterMetaType<PortalFileFilter>();
    qDBusRegisterMetaType<QList<PortalFileFilter>>();
}

QString requestPath(const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return objectPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

QString parentWindow(const QString &platformName, WId window)
{
    if (platformName != QStringLiteral("xcb") || window == 0)
        return QString();
    return QStringLiteral("x11:") + QString::number(quint64(window), 16);
}

QString saveTitle()
{
    return QStringLiteral("Сохранить PDF");
}

QVariantMap saveFileOptions(const QString &token, const QString &suggestedName, const QString &folder)
{
    registerTypes();
    QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("accept_label"), QStringLiteral("Сохранить")},
        {QStringLiteral("modal"), true},
        {QStringLiteral("current_name"), suggestedName},
        {QStringLiteral("filters"), QVariant::fromValue(QList<PortalFileFilter>{pdfFilter()})},
        {QStringLiteral("current_filter"), QVariant::fromValue(pdfFilter())},
    };
    // A file name in the bytes the file system holds, ended by a NUL as the portal expects.
    if (!folder.isEmpty())
        options.insert(QStringLiteral("current_folder"), QFile::encodeName(folder) + '\0');
    return options;
}

PortalAnswer answer(uint response, const QVariantMap &results)
{
    switch (response) {
    case 0: {
        const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
        if (uris.isEmpty())
            return failed(QStringLiteral("Окно сохранения не сообщило, куда сохранить файл.") + tryAgain);
        const std::optional<QString> path = localPath(uris.constFirst());
        if (!path)
            return failed(PDFSaveHelper::notLocalFileText());
        return PortalAnswer{PortalAnswer::Kind::Chosen, QUrl::fromLocalFile(*path), QString()};
    }
    // 1: cancelled; 2: closed some other way (the GTK dialog's Escape and its window's close
    // button). Neither chose a file, and neither is a failure.
    case 1:
    case 2:
        return PortalAnswer{PortalAnswer::Kind::Cancelled, QUrl(), QString()};
    default:
        return failed(QStringLiteral("Окно сохранения вернуло непонятный ответ.") + tryAgain);
    }
}

bool meansUnavailable(const QString &errorName)
{
    static const QStringList names{
        QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
        QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
        QStringLiteral("org.freedesktop.DBus.Error.NoReply"),
        QStringLiteral("org.freedesktop.DBus.Error.Timeout"),
        QStringLiteral("org.freedesktop.DBus.Error.TimedOut"),
        QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
        QStringLiteral("org.freedesktop.DBus.Error.NoServer"),
    };
    // A portal that is installed but cannot start is no portal either.
    return names.contains(errorName) || errorName.startsWith(QStringLiteral("org.freedesktop.DBus.Error.Spawn."));
}

PortalAnswer callFailed(const QDBusError &error)
{
    if (meansUnavailable(error.name()))
        return PortalAnswer{PortalAnswer::Kind::Unavailable, QUrl(), QString()};
    return failed(QStringLiteral("Окно сохранения не открылось.") + tryAgain);
}

PortalAnswer portalLost()
{
    // Its dialog belongs to another process and stays on the screen, answering nobody.
    return failed(QStringLiteral("Окно сохранения перестало отвечать: место, выбранное в нём, не будет "
                                 "использовано. Закройте это окно.")
                  + tryAgain);
}

PortalAnswer withoutUnaskedReplacement(const PortalAnswer &answer)
{
    if (answer.kind != PortalAnswer::Kind::Chosen)
        return answer;
    const QString chosen = answer.file.toLocalFile();
    const std::optional<QString> saved = PDFSaveHelper::destinationPath(answer.file, QString());
    if (!saved || *saved == chosen || !QFileInfo::exists(*saved))
        return answer;
    return failed(QStringLiteral("Файл «") + QFileInfo(*saved).fileName()
                  + QStringLiteral("» уже существует. Чтобы заменить его, выберите этот файл в окне сохранения; "
                                   "чтобы сохранить рядом, дайте копии другое имя."));
}

std::optional<QString> placeNotUsed(const PortalAnswer &chosen, const QString &savedPath)
{
    QString place = QStringLiteral("Место");
    if (chosen.kind == PortalAnswer::Kind::Chosen) {
        if (PDFSaveHelper::destinationPath(chosen.file, QString()) == savedPath)
            return std::nullopt;
        place += QLatin1Char(' ') + quotedPath(chosen.file.toLocalFile());
    }
    place += QStringLiteral(", выбранное в окне сохранения, не использовано: к тому времени ");
    if (savedPath.isEmpty())
        return place + QStringLiteral("сохранение уже закончилось. Чтобы сохранить PDF туда, сохраните его ещё раз.");
    return place + QStringLiteral("PDF уже был сохранён в ") + quotedPath(savedPath)
        + QStringLiteral(". Чтобы сохранить PDF и туда, сохраните его ещё раз.");
}

} // namespace PortalFileChooserProtocol
