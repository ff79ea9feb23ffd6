#include "Export/CommercialProposalPDF.h"
#include "Export/CommercialProposalRenderer.h"
#include "../Support/FiniteTexts.h"
#include "ExportSamples.h"
#include "Utils/LineCost.h"
#include "Utils/Numbers.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <limits>

// The rendered proposals are read back with poppler-utils, as a reader of the PDF sees them.
namespace {

const QDate renderDate(2024, 5, 1);

struct Word
{
    int page;
    QString text;
    double xMin, yMin, xMax, yMax;
};

QString tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Runs of blanks (the money's no-break spaces too) collapsed to one space, per line.
QStringList normalizedLines(const QString &text)
{
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.replace(QChar(0x00A0), QLatin1Char(' '));
        line.replace(QChar(0x202F), QLatin1Char(' '));
        line = line.simplified();
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

QList<Word> words(const QString &pdf)
{
    QList<Word> result;
    QXmlStreamReader xml(tool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox-layout"), pdf, QStringLiteral("-")}));
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const QXmlStreamAttributes a = xml.attributes();
            const double xMin = a.value(QLatin1String("xMin")).toDouble();
            const double yMin = a.value(QLatin1String("yMin")).toDouble();
            const double xMax = a.value(QLatin1String("xMax")).toDouble();
            const double yMax = a.value(QLatin1String("yMax")).toDouble();
            result.append(Word{page, xml.readElementText(), xMin, yMin, xMax, yMax});
        }
    }
    if (xml.hasError())
        qWarning() << "bbox-layout:" << xml.errorString() << xml.lineNumber();
    return result;
}

EditableEstimateItem line(const QString &title, double hours, double rate, const QString &description = QString())
{
    EditableEstimateItem item;
    item.title = title;
    item.description = description;
    item.category = QStringLiteral("sw_frontend");
    item.hours = hours;
    item.rate = rate;
    return item;
}

CommercialProposalInput withLines(int count)
{
    CommercialProposalInput input;
    input.clientName = QStringLiteral("ООО «Ромашка»");
    input.projectName = QStringLiteral("Сайт");
    input.currency = QStringLiteral("RUB");
    for (int i = 0; i < count; ++i)
        input.items.append(line(QStringLiteral("Работа %1").arg(i + 1), 10, 1000));
    input.totalHours = 10.0 * count;
    input.totalCost = 10000.0 * count;
    return input;
}

int pageCount(const QString &pdf)
{
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption);
    return pages.match(tool(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

} // namespace

Q_DECLARE_METATYPE(CommercialProposalInput)

class tst_CommercialProposalPDF : public QObject
{
    Q_OBJECT

private:
    QString generate(const CommercialProposalInput &input)
    {
        const std::optional<QString> path = CommercialProposalPDF::generate(input, renderDate, m_base.path());
        return path.value_or(QString());
    }

    QTemporaryDir m_base;

private Q_SLOTS:
    void pageGeometry_data();
    void pageGeometry();
    void onlyTheBundledFontEmbedded();
    void texts_data();
    void texts();
    void formats_data();
    void formats();
    void longTableRunsOverPages();
    void totalBarMovesToTheNextPage();
    void longTextContinuesOnTheNextPage_data();
    void longTextContinuesOnTheNextPage();
    void notesKeepTogether();
    void lastPageIsNeverTheFooterAlone_data();
    void lastPageIsNeverTheFooterAlone();
    void titleInTheMetadata_data();
    void titleInTheMetadata();
    void otherScriptsAndEmojiArePrintedAndExtracted_data();
    void otherScriptsAndEmojiArePrintedAndExtracted();
    void fileIsNamedAfterTheProject();
    void figuresThatOverflowPrintAsADash_data();
    void figuresThatOverflowPrintAsADash();
    void wideAmountsNeverOverlapTheHours_data();
    void wideAmountsNeverOverlapTheHours();
    void hugeFiguresStayOnThePage_data();
    void hugeFiguresStayOnThePage();
};

void tst_CommercialProposalPDF::pageGeometry_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pages");
    QTest::newRow("empty") << 0 << 1;
    QTest::newRow("120 lines") << 120 << 10;
}

void tst_CommercialProposalPDF::pageGeometry()
{
    QFETCH(int, lines);
    QFETCH(int, pages);
    const QString pdf = generate(withLines(lines));
    QVERIFY(!pdf.isEmpty());
    const QString info = tool(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QStringLiteral("595 x 842 pts")), qPrintable(info));
    if (lines == 0)
        QCOMPARE(pageCount(pdf), pages);
    else
        QVERIFY2(pageCount(pdf) >= pages, qPrintable(info));
}

void tst_CommercialProposalPDF::onlyTheBundledFontEmbedded()
{
    CommercialProposalInput input = withLines(3);
    input.items[1].description = QStringLiteral("№ 5 — детали: 100 ₽");
    const QString fonts = tool(QStringLiteral("pdffonts"), {generate(input)});
    const QStringList rows = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY2(rows.size() >= 3, qPrintable(fonts));
    for (const QString &row : rows) {
        const QStringList columns = row.simplified().split(QLatin1Char(' '));
        QVERIFY2(columns.first().section(QLatin1Char('+'), -1).startsWith(QStringLiteral("Roboto-")), qPrintable(row));
        // ... encoding, emb, sub, uni, object number, generation
        QCOMPARE(columns.at(columns.size() - 5), QStringLiteral("yes"));
    }
}

void tst_CommercialProposalPDF::texts_data()
{
    // expected: exact texts, blanks included; a row's cells read "number hours money" there.
    // rows: lines of the page as laid out, compared without blanks.
    QTest::addColumn<CommercialProposalInput>("input");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("absent");

    CommercialProposalInput empty;
    empty.currency = QStringLiteral("RUB");
    QTest::newRow("empty estimate")
        << empty
        << QStringList{"Коммерческое предложение",
                       "Проект",
                       "Клиент Не указан",
                       "Дата 1 мая 2024 г.",
                       "Предложение действительно 30 дней",
                       "Сводка по оценке",
                       "0 ч 0 ₽ ~1 раб. дн.",
                       "Состав работ и оценка трудозатрат",
                       "№ Работы Часы Стоимость",
                       "Позиции сметы не добавлены",
                       "Итого по оценке 0 ч 0 ₽",
                       "Примечания",
                       "• Оценка основана на перечне работ ниже; детализация может уточняться на этапе согласования.",
                       "• Сроки ориентировочные: старт в течение нескольких рабочих дней, длительность порядка 1 раб. "
                       "дн.",
                       "Документ сформирован в Tessmark · носит ознакомительный характер"}
        << QStringList{"Итого по оценке 0 ч 0 ₽"} << QStringList{"FRONTEND"};

    CommercialProposalInput hours = withLines(0);
    hours.items = {line(QStringLiteral("Дизайн"), 40, 2500), line(QStringLiteral("Вёрстка"), 12.5, 2000),
                   line(QStringLiteral("Тесты"), 7.25, 1000), line(QStringLiteral("Созвон"), 0.5, 1000)};
    hours.totalHours = 60.25;
    hours.totalCost = 132500; // the producer's, whatever the lines say
    QTest::newRow("hours") << hours
                           << QStringList{"1 40 100 000 ₽",
                                          "2 12.5 25 000 ₽",
                                          "3 7.2 7 250 ₽",
                                          "4 0.5 500 ₽",
                                          "60.2 ч 132 500 ₽ ~8 раб. дн.",
                                          "Итого по оценке 60.2 ч 132 500 ₽"}
                           << QStringList{"1 FRONTEND 40 100 000 ₽", "2 FRONTEND 12.5 25 000 ₽",
                                          "3 FRONTEND 7.2 7 250 ₽", "4 FRONTEND 0.5 500 ₽"}
                           << QStringList{"7.3"};

    CommercialProposalInput negative = withLines(0);
    negative.items = {line(QStringLiteral("Возврат"), -2, 100)};
    negative.totalHours = 0;
    negative.totalCost = 0;
    QTest::newRow("negative hours") << negative << QStringList{"1 -2 -200 ₽", "0 ч 0 ₽ ~1 раб. дн."}
                                    << QStringList{"1 FRONTEND -2 -200 ₽", "Итого по оценке 0 ч 0 ₽"}
                                    << QStringList{};

    CommercialProposalInput markup = withLines(1);
    markup.clientName = QStringLiteral("<b>x</b>");
    markup.items[0].title = QStringLiteral("<i>курсив</i> & <br>");
    QTest::newRow("markup printed literally")
        << markup << QStringList{"Клиент <b>x</b>", "<i>курсив</i> & <br>"} << QStringList{} << QStringList{};

    CommercialProposalInput blankName = withLines(1);
    blankName.projectName = QStringLiteral("   ");
    blankName.items[0].description = QStringLiteral("   ");
    QTest::newRow("blank project name is printed blank")
        << blankName << QStringList{"1 10 10 000 ₽", "Работа 1"} << QStringList{"1 FRONTEND 10 10 000 ₽"}
        << QStringList{"Проект"};

    CommercialProposalInput described = withLines(1);
    described.items[0].description = QStringLiteral("  Подробности работы \n");
    QTest::newRow("description trimmed") << described << QStringList{"FRONTEND\nРабота 1\nПодробности работы\nИтого"}
                                         << QStringList{} << QStringList{};

    CommercialProposalInput days = withLines(0);
    days.totalHours = 8;
    QTest::newRow("8 hours") << days << QStringList{"8 ч 0 ₽ ~1 раб. дн.", "порядка 1 раб. дн."}
                             << QStringList{} << QStringList{};
    days.totalHours = 8.01;
    QTest::newRow("8.01 hours") << days << QStringList{"8.0 ч 0 ₽ ~2 раб. дн.", "порядка 2 раб. дн."}
                                << QStringList{} << QStringList{};
}

void tst_CommercialProposalPDF::texts()
{
    QFETCH(CommercialProposalInput, input);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, absent);
    const QString pdf = generate(input);
    QVERIFY(!pdf.isEmpty());
    // The layout text puts each line's columns together but may lose a blank between narrow
    // words; the raw text keeps every blank. A text must read the same in both.
    const QStringList layout =
        normalizedLines(tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
    const QStringList raw =
        normalizedLines(tool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")}));
    const auto withoutBlanks = [](QString text) { return text.remove(QLatin1Char(' ')); };
    const QString layoutText = withoutBlanks(layout.join(QLatin1Char('\n')));
    const QString rawText = raw.join(QLatin1Char('\n'));
    for (const QString &text : expected)
        QVERIFY2(rawText.contains(text), qPrintable(text + QStringLiteral("\n---\n") + rawText));
    const QStringList layoutLines = layoutText.split(QLatin1Char('\n'));
    for (const QString &text : rows)
        QVERIFY2(layoutLines.contains(withoutBlanks(text)), qPrintable(text + QStringLiteral("\n---\n") + layoutText));
    for (const QString &text : absent)
        QVERIFY2(!rawText.contains(text), qPrintable(text + QStringLiteral("\n---\n") + rawText));
}

void tst_CommercialProposalPDF::formats_data()
{
    QTest::addColumn<double>("totalHours");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("days");
    QTest::newRow("zero") << 0.0 << "0"
                          << "1";
    QTest::newRow("negative") << -5.0 << "-5"
                              << "1";
    QTest::newRow("one day") << 8.0 << "8"
                             << "1";
    QTest::newRow("just over a day") << 8.01 << "8.0"
                                     << "2";
    QTest::newRow("two days") << 16.0 << "16"
                              << "2";
    QTest::newRow("half") << 12.5 << "12.5"
                          << "2";
    QTest::newRow("printf rounding") << 7.25 << "7.2"
                                     << "1";
    QTest::newRow("beyond 64-bit days") << 1e30 << "1000000000000000019884624838656"
                                        << "125000000000000002485578104832";
}

void tst_CommercialProposalPDF::formats()
{
    QFETCH(double, totalHours);
    QFETCH(QString, hours);
    QFETCH(QString, days);
    QCOMPARE(CommercialProposalRenderer::formatHours(totalHours), hours);
    QCOMPARE(CommercialProposalRenderer::workingDays(totalHours), days);
}

void tst_CommercialProposalPDF::longTableRunsOverPages()
{
    const QString pdf = generate(withLines(120));
    const QList<Word> all = words(pdf);
    QVERIFY(!all.isEmpty());

    int workCaptions = 0;
    int rightAlignedAmounts = 0;
    for (const Word &word : all) {
        if (word.text == QStringLiteral("Работы"))
            ++workCaptions;
        QVERIFY2(word.yMax <= 794.5, qPrintable(word.text + QStringLiteral(" at ") + QString::number(word.yMax)));
        if (word.text == QStringLiteral("₽")) {
            QVERIFY2(word.xMax <= 547, qPrintable(QString::number(word.xMax)));
            // The rows' and the total's amounts end at the cost column's inner edge.
            if (std::abs(word.xMax - 537) <= 1)
                ++rightAlignedAmounts;
        }
    }
    QCOMPARE(workCaptions, 1);
    QCOMPARE(rightAlignedAmounts, 121);

    // Page 2 starts with a row right below the top margin: its number at y 48 + 10.
    const auto firstOnPage2 = std::find_if(all.cbegin(), all.cend(), [](const Word &w) { return w.page == 2; });
    QVERIFY(firstOnPage2 != all.cend());
    bool isNumber = false;
    firstOnPage2->text.toInt(&isNumber);
    QVERIFY2(isNumber, qPrintable(firstOnPage2->text));
    QVERIFY2(std::abs(firstOnPage2->yMin - 58) <= 3, qPrintable(QString::number(firstOnPage2->yMin)));

    // Every row is there once, in order.
    const QString text =
        normalizedLines(tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}))
            .join(QLatin1Char('\n'));
    qsizetype from = 0;
    for (int i = 1; i <= 120; ++i) {
        const QString row = QStringLiteral("Работа %1\n").arg(i);
        const qsizetype at = text.indexOf(row, from);
        QVERIFY2(at >= 0, qPrintable(row));
        from = at + row.size();
    }
    QCOMPARE(text.count(QStringLiteral("Документ сформирован в Tessmark")), 1);
}

