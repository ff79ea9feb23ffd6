#pragma once

#include "ProjectEditorViewModel.h"

#include "API/AIService.h"
#include "API/ProjectsService.h"
#include "Models/AIGenerateMode.h"
#include "Models/AIGeneratedItem.h"
#include "Models/EditableEstimateItem.h"
#include "Models/GenerateEstimateRequest.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The AI sheet's inputs and its one request: asks the AI service for lines and puts them in
// place of the editor's. Owns its AIService, made on the projects service's REST client.
class AIGenerateSheetModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ProjectEditorViewModel *editor READ editor WRITE setEditor NOTIFY editorChanged)
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(QString requirements READ requirements WRITE setRequirements NOTIFY requirementsChanged)
    Q_PROPERTY(QString mode READ modeRaw WRITE setModeRaw NOTIFY modeChanged)
    Q_PROPERTY(
        QString additionalContext READ additionalContext WRITE setAdditionalContext NOTIFY additionalContextChanged)
    Q_PROPERTY(bool useBudgetCap READ useBudgetCap WRITE setUseBudgetCap NOTIFY useBudgetCapChanged)
    Q_PROPERTY(QString budgetCapText READ budgetCapText WRITE setBudgetCapText NOTIFY budgetCapTextChanged)
    Q_PROPERTY(QString budgetCapTitle READ budgetCapTitle NOTIFY budgetCapTitleChanged)
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)
    Q_PROPERTY(bool canGenerate READ canGenerate NOTIFY canGenerateChanged)
    // The service's text of the last failure; hasError tells an absent text from an empty one.
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY errorMessageChanged)
    Q_PROPERTY(QVariantList modeOptions READ modeOptions CONSTANT)

public:
    explicit AIGenerateSheetModel(QObject *parent = nullptr);

    ProjectEditorViewModel *editor() const { return m_editor; }
    void setEditor(ProjectEditorViewModel *editor);
    ProjectsService *projectsService() const { return m_projectsService; }
    void setProjectsService(ProjectsService *service);
    AIService *service() const { return m_service; }

    const QString &requirements() const { return m_requirements; }
    void setRequirements(const QString &text);
    AIGenerateMode mode() const { return m_mode; }
    QString modeRaw() const { return rawValue(m_mode); }
    void setModeRaw(const QString &raw);
    const QString &additionalContext() const { return m_additionalContext; }
    void setAdditionalContext(const QString &text);
    bool useBudgetCap() const { return m_useBudgetCap; }
    void setUseBudgetCap(bool on);
    const QString &budgetCapText() const { return m_budgetCapText; }
    void setBudgetCapText(const QString &text);
    QString budgetCapTitle() const;

    bool isGenerating() const { return m_service && m_service->isGenerating(); }
    bool canGenerate() const { return !isGenerating() && meetsLengthRule(m_requirements); }
    QString errorMessage() const { return m_service ? m_service->errorMessageText() : QString(); }
    bool hasError() const { return m_service && m_service->hasErrorMessage(); }
    static QVariantList modeOptions();

    // At least ten user-perceived characters once spaces and tabs leave both ends; line breaks
    // count.
    static bool meetsLengthRule(const QString &requirements);
    // The request for the current inputs and editor; requires an editor.
    GenerateEstimateRequest request() const;
    // The proposed lines as the editor's: fresh identities, texts as received, categories
    // normalised for "software", unlocked, a rate not above zero replaced by fallbackRate.
    static QList<EditableEstimateItem> editableItems(const QList<AIGeneratedItem> &proposed, double fallbackRate);

    // Sends the request; on an answer the editor's lines are replaced and succeeded() follows.
    // Ignored while a request runs, when the rule is not met, or without editor or service.
    Q_INVOKABLE void generate();

Q_SIGNALS:
    void editorChanged();
    void projectsServiceChanged();
    void requirementsChanged();
    void modeChanged();
    void additionalContextChanged();
    void useBudgetCapChanged();
    void budgetCapTextChanged();
    void budgetCapTitleChanged();
    void isGeneratingChanged();
    void canGenerateChanged();
    void errorMessageChanged();
    void succeeded();

private:
    void applyAnswer(const QList<AIGeneratedItem> &proposed);

    static QCoro::Task<> run(QPointer<AIGenerateSheetModel> self, QPointer<AIService> service,
                             GenerateEstimateRequest request);

    QPointer<ProjectEditorViewModel> m_editor;
    QPointer<ProjectsService> m_projectsService;
    AIService *m_service = nullptr;
    QString m_requirements;
    AIGenerateMode m_mode = AIGenerateMode::Detailed;
    QString m_additionalContext;
    bool m_useBudgetCap = false;
    QString m_budgetCapText;
};
