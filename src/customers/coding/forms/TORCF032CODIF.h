#pragma once

#include "customers/coding/core/ArticleCoding.h"
#include "customers/coding/forms/ArticleCodingForms.h"
#include "platform/ui/Form.h"
#include "shell/FormEnvironment.h"

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;

namespace kv::db {
class Dataset;
class WindowedList;
} // namespace kv::db

namespace kv::ui {
class DbGrid;
class TGlyphButton;
} // namespace kv::ui

namespace kv::customers {

// "Codificação Automática do Artigo": the code and designation of a new
// article built from its type's classification values, with the sequence
// number typed or taken as the next of the series; the articles of the
// series in the grid. Writes nothing but the claim of the code it hands back
// (result()).
class TORCF032CODIF : public kv::ui::Form {
    Q_OBJECT
public:
    TORCF032CODIF(kv::shell::FormEnvironment environment, QWidget* parent = nullptr);
    ~TORCF032CODIF() override;

    const CodingResult& result() const { return m_result; }

    // BitTerminarClick (also Ins in the designation).
    void confirm();
    // BotCancelarClick.
    void cancel();

protected:
    void FormActivate() override;
    bool FormKeyPress(QKeyEvent* event) override;

private:
    struct Row {
        QLabel* caption = nullptr; // Label_RefTabn
        QLineEdit* field = nullptr; // Edit_RefCustomn
        QLineEdit* valueName = nullptr; // Edit_RefTabn
        kv::ui::TGlyphButton* button = nullptr; // BotRefCustomn
    };

    void buildLayout();
    void attachHandlers();
    void typeEntered();
    void typeLeft();
    void showGroup();
    void refreshField(int n);
    void refreshFields();
    void fieldLeft(int n);
    void lookupValue(); // Procurar1Click
    void openTable(int n); // RefCustomClick
    void manualNumberLeft();
    void buildCode(); // Edit_RefCodigoEnter
    void showSeries(const BuiltCode& built);
    void followSeries();
    QWidget* firstCaptionedField() const;
    CodingFields fieldValues() const;
    QString group() const;

    kv::shell::FormEnvironment m_environment;
    ArticleCoding m_coding;
    std::optional<CodingParameters> m_parameters;
    SequenceSettings m_sequence;
    CodingResult m_result;

    QLineEdit* Edit_RefTipArt = nullptr;
    QListWidget* m_typeList = nullptr;
    QLabel* m_manualCaption = nullptr;
    QLineEdit* Edit_ReferNum = nullptr;
    QLineEdit* Edit_RefCodigo = nullptr;
    QLineEdit* Edit_Design = nullptr;
    std::array<Row, 9> m_rows;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    std::unique_ptr<kv::db::Dataset> m_series;
    std::unique_ptr<kv::db::WindowedList> m_seriesList;
    bool m_followingSeries = false; // the window being read
    kv::ui::TGlyphButton* BotCancelar = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::customers