void tst_CommercialProposalPDF::totalBarMovesToTheNextPage()
{
    // Some line count leaves less than the bar's 44 pt under the last row of page 1.
    bool moved = false;
    for (int count = 8; count <= 14 && !moved; ++count) {
        const QList<Word> all = words(generate(withLines(count)));
        int lastRowPage = 0;
        const Word *total = nullptr;
        for (const Word &word : all) {
            if (word.text == QStringLiteral("%1").arg(count) && word.xMax < 74)
                lastRowPage = word.page;
            if (word.text == QStringLiteral("Итого") && !total)
                total = &word;
        }
        QVERIFY(total);
        QVERIFY(lastRowPage > 0);
        QVERIFY(total->page >= lastRowPage);
        if (total->page > lastRowPage) {
            moved = true;
            QVERIFY2(std::abs(total->yMin - 60) <= 3, qPrintable(QString::number(total->yMin)));
        }
    }
    QVERIFY(moved);
}

void tst_CommercialProposalPDF::longTextContinuesOnTheNextPage_data()
{
    QTest::addColumn<CommercialProposalInput>("input");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<int>("count");

    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines.append(QStringLiteral("Строка%1").arg(i));

    CommercialProposalInput description = withLines(3);
    description.items[1].description = lines.join(QLatin1Char('\n'));
    QTest::newRow("description taller than a page") << description << QStringLiteral("Строка") << 150;

    // One paragraph wrapped over three pages: each line once, none repeated across a break.
    QStringList words;
    for (int i = 1; i <= 1000; ++i)
        words.append(QStringLiteral("Слово%1").arg(i));
    CommercialProposalInput paragraph = withLines(3);
    paragraph.items[1].description = words.join(QLatin1Char(' '));
    QTest::newRow("one wrapped paragraph over pages") << paragraph << QStringLiteral("Слово") << 1000;

    CommercialProposalInput client = withLines(1);
    client.clientName = lines.join(QLatin1Char(' '));
    QTest::newRow("client taller than a page") << client << QStringLiteral("Строка") << 150;

    // Rows that end near the bottom leave no room for the notes and the footer.
    QTest::newRow("notes after a full page") << withLines(11) << QString() << 0;
    QTest::newRow("notes after a fuller page") << withLines(12) << QString() << 0;
}

