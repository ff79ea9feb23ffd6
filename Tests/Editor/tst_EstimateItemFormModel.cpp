#include "Features/Editor/EstimateItemFormModel.h"

#include "Data/EstimateCatalogLoader.h"

#include <QSignalSpy>
#include <QTest>
#include <limits>

// The line form: how typed numbers read, when "Готово" is allowed, and what it hands back.
class tst_EstimateItemFormModel : public QObject
{
    Q_OBJECT

    static EditableEstimateItem line(double hours, double rate)
    {
        EditableEstimateItem item;
        item.title = QStringLiteral("API");
        item.category = QStringLiteral("backend");
        item.hours = hours;
        item.rate = rate;
        return item;
    }

private Q_SLOTS:
    void parseAmount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "1,5" << 1.5;
        QTest::newRow("point") << "1.5" << 1.5;
        QTest::newRow("exponent") << "2e1" << 20.0;
        QTest::newRow("group blank") << "1 000" << 0.0;
        QTest::newRow("leading blank") << " 5" << 0.0;
        QTest::newRow("trailing blank") << "5 " << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("two commas") << "1,5,0" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("negative") << "-3" << 0.0;
        QTest::newRow("not a number") << "nan" << 0.0;
        QTest::newRow("infinite") << "1e400" << 0.0;
        QTest::newRow("blank and comma") << "1 500,50" << 0.0;
        // As the default-rate field reads them.
        QTest::newRow("hexadecimal") << "0x10" << 16.0;
        QTest::newRow("hexadecimal fraction") << "0x1,8" << 1.5;
        QTest::newRow("infinity word") << "inf" << 0.0;
        QTest::newRow("infinity") << "Infinity" << 0.0;
    }
    void parseAmount()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(EstimateItemFormModel::parseAmount(text), value);
    }

    // The texts start as the numbers' shortest texts.
    void openTexts_data()
    {
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("hoursText");
        QTest::addColumn<QString>("rateText");
        QTest::newRow("whole") << 8.0 << 900.0 << "8.0"
                               << "900.0";
        QTest::newRow("new line") << 0.0 << 50.0 << "0.0"
                                  << "50.0";
        QTest::newRow("tiny") << 0.00001 << 1.5 << "1e-05"
                              << "1.5";
    }
    void openTexts()
    {
        QFETCH(double, hours);
        QFETCH(double, rate);
        QFETCH(QString, hoursText);
        QFETCH(QString, rateText);
        EstimateItemFormModel form;
        form.open(line(hours, rate), QStringLiteral("RUB"), 50, QStringLiteral("software"), false);
        QCOMPARE(form.hoursText(), hoursText);
        QCOMPARE(form.rateText(), rateText);
        QCOMPARE(form.rateTitle(), QStringLiteral("Ставка (RUB)"));
    }

    void canSave_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("spaces and tabs") << " \t\u2003" << false;
        QTest::newRow("one letter") << "a" << true;
        QTest::newRow("line break") << "\n" << true;
    }
    void canSave()
    {
        QFETCH(QString, title);
        QFETCH(bool, enabled);
        EstimateItemFormModel form;
        form.open(line(1, 1), QStringLiteral("RUB"), 50, QStringLiteral("software"), true);
        QSignalSpy saved(&form, &EstimateItemFormModel::saved);
        form.setTitle(title);
        QCOMPARE(form.canSave(), enabled);
        QCOMPARE(form.save(), enabled);
        QCOMPARE(saved.size(), enabled ? 1 : 0);
    }

    void defaultRateButton_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 900.0 << "Подставить ставку по умолчанию (900)"
                               << "900.0";
        QTest::newRow("truncated") << 49.99 << "Подставить ставку по умолчанию (49)"
                                   << "49.99";
        QTest::newRow("negative") << -1.5 << "Подставить ставку по умолчанию (-1)"
                                  << "-1.5";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN()
                                      << "Подставить ставку по умолчанию (0)"
                                      << "nan";
        QTest::newRow("huge") << 1e300 << "Подставить ставку по умолчанию (0)"
                              << "1e+300";
    }
    void defaultRateButton()
    {
        QFETCH(double, rate);
        QFETCH(QString, label);
        QFETCH(QString, text);
        EstimateItemFormModel form;
        form.open(line(1, 7), QStringLiteral("RUB"), rate, QStringLiteral("software"), false);
        QCOMPARE(form.defaultRateButtonText(), label);
        form.useDefaultRate();
        QCOMPARE(form.rateText(), text);
        QCOMPARE(form.draft().rate, 7.0);
    }

    // "Готово": numbers read, texts as typed, identity kept; the category goes through the
    // catalog with the form's sphere.
    void savedLine()
    {
        EstimateItemFormModel form;
        const EditableEstimateItem original = line(1, 1);
        form.open(original, QStringLiteral("RUB"), 50, QStringLiteral("software"), false);
        QSignalSpy saved(&form, &EstimateItemFormModel::saved);
        form.setTitle(QStringLiteral("  Вёрстка  "));
        form.setHoursText(QStringLiteral("1,5"));
        form.setRateText(QStringLiteral("-20"));
        form.setIsLocked(true);
        form.setCategory(QStringLiteral("no-such-category"));
        QVERIFY(form.save());
        const auto item = saved.first().first().value<EditableEstimateItem>();
        QCOMPARE(item.id, original.id);
        QCOMPARE(item.title, QStringLiteral("  Вёрстка  "));
        QCOMPARE(item.hours, 1.5);
        QCOMPARE(item.rate, 0.0);
        QVERIFY(item.isLocked);
        const QList<CatalogCategory> categories = EstimateCatalogLoader::categories(QStringLiteral("software"));
        QVERIFY(!categories.isEmpty());
        QCOMPARE(item.category, categories.first().id);
        QCOMPARE(form.categoryOptions().size(), categories.size());
    }

    // Without a catalog there are no options and the category stays as it is.
    void noCatalog()
    {
        EstimateCatalogLoader::ScopedCatalogOverride missing(QStringLiteral(TESSMARK_TEST_DATA "/catalog/none.json"));
        EstimateItemFormModel form;
        form.open(line(1, 1), QStringLiteral("USD"), 50, QStringLiteral("software"), true);
        QVERIFY(form.categoryOptions().isEmpty());
        QSignalSpy saved(&form, &EstimateItemFormModel::saved);
        QVERIFY(form.save());
        QCOMPARE(saved.first().first().value<EditableEstimateItem>().category, QStringLiteral("backend"));
    }
};

QTEST_GUILESS_MAIN(tst_EstimateItemFormModel)
#include "tst_EstimateItemFormModel.moc"
