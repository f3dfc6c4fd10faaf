#include "customers/coding/forms/TORCF032PAIS.h"

#include "customers/coding/core/ArticleCountries.h"
#include "customers/coding/forms/GridColumns.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"
#include "platform/ui/TUpdateErrorForm.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace kv::customers {

namespace {

QString priceText(const QVariant& value)
{
    return value.isNull() ? QString() : kv::text::formatted(value.toDouble(), QStringLiteral("#,###,###,###.####"));
}

} // namespace

TORCF032PAIS::TORCF032PAIS(kv::shell::FormEnvironment environment, QString article, QWidget* parent)
    : Form(parent, 1), m_environment(environment), m_article(std::move(article)),
      m_rows(std::make_unique<kv::db::Dataset>(QStringLiteral("ARTIGOSPAIS")))
{
    setObjectName(QStringLiteral("ORCF032PAIS"));
    setWindowTitle(QStringLiteral("Designação e Preços por País"));
    m_rows->setConnection(environment.invoicing());
    m_rows->setSql(ArticleCountries::rowsSql());
    m_rows->setMode(kv::db::DatasetMode::Cached);
    m_rows->setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("ARTIGOSPAIS"),
        {QStringLiteral("ARTIGO"), QStringLiteral("PAIS"), QStringLiteral("DESIGNACAO"), QStringLiteral("PRECO1"),
         QStringLiteral("PRECO2"), QStringLiteral("PRECO3"), QStringLiteral("PRECO4")},
        {QStringLiteral("ARTIGO"), QStringLiteral("PAIS")}));
    m_updateError = new kv::ui::TUpdateErrorForm(this);
    m_rows->setErrorHandler(m_updateError->handler());

    auto* layout = new QVBoxLayout(body());
    auto* heading = new QLabel(QStringLiteral("Designação e Preços por País"));
    heading->setObjectName(QStringLiteral("Label_Titulo"));
    layout->addWidget(heading);
    DbgridPais = new kv::ui::DbGrid;
    DbgridPais->setObjectName(QStringLiteral("DbgridPais"));
    DbgridPais->setToolTip(QStringLiteral("Tecla <Insert> para sair"));
    const auto price = [](const char* field, const char* title) {
        kv::ui::GridColumn column = gridColumn(QString::fromLatin1(field), QString::fromUtf8(title), 11);
        column.format = priceText;
        return column;
    };
    DbgridPais->setDataset(m_rows.get(), {gridColumn(QStringLiteral("PAIS"), QStringLiteral("País"), 23),
                                          gridColumn(QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 47),
                                          price("PRECO1", "Preço I"), price("PRECO2", "Preco II"),
                                          price("PRECO3", "Preço III"), price("PRECO4", "Preço IV")});
    // The country is the row's key: never typed into.
    DbgridPais->setEditableFields({QStringLiteral("DESIGNACAO"), QStringLiteral("PRECO1"), QStringLiteral("PRECO2"),
                                   QStringLiteral("PRECO3"), QStringLiteral("PRECO4")});
    DbgridPais->setTabKeyNavigation(true);
    DbgridPais->installEventFilter(this);
    layout->addWidget(DbgridPais);

    auto* buttons = new QHBoxLayout(buttonBar());
    auto* save = new kv::ui::TGlyphButton(QStringLiteral("&Gravar"));
    save->setObjectName(QStringLiteral("BotGravar"));
    save->SetHint(QStringLiteral("Terminar"));
    connect(save, &kv::ui::TGlyphButton::clicked, this, [this] {
        if (this->save())
            accept();
    });
    buttons->addStretch(1);
    buttons->addWidget(save);
}

TORCF032PAIS::~TORCF032PAIS() = default;

void TORCF032PAIS::FormActivate()
{
    setStatusText(0, m_environment.state().WMarca);
    m_rows->setParam(QStringLiteral("WMoeArtigo"), m_article);
    try {
        m_rows->open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    EnableEvents();
    focusField(DbgridPais);
}

bool TORCF032PAIS::save()
{
    if (!m_rows->isOpen())
        return true;
    try {
        if (m_rows->state() != kv::db::DatasetState::Browse)
            m_rows->post();
        m_rows->applyUpdates();
    } catch (const kv::db::DbError& error) {
        // The update-error dialog has had its say; the change stays pending.
        return false;
    }
    return true;
}

// Moving up or down, or by Tab, writes what was typed in the row left.
bool TORCF032PAIS::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DbgridPais && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Tab) && m_rows->isOpen() && !m_rows->isEmpty()
            && !m_rows->value(QStringLiteral("ARTIGO")).toString().isEmpty()
            && !m_rows->value(QStringLiteral("PAIS")).toString().isEmpty())
            save();
    }
    return Form::eventFilter(watched, event);
}

void TORCF032PAIS::FormClose()
{
    save();
    m_rows->close();
}

} // namespace kv::customers
