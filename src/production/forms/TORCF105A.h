#pragma once

#include "platform/ui/Form.h"
#include "production/core/ModelTFilling.h"
#include "shell/FormEnvironment.h"

#include <QHash>
#include <memory>

class QGridLayout;
class QLabel;
class QLineEdit;

namespace kv::production {

class OrderHeader;

// Filling of a production order of model "T" ("Preenchimento O.F."): one
// page of the plant's sections. The row is written only by "&Gravar",
// after every rule.
class TORCF105A : public kv::ui::Form {
    Q_OBJECT
public:
    TORCF105A(const kv::shell::FormEnvironment& environment, const SelectedOrder& order, QWidget* parent = nullptr);
    ~TORCF105A() override;

protected:
    void FormActivate() override;
    bool FormKeyPress(QKeyEvent* event) override;

private:
    QLineEdit* edit(QGridLayout* grid, int row, int column, const char* caption, const QString& name, int characters);
    QLabel* shownLabel(const QString& name);
    QHash<QString, QString> texts() const;
    void showTexts(const QHash<QString, QString>& texts);
    void leaveField(const QString& column);
    void save();
    // A search of the code field's table: the row's own kind, or the glues
    // for the gluing materials. Cancel changes nothing.
    void searchCode(const QString& column, bool alphabetic);

    kv::shell::FormEnvironment m_environment;
    std::unique_ptr<ModelTFilling> m_filling;
    QHash<QString, QLineEdit*> m_edits; // by column, the kinds as KIND1..KIND5
    QHash<QString, QLabel*> m_shown; // designations: DESIGN1..5, COLDESIGN1..2
    OrderHeader* m_header = nullptr;
    QLabel* Label_UNVEND = nullptr;
};

} // namespace kv::production
