#include "customers/partforms/BulkAccountsRun.h"

#include "platform/ui/MessageService.h"

#include <QApplication>
#include <QProgressDialog>

namespace kv::customers {

bool BulkAccountsRun::run(QWidget* parent, CustomerAccounts& accounts, kv::db::TwoDatabaseWork& work,
                          const QString& user)
{
    if (!kv::ui::messages().question(QStringLiteral("Confirma Abertura de Contas (CONTABILIDADE) ?")))
        return false;
    QProgressDialog progress(QStringLiteral("Abertura de contas de clientes ..."), QString(), 0, 0, parent);
    progress.setObjectName(QStringLiteral("ProgressoContas"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setCancelButton(nullptr);
    const BulkRunResult result = accounts.openAll(work, user, [&](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
    });
    progress.reset();
    if (!result.messages.isEmpty())
        kv::ui::messages().information(result.messages.join(u'\n'));
    return true;
}

} // namespace kv::customers