void tst_CommercialProposalPDF::longTextContinuesOnTheNextPage()
{
    QFETCH(CommercialProposalInput, input);
    QFETCH(QString, marker);
    QFETCH(int, count);
    const QList<Word> all = words(generate(input));
    QStringList seen;
    for (const Word &word : all) {
        QVERIFY2(word.yMax <= 794.5 && word.yMin >= 47,
                 qPrintable(word.text + QStringLiteral(" at ") + QString::number(word.yMin)));
        if (!marker.isEmpty() && word.text.startsWith(marker))
            seen.append(word.text);
    }
    if (!marker.isEmpty()) {
        QCOMPARE(seen.size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(seen.at(i), marker + QString::number(i + 1));
    }
    QStringList text;
    for (const Word &word : all)
        text.append(word.text);
    const QString joined = text.join(QLatin1Char(' '));
    QVERIFY(joined.contains(QStringLiteral("Условия оплаты и формат взаимодействия согласуются отдельно.")));
    QVERIFY(joined.contains(QStringLiteral("носит ознакомительный характер")));
}

void tst_CommercialProposalPDF::notesKeepTogether()
{
    // Every table length from short to two pages: the notes' title stays with the first bullet, no
    // bullet is split between pages, and the footer follows on the notes' last page or later.
    for (int count = 1; count <= 20; ++count) {
        const QList<Word> all = words(generate(withLines(count)));
        const auto pageOf = [&all](const QString &text) {
            for (const Word &word : all) {
                if (word.text == text)
                    return word.page;
            }
            return 0;
        };
        const QString at = QStringLiteral(" with %1 lines").arg(count);
        QVERIFY(pageOf(QStringLiteral("Примечания")) > 0);
        QVERIFY2(pageOf(QStringLiteral("Примечания")) == pageOf(QStringLiteral("Оценка")), qPrintable(at));
        QVERIFY2(pageOf(QStringLiteral("Сроки")) == pageOf(QStringLiteral("8-часовом")), qPrintable(at));
        QVERIFY2(pageOf(QStringLiteral("лицензии,")) == pageOf(QStringLiteral("позициях.")), qPrintable(at));
        // The notes and the footer close the document together, on one page.
        QVERIFY2(pageOf(QStringLiteral("Документ")) == pageOf(QStringLiteral("Примечания")), qPrintable(at));
        QVERIFY2(pageOf(QStringLiteral("Документ")) == pageOf(QStringLiteral("Условия")), qPrintable(at));
        for (const Word &word : all)
            QVERIFY2(word.yMax <= 794.5, qPrintable(word.text + at));
    }
}

void tst_CommercialProposalPDF::lastPageIsNeverTheFooterAlone_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pages");
    QTest::newRow("1 line") << 1 << 1;
    QTest::newRow("5 lines") << 5 << 2;
    QTest::newRow("15 lines") << 15 << 2;
    QTest::newRow("40 lines") << 40 << 5;
}

