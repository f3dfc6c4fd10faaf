#include "production/forms/TORCF104.h"

#include "platform/db/DbError.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportError.h"
#include "platform/text/DateText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"
#include "production/core/ConsumptionForecast.h"
#include "production/forms/MapButtons.h"
#include "production/forms/StockMapReports.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>

namespace kv::production {

TORCF104::TORCF104(kv::shell::FormEnvironment environment, QWidget* parent)
    : Form(parent, 1), m_environment(environment)
{
    setObjectName(QStringLiteral("ORCF104"));
    setWindowTitle(QStringLiteral("Mapa de Previsão de Consumos"));
    auto* grid = new QGridLayout(body());
    const auto readOnly = [](const QString& name, int characters) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        kv::ui::setFieldWidth(e, characters);
        return e;
    };
    auto* caption1 = new QLabel(QStringLiteral("Dt. Entrega : "));
    auto* caption2 = new QLabel(QStringLiteral("Dt. Entrega : "));
    Edit_DatEnt1 = dateField(QStringLiteral("Edit_DatEnt1"), caption1);
    Edit_DatEnt1->setToolTip(QStringLiteral("Insira as datas de confirmação de encomenda"));
    Edit_DatEnt2 = dateField(QStringLiteral("Edit_DatEnt2"), caption2);
    Edit_SemEnt1 = readOnly(QStringLiteral("Edit_SemEnt1"), 2);
    Edit_SemEnt2 = readOnly(QStringLiteral("Edit_SemEnt2"), 2);
    Edit_DiaSemEnt1 = readOnly(QStringLiteral("Edit_DiaSemEnt1"), 3);
    Edit_DiaSemEnt2 = readOnly(QStringLiteral("Edit_DiaSemEnt2"), 3);
    int row = 0;
    for (auto [caption, date, week, weekday] : {std::tuple{caption1, Edit_DatEnt1, Edit_SemEnt1, Edit_DiaSemEnt1},
                                                std::tuple{caption2, Edit_DatEnt2, Edit_SemEnt2, Edit_DiaSemEnt2}}) {
        grid->addWidget(caption, row, 0);
        grid->addWidget(date, row, 1);
        grid->addWidget(week, row, 2);
        grid->addWidget(weekday, row, 3);
        ++row;
    }
    const MapButtons buttons = addMapButtons(
        *this, [this] { BitPreviewClick(); }, [this] { BitPrintClick(); });
    CheckImpressora = buttons.printer;
    BitPreview = buttons.preview;
    BitPreview->setToolTip(QStringLiteral("Impressão c/ Preview"));
    BitPrint = buttons.print;
    grid->addWidget(CheckImpressora, row++, 1, 1, 3);
    Gauge1 = new QProgressBar;
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    grid->addWidget(Gauge1, row++, 0, 1, 4);
    grid->setColumnStretch(4, 1);
}

QLineEdit* TORCF104::dateField(const QString& name, QLabel* caption)
{
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setInputMask(QStringLiteral("99/99/0000;_"));
    kv::ui::setFieldWidth(e, 10);
    setCaptionLabel(e, caption);
    return e;
}

void TORCF104::FormActivate()
{
    const kv::shell::LoginState& state = m_environment.state();
    const kv::shell::FormRights rights =
        m_environment.rights(kv::shell::RightsVariant::R6, state.WAplicacao, QStringLiteral("Planeamento"),
                             QStringLiteral("Mapa de Consumos"));
    // Without the right to print, neither way of printing is offered.
    BitPreview->setVisible(rights.showPrint);
    BitPrint->setVisible(rights.showPrint);
    if (!m_activated) {
        m_activated = true;
        m_first = state.WData;
        m_last = state.WData;
        Edit_DatEnt1->setText(kv::text::date(state.WData));
        Edit_DatEnt2->setText(kv::text::date(state.WData));
        showWeek(Edit_DatEnt1, Edit_SemEnt1, Edit_DiaSemEnt1);
        showWeek(Edit_DatEnt2, Edit_SemEnt2, Edit_DiaSemEnt2);
        setExitHandler(Edit_DatEnt1, [this] { Edit_DatEnt1Exit(); });
        setExitHandler(Edit_DatEnt2, [this] { Edit_DatEnt2Exit(); });
    }
    EnableEvents();
    focusField(Edit_DatEnt1);
}

