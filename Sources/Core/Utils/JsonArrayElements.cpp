#include "JsonArrayElements.h"

namespace JsonArrayElements {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

qsizetype skipBlanks(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

// Where the value that begins at `at` ends: past its closing bracket or quote, or at the first
// blank, comma or bracket after a bare number or word; -1 when a string or bracket never closes.
qsizetype valueEnd(QByteArrayView text, qsizetype at)
{
    int depth = 0;
    bool inString = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (inString) {
            if (c == '\\')
                ++at;
            else if (c == '"')
                inString = false;
            if (!inString && depth == 0)
                return at + 1;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            break;
        case '{':
        case '[':
            ++depth;
            break;
        case '}':
        case ']':
            if (depth == 0)
                return at;
            if (--depth == 0)
                return at + 1;
            break;
        case ',':
            if (depth == 0)
                return at;
            break;
        default:
            if (depth == 0 && isBlank(c))
                return at;
        }
    }
    return depth == 0 && !inString ? at : -1;
}

} // namespace

std::optional<QList<QByteArrayView>> split(QByteArrayView text)
{
    qsizetype at = skipBlanks(text, 0);
    if (at >= text.size() || text[at] != '[')
        return std::nullopt;
    QList<QByteArrayView> elements;
    at = skipBlanks(text, at + 1);
    if (at < text.size() && text[at] == ']')
        return skipBlanks(text, at + 1) == text.size() ? std::optional(elements) : std::nullopt;
    while (at < text.size()) {
        const qsizetype end = valueEnd(text, at);
        if (end <= at)
            return std::nullopt;
        elements.append(text.sliced(at, end - at));
        at = skipBlanks(text, end);
        if (at >= text.size())
            return std::nullopt;
        if (text[at] == ']')
            return skipBlanks(text, at + 1) == text.size() ? std::optional(elements) : std::nullopt;
        if (text[at] != ',')
            return std::nullopt;
        at = skipBlanks(text, at + 1);
    }
    return std::nullopt;
}

} // namespace JsonArrayElements
