#include "IterationSource.h"

QString rawValue(IterationSource source)
{
    switch (source) {
    case IterationSource::Server:
        return QStringLiteral("server");
    case IterationSource::Form:
        return QStringLiteral("form");
    case IterationSource::Empty:
        return QStringLiteral("empty");
    }
    return {};
}

std::optional<IterationSource> iterationSourceFromRaw(const QString &raw)
{
    for (IterationSource source : allIterationSources) {
        if (rawValue(source) == raw)
            return source;
    }
    return std::nullopt;
}

QString label(IterationSource source)
{
    switch (source) {
    case IterationSource::Server:
        return QStringLiteral("Скопировать с облака");
    case IterationSource::Form:
        return QStringLiteral("Из текущей сметы");
    case IterationSource::Empty:
        return QStringLiteral("Пустая смета");
    }
    return {};
}

QString hint(IterationSource source, bool formHasLines)
{
    switch (source) {
    case IterationSource::Server:
        return QStringLiteral("Новая итерация получит копию сметы с сервера для текущей линии.");
    case IterationSource::Form:
        return formHasLines ? QStringLiteral("Переносятся строки из открытой сметы (несохранённые правки).")
                            : QStringLiteral("В форме нет строк — выберите другой источник.");
    case IterationSource::Empty:
        return QStringLiteral("Итерация без позиций — заполните вручную или шаблоном.");
    }
    return {};
}