// Read page by page: the last page holds the whole notes with the footer, and every page before
// it holds rows or the header.
void tst_CommercialProposalPDF::lastPageIsNeverTheFooterAlone()
{
    QFETCH(int, lines);
    QFETCH(int, pages);
    const QString pdf = generate(sampleProposal(lines));
    QCOMPARE(pageCount(pdf), pages);
    for (int page = 1; page <= pages; ++page) {
        const QString number = QString::number(page);
        const QString text = normalizedLines(tool(QStringLiteral("pdftotext"),
                                                  {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf,
                                                   QStringLiteral("-")}))
                                 .join(QLatin1Char(' '));
        const bool last = page == pages;
        QCOMPARE(text.contains(QStringLiteral("Документ сформирован в Tessmark")), last);
        QCOMPARE(text.contains(QStringLiteral("Примечания")), last);
        QCOMPARE(text.contains(QStringLiteral("Условия оплаты и формат взаимодействия согласуются отдельно.")), last);
        QCOMPARE(text.contains(QStringLiteral("Оценка основана на перечне работ ниже")), last);
        if (!last)
            QVERIFY2(text.contains(QStringLiteral("Работа")), qPrintable(text));
    }
}

void tst_CommercialProposalPDF::titleInTheMetadata_data()
{
    QTest::addColumn<QString>("projectName");
    QTest::addColumn<QString>("title");
    QTest::newRow("named") << QStringLiteral("Сайт студии") << QStringLiteral("Коммерческое предложение — Сайт студии");
    QTest::newRow("unnamed") << QString() << QStringLiteral("Коммерческое предложение — Проект");
    QTest::newRow("line breaks") << QStringLiteral(" Сайт\nстудии ")
                                 << QStringLiteral("Коммерческое предложение — Сайт студии");
}

