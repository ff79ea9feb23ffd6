#include "Models/EditableEstimateItem.h"
#include "Utils/EstimateValidation.h"

#include <QSet>
#include <QTest>
#include <limits>

namespace {

EditableEstimateItem item(const QString &title, double hours = 1, double rate = 1)
{
    EditableEstimateItem e;
    e.title = title;
    e.category = QStringLiteral("sw_backend");
    e.hours = hours;
    e.rate = rate;
    return e;
}

const QString noName = QStringLiteral("Укажите название проекта");
const QString noTitle = QStringLiteral("У каждой строки должно быть название");
const QString negative = QStringLiteral("Часы и ставка не могут быть отрицательными");
const double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

Q_DECLARE_METATYPE(QList<EditableEstimateItem>)

class tst_EstimateValidation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void validate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<EditableEstimateItem>>("items");
        QTest::addColumn<QString>("message"); // empty: may be saved

        QTest::newRow("blank name wins over lines")
            << " \t\u00A0" << QList<EditableEstimateItem>{item(QString(), -1, -1)} << noName;
        QTest::newRow("name of a line break passes") << "\n" << QList<EditableEstimateItem>{} << "";
        QTest::newRow("no lines") << "Сайт" << QList<EditableEstimateItem>{} << "";
        QTest::newRow("lines in order: numbers of line 1 first")
            << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("a"), 1, -1), item(QString())} << negative;
        QTest::newRow("title before numbers in one line")
            << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral(" "), -1, 1)} << noTitle;
        QTest::newRow("title of a line break passes") << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("\n"))}
                                                      << "";
        QTest::newRow("negative hours") << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("a"), -0.5, 1)}
                                        << negative;
        QTest::newRow("zeros pass") << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("a"), 0, 0)} << "";
        QTest::newRow("negative zero passes") << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("a"), -0.0, -0.0)}
                                              << "";
        QTest::newRow("NaN passes") << "Сайт"
                                    << QList<EditableEstimateItem>{item(QStringLiteral("a"), notANumber, notANumber)}
                                    << "";
    }
    void validate()
    {
        QFETCH(QString, name);
        QFETCH(QList<EditableEstimateItem>, items);
        QFETCH(QString, message);
        const auto result = EstimateValidation::validate(items, name);
        QCOMPARE(result.value_or(QString()), message);
        QCOMPARE(result.has_value(), !message.isEmpty());
    }

    void workingCopiesHaveFreshIdentities()
    {
        const EditableEstimateItem a = item(QStringLiteral("API"));
        const EditableEstimateItem b = item(QStringLiteral("API"));
        QVERIFY(a.id != b.id);
        QVERIFY(!(a == b));
        EditableEstimateItem c = a;
        c.hours = a.hours;
        QCOMPARE(c, a);
        QCOMPARE(qHash(c), qHash(a));
        c.rate = -0.0;
        EditableEstimateItem d = a;
        d.rate = 0.0;
        QCOMPARE(c, d);
        QCOMPARE(qHash(c), qHash(d));
        QCOMPARE((QSet<EditableEstimateItem>{a, b, c}).size(), 3);
    }
};

QTEST_GUILESS_MAIN(tst_EstimateValidation)
#include "tst_EstimateValidation.moc"
