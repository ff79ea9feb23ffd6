// The application runs with Russian as its default locale, so that Qt's own dialogs format sizes
// and dates as the window does. Our texts, the JSON and the store must not follow it: each is made
// under the C locale and again under the Russian default, and the two must agree byte for byte.
#include "../Support/SampleEstimates.h"
#include "Data/LocalProjectRepository.h"
#include "Data/ModelContainer.h"
#include "Export/CommercialProposalRenderer.h"
#include "Utils/IsoTimestamp.h"
#include "Utils/Json.h"
#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"

#include <QDateTime>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

class tst_LocaleIndependence : public QObject
{
    Q_OBJECT

private:
    // Everything of ours that turns values into text or bytes, one entry per value.
    QStringList texts() const
    {
        QStringList out;
        for (const double value : {0.0, -0.0, 0.5, 2.5, 1234.5, 1234567.891, -98765.4321, 1e21}) {
            for (const char *currency : {"RUB", "USD", "EUR"})
                out << MoneyFormat::format(value, QString::fromLatin1(currency));
            out << NumberText::fixed(value, 0) << NumberText::fixed(value, 1) << NumberText::fixed(value, 2)
                << NumberText::shortest(value) << CommercialProposalRenderer::formatHours(value)
                << CommercialProposalRenderer::workingDays(value);
        }
        for (const char *typed : {"1.5", "1,5", "1 234,5", "12345678.25", "-0"}) {
            const std::optional<double> parsed = NumberText::parseDecimal(QString::fromLatin1(typed));
            out << (parsed ? NumberText::shortest(*parsed) : QStringLiteral("none"));
        }
        out << CommercialProposalRenderer::formatRussianDate(QDate(2026, 12, 7))
            << isoTimestamp(QDateTime(QDate(2026, 12, 7), QTime(13, 32, 20, 42), Qt::UTC));
        const Project project = SampleEstimates::project(7);
        out << QString::fromUtf8(project.toJsonText()) << QString::fromUtf8(Json::serialize(project.toJson()));
        return out;
    }

    // Every column of every row the store holds after writing two projects, as text.
    QStringList storedRows(const QString &file) const
    {
        {
            const LocalProjectRepository repository(ModelContainer::open(file));
            Project first = SampleEstimates::project(5, QStringLiteral("one_time"), QStringLiteral("p-1"));
            Project second = SampleEstimates::project(12, QStringLiteral("one_time"), QStringLiteral("p-2"));
            second.items[0].hours = 1234.75;
            second.items[0].rate = 0.125;
            repository.upsert(first);
            repository.upsert(second.recalculatedTotals());
        }
        QStringList rows;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rows"));
            db.setDatabaseName(file);
            if (db.open()) {
                QSqlQuery query(db);
                query.exec(QStringLiteral("SELECT * FROM LocalProjectRecord ORDER BY id"));
                while (query.next()) {
                    const QSqlRecord record = query.record();
                    for (int i = 0; i < record.count(); ++i) {
                        // updatedAt is the moment of writing.
                        if (record.fieldName(i) != QLatin1String("updatedAt"))
                            rows << record.fieldName(i) + QLatin1Char('=') + query.value(i).toString();
                    }
                }
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("rows"));
        return rows;
    }

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void textsDoNotFollowTheDefaultLocale()
    {
        QLocale::setDefault(QLocale::c());
        const QStringList plain = texts();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        // The default really changed: Qt's own formatting is Russian now.
        QCOMPARE(QLocale().toString(1234.5, 'f', 1), QStringLiteral("1\u00A0234,5"));
        const QStringList russian = texts();
        QCOMPARE(russian.size(), plain.size());
        for (qsizetype i = 0; i < plain.size(); ++i)
            QCOMPARE(russian.at(i), plain.at(i));
    }

    void storeDoesNotFollowTheDefaultLocale()
    {
        QTemporaryDir dir;
        QLocale::setDefault(QLocale::c());
        const QStringList plain = storedRows(dir.filePath(QStringLiteral("c.store")));
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        const QStringList russian = storedRows(dir.filePath(QStringLiteral("ru.store")));
        QVERIFY(!plain.isEmpty());
        QCOMPARE(russian, plain);
    }
};

QTEST_GUILESS_MAIN(tst_LocaleIndependence)
#include "tst_LocaleIndependence.moc"