void tst_CommercialProposalPDF::titleInTheMetadata()
{
    QFETCH(QString, projectName);
    QFETCH(QString, title);
    const QString pdf = generate(sampleProposal(1, projectName));
    const QRegularExpression titleLine(QStringLiteral("^Title:\\s+(.*)$"), QRegularExpression::MultilineOption);
    QCOMPARE(titleLine.match(tool(QStringLiteral("pdfinfo"), {pdf})).captured(1), title);
}

void tst_CommercialProposalPDF::otherScriptsAndEmojiArePrintedAndExtracted_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("Arabic") << QStringLiteral("شركة الاختبار");
    QTest::newRow("Hebrew") << QStringLiteral("חברת הבדיקה");
    QTest::newRow("emoji beside Cyrillic") << QStringLiteral("Запуск 🎉 и 😀 готово");
    QTest::newRow("symbols") << QStringLiteral("Готово ✓ ★ ☎");
}

// Text of other scripts and emoji, in the client, a line's title and its description: printed
// with fonts that come with the document, and read back in reading order.
void tst_CommercialProposalPDF::otherScriptsAndEmojiArePrintedAndExtracted()
{
    QFETCH(QString, text);
    CommercialProposalInput input = withLines(2);
    input.clientName = text;
    input.items[0].title = text;
    input.items[1].description = text;
    const QString pdf = generate(input);
    QString extracted = tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    // Poppler marks right-to-left runs with embedding controls.
    extracted.remove(QRegularExpression(QStringLiteral("[\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]")));
    QCOMPARE(extracted.count(text), 3);
    // Every font is embedded: nothing is left to the reader's fonts.
    const QStringList rows =
        tool(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(rows.size() > 3);
    for (const QString &row : rows) {
        const QStringList columns = row.simplified().split(QLatin1Char(' '));
        QCOMPARE(columns.at(columns.size() - 5), QStringLiteral("yes"));
    }
}

void tst_CommercialProposalPDF::fileIsNamedAfterTheProject()
{
    CommercialProposalInput input = withLines(1);
    input.projectName = QStringLiteral("A_B");
    const QString pdf = generate(input);
    QVERIFY2(QRegularExpression(QStringLiteral("/render-[^/]{6}/KP-AB\\.pdf$")).match(pdf).hasMatch(), qPrintable(pdf));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == QByteArrayLiteral("%PDF-"));
}

