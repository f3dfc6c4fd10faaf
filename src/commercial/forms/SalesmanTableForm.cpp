#include "commercial/forms/SalesmanTableForm.h"

#include "commercial/forms/SalesObjectivesForm.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLineEdit>

namespace kv::commercial {

namespace {

const QString PostalCodes = QStringLiteral("DTTABELAS.CODPOSTAL");
const QString Rates = QStringLiteral("DTTABELAS.COMISSOES");

// The row of a list whose column holds `value` exactly, or -1.
int rowHolding(kv::db::Dataset& list, const QString& column, const QVariant& value)
{
    if (!list.isOpen())
        return -1;
    const int index = list.fieldIndex(column);
    const int count = list.recordCount();
    for (int row = 0; row < count; ++row) {
        const QVariant held = list.valueAt(row, index);
        if (!held.isNull() && held.toString() == value.toString())
            return row;
    }
    return -1;
}

bool isFlag(const QVariant& value)
{
    return value.toString() == QLatin1String("S") || value.toString() == QLatin1String("N");
}

} // namespace

SalesmanTableForm::SalesmanTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                                     QWidget* parent)
    : CommercialTableForm(member, environment, parent)
{
    // The area code comes from the postal code.
    if (auto* area = findChild<kv::ui::DbEdit*>(QStringLiteral("Edit_TelCodZona")))
        area->setReadOnly(true);
    BotComVend = new kv::ui::TGlyphButton(QStringLiteral("&Quota Anual"), buttonBar());
    BotComVend->setObjectName(QStringLiteral("BotComVend"));
    BotComVend->setToolTip(QStringLiteral("Objectivo Anual de Vendas"));
    auto* bar = static_cast<QHBoxLayout*>(buttonBar()->layout());
    bar->insertWidget(bar->indexOf(BitTerminar), BotComVend);
    connect(BotComVend, &kv::ui::TGlyphButton::clicked, this, &SalesmanTableForm::openObjectives);

    // Whatever puts a code in these fields (typing, scrolling, a lookup) names it again.
    if (auto* postal = findChild<QLineEdit*>(QStringLiteral("Edit_CodPostal")))
        connect(postal, &QLineEdit::textChanged, this, &SalesmanTableForm::showLocality);
    if (auto* rate = findChild<QLineEdit*>(QStringLiteral("Edit_Comissao")))
        connect(rate, &QLineEdit::textChanged, this, &SalesmanTableForm::showRate);
}

SalesmanTableForm::~SalesmanTableForm() = default;

int SalesmanTableForm::postalRow(const QString& code) const
{
    return code.isEmpty() ? -1 : rowHolding(environment().dataset(PostalCodes), QStringLiteral("CODPOSTAL"), code);
}

int SalesmanTableForm::rateRow(const QString& code) const
{
    const auto number = kv::text::parseInteger(code);
    return number ? rowHolding(environment().dataset(Rates), QStringLiteral("CODIGO"), *number) : -1;
}

void SalesmanTableForm::showLocality(const QString& code)
{
    kv::db::Dataset& list = environment().dataset(PostalCodes);
    const int row = postalRow(code);
    companion(QStringLiteral("Edit_Localidade"))
        ->setText(row < 0 ? QString() : list.valueAt(row, list.fieldIndex(QStringLiteral("LOCALIDADE"))).toString());
}

void SalesmanTableForm::showRate(const QString& code)
{
    kv::db::Dataset& list = environment().dataset(Rates);
    const int row = rateRow(code);
    const QVariant rate = row < 0 ? QVariant() : list.valueAt(row, list.fieldIndex(QStringLiteral("PRCCOM")));
    companion(QStringLiteral("Edit_PrcCom"))->setText(rate.isNull() ? QString() : kv::text::plain(rate.toDouble()));
}

// ------------------------------------------------------------------ checks

