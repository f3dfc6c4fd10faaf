#include "quotes/forms/QuoteViewerSteps.h"

#include "platform/db/Dataset.h"
#include "platform/text/NumberText.h"
#include "platform/ui/MessageService.h"
#include "shell/AccessRights.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace kv::quotes {

std::unique_ptr<kv::db::Dataset> QuoteViewerSteps::summaryList(const QuoteFormsEnvironment& environment)
{
    auto list = std::make_unique<kv::db::Dataset>(QStringLiteral("ORCMAS"));
    list->setMode(kv::db::DatasetMode::ReadOnly);
    list->setConnection(environment.application());
    return list;
}

QTimer* QuoteViewerSteps::restTimer(kv::db::Dataset& list, QObject* owner)
{
    auto* timer = new QTimer(owner);
    timer->setSingleShot(true);
    timer->setInterval(0);
    QObject::connect(&list, &kv::db::Dataset::currentChanged, timer, qOverload<>(&QTimer::start));
    QObject::connect(&list, &kv::db::Dataset::reset, timer, qOverload<>(&QTimer::start));
    return timer;
}

bool QuoteViewerSteps::mayActivate(const QuoteFormsEnvironment& environment, QDialog& form)
{
    kv::shell::LoginState& state = *environment.state;
    kv::shell::AccessRights rights(environment.modules->dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")), state);
    const kv::shell::FormRights formRights =
        rights.readForm(kv::shell::RightsVariant::R5, state.WAplicacao, QStringLiteral("Orcamentos"),
                        QStringLiteral("Consulta de Orcamentos"));
    if (!formRights.closeForm)
        return true;
    if (formRights.beep)
        kv::ui::messages().beep();
    closeAtActivation(form, formRights.message);
    return false;
}

void QuoteViewerSteps::closeAtActivation(QDialog& form, const QString& message)
{
    kv::ui::messages().error(message);
    QTimer::singleShot(0, &form, &QDialog::reject);
}

std::unique_ptr<ArticleClassification> QuoteViewerSteps::readClassification(const QuoteFormsEnvironment& environment,
                                                                            bool& groupsRead)
{
    auto classification = std::make_unique<ArticleClassification>(*environment.invoicing());
    groupsRead = classification->readGroups();
    if (!groupsRead) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QStringLiteral("Problemas c/ leitura Tabelas Customizadas"));
    }
    return classification;
}

QDate QuoteViewerSteps::workingDate(const QuoteFormsEnvironment& environment)
{
    return environment.state ? environment.state->WData : QDate::currentDate();
}

kv::ui::LimitFields QuoteViewerSteps::dateFields(const QString& caption)
{
    kv::ui::LimitFields dates(QStringLiteral("dates"), caption, QStringLiteral("Edit_Data1"),
                              QStringLiteral("Edit_Data2"), 10);
    dates.inputMask = QStringLiteral("!99/99/0000;_");
    dates.dateLookup = true;
    return dates;
}

void QuoteViewerSteps::readLimits(const kv::ui::RangeLimitsBlock& block, ConsultationSelection& selection)
{
    const kv::text::RangeLimits& limits = block.limits();
    selection.customerFrom = limits.fromInteger(QStringLiteral("customers"));
    selection.customerTo = limits.toInteger(QStringLiteral("customers"));
    selection.salesmanFrom = limits.fromInteger(QStringLiteral("salesmen"));
    selection.salesmanTo = limits.toInteger(QStringLiteral("salesmen"));
    selection.articleFrom = block.fromField(QStringLiteral("articles"))->text();
    selection.articleTo = block.toField(QStringLiteral("articles"))->text();
    selection.numberFrom = limits.fromInteger(QStringLiteral("numbers"));
    selection.numberTo = limits.toInteger(QStringLiteral("numbers"));
    selection.dateFrom = limits.fromDate(QStringLiteral("dates"));
    selection.dateTo = limits.toDate(QStringLiteral("dates"));
}

QLabel* QuoteViewerSteps::valueLabel(const QString& name, int characters, QMap<QString, QLabel*>& labels)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * characters + 8);
    labels.insert(name, label);
    return label;
}

void QuoteViewerSteps::addValueLine(QGridLayout& grid, int row, const char* caption,
                                    std::initializer_list<std::pair<const char*, int>> values,
                                    QMap<QString, QLabel*>& labels)
{
    grid.addWidget(new QLabel(QString::fromUtf8(caption)), row, 0, Qt::AlignRight);
    auto* fields = new QHBoxLayout;
    for (const auto& [name, width] : values)
        fields->addWidget(valueLabel(QString::fromLatin1(name), width, labels));
    fields->addStretch(1);
    grid.addLayout(fields, row, 1);
}

QString QuoteViewerSteps::plainNumber(const QVariant& value)
{
    return value.isNull() ? QString() : kv::text::plain(value.toDouble());
}

} // namespace kv::quotes