void TORCF104::FormClose()
{
    m_activated = false;
    setExitHandler(Edit_DatEnt1, {});
    setExitHandler(Edit_DatEnt2, {});
}

void TORCF104::showWeek(QLineEdit* date, QLineEdit* week, QLineEdit* weekday)
{
    week->clear();
    weekday->clear();
    const std::optional<QDate> day = kv::text::parseDate(date->text());
    if (!day) {
        kv::ui::messages().fail(kv::text::notADateMessage(date->text()));
        return;
    }
    try {
        const auto calendar = ConsumptionForecast::calendarDay(*m_environment.invoicing(), *day);
        if (!calendar) {
            kv::ui::messages().beep();
            kv::ui::messages().error(QStringLiteral("Data Inexistente no Ficheiro de Calendário"));
            return;
        }
        week->setText(calendar->week);
        weekday->setText(calendar->weekday);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF104::Edit_DatEnt1Exit() { showWeek(Edit_DatEnt1, Edit_SemEnt1, Edit_DiaSemEnt1); }

void TORCF104::Edit_DatEnt2Exit()
{
    const std::optional<QDate> first = kv::text::parseDate(Edit_DatEnt1->text());
    const std::optional<QDate> last = kv::text::parseDate(Edit_DatEnt2->text());
    if (!first || !last) {
        kv::ui::messages().fail(kv::text::notADateMessage(first ? Edit_DatEnt2->text() : Edit_DatEnt1->text()));
        return;
    }
    m_first = *first;
    m_last = *last;
    if (m_last < m_first) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QStringLiteral("LIMITE DE DATAS INVÁLIDO"));
        focusField(Edit_DatEnt1);
        return;
    }
    showWeek(Edit_DatEnt2, Edit_SemEnt2, Edit_DiaSemEnt2);
}

bool TORCF104::PrintRout()
{
    setStatusText(0, {});
    Gauge1->setValue(0);
    Gauge1->show();
    bool built = true;
    try {
        ConsumptionForecast forecast(*m_environment.application(), *m_environment.invoicing());
        forecast.build(m_environment.state().WUtil, m_first, m_last, [this](int percent, int order) {
            Gauge1->setValue(percent);
            if (order > 0)
                setStatusText(0, QStringLiteral("Ordem de Fabrico Nº : ") + QString::number(order));
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        built = false;
    }
    Gauge1->hide();
    return built;
}

void TORCF104::BitPreviewClick()
{
    if (PrintRout()) {
        try {
            ConsumptionForecast forecast(*m_environment.application(), *m_environment.invoicing());
            kv::report::PreviewWindow preview(StockMapReports::forecast(forecast.rows(m_environment.state().WUtil),
                                                                        {m_first, m_last, m_environment.companyName()}),
                                              this);
            preview.setWindowTitle(QStringLiteral("Mapa de Previsão de Consumos"));
            preview.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
            preview.exec();
        } catch (const kv::db::DbError& error) {
            kv::ui::messages().fail(error.fullText());
        }
    }
    setStatusText(0, {});
    focusField(Edit_DatEnt1);
}

void TORCF104::BitPrintClick()
{
    // The print goes straight to the printer; the check box is not consulted.
    if (PrintRout()) {
        try {
            ConsumptionForecast forecast(*m_environment.application(), *m_environment.invoicing());
            kv::report::PreviewWindow pages(StockMapReports::forecast(forecast.rows(m_environment.state().WUtil),
                                                                      {m_first, m_last, m_environment.companyName()}),
                                            this);
            QPrinter printer(QPrinter::HighResolution);
            pages.print(printer);
        } catch (const kv::db::DbError& error) {
            kv::ui::messages().fail(error.fullText());
        } catch (const kv::report::ReportError& error) {
            kv::ui::messages().fail(error.text());
        }
    }
    setStatusText(0, {});
    focusField(Edit_DatEnt1);
}

} // namespace kv::production
