#include "CommercialProposalRenderer.h"

#include "Data/EstimateCatalogLoader.h"
#include "PDFCanvas.h"
#include "PDFLayout.h"
#include "PDFTypography.h"
#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

using PDFTypography::make;

namespace CommercialProposalRenderer {

namespace {

// The estimate table's columns: number 48-74, work 74-417, hours 417-469, cost 469-547.
constexpr qreal indexX = 48;
constexpr qreal indexWidth = 26;
constexpr qreal workWidth = 343;
constexpr qreal hoursWidth = 52;
constexpr qreal costWidth = 78;
constexpr qreal cellPadding = 10;
constexpr qreal rowPadding = 10;
constexpr qreal workX = indexX + indexWidth + cellPadding; // 84
constexpr qreal workTextWidth = workWidth - 2 * cellPadding; // 323
constexpr qreal hoursX = indexX + indexWidth + workWidth + cellPadding; // 427
constexpr qreal hoursTextWidth = hoursWidth - 2 * cellPadding; // 32
constexpr qreal costX = indexX + indexWidth + workWidth + hoursWidth + cellPadding; // 479
constexpr qreal costTextWidth = costWidth - 2 * cellPadding; // 58
constexpr qreal freeHeight = 10000;

// A text kept on one line.
PDFText figure(PDFText text)
{
    text.wrap = false;
    return text;
}

PDFText figure(const QString &text, qreal size, FontWeight weight, const QColor &color, Qt::Alignment alignment)
{
    return figure(make(text, size, weight, color, alignment));
}

// The least space between the hours and the amount beside them.
constexpr qreal figureGap = 12;

// The widest an amount and the hours of a row or of the total may grow: a wider figure wraps
// inside this width, so that the two together always leave the work column room.
constexpr qreal moneyMaxWidth = 200;
constexpr qreal hoursMaxWidth = 100;

// The width a right-aligned figure takes left of its right edge in a column of this width: a
// figure wider than the column grows to the left, a wrapped one takes its whole wrapping width.
qreal figureExtent(const PDFTextBlock &figure, qreal columnWidth)
{
    return std::max(figure.wraps() ? figure.width() : figure.naturalWidth(), columnWidth);
}

// Draws a right-aligned figure that ends at right.
void drawFigure(PDFCanvas &canvas, PDFTextBlock &figure, qreal right, qreal top, qreal columnWidth, qreal height)
{
    const qreal width = figure.wraps() ? figure.width() : columnWidth;
    canvas.drawText(figure, QRectF(right - width, top, width, height));
}

// Where the hours text ends beside an amount: an amount wider than its column grows to the left
// and pushes the hours ahead of it, so that the two never overlap.
qreal hoursRightEdge(const PDFTextBlock &money)
{
    const qreal moneyLeft = costX + costTextWidth - figureExtent(money, costTextWidth);
    return std::min(hoursX + hoursTextWidth, moneyLeft - figureGap);
}

// The room left of the hours for the text beside them (the work cell, the total's label).
qreal roomBeforeHours(const PDFTextBlock &hours, const PDFTextBlock &money)
{
    return hoursRightEdge(money) - figureExtent(hours, hoursTextWidth) - figureGap - workX;
}

QColor divider()
{
    return QColor(241, 245, 249);
}

QColor totalLabel()
{
    return QColor(148, 163, 184);
}

void drawMetaLine(PDFCanvas &canvas, const QString &label, const QString &value)
{
    const PDFText labelText = make(label, 10, FontWeight::Regular, PDFLayout::muted);
    const PDFText valueText = make(value, 10, FontWeight::Medium, PDFLayout::ink);
    const qreal labelHeight = canvas.measure(labelText, 168);
    const qreal valueHeight = canvas.measure(valueText, 331);
    const qreal height = std::max(labelHeight, valueHeight);
    canvas.ensureSpace(std::min(height, PDFLayout::usableHeight));
    const qreal top = canvas.y;
    canvas.drawText(labelText, QRectF(48, top, 168, 20));
    canvas.flowText(valueText, 216, 331);
    if (canvas.y < top + labelHeight)
        canvas.y = top + labelHeight;
    canvas.y += 6;
}

void drawTableHeader(PDFCanvas &canvas)
{
    canvas.ensureSpace(30);
    const qreal top = canvas.y;
    canvas.drawFilledRect(QRectF(48, top, 499, 30), PDFLayout::tableHead);
    const qreal captionY = top + 9;
    canvas.drawText(make(QStringLiteral("№"), 8, FontWeight::Semibold, PDFLayout::muted, Qt::AlignHCenter),
                    QRectF(indexX, captionY, indexWidth, 14));
    canvas.drawText(make(QStringLiteral("Работы"), 8, FontWeight::Semibold, PDFLayout::muted),
                    QRectF(workX, captionY, workTextWidth, 14));
    canvas.drawText(make(QStringLiteral("Часы"), 8, FontWeight::Semibold, PDFLayout::muted, Qt::AlignRight),
                    QRectF(hoursX, captionY, hoursTextWidth, 14));
    canvas.drawText(make(QStringLiteral("Стоимость"), 8, FontWeight::Semibold, PDFLayout::muted, Qt::AlignRight),
                    QRectF(costX, captionY, costTextWidth, 14));
    canvas.y = top + 30;
    canvas.drawRule(48, 547, canvas.y, divider());
    canvas.y += 1;
}

void drawTableRow(PDFCanvas &canvas, int index, const EditableEstimateItem &item, const QString &currency)
{
    const double cost = item.hours * item.rate;
    const PDFText number = figure(QString::number(index), 10, FontWeight::Medium, PDFLayout::muted, Qt::AlignHCenter);
    const PDFText work = PDFTypography::taskCell(
        item.title, item.description, EstimateCatalogLoader::categoryName(item.category, QStringLiteral("software")));
    const PDFText hours = figure(formatHours(item.hours), 10, FontWeight::Medium, PDFLayout::ink, Qt::AlignRight);
    const PDFText money =
        figure(MoneyFormat::format(cost, currency), 10, FontWeight::Semibold, PDFLayout::ink, Qt::AlignRight);

    // The figures are measured at their full column widths, though drawn 20 pt narrower: they stay
    // on one line and may grow into the padding. The work cell gives way to figures pushed into it.
    PDFTextBlock &hoursBlock = canvas.layoutFigure(hours, hoursWidth, hoursMaxWidth);
    PDFTextBlock &moneyBlock = canvas.layoutFigure(money, costWidth, moneyMaxWidth);
    PDFTextBlock workBlock = canvas.layout(work, std::min(workTextWidth, roomBeforeHours(hoursBlock, moneyBlock)));
    PDFTextBlock numberBlock = canvas.layout(number, indexWidth);
    const qreal content =
        std::max({workBlock.height(), numberBlock.height(), hoursBlock.height(), moneyBlock.height()});
    const qreal rowHeight = content + 2 * rowPadding;

    canvas.ensureSpace(std::min(rowHeight + 1, PDFLayout::usableHeight + 1));
    const qreal top = canvas.y;
    const qreal textY = top + rowPadding;
    canvas.drawText(numberBlock, QRectF(indexX, textY, indexWidth, content));
    drawFigure(canvas, hoursBlock, hoursRightEdge(moneyBlock), textY, hoursTextWidth, content);
    drawFigure(canvas, moneyBlock, costX + costTextWidth, textY, costTextWidth, content);
    if (top + rowHeight <= PDFLayout::bottomLimit) {
        canvas.drawText(workBlock, QRectF(workX, textY, workBlock.width(), content));
        canvas.y = top + rowHeight;
    } else {
        // Taller than a page: the work cell continues on the next pages.
        canvas.y = textY;
        canvas.flowText(workBlock, workX);
        canvas.y += rowPadding;
        canvas.ensureSpace(1);
    }
    canvas.drawRule(48, 547, canvas.y, divider());
    canvas.y += 1;
}

void drawEmptyRow(PDFCanvas &canvas)
{
    canvas.ensureSpace(40);
    const qreal top = canvas.y;
    canvas.drawText(
        make(QStringLiteral("Позиции сметы не добавлены"), 10, FontWeight::Regular, PDFLayout::muted, Qt::AlignHCenter),
        QRectF(workX, top + 12, workTextWidth, 20));
    canvas.y = top + 40;
}

void drawTableTotal(PDFCanvas &canvas, const CommercialProposalInput &input)
{
    PDFTextBlock hours = canvas.figureBlock(figure(formatHours(input.totalHours) + QStringLiteral(" ч"), 11,
                                                   FontWeight::Semibold, PDFLayout::white, Qt::AlignRight),
                                            hoursTextWidth, hoursMaxWidth);
    PDFTextBlock money = canvas.figureBlock(figure(MoneyFormat::format(input.totalCost, input.currency), 14,
                                                   FontWeight::Bold, PDFLayout::white, Qt::AlignRight),
                                            costTextWidth, moneyMaxWidth);
    // The bar grows with figures that wrap.
    const qreal height = std::max({qreal(44), hours.height() + 24, money.height() + 20});
    canvas.ensureSpace(height);
    const qreal top = canvas.y;
    canvas.drawFilledRect(QRectF(48, top, 499, height), PDFLayout::totalBg);
    // The label gives way to wide figures rather than run under them.
    const qreal labelWidth = std::max<qreal>(std::min(workWidth * 0.55, roomBeforeHours(hours, money)), 1);
    canvas.drawText(make(QStringLiteral("Итого по оценке"), 10, FontWeight::Semibold, totalLabel()),
                    QRectF(workX, top + 12, labelWidth, 20));
    drawFigure(canvas, hours, hoursRightEdge(money), top + 12, hoursTextWidth, 20);
    drawFigure(canvas, money, costX + costTextWidth, top + 10, costTextWidth, 24);
    canvas.y = top + height;
}

// Keeps a block together when it fits on a page, then draws it from y down.
void drawBlock(PDFCanvas &canvas, const PDFText &text, qreal x, qreal width)
{
    canvas.ensureSpace(std::min(canvas.measure(text, width), PDFLayout::usableHeight));
    canvas.flowText(text, x, width);
}

PDFText bulletText(const QString &bullet)
{
    return make(bullet, 9.5, FontWeight::Regular, PDFLayout::muted);
}

void drawBullet(PDFCanvas &canvas, const QString &bullet)
{
    const PDFText text = bulletText(bullet);
    canvas.ensureSpace(std::min(canvas.measure(text, 485), PDFLayout::usableHeight));
    canvas.drawText(make(QStringLiteral("•"), 10, FontWeight::Regular, PDFLayout::accent, Qt::AlignHCenter),
                    QRectF(48, canvas.y, 14, 16));
    canvas.flowText(text, 62, 485);
    canvas.y += 8;
}

PDFText footerText()
{
    return make(QStringLiteral("Документ сформирован в Tessmark · носит ознакомительный характер"), 8.5,
                FontWeight::Regular, PDFLayout::muted, Qt::AlignHCenter);
}

// The rule, the space under it and the line of text.
qreal footerHeight(const PDFCanvas &canvas)
{
    return 13 + canvas.measure(footerText(), 499);
}

} // namespace

void drawHeader(const CommercialProposalInput &input, const QDate &today, PDFCanvas &canvas)
{
    drawBlock(canvas, make(QStringLiteral("Коммерческое предложение"), 20, FontWeight::Bold, PDFLayout::heading), 48,
              499);
    canvas.y += 6;
    const QString project = input.projectName.isEmpty() ? QStringLiteral("Проект") : input.projectName;
    drawBlock(canvas, make(project, 14, FontWeight::Semibold, PDFLayout::ink), 48, 499);
    canvas.y += 14;
    drawMetaLine(canvas, QStringLiteral("Клиент"),
                 input.clientName.isEmpty() ? QStringLiteral("Не указан") : input.clientName);
    drawMetaLine(canvas, QStringLiteral("Дата"), formatRussianDate(today));
    drawMetaLine(canvas, QStringLiteral("Предложение действительно"), QStringLiteral("30 дней"));
    canvas.y += 8;
    canvas.ensureSpace(1);
    canvas.drawRule(48, 547, canvas.y, PDFLayout::border);
    canvas.y += 17;
}

void drawSummary(const CommercialProposalInput &input, PDFCanvas &canvas)
{
    const PDFText hours =
        make(formatHours(input.totalHours) + QStringLiteral(" ч"), 16, FontWeight::Bold, PDFLayout::heading);
    const PDFText money = make(MoneyFormat::format(input.totalCost, input.currency), 16, FontWeight::Bold,
                               PDFLayout::heading, Qt::AlignHCenter);
    const PDFText days = make(QStringLiteral("~") + workingDays(input.totalHours) + QStringLiteral(" раб. дн."), 16,
                              FontWeight::Bold, PDFLayout::heading, Qt::AlignRight);

    // Three columns: the hours from the left, the days from the right and the amount centred
    // between them. When a figure would wrap or touch its neighbour, the three stand side by side
    // on one line each, the amount moved aside as far as needed; when even that does not fit, each
    // wraps inside its own column, breaking anywhere, and the card grows.
    constexpr qreal left = 64;
    constexpr qreal width = 467;
    constexpr qreal column = width / 3;
    constexpr qreal gap = 8;
    PDFTextBlock hoursBlock = canvas.layout(hours, column);
    PDFTextBlock moneyBlock = canvas.layout(money, column);
    PDFTextBlock daysBlock = canvas.layout(days, column);
    const auto fitsSideBySide = [&] {
        const bool oneLineEach =
            hoursBlock.lines().size() == 1 && moneyBlock.lines().size() == 1 && daysBlock.lines().size() == 1;
        return oneLineEach
            && hoursBlock.naturalWidth() + moneyBlock.naturalWidth() + daysBlock.naturalWidth() + 2 * gap <= width;
    };
    const qreal centre = left + column * 1.5;
    const auto clampedCentre = [&] {
        const qreal half = moneyBlock.naturalWidth() / 2;
        return std::clamp(centre, left + hoursBlock.naturalWidth() + gap + half,
                          left + width - daysBlock.naturalWidth() - gap - half);
    };
    bool sideBySide = fitsSideBySide() && clampedCentre() == centre;
    if (!sideBySide) {
        hoursBlock = canvas.layout(figure(hours), column);
        moneyBlock = canvas.layout(figure(money), column);
        daysBlock = canvas.layout(figure(days), column);
        sideBySide = fitsSideBySide();
    }
    const qreal moneyCentre = sideBySide ? clampedCentre() : centre;
    qreal figuresHeight = 24;
    if (!sideBySide) {
        hoursBlock = canvas.layout(hours, column - gap);
        moneyBlock = canvas.layout(money, column - gap);
        daysBlock = canvas.layout(days, column - gap);
        figuresHeight = std::max({figuresHeight, hoursBlock.height(), moneyBlock.height(), daysBlock.height()});
    }
    const qreal cardHeight = 12 + 18 + figuresHeight + 2;

    canvas.ensureSpace(cardHeight + 12);
    const qreal top = canvas.y;
    canvas.drawFilledRect(QRectF(48, top, 499, cardHeight), PDFLayout::surface, 10);
    canvas.drawRule(48, 547, top, PDFLayout::border);
    canvas.drawRule(48, 547, top + cardHeight, PDFLayout::border);
    canvas.drawText(make(QStringLiteral("Сводка по оценке"), 9, FontWeight::Semibold, PDFLayout::muted),
                    QRectF(left, top + 12, width, 16));
    const qreal figuresY = top + 12 + 18;
    if (sideBySide) {
        canvas.drawText(hoursBlock, QRectF(left, figuresY, column, 24));
        canvas.drawText(moneyBlock, QRectF(moneyCentre - column / 2, figuresY, column, 24));
        canvas.drawText(daysBlock, QRectF(left + 2 * column, figuresY, column, 24));
    } else {
        const qreal inner = column - gap;
        canvas.drawText(hoursBlock, QRectF(left, figuresY, inner, figuresHeight));
        canvas.drawText(moneyBlock, QRectF(left + column + gap / 2, figuresY, inner, figuresHeight));
        canvas.drawText(daysBlock, QRectF(left + 2 * column + gap, figuresY, inner, figuresHeight));
    }
    canvas.y = top + cardHeight + 20;
}

void drawEstimateTable(const CommercialProposalInput &input, PDFCanvas &canvas)
{
    drawBlock(canvas,
              make(QStringLiteral("Состав работ и оценка трудозатрат"), 12, FontWeight::Semibold, PDFLayout::ink), 48,
              499);
    canvas.y += 10;
    drawTableHeader(canvas);
    if (input.items.isEmpty()) {
        drawEmptyRow(canvas);
    } else {
        // A render abandoned midway leaves the rest of its rows undrawn.
        for (qsizetype i = 0; i < input.items.size() && !canvas.stopped(); ++i)
            drawTableRow(canvas, int(i + 1), input.items.at(i), input.currency);
    }
    drawTableTotal(canvas, input);
    canvas.y += 20;
}

void drawNotes(const CommercialProposalInput &input, PDFCanvas &canvas)
{
    const PDFText title = make(QStringLiteral("Примечания"), 11, FontWeight::Semibold, PDFLayout::ink);
    const QString bullets[] = {
        QStringLiteral("Оценка основана на перечне работ ниже; детализация может уточняться на этапе согласования."),
        QStringLiteral("Сроки ориентировочные: старт в течение нескольких рабочих дней, длительность порядка ")
            + workingDays(input.totalHours) + QStringLiteral(" раб. дн. при 8-часовом дне."),
        QStringLiteral("В стоимость входят работы по смете; лицензии, хостинг и сторонние сервисы — отдельно, "
                       "если не указаны в позициях."),
        QStringLiteral("Условия оплаты и формат взаимодействия согласуются отдельно."),
    };
    // The notes and the footer close the document as one block: split over a page break they
    // would leave a page with a bullet or the footer alone. They always fit on a page of their own.
    qreal closing = canvas.measure(title, 499) + 8;
    for (const QString &bullet : bullets)
        closing += canvas.measure(bulletText(bullet), 485) + 8;
    closing += 8 + footerHeight(canvas);
    canvas.ensureSpace(std::min(closing, PDFLayout::usableHeight));
    canvas.flowText(title, 48, 499);
    canvas.y += 8;
    for (const QString &bullet : bullets)
        drawBullet(canvas, bullet);
    canvas.y += 8;
}

void drawFooter(PDFCanvas &canvas)
{
    canvas.ensureSpace(footerHeight(canvas));
    canvas.drawRule(48, 547, canvas.y, PDFLayout::border);
    canvas.y += 13;
    canvas.flowText(footerText(), 48, 499);
}

QString formatHours(double hours)
{
    return NumberText::fixed(hours, std::round(hours) == hours ? 0 : 1);
}

QString formatRussianDate(const QDate &date)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    return QStringLiteral("%1 %2 %3 г.")
        .arg(date.day())
        .arg(russian.monthName(date.month(), QLocale::LongFormat))
        .arg(date.year());
}

QString workingDays(double totalHours)
{
    const double days = std::ceil(totalHours * 0.125);
    // NaN fails the comparison too, and must print as no figure, not as one day.
    return NumberText::fixed(days >= 1 || std::isnan(days) ? days : 1.0, 0);
}

} // namespace CommercialProposalRenderer
