#pragma once

#include "costing/core/ArticleLists.h"
#include "costing/core/CodeKey.h"
#include "costing/core/ListStatement.h"
#include "platform/text/FieldRule.h"

#include <QKeySequence>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace kv::report {
class Report;
class RowView;
} // namespace kv::report

namespace kv::costing {

using kv::text::FieldRule;

class CodeTableForm;
class CostingEnvironment;

// How a value is written in a grid and a list report.
enum class ValueFormat { Plain, Money };

// A column of the form's grid.
struct GridColumnSpec {
    QString column;
    QString title;
    int width = 0; // characters; 0: the column's size
    ValueFormat format = ValueFormat::Plain;
};

// An entry of a field's popup menu, also reached by its key while the field
// has the focus ("Procurar" on Insert).
struct FieldAction {
    QString text;
    QKeySequence key;
    std::function<void(CodeTableForm&)> run;
};

// An edit field of the form, bound to a column of the table, after the key
// in tab order.
struct FieldSpec {
    QString name; // "Edit_Designacao"
    QString column; // "DESIGNACAO"
    QString caption; // the label that lights up: "Designação : "
    QString suffix; // a text after the field: "( Grs )"
    QString hint; // status panel 0 while the field has the focus
    bool upperCase = false;
    bool readOnly = false; // shown only: not in the tab order, no checks
    FieldRule rule; // the check made on leaving it
    QString page; // notebook page of the field; empty: above the notebook
    QString nameLabel; // a label beside the field that the member's hooks fill ("Label_Tipopap")
    // A framed panel of help lines beside the field, shown only while the
    // field has the focus ("Panel_TipoCalculo": "1 - ...", "2 - ...").
    QString helpPanel;
    QStringList helpLines;
    // Behaviour beyond the rule, for members that need it: run after the
    // label lights up, and after the rule passed (false: refused, the hook
    // having told the user through CodeTableForm::refuse).
    std::function<void(CodeTableForm&)> onEnter;
    std::function<bool(CodeTableForm&)> onExit;
    // A plain field, not bound to the column: the member's hooks show the
    // row in it and write what passed its check. Emptied by Inserir.
    bool bound = true;
    std::vector<FieldAction> actions;
    // After the grid in tab order: Enter on the field before returns to the
    // grid and saves, and this one is reached with the mouse.
    bool afterGrid = false;
    // False: the field's label keeps the form colour while it has the focus.
    bool labelLightsUp = true;
    // The field's width in characters; 0: what its column's kind and size need.
    int width = 0;
    // On the line of the field before it, after that field (a pair such as
    // length x width, minimum and maximum).
    bool besidePrevious = false;
};

// The link of a table whose rows name a stock article (column ARTIGO): the
// article lists of the form with their condition, the lookups on Insert and
// Ctrl+Insert, the check on leaving the field and the columns a new row takes
// from its article.
struct ArticleLinkSpec {
    QString field = QStringLiteral("Edit_Artigo");
    ArticleListSpec lists;
    std::vector<CopiedColumn> copied;
};

// A column of a list report: a title over a value of each row.
struct ReportColumnSpec {
    QString title;
    QString column; // the row's column; empty when `text` writes it
    double width = 20.0; // millimetres
    ValueFormat format = ValueFormat::Plain;
    Qt::Alignment alignment = Qt::AlignLeft;
    // The printed text worked out from the row (DetailBand1BeforePrint).
    std::function<QString(const kv::report::RowView&)> text = {};
};

// The list print dialog and list report of a member.
struct ListPrintSpec {
    QString dialogClass; // "TORCFSPR002"
    QString dialogCaption; // "Tabela de Tintas"
    QString reportClass; // "TORCFPR002"
    QString reportTitle; // "Tabela de Tintas"
    QString reportCaption; // the report's caption on its preview; empty: the title
    // With a range of article codes (tables linked to stock articles): the
    // numeric order is the article code's. Without: the order choice alone.
    bool articleRange = true;
    QStringList numericOrder{QStringLiteral("CODIGO")}; // rangeless members
    QStringList alphabeticOrder{QStringLiteral("DESIGNACAO")}; // rangeless members
    std::vector<ReportColumnSpec> columns;
    // Without: the dialog offers no order and lists the table in the form's own order.
    bool orderChoice = true;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // Members whose report is not a line per row lay their detail out here.
    std::function<void(kv::report::Report&, const CostingEnvironment&)> customise;
};

// A costing reference table kept in the code table form: everything in which
// one member differs from another. The inks table is the reference member.
struct CodeTableDescription {
    QString formClass; // "TORCF002"
    QString caption; // "Tabela de Tintas"
    QString table; // "TINTAS"
    QString dataset; // "ZURIVAVEZA.TINTAS"
    QStringList order{QStringLiteral("CODIGO")}; // of the grid, restored after printing
    QString keyColumn = QStringLiteral("CODIGO");
    QString keyCaption = QStringLiteral("Código : ");
    KeyBounds keyBounds;
    // Members whose key is typed without a proposal: Inserir empties the key
    // and starts no row until a free key has been typed.
    bool proposeKey = true;
    // The member's own check of a typed key; empty: checkKey over keyBounds.
    std::function<KeyCheck(CodeTableForm& form, const QString& text, const std::function<bool(qint64)>& exists)>
        keyCheck;
    // The key field's own searches, and a label beside it that the member's hooks fill.
    std::vector<FieldAction> keyActions;
    QString keyNameLabel;
    // Where a free key sends the focus; empty: the first field.
    QString afterKeyField;
    QString rightsProgram; // "Tintas", chapter "Tabelas Orcamentos"
    std::vector<FieldSpec> fields;
    QString firstField; // where editing starts; empty: the first field
    std::vector<GridColumnSpec> grid;
    std::optional<ArticleLinkSpec> article;
    std::optional<ListPrintSpec> print;
    // A fixed text under the fields (how the table's codes are applied).
    QString note;
    // False: the status bar shows the maker tag only from the first Imprimir on.
    bool makerTagOnOpen = true;
    // The status-bar panel that carries the maker tag. A member that keeps it
    // in panel 0 has no key hints there: its field hints are tooltips.
    int makerTagPanel = 1;
    // False: no label of the form, the key's included, lights up on entry.
    bool labelsLightUp = true;

    // Members with more to do (all optional):
    // at activation before the table opens; false closes the form.
    std::function<bool(CodeTableForm&)> beforeOpen;
    // whenever another row becomes current (Edit_Codigo1Change), not while inserting.
    std::function<void(CodeTableForm&)> rowShown;
    // when Inserir is clicked, before the key is offered or typed.
    std::function<void(CodeTableForm&)> insertStarted;
    // when a free key has started a new row, before the focus moves on.
    std::function<void(CodeTableForm&)> rowStarted;
    // on return to the grid, before saving; false keeps the row being edited.
    std::function<bool(CodeTableForm&)> beforeSave;
    // at close, after the table's dataset.
    std::function<void(CodeTableForm&)> closed;
    // Eliminar, after the question: deletes the current row itself, with the
    // rows that hang on it; the form reopens the table afterwards.
    std::function<void(CodeTableForm&)> deleteRow;

    const FieldSpec* field(const QString& name) const;
};

} // namespace kv::costing
