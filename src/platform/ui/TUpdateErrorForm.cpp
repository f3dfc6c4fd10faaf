#include "platform/ui/TUpdateErrorForm.h"

#include "platform/db/DbError.h"
#include "platform/ui/FieldText.h"
#include "platform/ui/FormColours.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kv::ui {

using kv::db::UpdateAction;
using kv::db::UpdateKind;

namespace {
enum Answer { RetryAnswer = 100, SkipAnswer = 101 };
}

TUpdateErrorForm::TUpdateErrorForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("UpdateErrorForm"));
    setWindowTitle(QStringLiteral("Erro de actualização no Servidor"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, formColour());
    setPalette(palette);
    setAutoFillBackground(true);

    m_updateType = new QLabel(this);
    m_updateType->setObjectName(QStringLiteral("UpdateType"));
    m_errorText = new QLabel(this);
    m_errorText->setObjectName(QStringLiteral("ErrorText"));
    m_errorText->setWordWrap(true);
    m_errorText->setMinimumSize(265, 78);
    m_errorText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_errorText->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_updateData = new QTableWidget(0, 2, this);
    m_updateData->setObjectName(QStringLiteral("UpdateData"));
    m_updateData->setHorizontalHeaderLabels({QStringLiteral("New Value"), QStringLiteral("Old Value")});
    m_updateData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_updateData->verticalHeader()->hide();
    m_updateData->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_updateData->verticalHeader()->setDefaultSectionSize(15);
    m_updateData->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_updateData->setColumnWidth(0, 166);
    m_updateData->setColumnWidth(1, 169);
    m_updateData->setMinimumWidth(166 + 169 + 24);

    auto* retry = new QPushButton(QStringLiteral("&Repetir"), this);
    retry->setObjectName(QStringLiteral("RetryButton"));
    auto* ignore = new QPushButton(QStringLiteral("&Ignorar"), this);
    ignore->setObjectName(QStringLiteral("IgnoreButton"));
    auto* abort = new QPushButton(QStringLiteral("&Abortar"), this);
    abort->setObjectName(QStringLiteral("AbortButton"));
    connect(retry, &QPushButton::clicked, this, [this] { done(RetryAnswer); });
    connect(ignore, &QPushButton::clicked, this, [this] { done(SkipAnswer); });
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("Tipo Actualização :"), this), 0, 0);
    form->addWidget(m_updateType, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Mensagem Erro :"), this), 1, 0, Qt::AlignTop);
    form->addWidget(m_errorText, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(retry);
    buttons->addWidget(ignore);
    buttons->addWidget(abort);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_updateData, 1);
    layout->addLayout(buttons);
    setFixedSize(387, 381);
}

QString TUpdateErrorForm::updateKindText(UpdateKind kind)
{
    switch (kind) {
    case UpdateKind::Modified: return QStringLiteral("Modified");
    case UpdateKind::Inserted: return QStringLiteral("Inserted");
    case UpdateKind::Deleted: return QStringLiteral("Deleted");
    }
    return {};
}

void TUpdateErrorForm::fill(kv::db::Dataset& dataset, const kv::db::DbError& error, UpdateKind kind)
{
    m_updateType->setText(updateKindText(kind));
    m_errorText->setText(error.fullText());
    m_updateData->clearContents();
    std::vector<int> fields;
    for (int i = 0; i < dataset.fieldCount(); ++i) {
        if (!dataset.fieldDef(i).calculated)
            fields.push_back(i);
    }
    m_updateData->setRowCount(static_cast<int>(fields.size()));
    for (int row = 0; row < static_cast<int>(fields.size()); ++row) {
        kv::db::Field field = dataset.field(fields[static_cast<std::size_t>(row)]);
        const kv::db::FieldType type = field.type();
        const QVariant newValue = kind == UpdateKind::Deleted ? QVariant() : field.value();
        m_updateData->setItem(row, 0, new QTableWidgetItem(fieldText(type, newValue)));
        m_updateData->setItem(row, 1, new QTableWidgetItem(fieldText(type, field.oldValue())));
        m_updateData->setVerticalHeaderItem(row, new QTableWidgetItem(field.name()));
    }
}

UpdateAction TUpdateErrorForm::HandleError(kv::db::Dataset& dataset, const kv::db::DbError& error, UpdateKind kind)
{
    fill(dataset, error, kind);
    QPointer<TUpdateErrorForm> self(this);
    const int answer = exec();
    if (!self)
        return UpdateAction::Abort;
    if (answer == RetryAnswer)
        return UpdateAction::Retry;
    if (answer == SkipAnswer)
        return UpdateAction::Skip;
    return UpdateAction::Abort;
}

kv::db::UpdateErrorHandler TUpdateErrorForm::handler()
{
    QPointer<TUpdateErrorForm> self(this);
    return [self](kv::db::Dataset& dataset, const kv::db::DbError& error, UpdateKind kind) {
        return self ? self->HandleError(dataset, error, kind) : UpdateAction::Abort;
    };
}

} // namespace kv::ui
