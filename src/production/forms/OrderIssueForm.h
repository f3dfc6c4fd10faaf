#pragma once

#include "production/core/OrderIssue.h"

#include "platform/text/RangeLimits.h"
#include "platform/ui/Form.h"
#include "shell/FormEnvironment.h"

#include <QStringList>
#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace kv::db {
class Dataset;
}
namespace kv::install {
class Installation;
}
namespace kv::imaging {
class TPictureBox;
}
namespace kv::ui {
class DbGrid;
class DbNavigator;
class DocumentCopiesBox;
class RangeLimitsBlock;
class TGlyphButton;
} // namespace kv::ui

namespace kv::production {

// "Emissão de Ordens de Fabrico" of either order table: TORCF102 over
// ORDFABDET with the four order documents, TORCF106 over ORDFABRICO with the
// model-"T" document. Five range pairs list the open orders; "&Imprimir"
// queues the list in the chosen copies, marks it issued and previews the
// documents, then empties the queue.
class OrderIssueForm : public kv::ui::Form {
    Q_OBJECT
public:
    OrderIssueForm(IssueModel model, kv::shell::FormEnvironment environment,
                   const kv::install::Installation* installation, QWidget* parent = nullptr);
    ~OrderIssueForm() override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void buildLimits(QWidget* parent);
    void showWeek(const QString& pair, kv::text::LimitSide side);
    void openList(); // OpenOrdFabDet / OpenORDFABRICO
    void closeList();
    IssueSelection selection() const;
    void showPicture();
    void print(); // PrintRout
    void previewDocuments();
    kv::db::Dataset* customers(bool byName);
    kv::db::Dataset* articles(bool byName);

    IssueModel m_model;
    kv::shell::FormEnvironment m_environment;
    const kv::install::Installation* m_installation;
    std::unique_ptr<kv::db::Dataset> m_list;
    std::unique_ptr<kv::db::Dataset> m_customers;
    std::unique_ptr<kv::db::Dataset> m_customersByName;
    std::unique_ptr<kv::db::Dataset> m_articles;
    kv::ui::RangeLimitsBlock* m_limits = nullptr;
    kv::ui::DocumentCopiesBox* m_copies = nullptr;
    std::array<QLineEdit*, 4> m_weeks{}; // Edit_SemEnt1/2, Edit_SemProd1/2
    std::array<QLineEdit*, 4> m_weekdays{}; // Edit_DiaSemEnt1/2, Edit_DiaSemProd1/2
    QString m_lastWeek; // the week field filled last (model "T" queue)
    QCheckBox* ChkImpress = nullptr;
    QCheckBox* ChkFoto = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    QLabel* m_countCaption = nullptr;
    QLabel* m_count = nullptr;
    kv::imaging::TPictureBox* M1 = nullptr;
    kv::ui::TGlyphButton* BitPreview = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QString m_pictureFolder;
    bool m_firstActivation = true;
};

} // namespace kv::production
