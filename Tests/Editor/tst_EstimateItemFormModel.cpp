#include "Features/Editor/EstimateItemFormModel.h"

#include "Data/EstimateCatalogLoader.h"

#include "Utils/Text.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>
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

    // A typed number a double would hold as another one is kept out, the field saying why; the
    // rest reads as it always did. Hours and rate alike.
    void inexactNumbersKeptOut_data()
    {
        QTest::addColumn<bool>("rate");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("keptOut");
        QTest::addColumn<double>("stored");
        for (const bool rate : {false, true}) {
            const char *field = rate ? "rate" : "hours";
            QTest::addRow("%s above 2^53", field) << rate << "9007199254740993" << true << 0.0;
            QTest::addRow("%s 20 digits", field) << rate << "12345678901234567890" << true << 0.0;
            QTest::addRow("%s 16 significant digits", field) << rate << "1,234567890123456" << true << 0.0;
            QTest::addRow("%s hexadecimal beyond 2^53", field) << rate << "0x1p60" << true << 0.0;
            QTest::addRow("%s 9e15", field) << rate << "9e15" << false << 9e15;
            QTest::addRow("%s 15 digits", field) << rate << "123456789,012345" << false << 123456789.012345;
            // Read as 0 anyway, whatever their digits.
            QTest::addRow("%s negative beyond", field) << rate << "-12345678901234567890" << false << 0.0;
            QTest::addRow("%s unreadable", field) << rate << "12 345 678 901 234 567 890" << false << 0.0;
            // "-0" is a zero without a sign.
            QTest::addRow("%s negative zero", field) << rate << "-0e5" << false << 0.0;
        }
    }
    void inexactNumbersKeptOut()
    {
        QFETCH(bool, rate);
        QFETCH(QString, text);
        QFETCH(bool, keptOut);
        QFETCH(double, stored);
        EstimateItemFormModel form;
        form.open(line(1, 1), QStringLiteral("RUB"), 50, QStringLiteral("software"), false);
        QSignalSpy canSave(&form, &EstimateItemFormModel::canSaveChanged);
        if (rate)
            form.setRateText(text);
        else
            form.setHoursText(text);
        const QVariant error = rate ? form.property("rateError") : form.property("hoursError");
        const QVariant other = rate ? form.property("hoursError") : form.property("rateError");
        QVERIFY(other.isNull());
        QCOMPARE(!error.isNull(), keptOut);
        QCOMPARE(form.canSave(), !keptOut);
        QVERIFY(!canSave.isEmpty());
        QSignalSpy saved(&form, &EstimateItemFormModel::saved);
        QCOMPARE(form.save(), !keptOut);
        if (keptOut) {
            QVERIFY(saved.isEmpty());
            QVERIFY(error.toString().contains(QStringLiteral("сохранится неточно")));
            return;
        }
        const auto item = saved.first().first().value<EditableEstimateItem>();
        const double value = rate ? item.rate : item.hours;
        QCOMPARE(value, stored);
        QVERIFY(!std::signbit(value));
    }

    // What the form put in a field itself names a number the line already holds: a line whose
    // stored hours are beyond what a person may type can still be edited.
    void ownNumbersNotKeptOut()
    {
        EstimateItemFormModel form;
        form.open(line(1e154, 1.7e154), QStringLiteral("RUB"), 1e20, QStringLiteral("software"), false);
        QCOMPARE(form.hoursText(), QStringLiteral("1e+154"));
        QVERIFY(form.hoursErrorValue().isNull());
        QVERIFY(form.rateErrorValue().isNull());
        form.useDefaultRate();
        QVERIFY(form.rateErrorValue().isNull());
        QSignalSpy saved(&form, &EstimateItemFormModel::saved);
        QVERIFY(form.save());
        const auto item = saved.first().first().value<EditableEstimateItem>();
        QCOMPARE(item.hours, 1e154);
        QCOMPARE(item.rate, 1e20);
        form.setHoursText(QStringLiteral("1e155"));
        QVERIFY(!form.hoursErrorValue().isNull());
    }

    // Very long texts are shown cut where they are not edited; the line keeps them whole.
    void longTextsShownCutKeptWhole()
    {
        EstimateItemFormModel form;
        EditableEstimateItem item = line(1, 1);
        item.title = QString(70000, QLatin1Char('T'));
        item.description = QString(70000, QLatin1Char('D'));
        form.open(item, QStringLiteral("RUB"), 50, QStringLiteral("software"), false);
        QVERIFY(form.shownTitle().size() <= Text::maxMessageGraphemes + 1);
        QVERIFY(form.shownTitle().endsWith(QStringLiteral("…")));
        QVERIFY(form.shownDescription().size() <= Text::maxMessageGraphemes + 1);
        QSignalSpy saved(&form, &EstimateItemFormModel::saved);
        QVERIFY(form.save());
        const auto done = saved.first().first().value<EditableEstimateItem>();
        QCOMPARE(done.title, item.title);
        QCOMPARE(done.description, item.description);
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
