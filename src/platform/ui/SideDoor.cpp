#include "platform/ui/SideDoor.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageService.h"

#include <QDialog>
#include <memory>

namespace kv::ui {

namespace {

// What a shared dataset was before the side door: its parameters and the
// values of its current row.
struct Bookmark {
    kv::db::Dataset* dataset = nullptr;
    kv::db::Params params;
    QStringList columns;
    QVariantList values;
    int row = -1;
};

Bookmark mark(kv::db::Dataset* dataset)
{
    Bookmark b;
    b.dataset = dataset;
    b.params = dataset->params();
    if (!dataset->isOpen() || dataset->isEmpty())
        return b;
    b.row = dataset->currentRow();
    for (int i = 0; i < dataset->fieldCount(); ++i) {
        const kv::db::FieldDef& def = dataset->fieldDef(i);
        const QVariant value = dataset->value(def.name);
        if (def.calculated || value.isNull())
            continue;
        b.columns << def.name;
        b.values << value;
    }
    return b;
}

void restore(const Bookmark& b)
{
    kv::db::Dataset& dataset = *b.dataset;
    for (const QString& name : b.params.names())
        dataset.setParam(name, b.params.value(name));
    dataset.open();
    if (b.row < 0 || dataset.isEmpty())
        return;
    if (!dataset.locate(b.columns, b.values))
        dataset.moveTo(std::min(b.row, dataset.recordCount() - 1));
}

} // namespace

bool openFromSideDoor(const FormRegistry& forms, QWidget* opener, const QString& formClass, const QString& reportClass,
                      const std::vector<kv::db::Dataset*>& shared)
{
    if (!forms.contains(formClass))
        return false;
    std::vector<Bookmark> marks;
    for (kv::db::Dataset* dataset : shared) {
        marks.push_back(mark(dataset));
        dataset->close();
    }
    {
        std::unique_ptr<QDialog> report(reportClass.isEmpty() ? nullptr : forms.create(reportClass));
        std::unique_ptr<QDialog> form(forms.create(formClass, opener));
        form->exec();
    }
    for (const Bookmark& b : marks) {
        try {
            restore(b);
        } catch (const kv::db::DbError& error) {
            messages().fail(error.fullText());
        }
    }
    return true;
}

} // namespace kv::ui
