#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

// Where a value sits in a JSON document ("items[3].hours"), held as a chain of links and written
// out only when an error names it, so that reading and writing build no text per field.
// A link points at its parent and at its key's characters; readers and writers make links for
// the length of one call, inside the lifetime of both.
class JsonPath
{
public:
    JsonPath() = default;
    // A path already in text, e.g. handed over from an outer document. Implicit, so that callers
    // can keep passing text.
    JsonPath(const QString &text)
        : m_text(text)
    {
    }

    JsonPath key(QStringView key) const { return JsonPath(this, key, -1); }
    JsonPath key(QLatin1StringView key) const
    {
        JsonPath link(this, {}, -1);
        link.m_latin1Key = key;
        return link;
    }
    JsonPath index(qsizetype index) const { return JsonPath(this, {}, index); }

    // "a.b[3].c"; empty at the top of the document.
    QString toString() const;

private:
    JsonPath(const JsonPath *parent, QStringView key, qsizetype index)
        : m_parent(parent)
        , m_key(key)
        , m_index(index)
    {
    }
    void appendTo(QString &out) const;

    const JsonPath *m_parent = nullptr;
    QStringView m_key;
    QLatin1StringView m_latin1Key;
    qsizetype m_index = -1;
    QString m_text; // the top link's text
};
