#pragma once

#include "platform/report/Document.h"
#include "platform/report/ListReportDialog.h"
#include "platform/ui/Form.h"
#include "shell/FormEnvironment.h"

#include <QPageLayout>
#include <memory>

class QCheckBox;
class QPrinter;
class QRadioButton;

namespace kv::db {
class Dataset;
}

namespace kv::customers {

// "Listagem Tabela de Customização de Artigos": the list of every country
// of one customisation table (TORCFPR032CUSTCOD), with its presentation
// (the logo in "Qualidade"), the paper orientation and the printer choice.
class TORCFSPR032CUSTCOD : public kv::ui::Form {
    Q_OBJECT
public:
    TORCFSPR032CUSTCOD(kv::shell::FormEnvironment environment, QString group, QString table, QString title,
                       QWidget* parent = nullptr);
    ~TORCFSPR032CUSTCOD() override;

    // The list as the options stand.
    kv::report::Document render();
    void BotPreviewClick();
    void BotImprimirClick();

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void print(QPrinter& printer);

    kv::shell::FormEnvironment m_environment;
    QString m_group;
    QString m_table;
    QString m_title;
    std::unique_ptr<kv::db::Dataset> m_rows;
    kv::report::OpenReports m_openReports;
    QRadioButton* RadQualidade = nullptr;
    QRadioButton* RadNormal = nullptr;
    QRadioButton* RadVertical = nullptr;
    QRadioButton* RadHorizontal = nullptr;
    QCheckBox* CheckImpressora = nullptr;
};

} // namespace kv::customers
