import QtQuick
import QtQuick.Layouts
import QtQuick.Window
import Tessmark.Design

// Every component of the design system on one page ("components"), and over it the tour's scrim
// ("tour"), a sheet ("sheet"), a sheet too large for the window that opens a window of its own
// ("sheet-window") and a confirmation dialog ("dialog"), in the appearance given.
Window {
    id: window

    required property string appearance
    required property string scene
    required property var icons // every symbol name of the icon map

    width: scene === "sheet-window" ? 640 : 1280
    height: scene === "components" ? 1500 : scene === "sheet-window" ? 420 : 820
    visible: true
    color: AppTheme.background
    title: "Tessmark design gallery"

    Binding { target: AppTheme; property: "preference"; value: window.appearance }

    component Caption: Text {
        font: Typography.font(Typography.Caption, Font.DemiBold)
        color: AppTheme.textSecondary
        topPadding: 6
    }
    component Label: Text {
        property int textStyle: Typography.Subheadline
        font: Typography.font(textStyle)
        color: AppTheme.textSecondary
        wrapMode: Text.WordWrap
    }
    // The components page; the overlays of the other scenes open over it.
    RowLayout {
        id: page
        anchors.fill: parent
        anchors.margins: 24
        spacing: 28
        Onboarding.collectsFrames: true
        Onboarding.highlight: window.scene === "tour" ? "paymentsHub" : ""

        // Column 1: type, colours, buttons, card, badges
        ColumnLayout {
            Layout.preferredWidth: 380
            Layout.alignment: Qt.AlignTop
            spacing: 10

            Caption { text: "ШРИФТЫ" }
            Repeater {
                model: [["title2", Typography.Title2, Font.Bold], ["title3", Typography.Title3, Font.DemiBold],
                        ["headline", Typography.Headline, 0], ["body", Typography.Body, 0],
                        ["subheadline", Typography.Subheadline, 0], ["footnote", Typography.Footnote, 0],
                        ["caption", Typography.Caption, 0], ["caption2", Typography.Caption2, 0]]
                Text {
                    required property var modelData
                    text: modelData[0] + " — Смета проекта: 12 500 ₽ · Ёё"
                    font: Typography.font(modelData[1], modelData[2])
                    color: AppTheme.deepBlack
                }
            }

            Caption { text: "ЦВЕТА" }
            Flow {
                Layout.fillWidth: true
                spacing: 6
                Repeater {
                    model: ["primary", "accent", "background", "cardBackground", "deepBlack",
                            "textSecondary", "fieldBackground", "border", "error", "success"]
                    Column {
                        required property string modelData
                        spacing: 2
                        Rectangle {
                            width: 68; height: 30; radius: 6
                            color: AppTheme[modelData]
                            border.width: 1
                            border.color: AppTheme.withOpacity(AppTheme.deepBlack, 0.25)
                        }
                        Label { width: 68; text: modelData; elide: Text.ElideRight; wrapMode: Text.NoWrap; textStyle: Typography.Caption2 }
                    }
                }
            }

            Caption { text: "КНОПКИ" }
            PrimaryButton { text: "Войти или создать аккаунт" }
            PrimaryButton { text: "Сохранить (недоступно)"; enabled: false }
            PrimaryButton { text: "Нажата"; down: true }
            RowLayout {
                spacing: 20
                SecondaryButton { text: "Забыли пароль?" }
                SecondaryButton { text: "Платежи"; systemImage: "creditcard" }
                SecondaryButton { text: "Нажата"; down: true }
            }

            Caption { text: "КАРТОЧКА" }
            AppCard {
                Layout.fillWidth: true
                inset: 16
                spacing: 8
                Row {
                    spacing: 8
                    AppIcon { name: "paintbrush.fill"; color: AppTheme.primary }
                    Label { text: "Оформление"; textStyle: Typography.Headline; color: AppTheme.primary }
                }
                Label { Layout.fillWidth: true; text: "Тема приложения: как в системе, светлая или тёмная." }
                AppSegmentedControl {
                    Layout.fillWidth: true
                    selection: window.appearance
                    options: [
                        { value: "system", label: "Как в системе", icon: "circle.lefthalf.filled" },
                        { value: "light", label: "Светлая", icon: "sun.max.fill" },
                        { value: "dark", label: "Тёмная", icon: "moon.fill" }
                    ]
                }
            }

            Caption { text: "КАТЕГОРИИ" }
            Flow {
                Layout.fillWidth: true
                spacing: 6
                Repeater {
                    model: ["sw_backend", "sw_frontend", "sw_design", "sw_qa", "mk_seo", "ct_copywriting",
                            "vd_motion", "backend", "frontend", "mobile", "design", "devops", "management",
                            "qa", "analytics", "неизвестная-категория"]
                    CategoryBadge { required property string modelData; categoryId: modelData }
                }
            }
            Flow {
                Layout.fillWidth: true
                spacing: 6
                Repeater {
                    model: ["draft", "in_progress", "completed", "rejected"]
                    ProjectStatusBadge { required property string modelData; status: modelData }
                }
            }
            SpherePickerView {
                Layout.fillWidth: true
                selectedSphereId: "software"
            }
        }

        // Column 2: form controls
        ColumnLayout {
            Layout.preferredWidth: 360
            Layout.alignment: Qt.AlignTop
            spacing: 14

            Caption { text: "ПОЛЯ" }
            Repeater {
                // title, symbol, text, secure, shown, error
                model: [["Email", "envelope.fill", "anna@example.ru"],
                        ["Пароль", "lock.fill", "секрет123", true],
                        ["Пароль (показан)", "lock.fill", "секрет123", true, true],
                        ["Название", "text.alignleft", ""],
                        ["Ставка (RUB)", "rublesign.circle", "-5", false, false, "Ставка не может быть отрицательной"],
                        ["Пустая ошибка", "tag", "без строки ошибки", false, false, ""]]
                AppTextField {
                    required property var modelData
                    Layout.fillWidth: true
                    title: modelData[0]
                    systemImage: modelData[1]
                    text: modelData[2]
                    isSecure: modelData[3] === true
                    allowsPasswordReveal: isSecure
                    isPasswordVisible: modelData[4] === true
                    error: modelData.length > 5 ? modelData[5] : null
                }
            }

            Caption { text: "ВЫБОР" }
            AppSelect {
                Layout.fillWidth: true
                title: "Статус"
                selection: "nothing-matches"
                options: [{ value: "draft", label: "Черновик" }]
            }
            AppSelect {
                Layout.fillWidth: true
                title: "Категория"
                selection: "frontend"
                isOpen: true
                options: [{ value: "backend", label: "Backend" }, { value: "frontend", label: "Frontend" },
                          { value: "design", label: "Дизайн" }, { value: "management", label: "Менеджмент" }]
            }
            AppSegmentedControl {
                Layout.fillWidth: true
                selection: "cost"
                options: [{ value: "category", label: "По категориям" }, { value: "cost", label: "По стоимости" },
                          { value: "hours", label: "По часам" }]
            }
            AppSegmentedControl {
                Layout.fillWidth: true
                selection: "none"
                options: [{ value: "a", label: "Ничего" }, { value: "b", label: "не выбрано" }]
            }
            AppToggle { text: "Включено"; checked: true }
            AppToggle { text: "Выключено" }
            AppToggle { text: "Недоступно"; enabled: false }
        }

        // Column 3: sidebar, empty state, spotlight, icons, gradient
        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 10

            Caption { text: "БОКОВОЕ МЕНЮ" }
            Rectangle {
                Layout.preferredWidth: 220
                Layout.preferredHeight: sidebar.implicitHeight + 16
                color: AppTheme.paper
                radius: 8
                ColumnLayout {
                    id: sidebar
                    anchors.fill: parent
                    anchors.margins: 8
                    spacing: 6
                    Text {
                        leftPadding: 12; topPadding: 8; bottomPadding: 4
                        text: "Tessmark"
                        font: Typography.font(Typography.Title3, Font.Bold)
                        color: AppTheme.primary
                    }
                    Repeater {
                        model: AppSections.all
                        SidebarNavRow {
                            required property var modelData
                            title: modelData.id === "analytics" ? "Аналитика с очень длинным названием" : modelData.title
                            systemImage: modelData.icon
                            isSelected: modelData.id === "projects"
                        }
                    }
                }
            }

            Caption { text: "ПУСТОЕ СОСТОЯНИЕ" }
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 230
                color: AppTheme.background
                border.width: 1
                border.color: AppTheme.border
                radius: 8
                EmptyStateView {
                    anchors.fill: parent
                    systemImage: "doc.text"
                    title: "Смета пуста"
                    description: "Добавьте строки вручную, шаблон или ИИ."
                    SecondaryButton { text: "Добавить строку"; systemImage: "plus" }
                    SecondaryButton { text: "ИИ-смета"; systemImage: "sparkles" }
                }
            }

            Caption { text: "ПОДСВЕТКА ТУРА" }
            Item {
                Layout.fillWidth: true
                Layout.preferredHeight: 70
                AppCard {
                    x: 14; y: 10; width: 260
                    inset: 12
                    OnboardingSpotlight.highlight: "paymentsHub"
                    OnboardingSpotlight.active: true
                    Label { text: "Элемент, который подсвечивает тур"; color: AppTheme.deepBlack }
                }
            }

            Caption { text: "ЗНАЧКИ" }
            Grid {
                Layout.fillWidth: true
                columns: 11
                spacing: 8
                Repeater {
                    model: window.icons
                    AppIcon { required property string modelData; name: modelData; size: 22; color: AppTheme.primary }
                }
            }

            Caption { text: "ГРАДИЕНТ ВХОДА" }
            AuthGradient {
                Layout.fillWidth: true
                Layout.preferredHeight: 110
                Text {
                    anchors.centerIn: parent
                    text: "Tessmark"
                    font: Typography.font(Typography.Title2, Font.Bold)
                    color: "white"
                }
            }
        }
    }

    Item {
        anchors.fill: parent

        OnboardingScrim {
            anchors.fill: parent
            visible: window.scene === "tour"
            opacity: 0.4
            cutoutInGlobal: page.Onboarding.frames["paymentsHub"]
        }

        AppSheet {
            id: sheet

            title: "Новая итерация"
            cancelText: "Отмена"
            confirmText: "Создать"
            minimumWidth: 420
            minimumHeight: window.scene === "sheet-window" ? 560 : 300

            ColumnLayout {
                anchors.fill: parent
                anchors.margins: 20
                spacing: 14
                AppTextField { Layout.fillWidth: true; title: "Название (необязательно)"; systemImage: "tag" }
                AppSelect {
                    Layout.fillWidth: true
                    title: "Статус"
                    selection: "draft"
                    options: [{ value: "draft", label: "Черновик" }, { value: "active", label: "В работе" }]
                }
                Item { Layout.fillHeight: true }
            }
        }

        AppConfirmationDialog {
            id: dialog

            title: "Загрузить шаблон?"
            message: "«Лендинг» — 6 поз."
            buttons: [
                { text: "Заменить смету", role: "destructive" },
                { text: "Добавить к смете" },
                { text: "Отмена", role: "cancel" }
            ]
        }

        Component.onCompleted: {
            if (window.scene === "sheet" || window.scene === "sheet-window")
                sheet.open()
            if (window.scene === "dialog")
                dialog.open()
        }
    }
}
