// Every text a figure is shown or printed with, over values that come out as zero: zero is shown
// without a sign, whatever sign the value had or however small it was before rounding.
#include "Export/CommercialProposalPDF.h"
#include "Export/CommercialProposalRenderer.h"
#include "Features/Analytics/AnalyticsProjectRow.h"
#include "Features/Editor/EstimateLineTexts.h"
#include "Features/Projects/ProjectsListRules.h"
#include "Utils/MoneyFormat.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

using Formatter = std::function<QString(double)>;

EditableEstimateItem line(double hours, double rate)
{
    EditableEstimateItem item;
    item.title = QStringLiteral("Работа");
    item.category = QStringLiteral("backend");
    item.hours = hours;
    item.rate = rate;
    return item;
}

AnalyticsProjectRow analyticsRow(double planned, double hours, double paid)
{
    AnalyticsProjectRow row;
    row.id = QStringLiteral("p-1");
    row.currency = QStringLiteral("RUB");
    row.plannedCost = planned;
    row.plannedHours = hours;
    row.paidCost = paid;
    return row;
}

// Each formatter by the place it is seen, with the decimals it shows.
struct Shown
{
    const char *where;
    int decimals;
    Formatter format;
};

QList<Shown> formatters()
{
    const QString rub = QStringLiteral("RUB");
    return {
        {"money RUB", 0, [](double v) { return MoneyFormat::format(v, QStringLiteral("RUB")); }},
        {"money USD", 0, [](double v) { return MoneyFormat::format(v, QStringLiteral("USD")); }},
        {"money EUR", 0, [](double v) { return MoneyFormat::format(v, QStringLiteral("EUR")); }},
        {"money, unknown code", 0, [](double v) { return MoneyFormat::format(v, QStringLiteral("руб")); }},
        {"line card hours", 1, [](double v) { return EstimateLineTexts::hoursText(line(v, 1000)); }},
        {"line card rate", 0, [rub](double v) { return EstimateLineTexts::rateText(line(1, v), rub); }},
        {"line card cost", 0, [rub](double v) { return EstimateLineTexts::costText(line(1, v), rub); }},
        {"guest card hours", 1, [](double v) { return ProjectsListRules::cardHoursText(v); }},
        {"guest card cost", 0, [rub](double v) { return ProjectsListRules::cardCostText(v, rub); }},
        {"proposal row hours", 1, [](double v) { return CommercialProposalRenderer::formatHours(v); }},
        {"analytics planned", 0, [](double v) { return analyticsRow(v, 0, 0).plannedText(); }},
        {"analytics hours", 1, [](double v) { return analyticsRow(0, v, 0).hoursText(); }},
        {"analytics remaining", 0, [](double v) { return analyticsRow(v, 0, 0).remainingText(); }},
    };
}

} // namespace

class tst_FigureTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void zeroHasNoSign_data()
    {
        QTest::addColumn<int>("formatter");
        QTest::addColumn<double>("value");
        const QList<Shown> shown = formatters();
        for (int i = 0; i < shown.size(); ++i) {
            // What each rounds to zero: a negative zero, a tiny negative, and what its decimals drop.
            QList<std::pair<const char *, double>> zeros{{"-0", -0.0}, {"-1e-300", -1e-300}};
            if (shown.at(i).decimals == 0)
                zeros << std::pair{"-0.4", -0.4} << std::pair{"-0.5 (half to even)", -0.5};
            else
                zeros << std::pair{"-0.04", -0.04};
            for (const auto &[name, value] : zeros)
                QTest::addRow("%s %s", shown.at(i).where, name) << i << value;
        }
    }
    void zeroHasNoSign()
    {
        QFETCH(int, formatter);
        QFETCH(double, value);
        const QString text = formatters().at(formatter).format(value);
        QVERIFY2(!text.contains(QLatin1Char('-')) && !text.contains(QChar(0x2212)), qPrintable(text));
        // A zero, with as many decimals as the place shows.
        bool hasDigit = false;
        for (const QChar c : text) {
            QVERIFY2(!c.isDigit() || c == QLatin1Char('0'), qPrintable(text));
            hasDigit = hasDigit || c.isDigit();
        }
        QVERIFY2(hasDigit, qPrintable(text));
    }

    // A value that does not round to zero keeps its sign where it is shown as stored.
    void negativeFiguresKeepTheirSign_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line hours") << EstimateLineTexts::hoursText(line(-2, 1000)) << QStringLiteral("-2.0 ч");
        QTest::newRow("line hours -0.06")
            << EstimateLineTexts::hoursText(line(-0.06, 1000)) << QStringLiteral("-0.1 ч");
        QTest::newRow("line rate") << EstimateLineTexts::rateText(line(1, -0.6), QStringLiteral("RUB"))
                                   << QStringLiteral("-1 RUB");
        QTest::newRow("guest card cost") << ProjectsListRules::cardCostText(-0.6, QStringLiteral("RUB"))
                                         << QStringLiteral("-1 RUB");
    }
    void negativeFiguresKeepTheirSign()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }

    // The proposal as printed: a line whose hours and rate were typed as "-0" shows no "-0".
    void proposalPrintsZeroWithoutSign()
    {
        QTemporaryDir folder;
        CommercialProposalInput input;
        input.projectName = QStringLiteral("Сайт");
        input.currency = QStringLiteral("RUB");
        input.items = {line(-0.0, -0.0)};
        input.items.first().title = QStringLiteral("Нулевая строка");
        input.totalHours = -0.0;
        input.totalCost = -0.0;
        const std::optional<QString> path = CommercialProposalPDF::generate(input, QDate(2024, 5, 1), folder.path());
        QVERIFY(path);
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), *path, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(60000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("Нулевая строка")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("-0")), qPrintable(text));
    }
};

QTEST_MAIN(tst_FigureTexts)
#include "tst_FigureTexts.moc"
