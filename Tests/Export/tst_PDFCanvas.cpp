#include "Export/PDFCanvas.h"
#include "Export/PDFLayout.h"
#include "Export/PDFTypography.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>

// A canvas over a real PDF writer at 72 dpi, counting the pages it asks for.
struct CanvasFixture
{
    QByteArray bytes;
    QBuffer buffer{&bytes};
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    std::unique_ptr<PDFCanvas> canvas;
    int newPages = 0;

    CanvasFixture()
    {
        buffer.open(QIODevice::WriteOnly);
        writer = std::make_unique<QPdfWriter>(&buffer);
        writer->setResolution(72);
        writer->setPageSize(QPageSize(QSizeF(595, 842), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer->setPageMargins(QMarginsF(0, 0, 0, 0));
        painter.begin(writer.get());
        canvas = std::make_unique<PDFCanvas>(&painter, [this] {
            ++newPages;
            writer->newPage();
        });
        canvas->preparePageSurface();
    }
    ~CanvasFixture() { painter.end(); }
};

class tst_PDFCanvas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ensureSpace_data();
    void ensureSpace();
    void textWrapsAndReportsItsHeight();
    void taskCellLines_data();
    void taskCellLines();
    void categoryIsUpperCased_data();
    void categoryIsUpperCased();
    void flowTextContinuesOnTheNextPage();
    void flowTextThatFitsMovesYByItsHeight();
    void figureWiderThanItsRoomWraps();
};

void tst_PDFCanvas::ensureSpace_data()
{
    QTest::addColumn<qreal>("y");
    QTest::addColumn<qreal>("height");
    QTest::addColumn<int>("newPages");
    QTest::addColumn<qreal>("yAfter");
    QTest::newRow("ends at 794 stays") << qreal(700) << qreal(94) << 0 << qreal(700);
    QTest::newRow("ends at 794.5 breaks") << qreal(700) << qreal(94.5) << 1 << qreal(48);
    QTest::newRow("empty block at the limit") << qreal(794) << qreal(0) << 0 << qreal(794);
    QTest::newRow("a whole page from the top") << qreal(48) << qreal(746) << 0 << qreal(48);
}

void tst_PDFCanvas::ensureSpace()
{
    QFETCH(qreal, y);
    QFETCH(qreal, height);
    QFETCH(int, newPages);
    QFETCH(qreal, yAfter);
    CanvasFixture fixture;
    fixture.canvas->y = y;
    fixture.canvas->ensureSpace(height);
    QCOMPARE(fixture.newPages, newPages);
    QCOMPARE(fixture.canvas->pageCount(), newPages + 1);
    QCOMPARE(fixture.canvas->y, yAfter);
}

void tst_PDFCanvas::textWrapsAndReportsItsHeight()
{
    CanvasFixture fixture;
    const PDFText word = PDFTypography::make(QStringLiteral("Слово"), 10, FontWeight::Regular, PDFLayout::ink);
    const PDFText words =
        PDFTypography::make(QStringLiteral("Слово ").repeated(40), 10, FontWeight::Regular, PDFLayout::ink);
    const qreal one = fixture.canvas->measure(word, 200);
    QVERIFY(one >= 10);
    QCOMPARE(one, std::ceil(one));
    const qreal many = fixture.canvas->drawText(words, QRectF(48, 48, 200, 10));
    QVERIFY2(many > 5 * one, qPrintable(QString::number(many)));
    QCOMPARE(fixture.canvas->y, qreal(48));
}

void tst_PDFCanvas::taskCellLines_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("lines");
    QTest::newRow("empty") << QString() << 2;
    QTest::newRow("blank") << QStringLiteral("  \t \n ") << 2;
    QTest::newRow("padded") << QStringLiteral("  Описание  ") << 3;
}

