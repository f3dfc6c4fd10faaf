#pragma once

#include "platform/ui/Form.h"
#include "production/core/OrderFilling.h"
#include "shell/FormEnvironment.h"

#include <QHash>
#include <initializer_list>
#include <utility>
#include <memory>

class QGridLayout;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace kv::production {

class ConsumptionLinesPage;
class OrderHeader;

// Filling of a production order row ("Preenchimento O.F."): the order the
// consultation handed over, its operations, its packing plan and its
// consumption lines. The row is written only by "&Gravar", after every rule.
class TORCF101A : public kv::ui::Form {
    Q_OBJECT
public:
    TORCF101A(const kv::shell::FormEnvironment& environment, const SelectedOrder& order, QWidget* parent = nullptr);
    ~TORCF101A() override;

protected:
    void FormActivate() override;

private:
    QLineEdit* addField(QGridLayout* grid, int row, int column, const char* caption, const char* name, int characters);
    // A caption and the fields of one line, `between` written between them.
    QLineEdit* addLine(QGridLayout* grid, int row, const char* caption,
                       std::initializer_list<std::pair<const char*, int>> fields, const char* between);
    QWidget* buildOperations();
    QWidget* buildPacking();
    void attachRules();
    void showOrder(const QHash<QString, QVariant>& row);
    QHash<QString, QString> texts() const;
    void refuse(const FillRefusal& refusal);
    void leavePackCount(const QString& column);
    void showPacking();
    double sheetArea() const;
    void save();

    kv::shell::FormEnvironment m_environment;
    std::unique_ptr<OrderFilling> m_filling;
    FillingQuote m_quote;
    QDate m_delivery;
    QTabWidget* TabControl = nullptr;
    QHash<QString, QLineEdit*> m_edits; // by column
    QHash<QString, QLabel*> m_products; // the product beside each packing row, by its count column
    OrderHeader* m_header = nullptr;
    QLabel* Label_TotalProduzir = nullptr;
    QLabel* Label_TotalExt = nullptr;
    QLabel* Label_TotalPlt = nullptr;
    ConsumptionLinesPage* m_lines = nullptr;
};

} // namespace kv::production