void tst_CommercialProposalPDF::figuresThatOverflowPrintAsADash_data()
{
    QTest::addColumn<QList<EditableEstimateItem>>("items");
    QTest::addColumn<bool>("totalsNotANumber");
    const double largest = std::numeric_limits<double>::max();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("1e308 h at 1000") << QList{line(QStringLiteral("Большая"), 1e308, 1000)} << false;
    QTest::newRow("two lines of the largest hours")
        << QList{line(QStringLiteral("Первая"), largest, 1), line(QStringLiteral("Вторая"), largest, 1)} << false;
    QTest::newRow("AI answer 1e300 x 1e300") << QList{line(QStringLiteral("ИИ"), 1e300, 1e300)} << false;
    QTest::newRow("NaN hours and rate") << QList{line(QStringLiteral("Пустая"), nan, nan)} << false;
    QTest::newRow("NaN totals as given") << QList{line(QStringLiteral("Обычная"), 2, 100)} << true;
}

void tst_CommercialProposalPDF::figuresThatOverflowPrintAsADash()
{
    QFETCH(QList<EditableEstimateItem>, items);
    QFETCH(bool, totalsNotANumber);
    CommercialProposalInput input = withLines(0);
    input.items = items;
    // The totals as the editor hands them over.
    for (const EditableEstimateItem &item : items) {
        input.totalHours += LineCost::clamped(item.hours, 1);
        input.totalCost += LineCost::clamped(item.hours, item.rate);
    }
    input.totalHours = Numbers::roundedToCents(input.totalHours);
    input.totalCost = Numbers::roundedToCents(input.totalCost);
    if (totalsNotANumber)
        input.totalHours = input.totalCost = std::numeric_limits<double>::quiet_NaN();

    const QString text = tool(QStringLiteral("pdftotext"), {generate(input), QStringLiteral("-")});
    QVERIFY(text.contains(items.first().title));
    QVERIFY2(showsOnlyFiniteFigures(text), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("—")));
}