void tst_PDFCanvas::taskCellLines()
{
    QFETCH(QString, description);
    QFETCH(int, lines);
    const PDFText cell = PDFTypography::taskCell(QStringLiteral(" Заголовок "), description, QStringLiteral("Дизайн"));
    QString text;
    for (const PDFText::Run &run : cell.runs)
        text += run.text;
    QCOMPARE(text.split(QLatin1Char('\n')).size(), lines);
    QCOMPARE(text.split(QLatin1Char('\n')).at(1), QStringLiteral(" Заголовок "));
    if (lines == 3)
        QCOMPARE(text.split(QLatin1Char('\n')).at(2), QStringLiteral("Описание"));

    CanvasFixture fixture;
    const qreal twoLines = fixture.canvas->measure(
        PDFTypography::taskCell(QStringLiteral(" Заголовок "), QString(), QStringLiteral("Дизайн")), 323);
    QCOMPARE(fixture.canvas->measure(cell, 323) == twoLines, lines == 2);
}

void tst_PDFCanvas::categoryIsUpperCased_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("upper");
    QTest::newRow("cyrillic") << QStringLiteral("Дизайн") << QStringLiteral("ДИЗАЙН");
    QTest::newRow("latin") << QStringLiteral("Backend") << QStringLiteral("BACKEND");
    QTest::newRow("dotted i without a locale") << QStringLiteral("iOS") << QStringLiteral("IOS");
}

void tst_PDFCanvas::categoryIsUpperCased()
{
    QFETCH(QString, category);
    QFETCH(QString, upper);
    QCOMPARE(PDFTypography::taskCell(QStringLiteral("t"), QString(), category).runs.first().text, upper);
}

void tst_PDFCanvas::flowTextContinuesOnTheNextPage()
{
    CanvasFixture fixture;
    const PDFText text =
        PDFTypography::make(QStringLiteral("Строка\n").repeated(100), 10, FontWeight::Regular, PDFLayout::ink);
    const qreal height = fixture.canvas->measure(text, 499);
    QVERIFY(height > 746);
    fixture.canvas->y = 700;
    fixture.canvas->flowText(text, 48, 499);
    QVERIFY(fixture.newPages >= 2);
    QVERIFY(fixture.canvas->y > 48);
    QVERIFY(fixture.canvas->y <= 794);
}

void tst_PDFCanvas::flowTextThatFitsMovesYByItsHeight()
{
    CanvasFixture fixture;
    const PDFText text = PDFTypography::make(QStringLiteral("Две\nстроки"), 10, FontWeight::Regular, PDFLayout::ink);
    const qreal height = fixture.canvas->measure(text, 499);
    fixture.canvas->y = 100;
    fixture.canvas->flowText(text, 48, 499);
    QCOMPARE(fixture.newPages, 0);
    QCOMPARE(fixture.canvas->y, 100 + height);
}

void tst_PDFCanvas::figureWiderThanItsRoomWraps()
{
    CanvasFixture fixture;
    PDFText usual = PDFTypography::make(QStringLiteral("12.5"), 10, FontWeight::Medium, PDFLayout::ink, Qt::AlignRight);
    usual.wrap = false;
    PDFText huge = usual;
    huge.runs.first().text = QStringLiteral("1797").repeated(77);

    const PDFTextBlock &one = fixture.canvas->layoutFigure(usual, 52, 100);
    QVERIFY(!one.wraps());
    QCOMPARE(one.lines().size(), 1);
    QCOMPARE(one.width(), qreal(52));

    // Wider than 100 pt: broken between digits into lines of at most 100 pt, none lost.
    const PDFTextBlock &many = fixture.canvas->layoutFigure(huge, 52, 100);
    QVERIFY(many.wraps());
    QCOMPARE(many.width(), qreal(100));
    QVERIFY(many.naturalWidth() <= 100);
    QVERIFY2(many.lines().size() > 10, qPrintable(QString::number(many.lines().size())));
    QCOMPARE(many.height(),
             fixture.canvas->measure(
                 [&] {
                     PDFText wrapped = huge;
                     wrapped.wrap = true;
                     return wrapped;
                 }(),
                 100));
}

QTEST_MAIN(tst_PDFCanvas)
#include "tst_PDFCanvas.moc"
