#pragma once

#include "costing/forms/CodeTableDescription.h"
#include "costing/forms/CostingEnvironment.h"

#include "platform/ui/Form.h"

#include <memory>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kv::ui {
class TGlyphButton;
}

namespace kv::costing {

// The list print dialog of a costing table (TORCFSPR002 for the inks): the
// order of the list and, for tables linked to stock articles, a range of
// article codes with their lookups. Imprimir rewrites the statement of the
// table's shared dataset and previews the list report; the table form puts
// the statement back when the dialog has closed.
class ListPrintDialog : public kv::ui::Form {
    Q_OBJECT
public:
    ListPrintDialog(const CodeTableDescription& member, CostingEnvironment environment, QWidget* parent = nullptr);
    ~ListPrintDialog() override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void Edit_Artigo1Exit();
    void Edit_Artigo2Exit();
    void BitPrintClick();
    void OpenNumerico();
    void OpenAlfabetico();
    void openList(ListOrder order);
    void preview(kv::db::Dataset& table, ListOrder order, const QString& from, const QString& to);
    void lookup(QLineEdit* field, bool alphabetic);
    QLineEdit* addRangeField(const QString& name, QLabel** designation);

    const CodeTableDescription& m_member;
    const ListPrintSpec& m_spec;
    CostingEnvironment m_environment;
    std::unique_ptr<ArticleLists> m_articles;
    QRadioButton* RadNumerica = nullptr;
    QRadioButton* RadAlfabetica = nullptr;
    QLineEdit* Edit_Artigo1 = nullptr;
    QLineEdit* Edit_Artigo2 = nullptr;
    QLabel* Label_Designacao1 = nullptr;
    QLabel* Label_Designacao2 = nullptr;
    kv::ui::TGlyphButton* BitPrint = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::costing