void tst_CommercialProposalPDF::wideAmountsNeverOverlapTheHours_data()
{
    QTest::addColumn<double>("hours");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("hoursText");
    QTest::newRow("usual") << 12.5 << 2500.0 << QStringLiteral("12.5");
    QTest::newRow("billions") << 1234.5 << 99999999.0 << QStringLiteral("1234.5");
    QTest::newRow("trillions") << 98765.5 << 987654321.0 << QStringLiteral("98765.5");
}

// The hours and the amount of a row and of the total bar stand side by side, however wide the
// amount: the amount grows to the left and the hours move ahead of it.
void tst_CommercialProposalPDF::wideAmountsNeverOverlapTheHours()
{
    QFETCH(double, hours);
    QFETCH(double, rate);
    QFETCH(QString, hoursText);
    CommercialProposalInput input = withLines(0);
    input.items.append(line(QStringLiteral("Работа"), hours, rate));
    input.totalHours = hours;
    input.totalCost = hours * rate;
    const QList<Word> all = words(generate(input));
    QVERIFY(!all.isEmpty());

    // Digit groups of an amount, with the blanks that ICU puts between them.
    const QRegularExpression amountPart(QStringLiteral(R"(^[\d\x{a0}\x{202f},]+$)"));
    // Each line that holds the hours: the hours word, then the amount's words to its right.
    int checked = 0;
    for (const Word &figure : all) {
        if (figure.text != hoursText)
            continue;
        double amountLeft = 1e9;
        double amountRight = 0;
        double labelRight = 0;
        bool currencySign = false; // the amount stays on the line of the hours, sign included
        for (const Word &word : all) {
            if (word.page != figure.page || std::abs(word.yMax - figure.yMax) > 4 || &word == &figure)
                continue;
            if (word.text == QStringLiteral("оценке"))
                labelRight = word.xMax;
            const bool amount = word.text == QStringLiteral("₽") || amountPart.match(word.text).hasMatch();
            if (!amount || word.xMin < 74)
                continue;
            currencySign = currencySign || word.text == QStringLiteral("₽");
            amountLeft = std::min(amountLeft, word.xMin);
            amountRight = std::max(amountRight, word.xMax);
        }
        QVERIFY2(amountRight > 0, qPrintable(figure.text));
        QVERIFY2(currencySign,
                 qPrintable(QStringLiteral("no ₽ beside %1 at y %2").arg(figure.text).arg(figure.yMin)));
        QVERIFY2(figure.xMax + 4 <= amountLeft,
                 qPrintable(QStringLiteral("hours end at %1, amount starts at %2").arg(figure.xMax).arg(amountLeft)));
        QVERIFY2(amountRight <= 547, qPrintable(QString::number(amountRight)));
        QVERIFY2(labelRight < figure.xMin, qPrintable(QString::number(labelRight)));
        ++checked;
    }
    QCOMPARE(checked, 3); // the summary, the row and the total bar
}

