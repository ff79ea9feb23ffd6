#include "AccessToken.h"

namespace AccessToken {

bool isWellFormed(const QString &token)
{
    if (token.isEmpty() || token.size() > maxLength)
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

bool fitsLink(const QString &token)
{
    return token.size() <= maxLength;
}

QString linkRefusedText()
{
    return QStringLiteral(
        "Ссылка повреждена: ключ в ней слишком длинный. Запросите новое письмо и откройте ссылку из него.");
}

} // namespace AccessToken
