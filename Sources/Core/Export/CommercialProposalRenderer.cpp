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

PDFText figure(const QString &text, qreal size, FontWeight weight, const QColor &color, Qt::Alignment alignment)
{
    PDFText result = make(text, size, weight, color, alignment);
    result.wrap = false;
    return result;
}

// The least space between the hours and the amount beside them.
constexpr qreal figureGap = 12;

// Where the hours text ends beside an amount: an amount wider than its column grows to the left
// and pushes the hours ahead of it, so that the two never overlap.
qreal hoursRightEdge(const PDFTextBlock &money)
{
    const qreal moneyLeft = costX + costTextWidth - std::max(money.naturalWidth(), costTextWidth);
    return std::min(hoursX + hoursTextWidth, moneyLeft - figureGap);
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
    // on one line and may grow into the padding.
    PDFTextBlock workBlock = canvas.layout(work, workTextWidth);
    PDFTextBlock numberBlock = canvas.layout(number, indexWidth);
    PDFTextBlock &hoursBlock = canvas.layoutFigure(hours, hoursWidth);
    PDFTextBlock &moneyBlock = canvas.layoutFigure(money, costWidth);
    const qreal content =
        std::max({workBlock.height(), numberBlock.height(), hoursBlock.height(), moneyBlock.height()});
    const qreal rowHeight = content + 2 * rowPadding;

    canvas.ensureSpace(std::min(rowHeight + 1, PDFLayout::usableHeight + 1));
    const qreal top = canvas.y;
    const qreal textY = top + rowPadding;
    canvas.drawText(numberBlock, QRectF(indexX, textY, indexWidth, content));
    canvas.drawText(hoursBlock, QRectF(hoursRightEdge(moneyBlock) - hoursTextWidth, textY, hoursTextWidth, content));
    canvas.drawText(moneyBlock, QRectF(costX, textY, costTextWidth, content));
    if (top + rowHeight <= PDFLayout::bottomLimit) {
        canvas.drawText(workBlock, QRectF(workX, textY, workTextWidth, content));
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
    canvas.ensureSpace(44);
    const qreal top = canvas.y;
    canvas.drawFilledRect(QRectF(48, top, 499, 44), PDFLayout::totalBg);
    PDFTextBlock hours = canvas.layout(figure(formatHours(input.totalHours) + QStringLiteral(" ч"), 11,
                                              FontWeight::Semibold, PDFLayout::white, Qt::AlignRight),
                                       hoursTextWidth);
    PDFTextBlock money = canvas.layout(figure(MoneyFormat::format(input.totalCost, input.currency), 14,
                                              FontWeight::Bold, PDFLayout::white, Qt::AlignRight),
                                       costTextWidth);
    const qreal hoursRight = hoursRightEdge(money);
    const qreal hoursLeft = hoursRight - std::max(hours.naturalWidth(), hoursTextWidth);
    // The label gives way to wide figures rather than run under them.
    const qreal labelWidth = std::max<qreal>(std::min(workWidth * 0.55, hoursLeft - figureGap - workX), 1);
    canvas.drawText(make(QStringLiteral("Итого по оценке"), 10, FontWeight::Semibold, totalLabel()),
                    QRectF(workX, top + 12, labelWidth, 20));
    canvas.drawText(hours, QRectF(hoursRight - hoursTextWidth, top + 12, hoursTextWidth, 20));
    canvas.drawText(money, QRectF(costX, top + 10, costTextWidth, 24));
    canvas.y = top + 44;
}

// Keeps a block together when it fits on a page, then draws it from y down.
void drawBlock(PDFCanvas &canvas, const PDFText &text, qreal x, qreal width)
{
    canvas.ensureSpace(std::min(canvas.measure(text, width), PDFLayout::usableHeight));
    canvas.flowText(text, x, width);
}

void drawBullet(PDFCanvas &canvas, const QString &bullet)
{
    const PDFText text = make(bullet, 9.5, FontWeight::Regular, PDFLayout::muted);
    canvas.ensureSpace(std::min(canvas.measure(text, 485), PDFLayout::usableHeight));
    canvas.drawText(make(QStringLiteral("•"), 10, FontWeight::Regular, PDFLayout::accent, Qt::AlignHCenter),
                    QRectF(48, canvas.y, 14, 16));
    canvas.flowText(text, 62, 485);
    canvas.y += 8;
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
    const QString hours = formatHours(input.totalHours) + QStringLiteral(" ч");
    const QString money = MoneyFormat::format(input.totalCost, input.currency);
    const QString days = QStringLiteral("~") + workingDays(input.totalHours) + QStringLiteral(" раб. дн.");

    canvas.ensureSpace(68);
    const qreal top = canvas.y;
    canvas.drawFilledRect(QRectF(48, top, 499, 56), PDFLayout::surface, 10);
    canvas.drawRule(48, 547, top, PDFLayout::border);
    canvas.drawRule(48, 547, top + 56, PDFLayout::border);
    canvas.drawText(make(QStringLiteral("Сводка по оценке"), 9, FontWeight::Semibold, PDFLayout::muted),
                    QRectF(64, top + 12, 467, 16));
    const qreal column = 467.0 / 3;
    const qreal figuresY = top + 12 + 18;
    canvas.drawText(make(hours, 16, FontWeight::Bold, PDFLayout::heading), QRectF(64, figuresY, column, 24));
    canvas.drawText(make(money, 16, FontWeight::Bold, PDFLayout::heading, Qt::AlignHCenter),
                    QRectF(64 + column, figuresY, column, 24));
    canvas.drawText(make(days, 16, FontWeight::Bold, PDFLayout::heading, Qt::AlignRight),
                    QRectF(64 + 2 * column, figuresY, column, 24));
    canvas.y = top + 56 + 20;
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
        for (qsizetype i = 0; i < input.items.size(); ++i)
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
    // The title stays with its first bullet.
    const qreal titleHeight = canvas.measure(title, 499);
    canvas.ensureSpace(titleHeight + 8 + canvas.measure(make(bullets[0], 9.5, FontWeight::Regular, QColor()), 485));
    canvas.flowText(title, 48, 499);
    canvas.y += 8;
    for (const QString &bullet : bullets)
        drawBullet(canvas, bullet);
    canvas.y += 8;
}

void drawFooter(PDFCanvas &canvas)
{
    const PDFText text = make(QStringLiteral("Документ сформирован в Tessmark · носит ознакомительный характер"), 8.5,
                              FontWeight::Regular, PDFLayout::muted, Qt::AlignHCenter);
    canvas.ensureSpace(13 + canvas.measure(text, 499));
    canvas.drawRule(48, 547, canvas.y, PDFLayout::border);
    canvas.y += 13;
    canvas.flowText(text, 48, 499);
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