void tst_CommercialProposalPDF::hugeFiguresStayOnThePage_data()
{
    QTest::addColumn<double>("hours");
    QTest::addColumn<double>("rate");
    const double largest = 1.797e308;
    QTest::newRow("largest hours, no rate") << largest << 0.0;
    QTest::newRow("largest hours at rate 1") << largest << 1.0;
    QTest::newRow("largest hours, cost beyond a double") << largest << 1000.0;
    QTest::newRow("largest rate") << 1.0 << largest;
    QTest::newRow("trillions in the summary") << 99999999.5 << 99999.0;
    QTest::newRow("quadrillions") << 9999999.5 << 999999999.0;
}

// However wide a figure, every word lies inside the margins and no two words of a line overlap:
// figures wider than their room wrap, the others push their neighbours.
void tst_CommercialProposalPDF::hugeFiguresStayOnThePage()
{
    QFETCH(double, hours);
    QFETCH(double, rate);
    CommercialProposalInput input = withLines(1);
    input.items.append(
        line(QStringLiteral("Огромная работа с длинным названием, которое занимает место"), hours, rate));
    input.totalHours = 10 + hours;
    input.totalCost = 10000 + hours * rate;
    const QList<Word> all = words(generate(input));
    QVERIFY(!all.isEmpty());
    for (const Word &word : all) {
        const QString where = QStringLiteral("%1 at x %2-%3, y %4 on page %5")
                                  .arg(word.text.left(20))
                                  .arg(word.xMin)
                                  .arg(word.xMax)
                                  .arg(word.yMin)
                                  .arg(word.page);
        QVERIFY2(word.xMin >= 47.5 && word.xMax <= 547.5, qPrintable(where));
        QVERIFY2(word.yMin >= 47 && word.yMax <= 794.5, qPrintable(where));
        for (const Word &other : all) {
            if (&other == &word || other.page != word.page)
                continue;
            const double sharedHeight = std::min(word.yMax, other.yMax) - std::max(word.yMin, other.yMin);
            const double sharedWidth = std::min(word.xMax, other.xMax) - std::max(word.xMin, other.xMin);
            QVERIFY2(sharedHeight <= 2 || sharedWidth <= 0.5,
                     qPrintable(where + QStringLiteral(" overlaps ") + other.text.left(20) + QStringLiteral(" at x ")
                                + QString::number(other.xMin)));
        }
    }
}

QTEST_MAIN(tst_CommercialProposalPDF)
#include "tst_CommercialProposalPDF.moc"
