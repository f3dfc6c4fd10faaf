#include "customers/coding/forms/TORCFSPR032CUSTCOD.h"

#include "customers/coding/core/CustomisationTables.h"
#include "customers/coding/forms/CustomisationListReport.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportError.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>

namespace kv::customers {

TORCFSPR032CUSTCOD::TORCFSPR032CUSTCOD(kv::shell::FormEnvironment environment, QString group, QString table,
                                       QString title, QWidget* parent)
    : Form(parent, 1), m_environment(environment), m_group(std::move(group)), m_table(std::move(table)),
      m_title(std::move(title)), m_rows(std::make_unique<kv::db::Dataset>(QStringLiteral("CUSTARTG")))
{
    setObjectName(QStringLiteral("ORCSPR032CUSTCOD"));
    setWindowTitle(QStringLiteral("Listagem Tabela de Customização de Artigos"));
    m_rows->setConnection(environment.invoicing());
    m_rows->setSql(CustomisationTables::valuesSql(CustomisationTables::Rows::EveryCountryByCountry));

    auto* grid = new QGridLayout(body());
    const auto pair = [this](const QString& caption, QRadioButton*& first, const QString& firstText,
                             QRadioButton*& second, const QString& secondText) {
        auto* box = new QWidget;
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        first = new QRadioButton(firstText);
        second = new QRadioButton(secondText);
        auto* buttons = new QButtonGroup(box);
        buttons->addButton(first);
        buttons->addButton(second);
        row->addWidget(first);
        row->addWidget(second);
        row->addStretch(1);
        return std::pair{new QLabel(caption), box};
    };
    const auto [presentation, presentationBox] = pair(QStringLiteral("Apresentação : "), RadQualidade,
                                                      QStringLiteral("Qualidade"), RadNormal, QStringLiteral("Normal"));
    RadQualidade->setObjectName(QStringLiteral("RadQualidade"));
    RadNormal->setObjectName(QStringLiteral("RadNormal"));
    RadNormal->setChecked(true);
    const auto [orientation, orientationBox] =
        pair(QStringLiteral("Orientação Papel : "), RadVertical, QStringLiteral("Vertical"), RadHorizontal,
             QStringLiteral("Horizontal"));
    RadVertical->setObjectName(QStringLiteral("RadVertical"));
    RadHorizontal->setObjectName(QStringLiteral("RadHorizontal"));
    RadVertical->setChecked(true);
    CheckImpressora = new QCheckBox(QStringLiteral("Seleccionar a Impressora"));
    CheckImpressora->setObjectName(QStringLiteral("CheckImpressora"));
    CheckImpressora->setChecked(true);
    grid->addWidget(presentation, 0, 0);
    grid->addWidget(presentationBox, 0, 1);
    grid->addWidget(orientation, 1, 0);
    grid->addWidget(orientationBox, 1, 1);
    grid->addWidget(CheckImpressora, 2, 1);

    auto* buttons = new QHBoxLayout(buttonBar());
    const auto button = [&](const QString& caption, const QString& name, auto handler) {
        auto* b = new kv::ui::TGlyphButton(caption);
        b->setObjectName(name);
        connect(b, &kv::ui::TGlyphButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    buttons->addStretch(1);
    button(QStringLiteral("&Preview"), QStringLiteral("BotPreview"), [this] { BotPreviewClick(); });
    button(QStringLiteral("&Imprimir"), QStringLiteral("BotImprimir"), [this] { BotImprimirClick(); });
    button(QStringLiteral("&Terminar"), QStringLiteral("BitTerminar"), [this] { accept(); });
}

TORCFSPR032CUSTCOD::~TORCFSPR032CUSTCOD() = default;

void TORCFSPR032CUSTCOD::FormActivate()
{
    m_rows->setParam(QStringLiteral("WTabGrupo"), m_group);
    m_rows->setParam(QStringLiteral("WTabCod"), m_table);
    try {
        m_rows->open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    EnableEvents();
}

void TORCFSPR032CUSTCOD::FormClose() { m_rows->close(); }

kv::report::Document TORCFSPR032CUSTCOD::render()
{
    CustomisationListReport list(CustomisationListReport::codingFormList(
                                     m_title, RadQualidade->isChecked(),
                                     RadHorizontal->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait),
                                 m_environment, m_openReports);
    if (!m_rows->isOpen())
        return {};
    return list.render(*m_rows);
}

void TORCFSPR032CUSTCOD::BotPreviewClick()
{
    kv::report::PreviewWindow preview(render(), this);
    preview.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    preview.exec();
}

void TORCFSPR032CUSTCOD::BotImprimirClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(RadHorizontal->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (CheckImpressora->isChecked()) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("Imprimir"));
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    print(printer);
}

void TORCFSPR032CUSTCOD::print(QPrinter& printer)
{
    try {
        kv::report::PreviewWindow pages(render(), this);
        pages.print(printer);
    } catch (const kv::report::ReportError& error) {
        kv::ui::messages().fail(error.text());
    }
}

} // namespace kv::customers
