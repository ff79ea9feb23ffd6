#include "Features/Onboarding/GuidedOnboarding.h"

#include "Features/Onboarding/OnboardingDemoProject.h"

namespace GuidedOnboarding {

namespace {
QList<GuidedOnboardingStepModel> buildSteps()
{
    using K = OnboardingHighlightTarget::Kind;
    using S = AppSection;
    const QString demoBody = QStringLiteral("Для тура мы создали проект «") + OnboardingDemoProject::name()
        + QStringLiteral("» на готовом шаблоне строк. Он остаётся в списке — можно править и удалить позже. "
                         "Ниже подсвечена его карточка: откройте смету кнопкой «Далее».");
    return {
        {0, QStringLiteral("Проекты"), QStringLiteral("Демо-проект"), demoBody, S::Projects, false, K::DemoProjectRow},
        {1, QStringLiteral("Смета"), QStringLiteral("Позиции и разделы"),
         QStringLiteral("Здесь название проекта, клиент, валюта и таблица позиций. Сгруппируйте по категориям или "
                        "по разделам сметы — как удобнее для сдачи заказчику."),
         S::Projects, true, K::EditorTableOverview},
        {2, QStringLiteral("Шаблоны"), QStringLiteral("Меню действий"),
         QStringLiteral("Кнопка с тремя точками открывает шаблоны строк, PDF и Share, итерации (в облаке) и ИИ-смету "
                        "для аккаунта."),
         S::Projects, true, K::EditorTemplatesMenu},
        {3, QStringLiteral("Сохранение"), QStringLiteral("Сохранить и отдать клиенту"),
         QStringLiteral("Перед отправкой в облако сохраните изменения. PDF и системный Share — в том же меню; так "
                        "можно быстро отправить коммерческое предложение."),
         S::Projects, true, K::EditorSaveExport},
        {4, QStringLiteral("Платежи"), QStringLiteral("Учёт оплат"),
         QStringLiteral("Выберите проект или итерацию и ведите платежи по смете. В гостевом режиме раздел напомнит "
                        "войти в аккаунт — синхронизация с облаком после входа."),
         S::Payments, false, K::PaymentsHub},
        {5, QStringLiteral("Аналитика"), QStringLiteral("Сводка по проектам"),
         QStringLiteral("План, факт, оплаты и графики по облачным данным. Локальные гостевые сметы остаются в "
                        "«Проектах» до входа в аккаунт."),
         S::Analytics, false, K::AnalyticsHub},
        {6, QStringLiteral("Настройки"), QStringLiteral("Оформление"),
         QStringLiteral("Светлая или тёмная тема и внешний вид списков — подстройте под себя."), S::Settings, false,
         K::SettingsAppearance},
        {7, QStringLiteral("Настройки"), QStringLiteral("Повторить тур"),
         QStringLiteral("В любой момент можно снова пройти это обучение — подсветки и переходы по разделам как "
                        "сейчас."),
         S::Settings, false, K::SettingsGuidedTour},
        {8, QStringLiteral("Настройки"), QStringLiteral("Подсказки"),
         QStringLiteral("Короткие советы по работе со сметой, экспорту и облаку — заглядывайте при необходимости."),
         S::Settings, false, K::SettingsTips},
        {9, QStringLiteral("Навигация"), QStringLiteral("Разделы приложения"),
         QStringLiteral("Боковое меню слева. Переключайтесь между проектами, платежами, аналитикой и настройками."),
         S::Projects, false, K::MainNavigation},
    };
}
} // namespace

const QList<GuidedOnboardingStepModel> &steps()
{
    static const QList<GuidedOnboardingStepModel> table = buildSteps();
    return table;
}

std::optional<OnboardingHighlightTarget> highlight(int step, const std::optional<QString> &demoProjectId)
{
    if (step < 0 || step >= steps().size())
        return std::nullopt;
    const std::optional<OnboardingHighlightTarget::Kind> kind = steps().at(step).highlightKind;
    if (!kind)
        return std::nullopt;
    if (*kind == OnboardingHighlightTarget::Kind::DemoProjectRow) {
        if (!demoProjectId)
            return std::nullopt;
        return OnboardingHighlightTarget::demoProjectRow(*demoProjectId);
    }
    return OnboardingHighlightTarget{*kind, {}};
}

} // namespace GuidedOnboarding