bool SalesmanTableForm::leavePostalCode()
{
    const QString code = table().value(QStringLiteral("CODPOSTAL")).toString();
    const int row = postalRow(code);
    if (row < 0) {
        table().setValue(QStringLiteral("CODPOSTAL"), QVariant());
        return false;
    }
    kv::db::Dataset& list = environment().dataset(PostalCodes);
    table().setValue(QStringLiteral("TELCODZONA"), list.valueAt(row, list.fieldIndex(QStringLiteral("TELCODZONA"))));
    return true;
}

bool SalesmanTableForm::leaveRateCode()
{
    const QVariant code = table().value(QStringLiteral("COMISSAO"));
    return code.isNull() || rateRow(code.toString()) >= 0;
}

bool SalesmanTableForm::fieldPassed(std::size_t index)
{
    const QString name = member().fields[index].name;
    // After Cancelar, until the grid is entered again, these three are silent.
    if (applySkipped())
        return true;
    bool passed = true;
    if (name == QLatin1String("Edit_Nome"))
        passed = !table().value(QStringLiteral("NOME")).toString().trimmed().isEmpty();
    else if (name == QLatin1String("Edit_CodPostal"))
        passed = leavePostalCode();
    else if (name == QLatin1String("Edit_Comissao"))
        passed = leaveRateCode();
    if (!passed)
        refuse({});
    return passed;
}

bool SalesmanTableForm::checkFields()
{
    if (!editing(table()))
        return true;
    const auto column = [this](const char* name) { return table().value(QLatin1String(name)); };
    // In tab order, as leaving each field would check it.
    const std::pair<const char*, bool> checks[] = {
        {"Edit_Nome", !column("NOME").toString().trimmed().isEmpty()},
        {"Edit_CodPostal", postalRow(column("CODPOSTAL").toString()) >= 0},
        {"Edit_Chefe", isFlag(column("CHEFE"))},
        {"Edit_Comissao", column("COMISSAO").isNull() || rateRow(column("COMISSAO").toString()) >= 0},
        {"Edit_RedComissao", isFlag(column("REDCOMISSAO"))}};
    for (const auto& [name, passed] : checks)
        if (!passed) {
            refuseBeforeApply(control(QLatin1String(name)), {});
            return false;
        }
    return true;
}

bool SalesmanTableForm::beforeApply()
{
    if (!CommercialTableForm::beforeApply())
        return false;
    // Every return from an existing salesman's fields stamps him, changed or not.
    if (!inserting() && table().state() == kv::db::DatasetState::Edit) {
        table().setValue(QStringLiteral("DTULTALTER"), QDateTime::currentDateTime());
        table().setValue(QStringLiteral("UTILALTER"), environment().state().WUtil);
    }
    return true;
}

void SalesmanTableForm::rowStarted() { table().setValue(QStringLiteral("DATAABERTURA"), QDateTime::currentDateTime()); }

// ------------------------------------------------------------------ buttons

void SalesmanTableForm::BotInserirClick()
{
    // No objectives for a code that may never be saved.
    BotComVend->setEnabled(false);
    CommercialTableForm::BotInserirClick();
}

void SalesmanTableForm::returned(bool applied)
{
    CommercialTableForm::returned(applied);
    BotComVend->setEnabled(true);
}

void SalesmanTableForm::openObjectives()
{
    if (inserting() || !table().isOpen() || table().isEmpty())
        return;
    const int code = static_cast<int>(table().value(QStringLiteral("CODIGO")).toLongLong());
    const QString name = table().value(QStringLiteral("NOME")).toString();
    kv::db::Dataset& rates = environment().dataset(Rates);
    rates.close();
    {
        SalesObjectivesForm objectives(environment(), code, name, this);
        objectives.exec();
    }
    try {
        rates.open();
    } catch (const kv::db::DbError& error) {
        showError(error);
    }
    showRate(table().value(QStringLiteral("COMISSAO")).toString());
}

} // namespace kv::commercial
