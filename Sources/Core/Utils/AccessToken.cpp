#include "AccessToken.h"

namespace AccessToken {

bool isWellFormed(const QString &token)
{
    if (token.isEmpty())
        return false;
    for (const QChar c : token) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

QString refusedText()
{
    return QStringLiteral("Сервер прислал недопустимый ключ входа. Вход не выполнен, попробуйте ещё раз позже.");
}

} // namespace AccessToken
