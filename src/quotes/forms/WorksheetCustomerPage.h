#pragma once

#include "quotes/forms/QuoteFormsEnvironment.h"
#include "quotes/forms/WorksheetPageFields.h"

#include "platform/ui/GridColumn.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace kv::imaging {
class TPictureBox;
}
namespace kv::ui {
class TGlyphButton;
}

namespace kv::quotes {

class QuoteLookupList;
class WorksheetPageHost;
class WorksheetReferences;
struct CustomerFacts;
struct WorksheetState;

// The worksheet's page "Identif.Cliente e Produto": the customer and
// product fields of the open sub-quote row with their exit rules, lookups
// and labels, the side doors to the postal-code, payment-condition and
// salesmen tables, and the page's picture box.
class WorksheetCustomerPage : public QWidget {
    Q_OBJECT
public:
    WorksheetCustomerPage(WorksheetState& state, QuoteFormsEnvironment environment, WorksheetPageHost& host);
    ~WorksheetCustomerPage() override;

    QLineEdit* firstField() const { return Edit_CliNro; }
    kv::imaging::TPictureBox* picture() const { return ML1; }

    // Shows the side doors the user's rights allow and whose forms exist.
    void showSideDoors();
    // PutOrcamValues: the row's values with the labels of their codes.
    void load(const QuoteRow& row);
    // GetOrcamValues.
    void store(QuoteRow& row) const;
    // Empties the labels and the locality, region and province boxes.
    void clearLabels();

private:
    QWidget* buildFields();
    WorksheetReferences references() const;
    bool skipWhileCancelling() const;
    std::optional<qint64> positive(QLineEdit* field) const;

    void Edit_CliNroEnter();
    void Edit_CliNroExit();
    void Edit_NomeEnter();
    void Edit_NomeExit();
    void Edit_CodPostalExit();
    void Edit_CndPgtExit();
    void Edit_VndNroExit();
    void Edit_NosRefExit();
    void Edit_Design1Exit();
    void Edit_CodIvaExit();
    void Edit_MeasureExit(QLineEdit* field);
    void Edit_Observ3Exit();

    void applyCustomer(const CustomerFacts& customer);
    void showPostalCode(const QString& code);
    void showPaymentCondition(qint64 code);
    void showSalesman(qint64 code);
    void showVat(qint64 code);
    void refuse(const QString& message);

    void customerLookup(bool byName);
    void postalCodeLookup();
    void articleLookup(bool byDesignation);
    void sharedLookup(const char* dataset, QLineEdit* field, std::vector<kv::ui::GridColumn> columns);
    bool windowLookup(QuoteLookupList& list, std::vector<kv::ui::GridColumn> columns);
    void sideDoor(const QString& formClass, const QString& reportClass, const QStringList& datasets);

    WorksheetState& m_w;
    QuoteFormsEnvironment m_environment;
    WorksheetPageHost& m_host;
    kv::ui::Form& m_form;
    WorksheetPageFields m_fields;

    QLineEdit* Edit_CliNro = nullptr;
    QLineEdit* Edit_Nome = nullptr;
    QLineEdit* Edit_Morada1 = nullptr;
    QLineEdit* Edit_Morada2 = nullptr;
    QLineEdit* Edit_CodPostal = nullptr;
    QLineEdit* Edit_Localidade = nullptr;
    QLineEdit* Edit_Regiao = nullptr;
    QLineEdit* Edit_Provincia = nullptr;
    QLineEdit* Edit_CndPgt = nullptr;
    QLabel* Label_CndPgt = nullptr;
    QLineEdit* Edit_VndNro = nullptr;
    QLabel* Label_Vendedor = nullptr;
    QLineEdit* Edit_NosRef = nullptr;
    QLineEdit* Edit_Design[5] = {};
    QLineEdit* Edit_CodIva = nullptr;
    QLabel* Label_Iva = nullptr;
    QLineEdit* Edit_UndVnd = nullptr;
    QLineEdit* Edit_VosRef = nullptr;
    QLineEdit* Edit_Comprim = nullptr;
    QLineEdit* Edit_Largura = nullptr;
    QLineEdit* Edit_Altura = nullptr;
    QLineEdit* Edit_Observ[3] = {};
    kv::ui::TGlyphButton* BotCodPostal = nullptr;
    kv::ui::TGlyphButton* BotCndPgt = nullptr;
    kv::ui::TGlyphButton* BotVendedor = nullptr;
    kv::imaging::TPictureBox* ML1 = nullptr;
};

} // namespace kv::quotes
