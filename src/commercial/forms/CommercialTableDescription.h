#pragma once

#include "platform/text/FieldRule.h"
#include "shell/AccessRights.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

namespace kv::report {
class RowView;
}

namespace kv::commercial {

// A field whose value is chosen from another table's list ("Seleccione"),
// with the side door beside it that opens that table's own form.
struct LookupSpec {
    QString dataset; // "DTTABELAS.REGIOES"
    QString column; // the list's column written into the field's column
    QString title; // the list's column title: "REGIÃO"
    QString sideDoor; // the button: "BotRegiao"
    QString form; // "TFACF006"
    QString report; // "TFACFPR006"
    QString rightsProgram; // "Regioes": no row, or ACEDER "N", hides the button
    // A plain edit whose Insert key (popup "&Procurar") chooses from the
    // list's columns, in place of the list field with its button.
    bool byInsertKey = false;
    std::vector<std::pair<QString, QString>> listColumns = {}; // column, title
    std::vector<int> listWidths = {}; // characters, per list column
};

// A data edit of a commercial table form, after the key in tab order.
struct CommercialField {
    QString name; // "Edit_Localidade"
    QString column; // "LOCALIDADE"
    QString caption; // "Localidade : "
    QString suffix; // "%"
    QString hint; // tooltip: "DIGITE [C ; L ; T ; D ; V ; M]"
    kv::text::FieldRule rule; // the check made on leaving it, and before every apply
    QString warnIfEmpty; // left empty: a beep and this message, and the focus goes on
    bool upperCase = false;
    // Leaving it with a value that passed gives the grid the focus, which saves the row.
    bool savesRow = false;
    // Disabled with the key edit for a user without INSERIR.
    bool needsInsertRight = false;
    // On the line of the field before it.
    bool besidePrevious = false;
    int width = 0; // characters; 0: the column's size
    std::optional<LookupSpec> lookup;
    // The page of the member's tabs the field is on; empty: above them.
    QString page;
    // A framed panel shown only while the field has the focus.
    QString helpPanel;
    QString helpTitle;
    QStringList helpLines;
    // The right-hand column of the form (0: the left one).
    int formColumn = 0;
    // A title line above the field.
    QString heading;
    // A read-only companion after the field (and its side door): what its code names.
    QString companion; // "Edit_Localidade"
    int companionWidth = 0; // characters
    QString companionSuffix; // "%"
};

// A column of the form's grid.
struct CommercialGridColumn {
    QString column;
    QString title;
    int width = 0; // characters; 0: the column's size
};

// A column of the list report.
struct CommercialReportColumn {
    QString title;
    QString column;
    double width = 30.0; // millimetres
    Qt::Alignment alignment = Qt::AlignLeft;
    // A value worked out from the row before the line prints.
    std::function<QString(const kv::report::RowView&)> text = {};
};

struct CommercialReportSpec {
    QString reportClass; // "TFACFPR008"
    QString reportTitle; // the print job's and the preview's name
    QString pageTitle; // the title printed on every page
    std::vector<CommercialReportColumn> columns;
};

// Where the return to the grid applies the pending changes.
enum class ApplyOnReturn {
    Always,
    UnlessSkipped, // not after Cancelar, a refused duplicate or Eliminar (the apply-skip flag)
    WhileEditing // only while a row is being edited or inserted; no re-positioning
};

// Where the focus goes: a control's name; these two are kept apart.
inline const QString StayForEnter = QStringLiteral("<stay>"); // unchanged, Enter moves on
inline const QString SaveRow = QStringLiteral("DBGrid1"); // the grid: the row is saved

// The form that keeps a member: the commercial table form, or one of its
// kinds for the tables that keep companion rows beside their own.
enum class CommercialFormKind {
    Table,
    VatCodes, // each VAT code with its purchase row (VatTableForm)
    Countries, // the countries with their accounting roots (CountryTableForm)
    Families, // the article families with their purchase rows per article type (FamilyTableForm)
    Salesmen // the salesmen file with its stamps, checks and objectives (SalesmanTableForm)
};

// A commercial code table kept in the commercial table form: everything in
// which one member differs from another.
struct CommercialTableDescription {
    QString formClass; // "TFACF008"
    CommercialFormKind kind = CommercialFormKind::Table;
    QString caption; // the window title; empty for the members without one
    QString dataset; // "DTTABELAS.CODPOSTAL"
    // Further datasets opened before the member's own and closed after it.
    QStringList lookupDatasets;
    QString keyColumn; // "CODPOSTAL"
    QString keyEdit; // "Edit_CodPostal" (its mirror: the same name + "1")
    QString keyCaption; // "Cód.Postal : "
    bool numericKey = false;
    // Numeric keys: proposed as the last key + 1 by Inserir; typed otherwise.
    bool proposeKey = false;
    // The proposed key is taken at once: the key edit cannot be typed into.
    bool keyTakenAtOnce = false;
    qint64 low = 1;
    qint64 high = 999;
    QString rangeMessage;
    QString duplicateMessage;
    // The key's characters kept (the currencies keep three); 0: the column's size.
    int keyLength = 0;
    // Rows of the working year only: ANO = WAno is part of every key.
    bool workingYearKey = false;
    QString rightsProgram;
    QString rightsChapter = QStringLiteral("Tabelas"); // the file forms': "Ficheiros Base"
    kv::shell::RightsVariant rights = kv::shell::RightsVariant::R1;
    // The rights never disable the key edit (they only hide the buttons).
    bool keyAlwaysEnabled = false;
    // Without INSERIR leaving the grid starts no edit: the focus stays in the grid.
    bool editNeedsInsertRight = false;
    // Refuses to open without the working year's PARGER row, with this message.
    QString workingYearMessage;

    // --- the variants ---
    bool keyDisabledOnGridExit = false;
    bool keyDisabledOnlyWhenCodeNotZero = false;
    QString focusAfterGridExit; // a field name, keyEdit, or StayForEnter
    QString focusAfterNewKey; // a field name, SaveRow, or StayForEnter
    ApplyOnReturn applyOnReturn = ApplyOnReturn::Always;
    bool deletionAtOnce = true;
    bool deletionKeepsFocus = false;
    bool applyOnCloseWhileEditing = false;
    bool keyEnabledOnReturn = false;
    // Cancelar and Eliminar set the apply-skip flag (and a refused duplicate).
    bool skipsApplyAfterDelete = false;

    std::vector<CommercialField> fields;
    QString pagesName; // the tabs of the fields' pages: "TabControl"
    std::vector<CommercialGridColumn> grid;
    // Values a new row starts with besides its key: column, value.
    std::vector<std::pair<QString, QString>> newRowDefaults;
    CommercialReportSpec report;

    const CommercialField* field(const QString& name) const;
};

} // namespace kv::commercial
